#include "spelling/Speller.h"

#include "spelling/Dictionary.h"
#include "spelling/PersonalList.h"
#include "spelling/WordSplitter.h"
#include "tools/LayoutFix.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <iterator>

namespace spelling {

namespace {

// Hunspell's own limit on a word; longer runs of letters are no word of any
// dictionary and would only cost time.
constexpr int kMaxWordLetters = 100;
// One letter is too little to judge: an abbreviation (т. е., г.) or an initial.
constexpr int kMinCheckedLetters = 2;
// ALL CAPS words this short are abbreviations (ГОСТ, NASA, ООО).
constexpr int kMaxAbbreviationLetters = 5;
// Punctuation keys tried off either end of a wrong-layout run ("xnj?" vs "xnj").
constexpr int kMaxEdgeTrim = 3;

constexpr char16_t kCombiningGrave = 0x0300;
constexpr char16_t kCombiningAcute = 0x0301;
constexpr char16_t kRightSingleQuote = 0x2019;
constexpr char16_t kModifierApostrophe = 0x02BC;

// Latin letters that look like Cyrillic ones, at the same index.
constexpr char16_t kLatinLookalikes[] = u"aceopxyABCEHKMOPTXk";
constexpr char16_t kCyrillicLookalikes[] = u"асеорхуАВСЕНКМОРТХк";

const QStringList kRussianNames = {QStringLiteral("ru_RU")};
const QStringList kEnglishNames = {QStringLiteral("en_US"), QStringLiteral("en_GB"), QStringLiteral("en_CA"),
                                   QStringLiteral("en_AU")};

// What Hunspell is asked about: no stress marks, soft hyphens or zero-width
// characters (all may stand inside a correct word), one apostrophe, composed letters.
QString normalized(QStringView word)
{
    QString text;
    text.reserve(word.size());
    for (QChar c : word) {
        const char16_t u = c.unicode();
        if (c.category() == QChar::Other_Format || u == kCombiningAcute || u == kCombiningGrave)
            continue;
        text.append(u == kRightSingleQuote || u == kModifierApostrophe ? QChar(u'\'') : c);
    }
    return text.normalized(QString::NormalizationForm_C);
}

bool isTitleCase(const QString &word)
{
    return word.size() > 1 && word[0].isUpper() && word.mid(1) == word.mid(1).toLower();
}

QString titled(const QString &word)
{
    return word.isEmpty() ? word : word.left(1).toUpper() + word.mid(1).toLower();
}

// A word is in a user's list as written, or in lower case when it begins a
// sentence or is shouted, or capitalised when it is shouted.
bool listHas(const QString &word, const std::function<bool(const QString &)> &contains)
{
    if (contains(word))
        return true;
    const bool caps = isAllCaps(word);
    if ((caps || isTitleCase(word)) && contains(word.toLower()))
        return true;
    return caps && contains(titled(word));
}

struct Entry {
    QString name;
    QString aff;
    QString dic;
};

std::vector<Entry> installedDictionaries(const QStringList &dirs)
{
    std::vector<Entry> entries;
    for (const QString &dir : dirs) {
        const QDir d(dir);
        for (const QFileInfo &aff : d.entryInfoList({QStringLiteral("*.aff")}, QDir::Files | QDir::Readable,
                                                      QDir::Name)) {
            const QString name = aff.completeBaseName();
            const QString dic = d.filePath(name + QStringLiteral(".dic"));
            const bool known = std::any_of(entries.begin(), entries.end(),
                                           [&](const Entry &e) { return e.name == name; });
            if (!known && QFileInfo(dic).isFile())
                entries.push_back({name, aff.absoluteFilePath(), dic});
        }
    }
    return entries;
}

std::unique_ptr<Dictionary> openFirst(const std::vector<Entry> &entries, const QStringList &preferred,
                                      const QString &language)
{
    for (const QString &name : preferred)
        for (const Entry &e : entries)
            if (e.name == name)
                if (auto d = Dictionary::open(e.aff, e.dic))
                    return d;
    for (const Entry &e : entries)
        if (e.name == language || e.name.startsWith(language + u'_'))
            if (auto d = Dictionary::open(e.aff, e.dic))
                return d;
    return nullptr;
}

} // namespace

struct Speller::Verdict {
    enum Kind { Right, Wrong, Mixed, Layout } kind = Right;
    QString conversion;
};

Speller::Speller() : layout_(std::make_unique<layoutfix::KeyMapping>(layoutfix::KeyMapping::standard())) {}

Speller::~Speller() = default;

std::unique_ptr<Speller> Speller::load(const QStringList &dictionaryDirs, const QString &personalListPath)
{
    std::unique_ptr<Speller> speller(new Speller);
    const std::vector<Entry> entries = installedDictionaries(dictionaryDirs);
    for (const Entry &e : entries)
        speller->languages_.append(e.name);
    speller->russian_ = openFirst(entries, kRussianNames, QStringLiteral("ru"));
    speller->english_ = openFirst(entries, kEnglishNames, QStringLiteral("en"));
    speller->personal_ = std::make_unique<PersonalList>(personalListPath);
    return speller;
}

QStringList Speller::systemDictionaryDirs()
{
    QStringList dirs;
    for (const char *dir : {"/usr/share/hunspell", "/usr/share/myspell/dicts"})
        if (QFileInfo(QString::fromLatin1(dir)).isDir())
            dirs.append(QString::fromLatin1(dir));
    return dirs;
}

QString Speller::defaultPersonalListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Veltrix/words.txt");
}

