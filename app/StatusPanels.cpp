#include "app/StatusPanels.h"

#include "editor/RichEditAttributes.h"
#include "tools/Inserts.h"
#include "widgets/StatusBar.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>

namespace {

constexpr int kBar1Units = 14; // StatusBar1's panel widths are multiples of its width / 14
const int kBar1PanelUnits[StatusPanels::PanelCount] = {2, 2, 2, 1, 1, 2, 3, 1};

} // namespace

void StatusPanels::layOut()
{
    const int third = bar2_.width() / LockPanelCount;
    bar2_.setPanelWidths({third, third, third});
    const int unit = bar1_.width() / kBar1Units;
    QList<int> widths;
    for (int units : kBar1PanelUnits)
        widths.append(units * unit);
    bar1_.setPanelWidths(widths);
    for (int i = Modified; i < PanelCount; ++i)
        bar1_.setPanelAlignment(i, Qt::AlignHCenter);
}

void StatusPanels::showCaret(int line, int column)
{
    bar1_.setPanelText(Caret, QString::asprintf("Стр: %3d   Кол: %3d", line + 1, column + 1));
}

void StatusPanels::showModified(bool modified)
{
    bar1_.setPanelText(Modified, modified ? QStringLiteral("Изменён") : QString());
    bar1_.panel(Modified)->setToolTip(QString());
}

void StatusPanels::showCopyNotWritten(const QString &text, const QString &reason)
{
    bar1_.setPanelText(Modified, text);
    bar1_.panel(Modified)->setToolTip(reason);
}

void StatusPanels::showFont(const QString &name, int size)
{
    bar1_.setPanelText(FontName, name);
    bar1_.setPanelText(FontSize, QString::number(size));
}

void StatusPanels::showKeyboardLayout(bool english, bool russianLayout)
{
    static const char *const kMarkers[2][2] = {{"АНГЛ.", "РУС."}, {"ENG.", "RUS."}};
    bar1_.setPanelText(KeyboardLayout, QString::fromUtf8(kMarkers[english ? 1 : 0][russianLayout ? 1 : 0]));
}

void StatusPanels::showAlignment(TAlignment alignment, bool english)
{
    const char *text = "";
    switch (alignment) {
    case TAlignment::LeftJustify: text = english ? "LeftJustify" : "По левому краю"; break;
    case TAlignment::Center: text = english ? "Center" : "По центру"; break;
    case TAlignment::RightJustify: text = english ? "RightJustify" : "По правому краю"; break;
    default: break;
    }
    bar1_.setPanelText(Alignment, QString::fromUtf8(text));
}

void StatusPanels::showClock(const QDateTime &now, const QLocale &locale)
{
    bar1_.setPanelText(Clock, locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                                  locale.toString(now.time(), inserts::longTimeFormat(locale)));
}

void StatusPanels::showLockKeys(bool capsLock, bool scrollLock, bool numLock)
{
    bar2_.setPanelText(CapsLock, capsLock ? QStringLiteral("CAPS") : QString());
    bar2_.setPanelText(ScrollLock, scrollLock ? QStringLiteral("SCROLL") : QString());
    bar2_.setPanelText(NumLock, numLock ? QStringLiteral("NUM") : QString());
}

void StatusPanels::showLength(int length)
{
    bar1_.setPanelText(Length, QString::number(length));
}
