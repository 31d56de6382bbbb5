// libFuzzer target for spell checking: any paragraph is checked without a
// crash or a hang, its flags lie within it and never overlap, and the first
// one gets suggestions; an input starting with '#' is a personal word list
// another copy of the program wrote, read while checking goes on.
//
// Built with -DVELTRIX_FUZZ=ON (target spelling_fuzz) and run by CTest on
// fuzz/corpus/spelling, with the system's Hunspell dictionaries.

#include "FuzzInputFile.h"
#include "spelling/Speller.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Suggestions cost tens of milliseconds; a word longer than this is not asked for any.
constexpr int kLongestWordAsked = 40;

void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

spelling::Speller &speller()
{
    static const QString list = fuzzinput::asFile(QStringLiteral("words.txt"), "", 0);
    static const std::unique_ptr<spelling::Speller> loaded =
        spelling::Speller::load(spelling::Speller::systemDictionaryDirs(), list);
    return *loaded;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    speller();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    spelling::Speller &s = speller();
    if (size > 0 && data[0] == '#') {
        fuzzinput::asFile(QStringLiteral("words.txt"), data + 1, size - 1);
        s.refreshPersonalList();
        return 0;
    }
    // Odd lengths as UTF-8, even ones as raw UTF-16 (lone surrogates and all).
    const QString text = size % 2 ? QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size))
                                  : QString(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    int end = 0;
    const std::vector<spelling::Flag> flags = s.check(text);
    for (const spelling::Flag &flag : flags) {
        check(flag.start >= end && flag.length > 0 && flag.start + flag.length <= text.size(),
              "a flag outside the text or over another");
        end = flag.start + flag.length;
    }
    if (!flags.empty() && flags.front().length <= kLongestWordAsked)
        s.suggestions(QStringView(text).mid(flags.front().start, flags.front().length));
    return 0;
}
