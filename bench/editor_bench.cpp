// Loading and saving large documents in the editor control.
//
//   editor_bench            runs every case, each in a process of its own, and
//                           prints one table
//   editor_bench CASE DIR   runs one case (used by the above)
//
// Cases: RTF of 1 and 10 MB written the way the Windows control writes it (a
// format run every few words, Cyrillic as \'xx), plain Windows-1251 text of 1,
// 10 and 16 MB, and setPlainText of the same text into a bare QTextEdit as the
// floor. Figures: LoadFile until the whole file is in, until the first screen is
// painted and a key is taken, SaveFile, the process's peak memory per character, and the
// recovery copy after a keystroke: from the end of the pause until the copy is
// on disk, and the longest time the UI thread was busy with it in one go (what
// a key pressed meanwhile waits at most).
#include "ProcessMemory.h"
#include "app/RecoveryCopy.h"
#include "formats/CodePages.h"
#include "editor/TRxRichEdit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextEdit>
#include <cstdio>

namespace {

constexpr qint64 kMegabyte = 1000 * 1000;
constexpr qint64 kQuietPassNs = 1000 * 1000; // an event-loop pass with nothing to do

const char *const kWords[] = {"Привет", "мир", "документ", "текст", "Veltrix", "редактор", "строка",
                              "формат", "пример", "абзац", "Ёлка", "number", "42", "шрифт"};

QByteArray rtfEscaped(const QString &word)
{
    QByteArray out;
    for (char byte : codepage::encodeWindows1251(word)) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80)
            out += "\\'" + QByteArray::number(value, 16).rightJustified(2, '0');
        else
            out += byte;
    }
    return out;
}

QByteArray makeRtf(qint64 size)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 Times New Roman;}"
                     "{\\f1\\fnil\\fcharset204 Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
                     "\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs28 ";
    QRandomGenerator random(7);
    int wordsInParagraph = 0;
    while (rtf.size() < size) {
        const int run = static_cast<int>(random.bounded(5));
        switch (run) {
        case 0: rtf += "\\b "; break;
        case 1: rtf += "\\cf1\\i "; break;
        case 2: rtf += "\\f1\\fs24 "; break;
        default: break;
        }
        for (int i = 0; i < 3; ++i)
            rtf += rtfEscaped(QString::fromUtf8(kWords[random.bounded(int(std::size(kWords)))])) + ' ';
        switch (run) {
        case 0: rtf += "\\b0 "; break;
        case 1: rtf += "\\cf0\\i0 "; break;
        case 2: rtf += "\\f0\\fs28 "; break;
        default: break;
        }
        if (++wordsInParagraph == 20) {
            rtf += "\\par\r\n";
            wordsInParagraph = 0;
        }
    }
    rtf += "\\par\r\n}\r\n";
    return rtf;
}

QByteArray makePlain(qint64 size)
{
    QString text;
    QRandomGenerator random(11);
    int words = 0;
    while (text.size() < size) {
        text += QString::fromUtf8(kWords[random.bounded(int(std::size(kWords)))]);
        text += (++words % 12 == 0) ? QStringLiteral("\r\n") : QStringLiteral(" ");
    }
    return codepage::encodeWindows1251(text);
}

struct CopyTimes {
    double totalMs = 0;
    double longestSliceMs = 0;
};

CopyTimes timeRecoveryCopy(TRxRichEdit &editor, const QString &dir)
{
    // The editor lays out a large document in the background for a few
    // seconds after loading; the copy is timed once that is done.
    QElapsedTimer pass;
    for (int quietPasses = 0; quietPasses < 20;) {
        pass.start();
        QApplication::processEvents();
        quietPasses = pass.nsecsElapsed() < kQuietPassNs ? quietPasses + 1 : 0;
    }
    RecoveryCopy recovery(editor, [] { return QStringLiteral("/bench/document.rtf"); }, dir + QStringLiteral("/state"));
    recovery.setPauseMs(0);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &press);
    CopyTimes times;
    QElapsedTimer total, slice;
    total.start();
    do {
        slice.start();
        QApplication::processEvents();
        times.longestSliceMs = qMax(times.longestSliceMs, slice.nsecsElapsed() / 1e6);
    } while (recovery.isGathering() || !QFile::exists(recovery.copyPath()));
    recovery.waitForStore();
    times.totalMs = total.nsecsElapsed() / 1e6;
    recovery.discard();
    return times;
}