QString Speller::dictionaryPackages() { return QStringLiteral("hunspell-ru hunspell-en-us"); }

bool Speller::available() const { return russian_ || english_; }

bool Speller::isAccepted(QStringView word) const
{
    const QString w = word.toString();
    return listHas(w, [this](const QString &s) { return ignored_.contains(s) || personal_->contains(s); });
}

bool Speller::isKnown(QStringView word, const Dictionary &dictionary) const
{
    if (isAccepted(word) || dictionary.spell(word))
        return true;
    // ё is often written as е, and a dictionary may know only one of the two.
    QString text = word.toString();
    if (text.contains(u'ё') || text.contains(u'Ё')) {
        text.replace(u'ё', u'е').replace(u'Ё', u'Е');
        return isAccepted(text) || dictionary.spell(text);
    }
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'е' && c != u'Е')
            continue;
        text[i] = c == u'е' ? u'ё' : u'Ё';
        if (isAccepted(text) || dictionary.spell(text))
            return true;
        text[i] = c;
    }
    return false;
}

// The word typed again in the other layout, when that is a right word there.
QString Speller::convertedWord(QStringView word) const
{
    const Alphabet alphabet = alphabetOf(word);
    if ((alphabet != Alphabet::Latin && alphabet != Alphabet::Cyrillic) || letterCount(word) > kMaxWordLetters)
        return {};
    const bool toRussian = alphabet == Alphabet::Latin;
    const Dictionary *target = toRussian ? russian_.get() : english_.get();
    if (!target)
        return {};
    const QString converted =
        layout_->convert(word, toRussian ? layoutfix::Direction::ToRussian : layoutfix::Direction::ToEnglish);
    // English typed in the Russian layout may end in б or ю, which are "," and
    // "." there: the conversion is one word with punctuation around it.
    const std::vector<Word> words = wordsIn(converted, {0, int(converted.size())});
    if (words.size() != 1 || words.front().notProse)
        return {};
    const Span core = words.front().span;
    if (core.start > kMaxEdgeTrim || converted.size() - core.end() > kMaxEdgeTrim)
        return {};
    const QStringView coreText = QStringView(converted).mid(core.start, core.length);
    if (alphabetOf(coreText) != (toRussian ? Alphabet::Cyrillic : Alphabet::Latin))
        return {};
    return isKnown(normalized(coreText), *target) ? converted : QString();
}

Speller::Verdict Speller::judgePart(QStringView part) const
{
    const Alphabet alphabet = alphabetOf(part);
    if (alphabet == Alphabet::Mixed)
        return {Verdict::Mixed, {}};
    if (alphabet != Alphabet::Latin && alphabet != Alphabet::Cyrillic)
        return {};
    const int letters = letterCount(part);
    if (letters < kMinCheckedLetters)
        return {};
    if (letters > kMaxWordLetters)
        return {Verdict::Wrong, {}};
    if (letters <= kMaxAbbreviationLetters && isAllCaps(part))
        return {};
    const Dictionary *dictionary = alphabet == Alphabet::Cyrillic ? russian_.get() : english_.get();
    if (!dictionary)
        return {};
    const QString word = normalized(part);
    if (isKnown(word, *dictionary))
        return {};
    if (QString conversion = convertedWord(word); !conversion.isEmpty())
        return {Verdict::Layout, conversion};
    return {Verdict::Wrong, {}};
}

