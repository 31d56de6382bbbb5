#pragma once

#include "formats/ParagraphFormat.h"
#include "formats/TColor.h"

#include <QFlags>
#include <QString>

class QFont;
class QTextCharFormat;
class TRxRichEdit;

enum class FontStyle { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
Q_DECLARE_FLAGS(FontStyles, FontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(FontStyles)

enum class FontPitch { Default, Fixed, Variable };

// Character attributes of the selection or of the default format. Each read
// fetches the format afresh (for the selection: the format at its start); each
// write changes that one property and nothing else.
class TRxTextAttributes {
public:
    enum class Target { Selection, Default };
    TRxTextAttributes(TRxRichEdit &editor, Target target) : editor_(editor), target_(target) {}

    QString Name() const;
    void setName(const QString &name); // at most 31 characters are kept
    int Size() const;                  // whole points
    void setSize(int points);
    TColor Color() const;              // the automatic colour reads as the window-text colour
    void setColor(const TColor &color);
    FontStyles Style() const;
    void setStyle(FontStyles style);   // all four effects are written together
    int Charset() const;
    void setCharset(int charset);
    FontPitch Pitch() const;
    void setPitch(FontPitch pitch);

    // Copies colour, name, style, size and pitch into a font (the font dialog).
    void assignTo(QFont &font, TColor *color) const;
    // Writes size, effects, face and colour of a font in one step.
    void assign(const QFont &font, const TColor &color);

    static constexpr int kMaxNameLength = 31;

private:
    QTextCharFormat read() const;
    void write(const QTextCharFormat &format, bool clearForeground = false);

    TRxRichEdit &editor_;
    Target target_;
};

enum class TAlignment { LeftJustify = 0, RightJustify = 1, Center = 2, Justify = 3 };

// Paragraph attributes of the selection; writes apply to every paragraph the
// selection touches. Lengths are whole points.
class TRxParaAttributes {
public:
    explicit TRxParaAttributes(TRxRichEdit &editor) : editor_(editor) {}

    TAlignment Alignment() const;
    void setAlignment(TAlignment alignment);
    int FirstLineIndent() const;
    void setFirstLineIndent(int points);
    int OtherLinesIndent() const;
    void setOtherLinesIndent(int points);
    int RightEdgeIndent() const;
    void setRightEdgeIndent(int points);
    paraformat::ListStyle ListStyle() const;
    // None first sets OtherLinesIndent to 0; any numbering raises it to 10 when below.
    void setListStyle(paraformat::ListStyle style);

    static constexpr int kListOtherLinesIndent = 10;

private:
    TRxRichEdit &editor_;
};
