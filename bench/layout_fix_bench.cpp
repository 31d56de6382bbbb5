// Fix layout on a 1 MB selection, timed from the command to the document shown
// again: one run of plain lines, one where every line carries a bold word, so
// each line is several format runs. The conversion alone is timed beside it.
// Prints seconds against the goal of 0.2 s.
#include "BenchWindow.h"
#include "app/Unit1.h"
#include "editor/TRxRichEdit.h"
#include "tools/LayoutFix.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <cstdio>

namespace {

constexpr qsizetype kSelectionCharacters = 1024 * 1024;
constexpr double kGoalSeconds = 0.2;
constexpr int kWordsPerLine = 8;

// Russian words as the US layout types them.
const char *const kTypedWords[] = {"Ghbdtn", "vbh", "ljrevtyn", "Ntrcn", "cnhjrf", "ghbvth", "f,pfw",
                                   "`krf", "ihban", "gjckt", "ckjdf&", "hf,jnf", "\"Jrycnhjrf\""};

QString typedText(qsizetype characters)
{
    QRandomGenerator random(7);
    QString text;
    while (text.size() < characters) {
        for (int w = 0; w < kWordsPerLine; ++w) {
            text += QString::fromUtf8(kTypedWords[random.bounded(int(std::size(kTypedWords)))]);
            if (w + 1 < kWordsPerLine)
                text += QLatin1Char(' ');
        }
        text += QStringLiteral("\r\n");
    }
    text.truncate(characters);
    return text;
}

// The first word of every line in bold.
void boldFirstWords(TRxRichEdit &edit)
{
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor cursor(edit.document());
    cursor.beginEditBlock();
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        cursor.setPosition(block.position());
        cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(bold);
    }
    cursor.endEditBlock();
}

// The whole text selected, the caret at its end (as Ctrl+A leaves it, the
// view at the end) or at its start (the view at the top).
double fixSelection(TForm1 &form, bool caretAtEnd)
{
    TRxRichEdit &edit = form.editor();
    QTextCursor all(edit.document());
    if (caretAtEnd) {
        all.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else {
        all.movePosition(QTextCursor::End);
        all.movePosition(QTextCursor::Start, QTextCursor::KeepAnchor);
    }
    edit.setTextCursor(all);
    edit.viewport()->repaint();
    QElapsedTimer timer;
    timer.start();
    form.N129Click();
    form.editor().viewport()->repaint();
    return timer.nsecsElapsed() / 1e9;
}

void report(const char *what, double seconds)
{
    std::printf("%-40s %7.3f s   goal %.1f s   %s\n", what, seconds, kGoalSeconds,
                seconds <= kGoalSeconds ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow window;
    TForm1 &form = window.form;
    const QString text = typedText(kSelectionCharacters);

    {
        const layoutfix::KeyMapping mapping = layoutfix::KeyMapping::standard();
        QElapsedTimer timer;
        timer.start();
        const layoutfix::Direction direction = layoutfix::directionOf(text);
        const QString converted = mapping.convert(text, direction);
        report("conversion alone, 1 MB", timer.nsecsElapsed() / 1e9);
        if (converted.size() != text.size())
            return 1;
    }

    for (const bool caretAtEnd : {true, false}) {
        std::printf("the caret at the %s of the selection:\n", caretAtEnd ? "end" : "start");
        form.editor().setText(text);
        report("  fix layout, 1 MB plain", fixSelection(form, caretAtEnd));
        report("    and back", fixSelection(form, caretAtEnd));
        form.editor().setText(text);
        boldFirstWords(form.editor());
        report("  fix layout, 1 MB, a bold word a line", fixSelection(form, caretAtEnd));
        report("    and back", fixSelection(form, caretAtEnd));
    }
    return 0;
}
