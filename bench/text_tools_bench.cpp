// Sorting and recoding whole documents, timed from the command to the document
// shown again, side by side with GNU sort -f and iconv on the same lines and
// bytes. Prints seconds and the ratio to the other program.
#include "BenchWindow.h"
#include "app/Unit1.h"
#include "formats/CodePages.h"
#include "editor/TRxRichEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextDocument>
#include <cstdio>

namespace {

const char *const kWords[] = {"Привет", "мир", "документ", "Текст", "Veltrix", "editor", "строка",
                              "Format", "пример", "абзац", "Ёлка", "number", "zebra", "шрифт"};

QString linesOf(int count)
{
    QRandomGenerator random(3);
    QString text;
    for (int i = 0; i < count; ++i) {
        for (int w = 0; w < 4; ++w) {
            text += QString::fromUtf8(kWords[random.bounded(int(std::size(kWords)))]);
            text += QLatin1Char(' ');
        }
        text += QString::number(random.bounded(100000));
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString textOf(qint64 characters)
{
    QString text = linesOf(static_cast<int>(characters / 40 + 1));
    text.truncate(characters);
    return text;
}

double runCommand(TForm1 &form, void (TForm1::*command)())
{
    QElapsedTimer timer;
    timer.start();
    (form.*command)();
    form.editor().viewport()->repaint();
    return timer.nsecsElapsed() / 1e9;
}

double runProgram(const QString &program, const QStringList &arguments, const QString &input)
{
    QProcess process;
    process.setStandardInputFile(input);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The least any command that puts a whole new text in can cost: Qt's text
// document alone taking the text, with no editor, layout or view.
double documentFloor(const QString &text)
{
    QTextDocument document;
    QElapsedTimer timer;
    timer.start();
    document.setPlainText(text);
    return timer.nsecsElapsed() / 1e9;
}

void report(const char *what, double ours, double theirs, const char *other)
{
    std::printf("%-28s %8.2f s   %-8s %6.2f s   ratio %5.2f\n", what, ours, other, theirs, theirs > 0 ? ours / theirs : 0);
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
    QTemporaryDir &dir = window.dir;

    for (int lines : {200000, 1000000}) {
        const QString text = linesOf(lines);
        const QString input = dir.filePath(QStringLiteral("lines.txt"));
        writeFile(input, text.toUtf8());
        form.editor().setText(text);
        const double ours = runCommand(form, &TForm1::ToolButton25Click);
        const double theirs = runProgram(QStringLiteral("sort"), {QStringLiteral("-f")}, input);
        report(qPrintable(QStringLiteral("sort %1 lines").arg(lines)), ours, theirs, "sort -f");
        report("  text document alone", documentFloor(text), theirs, "sort -f");
    }

    const QString text = textOf(16 * 1000 * 1000);
    const QString cp1251 = dir.filePath(QStringLiteral("text.1251"));
    writeFile(cp1251, codepage::encodeWindows1251(text));
    const QString koi8 = dir.filePath(QStringLiteral("text.koi8"));
    writeFile(koi8, codepage::encodeKoi8r(text));
    const QString utf8 = dir.filePath(QStringLiteral("text.utf8"));
    writeFile(utf8, text.toUtf8());
    const struct {
        const char *name;
        void (TForm1::*command)();
        QStringList iconv;
        QString input;
    } recodings[] = {
        // The editor shows the file's bytes as Windows-1251 text.
        {"Win to KOI8 16 MB", &TForm1::Koir1Click, {"-f", "CP1251", "-t", "KOI8-R"}, cp1251},
        {"KOI8 to Win 16 MB", &TForm1::Koir8Win1Click, {"-f", "KOI8-R", "-t", "CP1251"}, koi8},
        {"Win to UTF-8 16 MB", &TForm1::WinUTF81Click, {"-f", "CP1251", "-t", "UTF-8"}, cp1251},
        {"UTF-8 to Win 16 MB", &TForm1::UTF8Win1Click, {"-f", "UTF-8", "-t", "CP1251"}, utf8},
    };
    for (const auto &recoding : recodings) {
        QFile input(recoding.input);
        input.open(QIODevice::ReadOnly);
        form.editor().setText(codepage::decodeWindows1251(input.readAll()));
        const double ours = runCommand(form, recoding.command);
        const double theirs = runProgram(QStringLiteral("iconv"), recoding.iconv, recoding.input);
        report(recoding.name, ours, theirs, "iconv");
        report("  text document alone", documentFloor(form.editor().Text()), theirs, "iconv");
    }
    return 0;
}
