// Find Next through a 160 MB plain text and Replace All of 100,000
// occurrences in a 10 MB RTF, through the main window's dialogs as a user
// presses them: each timed from the press until the window is painted again,
// side by side with grep and sed on the same file.
//
//   find_bench [PLAIN_MB [RTF_MB]]   sizes other than 160 and 10
#include "BenchWindow.h"
#include "app/Unit1.h"
#include "editor/EditorLayout.h"
#include "editor/TRxRichEdit.h"
#include "formats/CodePages.h"
#include "tools/FindReplace.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

namespace {

constexpr qint64 kMegabyte = 1000 * 1000;
constexpr qint64 kDefaultPlainMegabytes = 160;
constexpr qint64 kDefaultRtfMegabytes = 10;
constexpr int kLinesPerChunk = 1000;
constexpr int kParagraphBytes = 100; // of RTF, one occurrence in each

// Lines of Russian and Latin words, the first and the last naming words found
// nowhere else; written in pieces, so the bench never holds the whole file.
bool writePlain(const QString &path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    qint64 written = file.write(codepage::encodeWindows1251(QStringLiteral("Пролог\r\n")));
    const QByteArray last = codepage::encodeWindows1251(QStringLiteral("Конец: ЭПИЛОГ\r\n"));
    for (int n = 0; written < size - last.size(); n += kLinesPerChunk) {
        QString chunk;
        for (int i = 0; i < kLinesPerChunk; ++i)
            chunk += QStringLiteral("Съешь же ещё этих мягких французских булок, да выпей чаю. Line %1 of the benchmark\r\n")
                         .arg(n + i, 7, 10, QLatin1Char('0'));
        QByteArray bytes = codepage::encodeWindows1251(chunk);
        bytes.truncate(size - last.size() - written);
        written += file.write(bytes);
    }
    return file.write(last) == last.size();
}

// Paragraphs of about kParagraphBytes with formatted runs, "target" once in
// each, between a bold and an italic run. The count of paragraphs.
int writeRtf(const QString &path, qint64 size)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Times New Roman;}}\r\n";
    int paragraphs = 0;
    while (rtf.size() < size) {
        QByteArray paragraph = "\\pard " + QByteArray::number(paragraphs) +
                               " {\\b \\'ea\\'ee\\'f2 quick} target {\\i brown fox} \\'ec\\'e8\\'f0 jumps";
        while (paragraph.size() < kParagraphBytes - 7)
            paragraph += " x";
        rtf += paragraph + "\\par\r\n";
        ++paragraphs;
    }
    rtf += "}\r\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(rtf) == rtf.size() ? paragraphs : 0;
}

double secondsSince(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e9; }

// The press, and the window painted with what it did.
template <typename Press>
double timedPress(TForm1 &form, Press press)
{
    QElapsedTimer timer;
    timer.start();
    press();
    form.editor().viewport()->repaint();
    return secondsSince(timer);
}

double runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    // grep -c answers 1 when it counts none; anything else failed.
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() > 1)
        return -1;
    return secondsSince(timer);
}

void report(const char *what, double ours, double target, const char *other, double theirs)
{
    std::printf("%-36s %7.3f s  (target %4.1f s)   %-10s %7.3f s   ratio %6.2f\n", what, ours, target, other, theirs,
                theirs > 0 ? ours / theirs : 0);
    std::fflush(stdout);
}

// Opened as the user opens it, then left until the layout is done and the
// event loop has been without work for a while, as before the user's next
// press; or only until the whole file is in.
void open(BenchWindow &window, const QString &path, bool untilIdle)
{
    window.platform.files.answers.push_back(path);
    window.form.ToolButton2Click();
    if (!untilIdle) {
        window.form.editor().finishLoading();
        return;
    }
    constexpr qint64 kQuietPassNs = 1000 * 1000;
    constexpr int kQuietPasses = 20;
    TRxRichEdit &editor = window.form.editor();
    QElapsedTimer pass;
    for (int quiet = 0; quiet < kQuietPasses;) {
        pass.start();
        QApplication::processEvents();
        const auto *layout = static_cast<EditorLayout *>(editor.document()->documentLayout());
        const bool idle = !editor.isLoading() && layout->blocksNotLaidOut() == 0;
        quiet = idle && pass.nsecsElapsed() < kQuietPassNs ? quiet + 1 : 0;
    }
}

// The least Replace All can cost: the same replacements in a copy of the
// document alone, without the editor, its layout or the window.
double documentFloor(const QTextDocument &document, const QString &text, const QString &replacement)
{
    const std::unique_ptr<QTextDocument> copy(document.clone());
    QElapsedTimer timer;
    timer.start();
    const findreplace::Search search(text, {});
    const QList<int> starts = search.all(*copy);
    QTextCursor cursor(copy.get());
    cursor.beginEditBlock();
    for (auto it = starts.crbegin(); it != starts.crend(); ++it) {
        cursor.setPosition(*it + 1);
        const QTextCharFormat format = cursor.charFormat();
        cursor.setPosition(*it);
        cursor.setPosition(*it + search.length(), QTextCursor::KeepAnchor);
        cursor.insertText(replacement, format);
    }
    cursor.endEditBlock();
    return secondsSince(timer);
}

QByteArray hashOf(const QString &text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1);
}

