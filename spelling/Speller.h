#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

namespace layoutfix {
class KeyMapping;
}

namespace spelling {

class Dictionary;
class PersonalList;

enum class FlagKind { Misspelled, MixedAlphabets, WrongLayout };

struct Flag {
    int start = 0; // in the paragraph's text (UTF-16 index)
    int length = 0;
    FlagKind kind = FlagKind::Misspelled;
    QString conversion; // WrongLayout: the word typed again in the other layout
};

// Checks each word in its own language: Cyrillic words in Russian, Latin ones
// in English. Not thread-safe; load() may run on a worker thread, and the
// Speller is then used on one thread only.
//
// What is a word is in WordSplitter.h. The parts of a compound are checked one
// by one when the dictionary does not know it whole, so a part in the other
// alphabet (PDF-файл) is a word of its own, not a mix. Left alone: words with
// digits or underscores, words of other alphabets, single letters (т. е.),
// ALL CAPS of up to five letters, and the words of addresses. A run of more
// than a hundred letters is flagged without asking the dictionary. A word the
// dictionary's encoding cannot hold (a KOI8-R dictionary and a Ukrainian
// letter) is flagged.
//
// Wrong layout: a wrong word whose conversion is a right word in the other
// language. Russian typed in the English layout may hold ; ' , . [ ] ` and their
// shifted keys; such a run of keys is tried whole only when a word in it is
// wrong, then less up to three of those keys at either end, shortest cut first
// ("xnj?" is "что,", "ghbdtn," is "привет" and a comma), and only a right
// conversion is flagged, so punctuation is never flagged on its own.
//
// The personal list and the ignored words: a word entered in lower case also
// covers its capitalised and ALL CAPS forms, one entered capitalised its ALL
// CAPS form.
class Speller {
public:
    static std::unique_ptr<Speller> load(const QStringList &dictionaryDirs, const QString &personalListPath);
    static QStringList systemDictionaryDirs();
    // $XDG_CONFIG_HOME/Veltrix/words.txt
    static QString defaultPersonalListPath();
    static QString dictionaryPackages();

    ~Speller();

    bool available() const;
    bool hasRussian() const { return russian_ != nullptr; }
    bool hasEnglish() const { return english_ != nullptr; }
    QStringList languages() const { return languages_; }

    // Never computes suggestions. Words of neither alphabet are left alone.
    std::vector<Flag> check(QStringView paragraph) const;
    // The wrong-layout conversion (or, for a word mixing alphabets, the word
    // in one alphabet) first, then the dictionary's.
    QStringList suggestions(QStringView word, int max = 7) const;

    // Throws VeltrixError with the path and the reason when the list cannot be
    // written (or is over 8 MB). A "word" with spaces or control characters, or
    // over a hundred characters, is not added.
    void addToDictionary(const QString &word);
    void ignoreAll(const QString &word);
    bool refreshPersonalList();
    quint64 generation() const { return generation_; }

private:
    Speller();
    struct Verdict;
    Verdict judgePart(QStringView part) const;
    bool isKnown(QStringView word, const Dictionary &dictionary) const;
    bool isAccepted(QStringView word) const;
    void checkChunk(QStringView paragraph, int start, int length, std::vector<Flag> &flags) const;
    void findLayoutRuns(QStringView paragraph, int start, int length, std::vector<Flag> &flags,
                        std::size_t first) const;
    QString convertedWord(QStringView word) const;
    QString oneAlphabet(QStringView word) const;

    std::unique_ptr<Dictionary> russian_;
    std::unique_ptr<Dictionary> english_;
    std::unique_ptr<layoutfix::KeyMapping> layout_;
    std::unique_ptr<PersonalList> personal_;
    QSet<QString> ignored_;
    QStringList languages_;
    quint64 generation_ = 0;
};

} // namespace spelling
