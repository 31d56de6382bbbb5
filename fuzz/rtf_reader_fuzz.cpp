// libFuzzer target for the RTF reader. Every input must load without a crash,
// a hang or unbounded memory; what loads must also write and read back with
// the same text, and read as a clipboard piece differ only in its final
// paragraph end.
//
// Built with -DVELTRIX_FUZZ=ON (target rtf_reader_fuzz) and run by CTest on
// fuzz/corpus/rtf.

#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString textOf(const QTextDocument &document)
{
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        text += block.text() + QLatin1Char('\n');
    return text;
}

// What differed, percent-encoded so that control characters show.
void report(const char *what, const QString &expected, const QString &actual)
{
    const auto shown = [](const QString &text) { return text.toUtf8().toPercentEncoding(" "); };
    std::fprintf(stderr, "%s\n  expected: %s\n  actual:   %s\n", what, shown(expected).constData(),
                 shown(actual).constData());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Fonts in character formats need a GUI application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    if (!rtf::read(input, document))
        return 0;
    if (document.blockCount() < 1)
        std::abort();
    QTextDocument again;
    if (!rtf::read(rtf::write(document), again) || textOf(again) != textOf(document)) {
        report("text changed by writing and reading back", textOf(document), textOf(again));
        std::abort();
    }
    // Read as a clipboard piece, the same input differs at most by one empty
    // paragraph at the end, the final paragraph end kept.
    QTextDocument piece;
    if (!rtf::readFragment(input, piece)) {
        std::fprintf(stderr, "read as a file but not as a piece\n");
        std::abort();
    }
    const QString whole = textOf(document);
    const QString fragment = textOf(piece);
    if (fragment != whole && fragment != whole + QLatin1Char('\n')) {
        report("a piece differs from the file by more than its final paragraph end", whole, fragment);
        std::abort();
    }
    return 0;
}
