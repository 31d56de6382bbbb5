// Opening, typing in and saving a large text through the main window, as a
// user does it: Open's dialog answered, the document shown and taking a key, a
// keystroke at its start and its end, Save.
//
//   open_bench [CASE...]         runs the cases (all without any), each in a
//                                process of its own, and prints one table
//   open_bench --case CASE DIR   runs one case (used by the above); with
//                                OPEN_BENCH_OPEN_ONLY set it stops once the
//                                file is shown, to profile the open alone;
//                                OPEN_BENCH_KEYSTROKES=N types N keys, not 200;
//                                OPEN_BENCH_WORDS set, every sixth key is a
//                                space (words, not one long word)
//
// Cases, by the shape of the file:
//   plain-K, plain-M  K kilobytes or M megabytes of Windows-1251 lines of
//                     Russian and Latin words ending in CR LF
//   json-M, base64-M  one line of M megabytes without a space: minified JSON
//                     (a .json file) or base64 without '+' and '/' (no break
//                     opportunity at all)
//   tabs-M            M megabytes of RTF, every paragraph with tab stops of
//                     its own
//   fonts-K           K kilobytes of RTF naming 16,384 font families, a word
//                     in each
//   table-M           M megabytes of RTF: tables of 10,000 rows of four
//                     cells, a word or two in each, between paragraphs; the
//                     key "at the end" is typed in a cell in the middle of the
//                     last table
//   cells-M           the same text (as many rows as table-M has) with each
//                     cell a paragraph of its own
//   end-M             plain-M, and Ctrl+End a second after it is shown
//   CASE+spelling     any case with the system's dictionaries read and
//                     spelling checked as you type
//   floor-M           plain-M put into a bare QTextDocument: the time and
//                     memory Qt's document alone takes
// Figures: from the dialog's answer until the title names the file
// ("titled"), until the first screen is painted and a key is taken ("shown");
// a key typed at the start while the rest of the file comes in, and the
// longest pass of the event loop meanwhile ("pass": the longest a key waits);
// until the whole file is in; until the process is idle (the layout done and
// the event loop without work); the process's peak memory (VmHWM) over its
// size before the open, per byte of the file, then and at the end;
// milliseconds per keystroke at the start and the end once idle; a Page Down
// through the document, painted ("page"); Save back
// to the file's format. end-M prints instead how long Ctrl+End leaves the
// window without an answer, how much of that the rest of the file took to
// come in, and their ratio.
#include "BenchWindow.h"
#include "ProcessMemory.h"
#include "app/Unit1.h"
#include "editor/EditorLayout.h"
#include "editor/TRxRichEdit.h"
#include "editor/PlainTextFiles.h"
#include "formats/CodePages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>

