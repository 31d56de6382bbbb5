// The cost of one keystroke in the main window: the key event, the editor's
// change handler that refreshes the status bar, and the repaint, in documents
// of 1 KB, 1 MB and 16 MB, word wrap on and off, the caret at the start and at
// the end. Prints milliseconds per keystroke; with --spelling, each figure
// again with spelling checked as you type, and their ratio.
#include "BenchWindow.h"
#include "app/Unit1.h"
#include "editor/EditorLayout.h"
#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QApplication>
#include <QTextBlock>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <cstdio>
#include <tuple>
#include <vector>

namespace {

constexpr int kKeystrokes = 200;
double backgroundSeconds = 0; // the longest wait for the background layout

QString documentOf(qint64 characters)
{
    const QString line = QStringLiteral("Строка текста с несколькими словами, which wraps now and then. ");
    QString text;
    text.reserve(characters + line.size());
    int n = 0;
    while (text.size() < characters)
        text += line + ((++n % 3 == 0) ? QStringLiteral("\n") : QString());
    text.truncate(characters);
    return text;
}

double millisecondsPerKey(TForm1 &form, bool atEnd)
{
    TRxRichEdit *editor = &form.editor();
    // The whole document laid out, as once the layout's background pass is over.
    auto *layout = static_cast<EditorLayout *>(editor->document()->documentLayout());
    QElapsedTimer background;
    background.start();
    while (layout->blocksNotLaidOut() > 0)
        QApplication::processEvents();
    backgroundSeconds = std::max(backgroundSeconds, background.nsecsElapsed() / 1e9);
    return millisecondsPerTypedKey(*editor, atEnd, kKeystrokes);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool spelling = argc > 1 && qstrcmp(argv[1], "--spelling") == 0;
    BenchWindow window(spelling);
    TForm1 &form = window.form;
    form.editor().setFocus();
    QAction *spellCheck = form.findChild<QAction *>(QStringLiteral("N132"));
    if (spelling && (!spellCheck || !spellCheck->isEnabled())) {
        std::fprintf(stderr, "no dictionaries: install hunspell-ru and hunspell-en-us\n");
        return 1;
    }
    const auto checking = [&](bool on) {
        if (spellCheck && spellCheck->isChecked() != on)
            spellCheck->trigger();
    };

    const std::vector<bool> modesWithSpelling{false, true};
    const std::vector<bool> modesWithout{false};
    std::printf("%-8s %-6s %-9s %12s %12s\n", "size", "wrap", "spelling", "start ms", "end ms");
    const struct { const char *name; qint64 characters; } sizes[] = {
        {"1 KB", 1000}, {"1 MB", 1000 * 1000}, {"16 MB", 16 * 1000 * 1000}};
    for (const auto &size : sizes) {
        form.editor().setText(documentOf(size.characters));
        for (bool wrap : {true, false}) {
            form.editor().setWordWrap(wrap);
            double off[2] = {0, 0};
            for (const bool on : spelling ? modesWithSpelling : modesWithout) {
                // Each mode types into the same text, put in the same way: what one
                // typed would lengthen the other's lines.
                if (spelling)
                    form.editor().setText(documentOf(size.characters));
                checking(on);
                backgroundSeconds = 0;
                const double atStart = millisecondsPerKey(form, false);
                const double atEnd = millisecondsPerKey(form, true);
                std::printf("%-8s %-6s %-9s %12.3f %12.3f   (background layout %.2f s)", size.name,
                            wrap ? "on" : "off", on ? "on" : "off", atStart, atEnd, backgroundSeconds);
                if (on)
                    std::printf("   ratio %.2f %.2f", atStart / off[0], atEnd / off[1]);
                else
                    std::tie(off[0], off[1]) = std::make_pair(atStart, atEnd);
                std::printf("\n");
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
