#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// Text typed in the wrong keyboard layout, typed again in the other one: each
// character becomes the one its key gives in the other layout, between the
// Russian and the English (US) layout.
namespace layoutfix {

enum class Direction {
    ToEnglish, // what was typed in the Russian layout, as the English one gives it
    ToRussian
};

// Which character each key gives in the one layout and in the other, both ways.
class KeyMapping {
public:
    // The standard Russian (ЙЦУКЕН) and US layouts.
    static KeyMapping standard();
    // The keys the two layouts share, paired by key code. Nothing when either
    // list is empty or no Latin letter lands on a Cyrillic one, as with
    // keymaps that could not be read.
    static std::optional<KeyMapping> fromLayouts(const QList<platform::LayoutKey> &english,
                                                 const QList<platform::LayoutKey> &russian);

    // A character that has no key in the layout it comes from stays as it is.
    QChar convert(QChar c, Direction direction) const;
    QString convert(QStringView text, Direction direction) const;

private:
    KeyMapping();
    void pair(char32_t english, char32_t russian);

    std::vector<char16_t> toRussian_; // by UTF-16 unit; 0 = no key
    std::vector<char16_t> toEnglish_;
};

// More Cyrillic letters than Latin ones: typed in the Russian layout, so the
// text goes to the English one; otherwise to the Russian one.
Direction directionOf(QStringView text);

// How many characters before the caret were typed in the wrong layout, taken
// to be the run of non-space characters that ends at the caret and the words
// before it on the same line written in the same alphabet: text in the other
// alphabet, or a word mixing both, is where the wrong layout began. Words
// without letters between such words go with them. `beforeCaret` is the text
// of the paragraph up to the caret.
int caretRunLength(QStringView beforeCaret);

// Converts text and remembers the last conversion, so that converting its
// result again, at the same place, gives back exactly what was there: from
// the text alone that is not always possible (a few letters of the other
// script left as they were, or no letters at all to tell the direction).
class LayoutFixer {
public:
    struct Fix {
        QString text;
        Direction direction; // the layout the text is now in
    };

    explicit LayoutFixer(KeyMapping mapping = KeyMapping::standard());

    // The text that stands at position `start` of the document, converted.
    Fix fix(const QString &text, int start);

private:
    struct Record {
        int start;
        QString result;
        QString original;
        Direction direction;
    };

    KeyMapping mapping_;
    std::optional<Record> last_;
};

} // namespace layoutfix