// Paints the first screen and delivers one key, as a user would see it.
void showAndTakeKey(QWidget *editor, QWidget *viewport)
{
    viewport->repaint();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(editor, &press);
    QApplication::processEvents();
    viewport->repaint();
}

int runCase(const QString &name, const QString &dir)
{
    const bool rtf = name.startsWith(QLatin1String("rtf"));
    const bool floor = name.startsWith(QLatin1String("floor"));
    const qint64 megabytes = name.section(QLatin1Char('-'), 1).toLongLong();
    const QString path = QDir(dir).filePath(name + (rtf ? QStringLiteral(".rtf") : QStringLiteral(".txt")));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(rtf ? makeRtf(megabytes * kMegabyte) : makePlain(megabytes * kMegabyte));
    }
    const qint64 baseline = statusKilobytes("VmHWM:");
    QElapsedTimer timer;
    double loadMs = 0, shownMs = 0, saveMs = -1;
    CopyTimes copy{-1, -1};
    qint64 characters = 0;
    qint64 peak = 0;
    if (floor) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QString text = codepage::decodeWindows1251(file.readAll());
        QTextEdit edit;
        edit.resize(800, 600);
        edit.show();
        timer.start();
        edit.setPlainText(text);
        loadMs = timer.nsecsElapsed() / 1e6;
        showAndTakeKey(&edit, edit.viewport());
        shownMs = timer.nsecsElapsed() / 1e6;
        characters = edit.document()->characterCount();
        peak = statusKilobytes("VmHWM:") - baseline;
    } else {
        TRxRichEdit editor;
        editor.resize(800, 600);
        editor.show();
        QApplication::processEvents();
        timer.start();
        editor.LoadFile(path);
        loadMs = timer.nsecsElapsed() / 1e6;
        const bool loading = editor.isLoading();
        showAndTakeKey(&editor, editor.viewport());
        shownMs = timer.nsecsElapsed() / 1e6;
        while (editor.isLoading()) // a large text comes in between keys
            QApplication::processEvents();
        if (loading)
            loadMs = timer.nsecsElapsed() / 1e6;
        characters = editor.TextLength();
        timer.restart();
        editor.SaveFile(QDir(dir).filePath(name + QStringLiteral("-saved") + (rtf ? QStringLiteral(".rtf") : QStringLiteral(".txt"))));
        saveMs = timer.nsecsElapsed() / 1e6;
        peak = statusKilobytes("VmHWM:") - baseline;
        copy = timeRecoveryCopy(editor, dir);
    }
    std::printf("%-10s %10lld %10.0f %10.0f %10.0f %12.1f %10.0f %10.1f\n", qPrintable(name),
                static_cast<long long>(characters), loadMs, shownMs, saveMs,
                characters ? peak * 1024.0 / characters : 0.0, copy.totalMs, copy.longestSliceMs);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3)
        return runCase(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));

    QTemporaryDir dir;
    std::printf("%-10s %10s %10s %10s %10s %12s %10s %10s\n", "case", "chars", "load ms", "shown ms", "save ms",
                "peak B/char", "copy ms", "slice ms");
    std::fflush(stdout);
    const char *const cases[] = {"rtf-1", "rtf-10", "plain-1", "plain-10", "plain-16",
                                 "floor-1", "floor-10", "floor-16"};
    for (const char *name : cases) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(name), dir.path()});
        child.waitForFinished(-1);
    }
    return 0;
}
