// Spell checking cost on the system's Hunspell dictionaries: loading them, the
// memory they take, checking a whole document of mixed Russian and English
// text with errors in it ("mixed"), and of nothing but wrong words ("garbage",
// the worst case: each one is also tried in the other layout), one paragraph,
// and the suggestions for one word.
//
// Built with the program (target spelling_bench); run from a Release build:
//   build/bench/spelling_bench [megabytes]

#include "bench/ProcessMemory.h"
#include "spelling/Speller.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr double kDefaultMegabytes = 1.0;
constexpr qsizetype kBytesPerMegabyte = 1024 * 1024;
constexpr int kWordsPerParagraph = 60;
// One word in this many is made wrong: a typo, a wrong layout or a mixed alphabet.
constexpr unsigned kErrorEvery = 20;
constexpr int kSuggestionRuns = 5;
constexpr double kNanosecondsPerMicrosecond = 1000.0;
constexpr double kKilobytesPerMegabyte = 1024.0;

const char *const kWords[] = {
    "Вчера", "мы", "обсуждали", "проект", "и", "решили", "что", "документ", "будет", "готов", "к", "пятнице",
    "программа", "проверяет", "слова", "в", "тексте", "ёлка", "елка", "кто-нибудь", "Москва", "работа",
    "The", "editor", "checks", "every", "word", "in", "its", "own", "language", "don't", "well-known",
    "London", "meeting", "was", "short", "and", "useful", "version", "3.0", "ГОСТ", "NASA", "2024",
    "https://example.com/page", "mail@example.com", "дорогой", "читатель", "spelling", "dictionary",
};
constexpr unsigned kWordCount = sizeof(kWords) / sizeof(kWords[0]);
const char *const kErrors[] = {"пректа", "meetng", "пРивет", "hELLo", "пpивет", "ghbdtn", "руддщ", "'nj",
                               "ntrcn", "wrold", "докумнет", "сдлово"};
constexpr unsigned kErrorCount = sizeof(kErrors) / sizeof(kErrors[0]);

// Random letters of one alphabet a word, 3 to 10 of them: hardly ever a word.
QStringList makeGarbage(qsizetype characters)
{
    constexpr unsigned kAlphabetLetters = 26;
    constexpr unsigned kShortestWord = 3;
    constexpr unsigned kWordLengths = 8;
    QStringList paragraphs;
    unsigned seed = 54321;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    qsizetype total = 0;
    while (total < characters) {
        QString p;
        for (int w = 0; w < kWordsPerParagraph; ++w) {
            const char16_t base = next() % 2 ? u'a' : u'а';
            for (unsigned n = kShortestWord + next() % kWordLengths; n > 0; --n)
                p += QChar(char16_t(base + next() % kAlphabetLetters));
            p += u' ';
        }
        total += p.size() + 1;
        paragraphs.append(p);
    }
    return paragraphs;
}

QStringList makeParagraphs(qsizetype characters)
{
    QStringList paragraphs;
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    qsizetype total = 0;
    while (total < characters) {
        QString p;
        for (int w = 0; w < kWordsPerParagraph; ++w) {
            const unsigned r = next();
            p += QString::fromUtf8(r % kErrorEvery == 0 ? kErrors[r % kErrorCount] : kWords[r % kWordCount]);
            p += (w % 9 == 8) ? QStringLiteral(". ") : QStringLiteral(" ");
        }
        total += p.size() + 1;
        paragraphs.append(p);
    }
    return paragraphs;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double megabytes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : kDefaultMegabytes;
    QTemporaryDir dir;
    const QStringList paragraphs = makeParagraphs(qsizetype(megabytes * kBytesPerMegabyte));

    const qint64 rssBefore = statusKilobytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    const auto speller = spelling::Speller::load(spelling::Speller::systemDictionaryDirs(),
                                                 dir.filePath(QStringLiteral("words.txt")));
    const qint64 loadMs = timer.elapsed();
    const qint64 rssAfter = statusKilobytes("VmRSS:");
    if (!speller->hasRussian() || !speller->hasEnglish()) {
        std::fprintf(stderr, "install %s\n", qPrintable(spelling::Speller::dictionaryPackages()));
        return 1;
    }

    struct Document {
        const char *name;
        QStringList paragraphs;
    };
    const Document documents[] = {{"mixed", paragraphs}, {"garbage", makeGarbage(qsizetype(megabytes * kBytesPerMegabyte))}};
    std::printf("%-10s %8s %8s %8s %10s %8s %8s %10s\n", "document", "MB", "chars", "load", "memory", "check",
                "flags", "paragraph");
    std::printf("%-10s %8s %8s %8s %10s %8s %8s %10s\n", "", "", "", "ms", "MB more", "ms", "", "us");
    for (const Document &document : documents) {
        qsizetype characters = 0;
        std::size_t flags = 0;
        timer.restart();
        for (const QString &p : document.paragraphs) {
            flags += speller->check(p).size();
            characters += p.size() + 1;
        }
        const qint64 documentNs = timer.nsecsElapsed();
        std::printf("%-10s %8.2f %8lld %8lld %10.1f %8.0f %8zu %10.1f\n", document.name, megabytes,
                    (long long)characters, (long long)loadMs, (rssAfter - rssBefore) / kKilobytesPerMegabyte,
                    documentNs / 1e6, flags, documentNs / kNanosecondsPerMicrosecond / document.paragraphs.size());
    }

    timer.restart();
    int suggestions = 0;
    for (int i = 0; i < kSuggestionRuns; ++i)
        suggestions += int(speller->suggestions(QString::fromUtf8(kErrors[i % kErrorCount])).size());
    const qint64 suggestNs = timer.nsecsElapsed();

    std::printf("suggestions for a wrong word: %.1f ms\n", suggestNs / 1e6 / kSuggestionRuns);
    (void)suggestions;
    return 0;
}
