#include "editor/EditorDocument.h"

QVariant EditorDocument::loadResource(int, const QUrl &)
{
    // QTextDocument::resource() asks for this only when the document holds no
    // such resource.
    return {};
}