namespace {

constexpr qint64 kKilobyte = 1000;
constexpr qint64 kMegabyte = 1000 * 1000;
constexpr int kKeystrokes = 200;
constexpr int kLinesPerChunk = 1000;

// Written in pieces, so the bench's own copy never holds the whole file.
bool writePlain(const QString &path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    qint64 written = 0;
    for (int n = 0; written < size; n += kLinesPerChunk) {
        QString chunk;
        for (int i = 0; i < kLinesPerChunk; ++i)
            chunk += QStringLiteral("Съешь же ещё этих мягких французских булок, да выпей чаю. Line %1 of the benchmark\r\n")
                         .arg(n + i, 7, 10, QLatin1Char('0'));
        QByteArray bytes = codepage::encodeWindows1251(chunk);
        bytes.truncate(size - written);
        written += file.write(bytes);
    }
    return true;
}

// One line without a space, written in pieces: minified JSON (break
// opportunities after some punctuation only) or base64 of letters and digits
// (none at all).
bool writeLine(const QString &path, qint64 size, bool json)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Letters and digits only: '+' and '/' would be break opportunities.
    static const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int kBase64Letters = sizeof kBase64 - 1;
    const qint64 body = json ? size - 1 : size; // JSON's closing bracket last
    qint64 written = 0;
    if (json)
        written += file.write("[");
    for (int n = 0; written < body; ++n) {
        QByteArray chunk;
        for (int i = 0; i < kLinesPerChunk; ++i) {
            const int k = n * kLinesPerChunk + i;
            if (json) {
                chunk += QStringLiteral("{\"id\":%1,\"name\":\"item%1\",\"tags\":[\"a%2\",\"b%3\"],\"ok\":true},")
                             .arg(k)
                             .arg(k % 97)
                             .arg(k % 13)
                             .toLatin1();
            } else {
                for (int c = 0; c < kBase64Letters; ++c)
                    chunk += kBase64[(k * 31 + c * 7) % kBase64Letters];
            }
        }
        chunk.truncate(body - written);
        written += file.write(chunk);
    }
    if (json)
        file.write("]");
    return true;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Paragraphs of a few words and tabs, each with a tab-stop set of its own.
QByteArray tabsRtf(qint64 size)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Times New Roman;}}\r\n";
    for (int n = 0; rtf.size() < size; ++n) {
        rtf += "\\pard";
        for (int stop = 1; stop <= 3; ++stop)
            rtf += "\\tx" + QByteArray::number(stop * 1000 + n % 997 + (n / 997) * 7 % 500 * stop);
        rtf += " \\'cf\\'e0\\'f0\\'e0\\'e3\\'f0\\'e0\\'f4 " + QByteArray::number(n) + "\\tab one\\tab two\\tab three\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

// Tables of 10,000 rows between paragraphs, or the same text as paragraphs:
// as many rows as the tables take in `size`.
QByteArray tablesRtf(qint64 size, bool asTables)
{
    constexpr int kRows = 10000;
    constexpr int kCells = 4;
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Times New Roman;}}\r\n"
                     "\\pard Price list\\par\r\n";
    QByteArray definition = "\\trowd\\trgaph108\\trleft-108";
    for (int c = 1; c <= kCells; ++c)
        definition += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx" +
                      QByteArray::number(c * 2400);
    qint64 tableSize = rtf.size();
    for (int n = 0; tableSize < size; ++n) {
        QByteArray row = definition;
        QByteArray paragraphs;
        for (int c = 0; c < kCells; ++c) {
            const QByteArray text =
                c == 0 ? "\\'f2\\'ee\\'e2\\'e0\\'f0 " + QByteArray::number(n) : QByteArray::number(n * 7 % 1000 + c);
            row += "\\pard\\intbl " + text + "\\cell\r\n";
            paragraphs += "\\pard " + text + "\\par\r\n";
        }
        row += "\\row\r\n";
        tableSize += row.size();
        rtf += asTables ? row : paragraphs;
        if (n % kRows == kRows - 1)
            rtf += "\\pard\\par\r\n";
    }
    rtf += "\\pard The end.\\par}\r\n";
    return rtf;
}

// A font table of 16,384 families none of which is installed, and a word in
// each of them.
QByteArray fontsRtf(qint64 size)
{
    constexpr int kFamilies = 16384;
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int f = 0; f < kFamilies; ++f)
        rtf += "{\\f" + QByteArray::number(f) + " F" + QByteArray::number(f) + ";}";
    rtf += "}\r\n\\pard ";
    for (int f = 0; f < kFamilies || rtf.size() < size; ++f) {
        rtf += "{\\f" + QByteArray::number(f % kFamilies) + " w} ";
        if (f % 12 == 11)
            rtf += "\\par\r\n";
    }
    rtf += "\\par}\r\n";
    return rtf;
}

// The file of a case, by its name; empty when it cannot be written.
QString writeCase(const QString &name, const QString &dir, qint64 size)
{
    const QString kind = name.section(QLatin1Char('-'), 0, 0);
    const QString suffix = kind == QLatin1String("json")                                    ? QStringLiteral(".json")
                           : kind == QLatin1String("tabs") || kind == QLatin1String("fonts") ||
                                   kind == QLatin1String("table") || kind == QLatin1String("cells")
                               ? QStringLiteral(".rtf")
                               : QStringLiteral(".txt");
    const QString path = QDir(dir).filePath(name + suffix);
    bool written = false;
    if (kind == QLatin1String("json") || kind == QLatin1String("base64"))
        written = writeLine(path, size, kind == QLatin1String("json"));
    else if (kind == QLatin1String("tabs"))
        written = writeBytes(path, tabsRtf(size));
    else if (kind == QLatin1String("fonts"))
        written = writeBytes(path, fontsRtf(size));
    else if (kind == QLatin1String("table") || kind == QLatin1String("cells"))
        written = writeBytes(path, tablesRtf(size, kind == QLatin1String("table")));
    else
        written = writePlain(path, size);
    return written ? path : QString();
}

