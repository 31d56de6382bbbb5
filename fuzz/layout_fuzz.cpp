// libFuzzer target for the editor's layout. The input is a document's text:
// long lines, tabs, paragraph and line breaks as they come, with a few bytes
// that stand for a list, a tab-stop set of the paragraph's own, a picture,
// a place where keys are typed once the document is built (characters, Backspace,
// Delete, Tab and the moves by line and page), a table at the caret (its text
// goes into its first cell; one in a cell stands in that cell) and a move to
// the next cell or out of the table.
// Every document must lay out within the time limit and memory, and its
// display lines must be in order: each position lies on the line that says it
// holds it.
//
// Built with -DVELTRIX_FUZZ=ON (target layout_fuzz) and run by CTest on
// fuzz/corpus/layout, with inputs up to 1 MB.

#include "editor/EditorLayout.h"
#include "editor/TRxRichEdit.h"
#include "formats/ParagraphFormat.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QTextTable>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

TRxRichEdit *editor = nullptr;

constexpr char kList = '\x01';
constexpr char kTabStops = '\x02';
constexpr char kPicture = '\x03';
constexpr char kWrapSwitch = '\x04';
constexpr char kKeys = '\x05';
constexpr char kTable = '\x06';
constexpr char kNextCell = '\x07';
constexpr int kKeyPlaces = 8;
constexpr int kSampledPositions = 256;

void check(bool holds, const char *what, int position)
{
    if (!holds) {
        std::fprintf(stderr, "%s at position %d\n", what, position);
        std::abort();
    }
}

QList<int> keyPlaces;

void build(QByteArrayView input)
{
    keyPlaces.clear();
    editor->setText(QString());
    QTextCursor cursor(editor->document());
    cursor.beginEditBlock();
    int stops = 0;
    int text = 0; // start of the text not yet put in
    const auto flush = [&](qsizetype end) {
        if (end > text)
            cursor.insertText(QString::fromUtf8(input.sliced(text, end - text)));
        text = int(end) + 1;
    };
    for (qsizetype i = 0; i < input.size(); ++i) {
        switch (input[i]) {
        case kList: {
            flush(i);
            QTextListFormat list;
            list.setStyle(i % 2 ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc);
            cursor.createList(list);
            break;
        }
        case kTabStops: {
            flush(i);
            QTextBlockFormat format;
            QList<QTextOption::Tab> tabs;
            for (int t = 1; t <= 1 + stops % 8; ++t)
                tabs.append(QTextOption::Tab(qreal(t * (17 + stops % 13)), QTextOption::LeftTab));
            ++stops;
            format.setTabPositions(tabs);
            cursor.mergeBlockFormat(format);
            break;
        }
        case kPicture: {
            flush(i);
            const int side = 1 + int(i % 300);
            const QString name = QStringLiteral("fuzz-picture-%1").arg(side);
            editor->document()->addResource(QTextDocument::ImageResource, QUrl(name), QImage(side, side / 2 + 1,
                                                                                              QImage::Format_RGB32));
            QTextImageFormat picture;
            picture.setName(name);
            picture.setWidth(side);
            picture.setHeight(side / 2 + 1);
            cursor.insertImage(picture);
            break;
        }
        case kWrapSwitch:
            flush(i);
            editor->setWordWrap(!editor->WordWrap());
            break;
        case kKeys:
            flush(i);
            if (keyPlaces.size() < kKeyPlaces)
                keyPlaces.append(cursor.position());
            break;
        case kTable: {
            flush(i);
            QTextTableFormat format;
            if (i % 2) {
                format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, qreal(i % 200)),
                                                  QTextLength(QTextLength::PercentageLength, qreal(i % 150))});
            }
            format.setCellPadding(qreal(i % 9));
            QTextTable *table = cursor.insertTable(1 + int(i % 3), 1 + int(i % 4), format);
            if (i % 5 == 0 && table->rows() > 1)
                table->mergeCells(0, 0, 2, 1);
            if (i % 7 == 0 && table->columns() > 1)
                table->mergeCells(table->rows() - 1, 0, 1, 2);
            break;
        }
        case kNextCell:
            flush(i);
            if (QTextTable *table = cursor.currentTable()) {
                const QTextTableCell cell = table->cellAt(cursor.position());
                const int next = cell.lastPosition() + 1;
                cursor.setPosition(next <= table->lastPosition() ? next : table->lastPosition() + 1);
            }
            break;
        default:
            break;
        }
    }
    flush(input.size());
    cursor.endEditBlock();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Both live until the process ends: destroyed at exit, the application
    // would outlive Qt's own list of input devices.
    static QApplication *app = new QApplication(*argc, *argv);
    Q_UNUSED(app);
    editor = new TRxRichEdit;
    editor->resize(480, 320);
    editor->show();
    // The fonts' caches, which live as long as the process, are filled before
    // the first input: a leak check would count them against it.
    const char warmUp[] = "words and \xd1\x81\xd0\xbb\xd0\xbe\xd0\xb2\xd0\xb0\t\x01item\n\x02a\tb\n\x03\n"
                          "\xe2\x80\xa8soft break\n\x04no wrap\n";
    build(QByteArrayView(warmUp, qsizetype(sizeof warmUp - 1)));
    QFontDatabase::families();
    QApplication::processEvents();
    editor->LineCount();
    editor->viewport()->repaint();
    return 0;
}

namespace {

void press(Qt::Key key, const QString &text = QString(), Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(editor, &event);
}

void typeKeys()
{
    press(Qt::Key_X, QStringLiteral("x"));
    press(Qt::Key_Y, QStringLiteral("y"));
    press(Qt::Key_Backspace);
    press(Qt::Key_Delete);
    press(Qt::Key_Down);
    press(Qt::Key_Z, QStringLiteral("z"));
    press(Qt::Key_Up, QString(), Qt::ShiftModifier);
    press(Qt::Key_Delete);
    press(Qt::Key_End);
    press(Qt::Key_PageDown);
    press(Qt::Key_Home, QString(), Qt::ShiftModifier);
    press(Qt::Key_W, QStringLiteral("w"));
    press(Qt::Key_Tab);
    press(Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    press(Qt::Key_Return);
}

void checkLines()
{
    const int length = editor->TextLength();
    const int lines = editor->LineCount();
    check(lines >= editor->document()->blockCount(), "fewer lines than paragraphs", length);
    const int step = std::max(1, length / kSampledPositions);
    int previousLine = 0;
    for (int position = 0; position <= length; position += step) {
        const int line = editor->LineFromChar(position);
        check(line >= previousLine && line < lines, "lines out of order", position);
        check(editor->LineIndex(line) <= position, "a line starts after a position it holds", position);
        const int next = editor->LineIndex(line + 1);
        check(next == -1 || next > position, "the next line starts at or before a position of this one", position);
        previousLine = line;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    editor->setWordWrap(true);
    build(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    // The document replaced goes now, not at an event loop this process never runs.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();

    checkLines();
    for (const int place : keyPlaces) {
        editor->setSelectionStart(place);
        typeKeys();
    }
    if (!keyPlaces.isEmpty())
        checkLines();
    // Painting lays out what is shown; the end of the document too.
    editor->moveCursor(QTextCursor::End);
    editor->viewport()->repaint();
    return 0;
}
