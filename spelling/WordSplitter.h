#pragma once

#include <QStringView>

#include <vector>

// Where the words of a paragraph are. A word is a run of letters, digits and
// combining marks (soft hyphens and zero-width characters inside it belong to
// it); an apostrophe between letters stays inside it (don't), and
// hyphens between such runs join them into one compound of parts
// (кто-нибудь, well-known). A run of non-space characters that looks like an
// address (a link or an e-mail address) holds no words.
namespace spelling {

struct Span {
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
};

struct Word {
    Span span;
    std::vector<Span> parts; // the runs between its hyphens
    bool notProse = false;   // has digits or underscores: a number, a code, an identifier
};

enum class Alphabet { None, Cyrillic, Latin, Mixed, Other };

// The runs of non-space characters, addresses left out.
std::vector<Span> chunksOf(QStringView paragraph);
// The words inside text[span].
std::vector<Word> wordsIn(QStringView text, Span span);

// Which letters a word has; Other when any letter is of neither alphabet.
Alphabet alphabetOf(QStringView word);
int letterCount(QStringView word);
bool isAllCaps(QStringView word);

bool isAddress(QStringView chunk);

} // namespace spelling