// Until the layout has nothing left and the event loop has been without work
// for a while, as a process monitor would see it.
void waitUntilIdle(TForm1 &form)
{
    constexpr qint64 kQuietPassNs = 1000 * 1000;
    constexpr int kQuietPasses = 20;
    auto *layout = static_cast<EditorLayout *>(form.editor().document()->documentLayout());
    QElapsedTimer pass;
    for (int quiet = 0; quiet < kQuietPasses;) {
        pass.start();
        QApplication::processEvents();
        const bool idle = !form.editor().isLoading() && layout->blocksNotLaidOut() == 0;
        quiet = idle && pass.nsecsElapsed() < kQuietPassNs ? quiet + 1 : 0;
    }
}

double millisecondsPerKey(TForm1 &form, bool atEnd)
{
    TRxRichEdit *editor = &form.editor();
    auto *layout = static_cast<EditorLayout *>(editor->document()->documentLayout());
    while (layout->blocksNotLaidOut() > 0)
        QApplication::processEvents();
    // Fewer where each key costs seconds (OPEN_BENCH_KEYSTROKES).
    const int keys = qEnvironmentVariableIntValue("OPEN_BENCH_KEYSTROKES");
    // In a document of tables the end is a cell in the middle of the last one.
    const QList<QTextFrame *> frames = editor->document()->rootFrame()->childFrames();
    if (auto *table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.last()); table && atEnd)
        return millisecondsPerTypedKeyAt(*editor, table->cellAt(table->rows() / 2, 1).firstPosition(),
                                         keys > 0 ? keys : kKeystrokes);
    return millisecondsPerTypedKey(*editor, atEnd, keys > 0 ? keys : kKeystrokes);
}

// Page Down from the start of the document, once laid out: milliseconds
// per page, each one painted before the next key.
double millisecondsPerPage(TForm1 &form)
{
    constexpr int kPages = 100;
    TRxRichEdit &editor = form.editor();
    editor.moveCursor(QTextCursor::Start);
    editor.viewport()->repaint();
    QElapsedTimer timer;
    timer.start();
    for (int page = 0; page < kPages; ++page) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&editor, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&editor, &release);
        QApplication::processEvents();
        editor.viewport()->repaint();
    }
    return timer.nsecsElapsed() / 1e6 / kPages;
}

// The floor: the same file decoded and put into a bare QTextDocument with
// Qt's own layout, nothing shown; the time and the memory Qt's document needs.
int runFloor(const QString &path, qint64 size)
{
    const qint64 baseline = statusKilobytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QTextDocument document;
    FilePieces pieces(file);
    loadPlainText(pieces, document);
    const double wholeMs = timer.nsecsElapsed() / 1e6;
    const qint64 peak = statusKilobytes("VmHWM:") - baseline;
    std::printf("%-10s %8s %8s %8s %8s %8.0f %8.2f\n", qPrintable(QFileInfo(path).baseName()), "-", "-", "-", "-",
                wholeMs, peak * 1024.0 / size);
    return 0;
}

// Ctrl+End a second after the file is shown, while the rest comes in: how
// long the window is without an answer (the key taken and the end painted),
// and how much of that the rest of the file took to come in.
int runCtrlEnd(TForm1 &form, const QString &name)
{
    constexpr qint64 kWaitMs = 1000;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kWaitMs)
        QApplication::processEvents();
    TRxRichEdit &editor = form.editor();
    double inMs = -1;
    QElapsedTimer key;
    const QMetaObject::Connection loaded =
        QObject::connect(&editor, &TRxRichEdit::OnLoaded, [&] { inMs = key.nsecsElapsed() / 1e6; });
    const bool wasLoading = editor.isLoading();
    key.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(&editor, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(&editor, &release);
    editor.viewport()->repaint();
    const double keyMs = key.nsecsElapsed() / 1e6;
    QObject::disconnect(loaded);
    if (!wasLoading)
        std::fprintf(stderr, "%s: the file was in before Ctrl+End\n", qPrintable(name));
    if (editor.textCursor().position() != editor.document()->characterCount() - 1)
        std::fprintf(stderr, "%s: Ctrl+End did not reach the end\n", qPrintable(name));
    std::printf("%-10s Ctrl+End %.0f ms, the rest of the file in %.0f ms: %.2f times\n", qPrintable(name), keyMs, inMs,
                inMs > 0 ? keyMs / inMs : 0.0);
    return 0;
}

