#pragma once

#include <QtGlobal>

// The control words the reader understands. Each belongs to a group, and the
// parser has one handler per group (see RtfParser.h).
namespace rtf::detail {

enum class Group : quint8 {
    Destination,     // starts a table, a picture, or text to keep or skip
    Document,        // the document's character set and default font
    Font,            // font table entries and the current font
    Colour,          // colour table components
    CharacterFormat,
    ParagraphFormat,
    Text,            // breaks, tabs and named characters
    Unicode,         // \u and its fallback
    Picture,
    OldList,         // {\pn} numbering
    ListTable,       // \listtable and \listoverridetable entries
    Table,           // table rows' and cells' definitions
};

enum class Action : quint8 {
    // Destination
    SkippedDestination, TextDestination, FontTable, ColorTable, Picture, OldList, NumberText,
    ListTable, List, ListLevel, ListOverrideTable, ListOverride, Field, FieldInstruction,
    FieldResult, Shape, ShapeInstructions, ShapePropertyName, ShapePropertyValue, NestedRowDefinition,
    // Document
    CharacterSet, AnsiCodePage, DefaultFont,
    // Font
    Font, FontCharset, FontCodePage,
    // Colour
    Component,
    // CharacterFormat
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, Hidden, FontSize, Foreground,
    Background, Superscript, Subscript, NoSuperSub, Raise, Lower,
    // ParagraphFormat
    ParagraphDefaults, Alignment, FirstIndent, LeftIndent, RightIndent, ListOverrideNumber,
    ListLevelNumber, PageBreakBefore, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple,
    TabPosition, TabKind,
    // Text
    Paragraph, Section, Page, Row, Cell, Line, Tab, Character,
    // Unicode
    UnicodeCharacter, FallbackLength,
    // Picture
    PictureType, Width, Height, WidthGoal, HeightGoal, ScaleX, ScaleY, ShapeLeft, ShapeTop, ShapeRight,
    ShapeBottom,
    // OldList
    OldListLevel, OldListOutlineLevel, OldListStyle, OldListStart,
    // ListTable
    ListId, LevelNumberFormat, LevelStart,
    // Table
    RowDefaults, RowLeft, CellEdge, CellMergeAcrossStart, CellMergedAcross, CellMergeDownStart, CellMergedUp,
    InTable, RowGap, RowHeader, RowAlignment, BorderSide, BorderLine, BorderWidth, BorderColour, CellBackground,
    CellVertical, NestingLevel, CellPattern, CellShading,
};

struct Keyword {
    const char *name;
    Group group;
    Action action;
    // CharacterSet: the code page; Component: the bit shift of red, green or
    // blue; SkippedDestination: the Loss it means, if any; Alignment: see ParaKey; TabKind: see TabKind in RtfContent.h;
    // Character: the character; PictureType:
    // see PictureReader; OldListLevel: see ListTable; OldListStyle: the style.
    int value;
};

// The keyword whose letters these are, or nullptr. hash is the letters'
// hash as the tokenizer computes it.
const Keyword *findKeyword(quint32 hash, const uchar *letters, qsizetype length);

} // namespace rtf::detail