void findThroughPlainText(qint64 megabytes)
{
    constexpr double kTarget = 0.5;
    BenchWindow window;
    TForm1 &form = window.form;
    const QString path = window.dir.filePath(QStringLiteral("plain.txt"));
    if (!writePlain(path, megabytes * kMegabyte)) {
        std::printf("cannot write %s\n", qPrintable(path));
        return;
    }
    open(window, path, false); // a full layout would take a minute
    std::printf("%lld MB plain text, %d paragraphs:\n", static_cast<long long>(megabytes),
                form.editor().document()->blockCount());

    platform::FakeFindDialog &dialog = window.platform.findReplace.find;
    const auto findFrom = [&](int caret, const QString &text, bool matchCase, bool wholeWord, bool up) {
        form.editor().setSelectionStart(caret);
        form.ToolButton14Click();
        dialog.findWhat = text;
        dialog.matchCaseTicked = matchCase;
        dialog.wholeWordTicked = wholeWord;
        dialog.upChosen = up;
        return timedPress(form, [&] { dialog.pressFindNext(); });
    };
    const int end = form.editor().TextLength();
    // grep takes the file's own bytes: the pattern from a file in the same code page.
    const QString pattern = window.dir.filePath(QStringLiteral("pattern"));
    QFile patternFile(pattern);
    if (patternFile.open(QIODevice::WriteOnly))
        patternFile.write(codepage::encodeWindows1251(QStringLiteral("ЭПИЛОГ\n")));
    patternFile.close();
    const double grep = runProgram(QStringLiteral("grep"), {"-c", "-F", "-f", pattern, path});
    const QString last = QStringLiteral("эпилог");
    {
        QElapsedTimer search;
        search.start();
        const int found = findreplace::Search(last, {}).next(*form.editor().document(), 0);
        report("the search alone, start to last line", secondsSince(search), kTarget, "grep -c", grep);
        if (found < 0)
            std::printf("  NOT FOUND\n");
    }
    report("Find Next, start to last line", findFrom(0, last, false, false, false), kTarget, "grep -c", grep);
    const bool selected = form.editor().SelectedText() == QStringLiteral("ЭПИЛОГ");
    report("  Match case", findFrom(0, QStringLiteral("ЭПИЛОГ"), true, false, false), kTarget, "grep -c", grep);
    report("  Whole word", findFrom(0, last, false, true, false), kTarget, "grep -c", grep);
    report("  Up, end to first line", findFrom(end, QStringLiteral("пролог"), false, false, true), kTarget, "grep -c",
           grep);
    {
        constexpr int kPresses = 100;
        findFrom(end / 2, QStringLiteral("benchmark"), false, false, false);
        QElapsedTimer presses;
        presses.start();
        for (int i = 0; i < kPresses; ++i) {
            form.ToolButton14Click();
            timedPress(form, [&] { dialog.pressFindNext(); });
        }
        report("  the next line's, each of 100", secondsSince(presses) / kPresses, kTarget, "grep -c", grep);
    }
    const double absent = findFrom(0, QStringLiteral("nowhere"), false, false, false);
    report("  not in the file (all round)", absent, kTarget, "grep -ci",
           runProgram(QStringLiteral("grep"), {"-c", "-i", "-F", "nowhere", path}));
    std::printf("  found and selected: %s; not-found messages: %d\n", selected ? "yes" : "NO",
                static_cast<int>(window.platform.boxes.messages.size()));
}

void replaceAllInRtf(qint64 megabytes)
{
    constexpr double kTarget = 1.0;
    BenchWindow window;
    TForm1 &form = window.form;
    const QString path = window.dir.filePath(QStringLiteral("text.rtf"));
    const int paragraphs = writeRtf(path, megabytes * kMegabyte);
    open(window, path, true);
    const QByteArray before = hashOf(form.editor().Text());

    platform::FakeFindDialog &dialog = window.platform.findReplace.replace;
    form.ToolButton20Click();
    dialog.findWhat = QStringLiteral("target");
    dialog.replaceWith = QStringLiteral("цель");
    const double ours = timedPress(form, [&] { dialog.pressReplaceAll(); });
    const double sed = runProgram(QStringLiteral("sed"), {QStringLiteral("s/target/goal/g"), path});
    std::printf("%lld MB RTF, %d occurrences:\n", static_cast<long long>(megabytes), paragraphs);
    report("Replace All", ours, kTarget, "sed s///g", sed);
    form.editor().Undo();
    report("  document alone", documentFloor(*form.editor().document(), dialog.findWhat, dialog.replaceWith), kTarget,
           "sed s///g", sed);
    form.editor().Redo();
    const QString said = window.platform.boxes.messages.isEmpty() ? QString() : window.platform.boxes.messages.last().text;

    QElapsedTimer undo;
    undo.start();
    form.editor().Undo();
    form.editor().viewport()->repaint();
    const double undone = secondsSince(undo);
    std::printf("  message \"%s\"; one undo (%.3f s) gives back the text: %s; more to undo: %s\n", qPrintable(said),
                undone, hashOf(form.editor().Text()) == before ? "yes" : "NO",
                form.editor().CanUndo() ? "yes" : "no");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qint64 plainMegabytes = arguments.size() > 1 ? arguments.at(1).toLongLong() : kDefaultPlainMegabytes;
    const qint64 rtfMegabytes = arguments.size() > 2 ? arguments.at(2).toLongLong() : kDefaultRtfMegabytes;
    replaceAllInRtf(rtfMegabytes);
    findThroughPlainText(plainMegabytes);
    return 0;
}
