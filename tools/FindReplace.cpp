#include "tools/FindReplace.h"

#include "editor/TRxRichEdit.h"

#include <cstdlib>

namespace findreplace {

bool selectFirstOccurrence(TRxRichEdit &editor, const QString &text)
{
    if (text.isEmpty())
        return false;
    const QString whole = editor.Text();
    const qsizetype found = whole.indexOf(text, 0, Qt::CaseSensitive);
    if (found < 0)
        return false;
    // Text has CR LF at each paragraph end where the selection counts one.
    const qsizetype paragraphEnds = QStringView(whole).left(found).count(QStringLiteral("\r\n"));
    editor.setHideSelection(false);
    editor.setSelectionStart(static_cast<int>(found - paragraphEnds));
    editor.setSelectionLength(static_cast<int>(text.size()));
    return true;
}

bool selectNextFrom(TRxRichEdit &editor, const QString &text, int &position)
{
    // The range's length comes from Text, whose paragraph ends count twice,
    // so it always reaches the end of the document.
    const qsizetype length = editor.Text().size();
    const int found = editor.FindInText(text, position, static_cast<int>(std::llabs(length - position)));
    if (found < 0)
        return false;
    editor.setSelectionStart(found);
    editor.setSelectionLength(static_cast<int>(text.size()));
    editor.setHideSelection(false);
    position = editor.SelectionStart() + editor.SelectionLength();
    return true;
}

bool replaceSelection(TRxRichEdit &editor, const QString &replacement)
{
    if (editor.SelectionLength() == 0)
        return false;
    const int start = editor.SelectionStart();
    editor.setSelectedText(replacement);
    editor.setSelectionStart(start);
    editor.setSelectionLength(static_cast<int>(replacement.size()));
    editor.setHideSelection(false);
    return true;
}

QString notFoundText(bool english, const QString &text)
{
    return english ? QStringLiteral("String ") + text + QStringLiteral(" isn*t found!")
                   : QStringLiteral("Строка ") + text + QStringLiteral(" не найдена!");
}

QString nextNotFoundText(bool english)
{
    return english ? QStringLiteral("Text isn*t found!") : QStringLiteral("Текст не найден!");
}

} // namespace findreplace
