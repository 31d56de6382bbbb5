#pragma once

#include <QTextDocument>
#include <deque>
#include <memory>
#include <optional>

// The documents a whole-text replacement put aside, so that one undo brings
// back exactly what was there (formats, objects and its own undo steps), and
// one redo the replacement again. Swapping documents is instant at any size,
// where replaying the text into one document would copy it twice.
class ReplacedDocuments {
public:
    struct Kept {
        std::unique_ptr<QTextDocument> document;
        int undoDepth = 0; // the editor's undo steps within that document
        int redoDepth = 0;
        int position = 0;  // its caret and selection
        int anchor = 0;
    };

    ReplacedDocuments() = default;

    // A replacement: what it replaced goes on the undo side, the redo side is gone.
    void replaced(Kept before);
    bool canUndo() const { return !before_.empty(); }
    bool canRedo() const { return !after_.empty(); }
    // Undo takes the newest document put aside and leaves `current` for redo.
    Kept undo(Kept current);
    Kept redo(Kept current);
    // Keeps the steps reachable through the documents put aside (each
    // replacement, and each document's own steps) within `steps`, giving up
    // the oldest first.
    void trimTo(int steps);
    // A new edit ends every redo; a document loaded or cleared ends both.
    void dropRedo() { after_.clear(); }
    void clear();

private:
    std::deque<Kept> before_; // newest last
    std::deque<Kept> after_;
};
