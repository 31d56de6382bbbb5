#pragma once

#include <QTextBlockFormat>
#include <QTextListFormat>

class QTextBlock;
class QTextList;

// How the program's paragraph model is kept in a QTextDocument. Indents are whole
// points: the first line's indent from the left edge, the following lines' indent
// relative to the first (negative values included) and the indent from the right
// edge. The exact points travel in user properties of the block format, because
// Qt's pixel margins cannot hold negative values nor give points back exactly.
// Indents read from a file also keep their twips, which files carry and whole
// points cannot hold; they count only while the points still agree with them.
namespace paraformat {

constexpr int kFirstIndentProperty = QTextFormat::UserProperty + 1;
constexpr int kOtherIndentProperty = QTextFormat::UserProperty + 2;
constexpr int kRightIndentProperty = QTextFormat::UserProperty + 3;
constexpr int kFirstIndentTwipsProperty = QTextFormat::UserProperty + 4;
constexpr int kOtherIndentTwipsProperty = QTextFormat::UserProperty + 5;
constexpr int kRightIndentTwipsProperty = QTextFormat::UserProperty + 6;
// Qt's format table hashes tab stops by their number alone: paragraphs with
// tab stops of their own all collide, and each new format is compared with
// every other. A hash of the stops beside them keeps them apart; nothing else
// reads it.
constexpr int kTabsHashProperty = QTextFormat::UserProperty + 9;

// 96 pixels per inch, 72 points per inch, 1440 twips per inch.
constexpr qreal kPixelsPerPoint = 4.0 / 3.0;
constexpr int kTwipsPerPoint = 20;
constexpr qreal kTwipsPerPixel = 15.0;

struct Indents {
    int first = 0; // points
    int other = 0; // points, relative to the first line
    int right = 0; // points
};

Indents indents(const QTextBlockFormat &format);
// Writes the three indents and the pixel margins Qt lays out with. In a list
// the number or bullet stands at the first line's indent and the text of every
// line at the following lines' indent, so the margins differ.
void setIndents(QTextBlockFormat &format, const Indents &indents, bool inList = false);

// The same three indents in twips: exact when set from twips and unchanged in
// points since, else the points' twips.
Indents indentsInTwips(const QTextBlockFormat &format);
// Sets the indents from twips; the points are the twips div 20.
void setIndentsInTwips(QTextBlockFormat &format, const Indents &twips, bool inList = false);

// Numbering of a paragraph: none, bullet, 1 2 3, a b c, A B C, i ii iii, I II III.
enum class ListStyle { None = 0, Bullet = 1, ArabicNumbers = 2, LoCaseLetter = 3, UpCaseLetter = 4,
                       LoCaseRoman = 5, UpCaseRoman = 6 };

QTextListFormat::Style toQtListStyle(ListStyle style);
ListStyle fromQtListStyle(QTextListFormat::Style style);
// A list's level (0 for the outermost) and the number of its first item,
// in user properties of its QTextListFormat.
constexpr int kListLevelProperty = QTextFormat::UserProperty + 7;
constexpr int kListStartProperty = QTextFormat::UserProperty + 8;

// A list format that leaves the placing of the text to the block margins.
QTextListFormat listFormat(ListStyle style, int level = 0, int start = 1);
int listLevel(const QTextListFormat &format);
int listStart(const QTextListFormat &format);

// The number of a list item as shown, counting from the list's start.
int listItemNumber(const QTextList &list, const QTextBlock &block);
// "3.", "c.", "iii." for a number in a style; empty for bullets.
QString listNumberText(ListStyle style, int number);
// The item's number as shown, with its suffix.
QString listItemText(const QTextList &list, const QTextBlock &block);

} // namespace paraformat