std::vector<Flag> Speller::check(QStringView paragraph) const
{
    std::vector<Flag> flags;
    if (!available())
        return flags;
    for (const Span &chunk : chunksOf(paragraph))
        checkChunk(paragraph, chunk.start, chunk.length, flags);
    return flags;
}

void Speller::checkChunk(QStringView paragraph, int start, int length, std::vector<Flag> &flags) const
{
    const std::size_t first = flags.size();
    for (const Word &word : wordsIn(paragraph, {start, length})) {
        if (word.notProse)
            continue;
        const QStringView whole = paragraph.mid(word.span.start, word.span.length);
        if (word.parts.size() > 1) {
            // A compound the dictionary knows whole (кто-нибудь) or typed whole in the other layout.
            const Alphabet alphabet = alphabetOf(whole);
            const Dictionary *dictionary = alphabet == Alphabet::Cyrillic ? russian_.get()
                                           : alphabet == Alphabet::Latin  ? english_.get()
                                                                          : nullptr;
            if (dictionary && letterCount(whole) <= kMaxWordLetters) {
                const QString text = normalized(whole);
                if (isKnown(text, *dictionary))
                    continue;
                if (QString conversion = convertedWord(text); !conversion.isEmpty()) {
                    flags.push_back({word.span.start, word.span.length, FlagKind::WrongLayout, conversion});
                    continue;
                }
            }
        }
        for (const Span &part : word.parts) {
            Verdict verdict = judgePart(paragraph.mid(part.start, part.length));
            switch (verdict.kind) {
            case Verdict::Right: break;
            case Verdict::Wrong: flags.push_back({part.start, part.length, FlagKind::Misspelled, {}}); break;
            case Verdict::Mixed: flags.push_back({part.start, part.length, FlagKind::MixedAlphabets, {}}); break;
            case Verdict::Layout:
                flags.push_back({part.start, part.length, FlagKind::WrongLayout, std::move(verdict.conversion)});
                break;
            }
        }
    }
    if (flags.size() > first)
        findLayoutRuns(paragraph, start, length, flags, first);
}

// Russian typed in the English layout may hold the keys of ж э б ю х ъ ё: ; ' , . [ ] `.
// Where a word of such a run is wrong, the run (less up to a few of those keys
// at either end, which may be real punctuation) is tried as one Russian word.
// Punctuation alone is never flagged: only a run with a wrong word in it, and
// only when its conversion is a right word.
void Speller::findLayoutRuns(QStringView paragraph, int start, int length, std::vector<Flag> &flags,
                             std::size_t first) const
{
    if (!russian_)
        return;
    const auto isAsciiLetter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    const auto isRussianKey = [&](QChar c) {
        if (isAsciiLetter(c))
            return true;
        const QChar r = layout_->convert(c, layoutfix::Direction::ToRussian);
        return r != c && r.isLetter() && r.script() == QChar::Script_Cyrillic;
    };
    // The chunk's flags are in text order and so are its runs: one pass over both.
    std::vector<Flag> runs;
    std::size_t next = first;
    const int end = start + length;
    int i = start;
    while (i < end) {
        if (!isRussianKey(paragraph[i])) {
            ++i;
            continue;
        }
        const int runStart = i;
        bool hasKeyPunctuation = false;
        while (i < end && (isRussianKey(paragraph[i])
                           || (paragraph[i] == u'-' && i + 1 < end && isRussianKey(paragraph[i + 1])))) {
            hasKeyPunctuation = hasKeyPunctuation || (!isAsciiLetter(paragraph[i]) && paragraph[i] != u'-');
            ++i;
        }
        const int runEnd = i;
        bool wrongInside = false;
        while (next < flags.size() && flags[next].start < runEnd) {
            const Flag &f = flags[next];
            wrongInside = wrongInside || (f.start >= runStart && f.kind != FlagKind::MixedAlphabets);
            ++next;
        }
        if (!hasKeyPunctuation || !wrongInside || runEnd - runStart > kMaxWordLetters)
            continue;
        int leading = 0;
        while (leading < kMaxEdgeTrim && runStart + leading < runEnd && !isAsciiLetter(paragraph[runStart + leading]))
            ++leading;
        int trailing = 0;
        while (trailing < kMaxEdgeTrim && runEnd - trailing > runStart && !isAsciiLetter(paragraph[runEnd - 1 - trailing]))
            ++trailing;
        bool found = false;
        for (int trimmed = 0; trimmed <= leading + trailing && !found; ++trimmed) {
            for (int left = std::min(trimmed, leading); left >= 0 && trimmed - left <= trailing && !found; --left) {
                const int a = runStart + left;
                const int b = runEnd - (trimmed - left);
                if (b <= a)
                    continue;
                QString conversion = convertedWord(paragraph.mid(a, b - a));
                if (conversion.isEmpty())
                    continue;
                runs.push_back({a, b - a, FlagKind::WrongLayout, std::move(conversion)});
                found = true;
            }
        }
    }
    if (runs.empty())
        return;
    // A run found replaces the flags of the words inside it.
    std::vector<Flag> merged;
    std::size_t r = 0;
    for (std::size_t k = first; k < flags.size(); ++k) {
        Flag &f = flags[k];
        while (r < runs.size() && runs[r].start + runs[r].length <= f.start)
            merged.push_back(std::move(runs[r++]));
        if (r < runs.size() && runs[r].start < f.start + f.length)
            continue;
        merged.push_back(std::move(f));
    }
    while (r < runs.size())
        merged.push_back(std::move(runs[r++]));
    flags.resize(first);
    std::move(merged.begin(), merged.end(), std::back_inserter(flags));
}

