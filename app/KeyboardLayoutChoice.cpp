#include "app/KeyboardLayoutChoice.h"

namespace {
constexpr quint32 kPrimaryLanguageMask = 0xff;
constexpr quint32 kRussian = 0x19;
constexpr quint32 kEnglish = 0x09;
} // namespace

KeyboardLayoutChoice chooseKeyboardLayouts(const QList<quint32> &installed)
{
    KeyboardLayoutChoice choice;
    for (quint32 handle : installed) {
        const quint32 language = handle & kPrimaryLanguageMask;
        if (language == kRussian)
            choice.russian = handle;
        else if (language == kEnglish)
            choice.english = handle;
    }
    return choice;
}
