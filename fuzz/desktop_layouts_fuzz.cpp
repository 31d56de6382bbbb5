// What desktops answer about their keyboard layouts: sway's IPC replies, the
// names KDE, IBus and GNOME give, and the rules list their descriptions are
// looked up in. Whatever comes, reading it never crashes,
// keeps within its bounds and gives only indices of the layouts it read.
//
//   cmake -S . -B build-fuzz -DVELTRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
//   cmake --build build-fuzz --target desktop_layouts_fuzz && build-fuzz/fuzz/desktop_layouts_fuzz fuzz/corpus/desktop_layouts

#include "platform/DesktopLayouts.h"
#include "platform/XkbcommonKeys.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "desktop_layouts_fuzz: %s\n", what);
        std::abort();
    }
}

void checkList(const platform::DesktopLayoutList &list)
{
    check(list.layouts.size() <= platform::kMaxDesktopLayouts, "more layouts than are taken");
    check(list.active >= -1 && list.active < list.layouts.size(), "an active index outside the list");
    for (const platform::DesktopLayout &layout : list.layouts)
        check(layout.symbols.size() <= platform::kMaxLayoutNameLength &&
                  layout.variant.size() <= platform::kMaxLayoutNameLength,
              "a name longer than is taken");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<platform::DesktopLayoutList> sway = platform::layoutsFromSwayInputs(input))
        checkList(*sway);
    platform::swayCommandSucceeded(input);
    if (const std::optional<quint32> length = platform::i3IpcPayloadLength(input, platform::kSwayGetInputs, 4096))
        check(*length <= 4096, "a longer reply than allowed");

    // The same bytes as names: lines of "type id" pairs for GNOME, the first
    // two lines as KDE's names, every line as an IBus engine.
    const QStringList lines = QString::fromUtf8(input).split(QLatin1Char('\n'));
    QList<platform::InputSource> sources, mru;
    for (const QString &line : lines) {
        const platform::InputSource source(line.section(QLatin1Char(' '), 0, 0), line.section(QLatin1Char(' '), 1));
        (sources.size() <= mru.size() ? sources : mru) << source;
        if (const std::optional<platform::DesktopLayout> engine = platform::layoutFromIbusEngine(line))
            check(!engine->symbols.isEmpty(), "an xkb engine without its layout");
    }
    checkList(platform::layoutsFromGnomeSources(sources, mru));
    platform::layoutFromKde(lines.value(0), lines.value(1));
    // And as the keyboard data's rules list, which a broken package may have left.
    platform::xkbNamesOfDescription(lines.value(0), input);
    check(platform::keyboardBackendOrder(QString::fromUtf8(input)).last() == platform::KeyboardBackend::Xkb,
          "XKB not asked last");
    return 0;
}