// A word mixing alphabets, in the alphabet most of its letters are in: look-alike
// letters swapped, the rest typed again in that layout.
QString Speller::oneAlphabet(QStringView word) const
{
    int cyrillic = 0;
    int latin = 0;
    for (QChar c : word) {
        if (!c.isLetter())
            continue;
        (c.script() == QChar::Script_Cyrillic ? cyrillic : latin) += 1;
    }
    const bool toCyrillic = cyrillic >= latin;
    const QStringView from = toCyrillic ? QStringView(kLatinLookalikes) : QStringView(kCyrillicLookalikes);
    const QStringView to = toCyrillic ? QStringView(kCyrillicLookalikes) : QStringView(kLatinLookalikes);
    const QChar::Script minority = toCyrillic ? QChar::Script_Latin : QChar::Script_Cyrillic;
    QString text;
    for (QChar c : word) {
        if (!c.isLetter() || c.script() != minority) {
            text.append(c);
        } else if (const qsizetype at = from.indexOf(c); at >= 0) {
            text.append(to[at]);
        } else {
            text.append(layout_->convert(c, toCyrillic ? layoutfix::Direction::ToRussian
                                                        : layoutfix::Direction::ToEnglish));
        }
    }
    return text;
}

QStringList Speller::suggestions(QStringView word, int max) const
{
    QStringList list;
    const auto add = [&](const QString &s) {
        if (!s.isEmpty() && s != word && !list.contains(s) && list.size() < max)
            list.append(s);
    };
    if (max <= 0 || letterCount(word) > kMaxWordLetters)
        return list;
    QString text = normalized(word);
    Alphabet alphabet = alphabetOf(text);
    if (alphabet == Alphabet::Mixed) {
        text = oneAlphabet(text);
        alphabet = alphabetOf(text);
        const Dictionary *dictionary = alphabet == Alphabet::Cyrillic ? russian_.get()
                                       : alphabet == Alphabet::Latin  ? english_.get()
                                                                      : nullptr;
        if (dictionary && isKnown(text, *dictionary))
            add(text);
    } else {
        add(convertedWord(text));
    }
    const Dictionary *dictionary = alphabet == Alphabet::Cyrillic ? russian_.get()
                                   : alphabet == Alphabet::Latin  ? english_.get()
                                                                  : nullptr;
    if (dictionary)
        for (const QString &s : dictionary->suggest(text))
            add(s);
    return list;
}

void Speller::addToDictionary(const QString &word)
{
    const QString text = normalized(word);
    personal_->add(text);
    ++generation_;
}

void Speller::ignoreAll(const QString &word)
{
    const QString text = normalized(word);
    if (!text.isEmpty() && !ignored_.contains(text)) {
        ignored_.insert(text);
        ++generation_;
    }
}

bool Speller::refreshPersonalList()
{
    if (!personal_->refresh())
        return false;
    ++generation_;
    return true;
}

} // namespace spelling
