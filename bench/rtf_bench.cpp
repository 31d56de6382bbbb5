// RTF reader and writer speed on documents shaped like the Windows rich edit
// control's output: Cyrillic as \'xx, a format change every few words.
//
// Built with the program (target rtf_bench); run from a Release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/rtf_bench

#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

namespace {

QByteArray makeDocument(qsizetype targetBytes)
{
    static const char *const words[] = {
        "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2",             // Привет
        "\\'ec\\'e8\\'f0",                            // мир
        "\\'e4\\'ee\\'ea\\'f3\\'ec\\'e5\\'ed\\'f2",   // документ
        "\\'f2\\'e5\\'ea\\'f1\\'f2",                  // текст
        "\\'d0\\'ee\\'f1\\'f1\\'e8\\'ff",             // Россия
        "editor", "2024", "\\'e8",                    // и
        "\\'e3\\'ee\\'e4\\'e0",                       // года
        "\\'ef\\'f0\\'e8\\'ec\\'e5\\'f0",             // пример
    };
    static const char *const formats[] = {"\\b ", "\\b0 ", "\\i ", "\\i0 ", "\\cf1 ", "\\cf0 ",
                                          "\\ul ", "\\ulnone ", "\\fs28 ", "\\fs22 "};
    QByteArray rtf;
    rtf.reserve(targetBytes + 4096);
    rtf += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\nouicompat\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 "
           "Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
           "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang1049 ";
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    int wordInParagraph = 0;
    int format = 0;
    while (rtf.size() < targetBytes) {
        rtf += words[next() % 10];
        if (next() % 4 == 0)
            rtf += formats[format++ % 10];
        else
            rtf += ' ';
        if (++wordInParagraph > 12 + int(next() % 30)) {
            rtf += "\\par\r\n";
            wordInParagraph = 0;
        }
    }
    rtf += "\\par\r\n}\r\n";
    return rtf;
}

void measure(const char *label, qsizetype size)
{
    const QByteArray rtf = makeDocument(size);
    const double mb = rtf.size() / 1e6;

    QElapsedTimer timer;
    double best = 1e9;
    int paragraphs = 0;
    for (int i = 0; i < 5; ++i) {
        timer.start();
        paragraphs = rtf::detail::parseOnly(rtf);
        best = qMin(best, timer.nsecsElapsed() / 1e9);
    }
    std::printf("%s: %.2f MB, %d paragraphs\n", label, mb, paragraphs);
    std::printf("  parse only:          %8.1f ms  %7.1f MB/s\n", best * 1e3, mb / best);

    double load = 1e9;
    QTextDocument document;
    for (int i = 0; i < 3; ++i) {
        timer.start();
        rtf::read(rtf, document);
        load = qMin(load, timer.nsecsElapsed() / 1e9);
    }
    std::printf("  read into document:  %8.1f ms  %7.1f MB/s  (%d characters)\n", load * 1e3,
                mb / load, document.characterCount());

    double writeTime = 1e9;
    QByteArray written;
    for (int i = 0; i < 3; ++i) {
        timer.start();
        written = rtf::write(document);
        writeTime = qMin(writeTime, timer.nsecsElapsed() / 1e9);
    }
    std::printf("  write:               %8.1f ms  (%.2f MB written)\n", writeTime * 1e3,
                written.size() / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    measure("1 MB", 1'000'000);
    measure("10 MB", 10'000'000);
    return 0;
}
