#include "editor/RichEditAttributes.h"

#include "editor/TRxRichEdit.h"
#include "formats/CharacterFormat.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextList>

using charformat::kCharsetProperty;
using charformat::kDefaultCharset;

// Character attributes -----------------------------------------------------------

QTextCharFormat TRxTextAttributes::read() const
{
    QTextCharFormat format;
    if (target_ == Target::Selection)
        format = editor_.formatAtSelectionStart();
    // What the format leaves open comes from the control's font.
    const QFont font = editor_.font();
    if (!format.hasProperty(QTextFormat::FontFamilies) && !format.hasProperty(QTextFormat::FontFamily))
        format.setFontFamilies({font.family()});
    if (!format.hasProperty(QTextFormat::FontPointSize))
        format.setFontPointSize(font.pointSizeF());
    if (!format.hasProperty(QTextFormat::FontWeight))
        format.setFontWeight(font.weight());
    if (!format.hasProperty(QTextFormat::FontItalic))
        format.setFontItalic(font.italic());
    if (!format.hasProperty(QTextFormat::FontUnderline) && !format.hasProperty(QTextFormat::TextUnderlineStyle))
        format.setFontUnderline(font.underline());
    if (!format.hasProperty(QTextFormat::FontStrikeOut))
        format.setFontStrikeOut(font.strikeOut());
    return format;
}

void TRxTextAttributes::write(const QTextCharFormat &format, bool clearForeground)
{
    editor_.applyCharFormat(format, clearForeground, target_ == Target::Default);
}

QString TRxTextAttributes::Name() const
{
    const QStringList families = read().fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first().left(kMaxNameLength);
}

void TRxTextAttributes::setName(const QString &name)
{
    QTextCharFormat format;
    format.setFontFamilies({name.left(kMaxNameLength)});
    write(format);
}

int TRxTextAttributes::Size() const
{
    return static_cast<int>(read().fontPointSize());
}

void TRxTextAttributes::setSize(int points)
{
    QTextCharFormat format;
    format.setFontPointSize(points);
    write(format);
}

TColor TRxTextAttributes::Color() const
{
    const QTextCharFormat format = target_ == Target::Selection ? editor_.formatAtSelectionStart() : QTextCharFormat();
    if (!format.hasProperty(QTextFormat::ForegroundBrush) || format.foreground().style() == Qt::NoBrush)
        return TColor::windowText();
    return TColor::fromQColor(format.foreground().color());
}

void TRxTextAttributes::setColor(const TColor &color)
{
    if (color == TColor::windowText()) {
        write(QTextCharFormat(), true);
        return;
    }
    QTextCharFormat format;
    format.setForeground(color.toQColor(editor_.palette()));
    write(format);
}

FontStyles TRxTextAttributes::Style() const
{
    const QTextCharFormat format = read();
    FontStyles style;
    if (format.fontWeight() >= QFont::Bold)
        style |= FontStyle::Bold;
    if (format.fontItalic())
        style |= FontStyle::Italic;
    if (format.fontUnderline())
        style |= FontStyle::Underline;
    if (format.fontStrikeOut())
        style |= FontStyle::StrikeOut;
    return style;
}

