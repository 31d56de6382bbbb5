#pragma once

#include <QTextDocument>

// The editor's documents, and those pasted pieces are read into. A plain
// QTextDocument reads the local file (or device, or pipe) that an address
// names whenever it is asked for a resource it does not hold, and pasted HTML,
// its style sheets and the layout ask by the addresses a stranger's text
// gives. These documents answer with the resources they were given and
// nothing else.
class EditorDocument : public QTextDocument {
    Q_OBJECT
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int type, const QUrl &name) override;
};
