#pragma once

// Helpers shared by the RTF tests: reading strings, describing a document's
// paragraphs and characters so failures show what differs.

#include "formats/ParagraphFormat.h"
#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace rtftest {

// A file of the RTF corpus (corpus/): beside this header as compiled in, else
// as found from a build folder at the top of the sources.
inline QString corpusFile(const QString &name)
{
    const QString beside = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/corpus/");
    if (QFileInfo::exists(beside + name))
        return beside + name;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../../tests/formats/corpus/") + name;
}

inline std::unique_ptr<QTextDocument> readRtf(const QByteArray &data, bool *ok = nullptr)
{
    auto document = std::make_unique<QTextDocument>();
    const bool result = rtf::read(data, *document);
    if (ok)
        *ok = result;
    return document;
}

// The paragraphs' texts, one string each.
inline QStringList paragraphs(const QTextDocument &document)
{
    QStringList result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        result << block.text();
    return result;
}

// A table cell's paragraphs joined by '/'.
inline QString cellText(const QTextTableCell &cell)
{
    QStringList texts;
    QTextBlock block = cell.firstCursorPosition().block();
    const int end = cell.lastCursorPosition().position();
    for (; block.isValid() && block.position() <= end; block = block.next())
        texts << block.text();
    return texts.join(QLatin1Char('/'));
}

// Each table of the document, row by row: a row's cells joined by '|', a
// cell spanning more than one column or row followed by its span ("x(2x1)",
// rows by columns); places a span covers are left out.
inline std::vector<QStringList> tables(const QTextDocument &document)
{
    std::vector<QStringList> result;
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        QStringList rows;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                QString text = cellText(cell);
                if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                    text += QStringLiteral("(%1x%2)").arg(cell.rowSpan()).arg(cell.columnSpan());
                cells << text;
            }
            rows << cells.join(QLatin1Char('|'));
        }
        result.push_back(rows);
    }
    return result;
}

// The paragraphs outside tables, and each table row as one line: its cells'
// non-empty paragraphs joined by spaces, the cells by tabs.
inline QStringList linesWithRows(const QTextDocument &document)
{
    QStringList result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextTable *table = QTextCursor(block).currentTable();
        if (!table) {
            result << block.text();
            continue;
        }
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QStringList texts = cellText(cell).split(QLatin1Char('/'));
                texts.removeAll(QString());
                cells << (cell.row() == r && cell.column() == c ? texts.join(QLatin1Char(' ')) : QString());
            }
            result << cells.join(QLatin1Char('\t'));
        }
        block = document.findBlock(table->lastPosition()); // the loop steps past the table
    }
    return result;
}

// All text with paragraphs joined by '\n'; unlike toPlainText() it keeps line
// separators and non-breaking spaces as they are.
inline QString allText(const QTextDocument &document)
{
    return paragraphs(document).join(QLatin1Char('\n'));
}

inline QTextBlock blockAt(const QTextDocument &document, int index)
{
    return document.findBlockByNumber(index);
}

inline paraformat::ListStyle listStyleOf(const QTextBlock &block)
{
    if (!block.textList())
        return paraformat::ListStyle::None;
    return paraformat::fromQtListStyle(block.textList()->format().style());
}

// The character format at a position of a paragraph.
inline QTextCharFormat formatAt(const QTextBlock &block, int offset)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const int start = f.position() - block.position();
        if (offset >= start && offset < start + f.length())
            return f.charFormat();
    }
    return QTextCharFormat();
}

// The character format of the first occurrence of a text in the document.
inline QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int at = block.text().indexOf(text);
        if (at >= 0)
            return formatAt(block, at);
    }
    return QTextCharFormat();
}

inline QString familyOf(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

inline bool hasForeground(const QTextCharFormat &format)
{
    return format.hasProperty(QTextFormat::ForegroundBrush);
}

inline bool hasBackground(const QTextCharFormat &format)
{
    return format.hasProperty(QTextFormat::BackgroundBrush);
}

// What a user sees of a character's format, as one comparable string.
inline std::string describe(const QTextCharFormat &f)
{
    QString s = QStringLiteral("%1 %2pt").arg(familyOf(f)).arg(f.fontPointSize());
    if (f.fontWeight() >= QFont::DemiBold)
        s += QStringLiteral(" bold");
    if (f.fontItalic())
        s += QStringLiteral(" italic");
    if (f.fontUnderline())
        s += QStringLiteral(" underline");
    if (f.fontStrikeOut())
        s += QStringLiteral(" strike");
    if (hasForeground(f))
        s += QStringLiteral(" fg=") + f.foreground().color().name();
    if (hasBackground(f))
        s += QStringLiteral(" bg=") + f.background().color().name();
    return s.toStdString();
}

inline std::string describe(const QTextBlock &block)
{
    const paraformat::Indents in = paraformat::indents(block.blockFormat());
    return QStringLiteral("align=%1 indents=%2/%3/%4 list=%5")
        .arg(int(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask))
        .arg(in.first)
        .arg(in.other)
        .arg(in.right)
        .arg(int(listStyleOf(block)))
        .toStdString();
}

inline QImage imageOf(const QTextDocument &document, const QTextImageFormat &format)
{
    return document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

// The image formats of the document, in order.
inline std::vector<QTextImageFormat> images(const QTextDocument &document)
{
    std::vector<QTextImageFormat> result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) {
                for (int i = 0; i < it.fragment().length(); ++i)
                    result.push_back(f.toImageFormat());
            }
        }
    }
    return result;
}

} // namespace rtftest
