// Opening, typing in and saving a large Windows-1251 text through the main
// window, as a user does it: Open's dialog answered, the document shown and
// taking a key, a keystroke at its start and its end, Save.
//
//   open_bench [CASE...]         runs the cases (all without any), each in a
//                                process of its own, and prints one table
//   open_bench --case CASE DIR   runs one case (used by the above); with
//                                OPEN_BENCH_OPEN_ONLY set it stops once the
//                                file is shown, to profile the open alone
//
// Cases: plain-K (a file of K kilobytes) and plain-M (M megabytes), lines of
// Russian and Latin words ending in CR LF. Figures: from the dialog's answer
// until the title names the file ("titled"), until the first screen is
// painted and a key is taken ("shown"); a key typed at the start while the
// rest of the file comes in, and the longest pass of the event loop meanwhile
// ("pass": the longest a key waits); until the whole file is in; the
// process's peak memory (VmHWM) over its size before the open, per byte of
// the file, then and at the end; milliseconds per keystroke at the start and
// the end once the background layout is over; Save back to Windows-1251.
// floor-M: the same file put into a bare QTextDocument, the time and memory
// Qt's document alone takes.
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

double millisecondsPerKey(TForm1 &form, bool atEnd)
{
    TRxRichEdit *editor = &form.editor();
    auto *layout = static_cast<EditorLayout *>(editor->document()->documentLayout());
    while (layout->blocksNotLaidOut() > 0)
        QApplication::processEvents();
    return millisecondsPerTypedKey(*editor, atEnd, kKeystrokes);
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

int runCase(const QString &name, const QString &dir)
{
    const QString amount = name.section(QLatin1Char('-'), 1);
    const qint64 size = amount.endsWith(QLatin1Char('K')) ? amount.chopped(1).toLongLong() * kKilobyte
                                                          : amount.toLongLong() * kMegabyte;
    const QString path = QDir(dir).filePath(name + QStringLiteral(".txt"));
    if (!writePlain(path, size))
        return 1;
    if (name.startsWith(QLatin1String("floor")))
        return runFloor(path, size);

    BenchWindow window;
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
    const double keyAtStart = millisecondsPerKey(form, false);
    const double keyAtEnd = millisecondsPerKey(form, true);

    timer.restart();
    form.ToolButton3Click();
    const double saveMs = timer.nsecsElapsed() / 1e6;
    const qint64 peak = statusKilobytes("VmHWM:") - baseline;

    std::printf("%-10s %8.0f %8.0f %8.3f %8.1f %8.0f %8.2f %8.3f %8.3f %8.0f %8.2f\n", qPrintable(name), titledMs,
                shownMs, keyWhileLoading, longestPassMs, wholeMs, wholePeak * 1024.0 / size, keyAtStart, keyAtEnd,
                saveMs, peak * 1024.0 / size);
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
    std::printf("%-10s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "case", "titled", "shown", "key load",
                "pass", "whole", "whole", "key start", "key end", "save", "end");
    std::printf("%-10s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "", "ms", "ms", "ms", "ms", "ms", "B/B", "ms", "ms",
                "ms", "B/B");
    std::fflush(stdout);
    const QStringList cases = argc > 1 ? app.arguments().mid(1)
                                       : QStringList{QStringLiteral("plain-1K"), QStringLiteral("plain-16"),
                                                     QStringLiteral("plain-160"), QStringLiteral("floor-160")};
    for (const QString &name : cases) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--case"), name, dir.path()});
        child.waitForFinished(-1);
    }
    return 0;
}