void TRxTextAttributes::setStyle(FontStyles style)
{
    QTextCharFormat format;
    format.setFontWeight(style.testFlag(FontStyle::Bold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.testFlag(FontStyle::Italic));
    format.setFontUnderline(style.testFlag(FontStyle::Underline));
    format.setFontStrikeOut(style.testFlag(FontStyle::StrikeOut));
    write(format);
}

int TRxTextAttributes::Charset() const
{
    const QTextCharFormat format = read();
    return format.hasProperty(kCharsetProperty) ? format.intProperty(kCharsetProperty) : kDefaultCharset;
}

void TRxTextAttributes::setCharset(int charset)
{
    QTextCharFormat format;
    format.setProperty(kCharsetProperty, charset);
    write(format);
}

FontPitch TRxTextAttributes::Pitch() const
{
    const QTextCharFormat format = read();
    if (!format.hasProperty(QTextFormat::FontFixedPitch))
        return FontPitch::Default;
    return format.fontFixedPitch() ? FontPitch::Fixed : FontPitch::Variable;
}

void TRxTextAttributes::setPitch(FontPitch pitch)
{
    QTextCharFormat format;
    if (pitch != FontPitch::Default)
        format.setFontFixedPitch(pitch == FontPitch::Fixed);
    write(format);
}

void TRxTextAttributes::assignTo(QFont &font, TColor *color) const
{
    const QTextCharFormat format = read();
    font.setFamilies(format.fontFamilies().toStringList());
    font.setPointSize(Size());
    const FontStyles style = Style();
    font.setBold(style.testFlag(FontStyle::Bold));
    font.setItalic(style.testFlag(FontStyle::Italic));
    font.setUnderline(style.testFlag(FontStyle::Underline));
    font.setStrikeOut(style.testFlag(FontStyle::StrikeOut));
    font.setFixedPitch(Pitch() == FontPitch::Fixed);
    if (color)
        *color = Color();
}

void TRxTextAttributes::assign(const QFont &font, const TColor &color)
{
    QTextCharFormat format;
    format.setFontFamilies({font.family().left(kMaxNameLength)});
    format.setFontPointSize(font.pointSize() > 0 ? font.pointSize() : font.pointSizeF());
    format.setFontWeight(font.bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font.italic());
    format.setFontUnderline(font.underline());
    format.setFontStrikeOut(font.strikeOut());
    const bool automatic = color == TColor::windowText();
    if (!automatic)
        format.setForeground(color.toQColor(editor_.palette()));
    write(format, automatic);
}

// Paragraph attributes ----------------------------------------------------------

namespace {

QTextBlockFormat selectionBlockFormat(const TRxRichEdit &editor)
{
    QTextCursor cursor = editor.selectionCursor();
    cursor.setPosition(cursor.selectionStart());
    return cursor.blockFormat();
}

} // namespace

TAlignment TRxParaAttributes::Alignment() const
{
    const Qt::Alignment alignment = selectionBlockFormat(editor_).alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight)
        return TAlignment::RightJustify;
    if (alignment & Qt::AlignHCenter)
        return TAlignment::Center;
    if (alignment & Qt::AlignJustify)
        return TAlignment::Justify;
    return TAlignment::LeftJustify;
}

void TRxParaAttributes::setAlignment(TAlignment alignment)
{
    Qt::Alignment qt = Qt::AlignLeft | Qt::AlignAbsolute;
    switch (alignment) {
    case TAlignment::LeftJustify: qt = Qt::AlignLeft | Qt::AlignAbsolute; break;
    case TAlignment::RightJustify: qt = Qt::AlignRight | Qt::AlignAbsolute; break;
    case TAlignment::Center: qt = Qt::AlignHCenter; break;
    case TAlignment::Justify: qt = Qt::AlignJustify; break;
    }
    editor_.applyBlockChange([qt](QTextBlockFormat &format, const QTextBlock &) { format.setAlignment(qt); });
}

namespace {

void changeIndents(TRxRichEdit &editor, const std::function<void(paraformat::Indents &)> &change)
{
    editor.applyBlockChange([&change](QTextBlockFormat &format, const QTextBlock &block) {
        paraformat::Indents indents = paraformat::indents(format);
        change(indents);
        paraformat::setIndents(format, indents, block.textList() != nullptr);
    });
}

} // namespace

int TRxParaAttributes::FirstLineIndent() const
{
    return paraformat::indents(selectionBlockFormat(editor_)).first;
}

void TRxParaAttributes::setFirstLineIndent(int points)
{
    changeIndents(editor_, [points](paraformat::Indents &indents) { indents.first = points; });
}

int TRxParaAttributes::OtherLinesIndent() const
{
    return paraformat::indents(selectionBlockFormat(editor_)).other;
}

void TRxParaAttributes::setOtherLinesIndent(int points)
{
    changeIndents(editor_, [points](paraformat::Indents &indents) { indents.other = points; });
}

int TRxParaAttributes::RightEdgeIndent() const
{
    return paraformat::indents(selectionBlockFormat(editor_)).right;
}

void TRxParaAttributes::setRightEdgeIndent(int points)
{
    changeIndents(editor_, [points](paraformat::Indents &indents) { indents.right = points; });
}

paraformat::ListStyle TRxParaAttributes::ListStyle() const
{
    QTextCursor cursor = editor_.selectionCursor();
    cursor.setPosition(cursor.selectionStart());
    const QTextList *list = cursor.currentList();
    return list ? paraformat::fromQtListStyle(list->format().style()) : paraformat::ListStyle::None;
}

void TRxParaAttributes::setListStyle(paraformat::ListStyle style)
{
    if (style == paraformat::ListStyle::None)
        setOtherLinesIndent(0);
    else if (OtherLinesIndent() < kListOtherLinesIndent)
        setOtherLinesIndent(kListOtherLinesIndent);
    editor_.applyListStyle(style);
}
