#include "editor/TRxRichEdit.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextOption>

namespace {

constexpr int kInitialFontPoints = 14;
constexpr qreal kPixelsPerPoint = 4.0 / 3.0; // 96 pixels per inch, 72 points per inch
constexpr qreal kDialogUnitsPerAverageChar = 4.0;
// After the last explicit stop tabs fall every half inch.
constexpr qreal kDefaultTabPixels = 48.0;
// Indents are whole points; the pixel margins Qt lays out with cannot give them
// back exactly, so the points travel with the block format.
constexpr int kRightIndentPointsProperty = QTextFormat::UserProperty + 1;

} // namespace

TRxRichEdit::TRxRichEdit(QWidget *parent) : QTextEdit(parent)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(kInitialFontPoints);
    setFont(font);
    document()->setDefaultFont(font);
    setAcceptRichText(true);
    setTabChangesFocus(false); // Tab types a tab into the text
    setLineWrapMode(QTextEdit::WidgetWidth);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // The selection stays visible while another control has the focus.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);

    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed == 0 && added == 0)
            return;
        modified_ = true;
        Q_EMIT OnChange();
    });
}

void TRxRichEdit::setTabStops(const QList<int> &dialogUnits, const QFont &dialogFont)
{
    const qreal unit = QFontMetricsF(dialogFont).averageCharWidth() / kDialogUnitsPerAverageChar;
    QList<QTextOption::Tab> tabs;
    for (int du : dialogUnits)
        tabs.append(QTextOption::Tab(du * unit, QTextOption::LeftTab));
    QTextOption option = document()->defaultTextOption();
    option.setTabs(tabs);
    option.setTabStopDistance(kDefaultTabPixels);
    document()->setDefaultTextOption(option);
}

QList<qreal> TRxRichEdit::tabStopPixels() const
{
    QList<qreal> result;
    const QList<QTextOption::Tab> tabs = document()->defaultTextOption().tabs();
    for (const QTextOption::Tab &tab : tabs)
        result.append(tab.position);
    return result;
}

void TRxRichEdit::setRightEdgeIndent(int points)
{
    QTextBlockFormat format;
    format.setRightMargin(points * kPixelsPerPoint);
    format.setProperty(kRightIndentPointsProperty, points);
    textCursor().mergeBlockFormat(format);
}

int TRxRichEdit::rightEdgeIndent() const
{
    const QTextBlockFormat format = textCursor().blockFormat();
    if (format.hasProperty(kRightIndentPointsProperty))
        return format.intProperty(kRightIndentPointsProperty);
    return qRound(format.rightMargin() / kPixelsPerPoint);
}

void TRxRichEdit::mousePressEvent(QMouseEvent *event)
{
    QTextEdit::mousePressEvent(event);
    Q_EMIT OnMouseDown(event->button(), event->position().toPoint());
}