int runCase(const QString &caseName, const QString &dir)
{
    // NAME+spelling: the same with spelling checked as you type.
    const QString spellingSuffix = QStringLiteral("+spelling");
    const bool spelling = caseName.endsWith(spellingSuffix);
    const QString name = spelling ? caseName.chopped(spellingSuffix.size()) : caseName;
    const QString amount = name.section(QLatin1Char('-'), 1);
    const qint64 size = amount.endsWith(QLatin1Char('K')) ? amount.chopped(1).toLongLong() * kKilobyte
                                                          : amount.toLongLong() * kMegabyte;
    const QString path = writeCase(name, dir, size);
    if (path.isEmpty())
        return 1;
    if (name.startsWith(QLatin1String("floor")))
        return runFloor(path, size);
    const bool ctrlEnd = name.startsWith(QLatin1String("end"));

    BenchWindow window(spelling);
    TForm1 &form = window.form;
    form.editor().setFocus();
    QApplication::processEvents();
    const qint64 baseline = statusKilobytes("VmRSS:");
    window.platform.files.answers.push_back(path);

    QElapsedTimer timer;
    timer.start();
    form.ToolButton2Click();
    const double titledMs = timer.nsecsElapsed() / 1e6;
    QApplication::processEvents();
    form.editor().viewport()->repaint();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(&form.editor(), &press);
    QApplication::processEvents();
    form.editor().viewport()->repaint();
    const double shownMs = timer.nsecsElapsed() / 1e6;
    if (!form.windowTitle().contains(QFileInfo(path).fileName()))
        std::fprintf(stderr, "%s: the title does not name the file\n", qPrintable(name));

    if (ctrlEnd)
        return runCtrlEnd(form, name);
    // The rest of a large file comes in between keys: a key typed meanwhile,
    // and the longest the event loop is away from them.
    const double keyWhileLoading = form.editor().isLoading() ? millisecondsPerTypedKey(form.editor(), false, 20) : 0;
    double longestPassMs = 0;
    while (form.editor().isLoading()) {
        QElapsedTimer pass;
        pass.start();
        QApplication::processEvents();
        longestPassMs = std::max(longestPassMs, pass.nsecsElapsed() / 1e6);
    }
    const double wholeMs = timer.nsecsElapsed() / 1e6;
    const qint64 wholePeak = statusKilobytes("VmHWM:") - baseline;

    if (qEnvironmentVariableIsSet("OPEN_BENCH_OPEN_ONLY"))
        return 0; // the open alone, to profile it
    waitUntilIdle(form);
    const double idleMs = timer.nsecsElapsed() / 1e6;
    const double keyAtStart = millisecondsPerKey(form, false);
    const double keyAtEnd = millisecondsPerKey(form, true);
    const double pageMs = millisecondsPerPage(form);

    timer.restart();
    form.ToolButton3Click();
    const double saveMs = timer.nsecsElapsed() / 1e6;
    const qint64 peak = statusKilobytes("VmHWM:") - baseline;

    std::printf("%-10s %8.0f %8.0f %8.3f %8.1f %8.0f %8.0f %8.2f %8.3f %8.3f %8.2f %8.0f %8.2f\n", qPrintable(caseName),
                titledMs, shownMs, keyWhileLoading, longestPassMs, wholeMs, idleMs, wholePeak * 1024.0 / size,
                keyAtStart, keyAtEnd, pageMs, saveMs, peak * 1024.0 / size);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--case") == 0)
        return runCase(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QTemporaryDir dir;
    std::printf("%-10s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "case", "titled", "shown", "key load",
                "pass", "whole", "idle", "whole", "key start", "key end", "page", "save", "end");
    std::printf("%-10s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "", "ms", "ms", "ms", "ms", "ms", "ms",
                "B/B", "ms", "ms", "ms", "ms", "B/B");
    std::fflush(stdout);
    const QStringList cases = argc > 1 ? app.arguments().mid(1)
                                       : QStringList{QStringLiteral("plain-1K"), QStringLiteral("plain-16"),
                                                     QStringLiteral("plain-160"), QStringLiteral("floor-160"),
                                                     QStringLiteral("json-1"), QStringLiteral("base64-1"),
                                                     QStringLiteral("base64-10"), QStringLiteral("json-10"),
                                                     QStringLiteral("tabs-2"), QStringLiteral("fonts-400K"),
                                                     QStringLiteral("end-160")};
    for (const QString &name : cases) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--case"), name, dir.path()});
        child.waitForFinished(-1);
    }
    return 0;
}
