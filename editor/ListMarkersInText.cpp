// List numbers and bullets written into a copy's text, for printing.
#include "editor/EditorLayout.h"

#include "formats/ParagraphFormat.h"

#include <QFontMetricsF>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <vector>

namespace {

QString bulletText(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare:
        return QStringLiteral("\u25AA");
    default:
        return QStringLiteral("\u2022");
    }
}

struct Written {
    int blockNumber;
    QString text;
    QTextCharFormat format;
    qreal left;       // where the following lines start, from the frame's left edge
    qreal markerLeft; // where the marker starts
    qreal textLeft;   // where the first line's text starts after it
};

} // namespace

void EditorLayout::writeListMarkersInto(QTextDocument &copy) const
{
    // Numbers depend on the lists as they stand: all are taken before any
    // paragraph of the copy leaves its list.
    std::vector<Written> markers;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextList *list = block.textList();
        if (!list || block.blockFormat().layoutDirection() == Qt::RightToLeft)
            continue;
        const ListMarker marker = listMarker(block);
        const QTextBlockFormat format = block.blockFormat();
        const qreal left = format.leftMargin() + (format.indent() + list->format().indent()) * document()->indentWidth();
        Written written;
        written.blockNumber = block.blockNumber();
        written.text = marker.bullet ? bulletText(list->format().style()) : marker.text;
        written.format = listMarkerFormat(block);
        written.left = left;
        written.markerLeft = marker.left;
        const qreal bulletEnd = marker.left + QFontMetricsF(marker.font).horizontalAdvance(written.text)
                                + QFontMetricsF(marker.font).horizontalAdvance(QLatin1Char(' '));
        written.textLeft = std::max(left + format.textIndent(), marker.bullet ? bulletEnd : marker.textFrom);
        markers.push_back(written);
    }

    QTextCursor cursor(&copy);
    cursor.beginEditBlock();
    for (const Written &written : markers) {
        const QTextBlock block = copy.findBlockByNumber(written.blockNumber);
        if (!block.isValid())
            continue;
        if (QTextList *list = block.textList())
            list->remove(block);
        QTextBlockFormat format = block.blockFormat();
        format.setIndent(0);
        format.setLeftMargin(written.left);
        format.setTextIndent(written.markerLeft - written.left);
        // The text after the marker starts at one stop of its own; the
        // paragraph's stops beyond it stay for the tabs in the text. Qt
        // measures stops from the start of each line.
        const qreal stop = written.textLeft - written.markerLeft;
        QList<QTextOption::Tab> tabs{QTextOption::Tab(stop, QTextOption::LeftTab)};
        for (const QTextOption::Tab &tab : format.tabPositions())
            if (tab.position > stop)
                tabs.append(tab);
        format.setTabPositions(tabs);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
        cursor.insertText(written.text + QLatin1Char('\t'), written.format);
    }
    cursor.endEditBlock();
}
