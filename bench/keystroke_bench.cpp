// The cost of one keystroke in the main window: the key event, the editor's
// change handler that refreshes the status bar, and the repaint, in documents
// of 1 KB, 1 MB and 16 MB, word wrap on and off, the caret at the start and at
// the end. Prints milliseconds per keystroke.
#include "BenchWindow.h"
#include "app/Unit1.h"
#include "editor/EditorLayout.h"
#include "editor/TRxRichEdit.h"

#include <QApplication>
#include <QTextBlock>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <cstdio>

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
    BenchWindow window;
    TForm1 &form = window.form;
    form.editor().setFocus();

    std::printf("%-8s %-6s %12s %12s\n", "size", "wrap", "start ms", "end ms");
    const struct { const char *name; qint64 characters; } sizes[] = {
        {"1 KB", 1000}, {"1 MB", 1000 * 1000}, {"16 MB", 16 * 1000 * 1000}};
    for (const auto &size : sizes) {
        form.editor().setText(documentOf(size.characters));
        for (bool wrap : {true, false}) {
            form.editor().setWordWrap(wrap);
            backgroundSeconds = 0;
            const double atStart = millisecondsPerKey(form, false);
            const double atEnd = millisecondsPerKey(form, true);
            std::printf("%-8s %-6s %12.3f %12.3f   (background layout %.2f s)\n", size.name, wrap ? "on" : "off",
                        atStart, atEnd, backgroundSeconds);
            std::fflush(stdout);
        }
    }
    return 0;
}
