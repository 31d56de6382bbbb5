#pragma once

#include "formats/RtfLoadStatus.h"
#include "formats/PlainTextCodec.h"
#include "editor/ObjectCopies.h"
#include "editor/ReplacedDocuments.h"
#include "editor/RichEditAttributes.h"
#include "formats/TColor.h"
#include "platform/FileStamps.h"

#include <QList>
#include <QTextEdit>
#include <QTextImageFormat>
#include <functional>
#include <memory>
#include <optional>

class DisplayLines;
class PiecedCaret;
class TextMarks;
struct PlainTextFileLoad;
class QTimer;
class EditorLayout;
class QPrinter;
class TRichEditStrings;
namespace platform { class Platform; }

// The editor control of the main window: the one store of the document.
//
// Positions are 0-based; a paragraph end is one position (CR) in the selection,
// in SelectedText and in FindInText, and two characters (CR LF) in Text. Lines are
// the lines the control shows.
//
// The capitalized members are the classic control's. Several differ from a
// member of QTextEdit, QTextCursor or QTextDocument only by case and do not
// do quite the same: each says how.
//
// Where each part lives:
// - TRxRichEdit.cpp: documents (each made with an EditorLayout), text and
//   selection, modes, formats, search, undo and redo within kUndoLimit,
//   clipboard data (RTF besides HTML and text), mouse and keys, link clicks.
// - PastedPiece: puts pasted and dropped rich text in with its last paragraph end.
// - PastedPictures: lets in only the pictures of a piece whose data is at hand.
// - EditorDocument: the documents, which never fetch what an address names.
// - RichEditFiles.cpp: LoadFile, SaveFile, printing, inserted and opened objects.
// - RichEditAttributes: SelectionFormat, DefaultFormat and ParagraphFormat, which
//   read and write through formatAtSelectionStart and the apply* members.
// - RichEditStrings: Lines(), the shown lines as a list.
// - DisplayLines: the answers of LineFromChar, LineIndex, LineLength, LineCount.
// - EditorLayout (with ParagraphMetrics): lays out and paints the document a
//   part at a time, places the caret, finds the character under the pointer.
// - Links: finds the addresses that are painted as links and raise OnURLClick.
class QTextDocumentFragment;

class TRxRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TRxRichEdit(QWidget *parent = nullptr);
    ~TRxRichEdit() override;

    // The printer and the insert-object dialog come from the platform.
    void setPlatform(platform::Platform *platform) { platform_ = platform; }

    // Nothing: QTextEdit's documents ask their editor for the resources they do
    // not hold, and ours show only those they hold.
    QVariant loadResource(int type, const QUrl &name) override;

    // Whole text and selection.
    QString Text() const;
    // Hides QTextEdit::setText, which guesses between HTML and plain text: this
    // takes plain text (VT a line break) into a new document, undo history gone.
    void setText(const QString &text);
    // QTextCursor::selectedText gives U+2029 and U+2028; this gives CR and VT.
    QString SelectedText() const;
    // Replaces the selection in one undoable step; the new text takes the format
    // at the start of the old selection and ends up selected. A block of table
    // cells selected takes text of the shape SelectedText gives it (a line a
    // row, a tab between cells) cell by cell, and stays selected.
    void setSelectedText(const QString &text);
    // Replaces the selection with text of the same length (as SelectedText
    // gives it), character for character: each keeps its own format, the
    // characters that do not change (objects among them) are not touched, and
    // the whole is one undoable step. The selection stays.
    void replaceSelectedCharacters(const QString &text);
    int SelectionStart() const; // textCursor().selectionStart()
    void setSelectionStart(int position); // moves the caret there, selecting nothing
    int SelectionLength() const;
    void setSelectionLength(int length);
    void SelectWholeText();
    void ClearAll();
    int TextLength() const; // positions, a paragraph end counting one

    // Set by every change of the text, an undo too; QTextDocument::isModified
    // clears again when undo gets back to the unmodified text.
    bool IsModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // Modes.
    bool PlainText() const { return plainText_; }
    void setPlainTextMode(bool plain);
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap);
    bool AutoURLDetect() const { return autoUrlDetect_; }
    void setAutoURLDetect(bool detect);
    bool HideSelection() const { return hideSelection_; }
    void setHideSelection(bool hide);
    TColor Color() const { return color_; } // the paper colour
    void setColor(const TColor &color);

    TRxTextAttributes &SelectionFormat() { return selectionFormat_; }
    TRxTextAttributes &DefaultFormat() { return defaultFormat_; }
    TRxParaAttributes &ParagraphFormat() { return paragraphFormat_; }
    TRichEditStrings &Lines() { return *lines_; }

    // Search from `start` over |length| positions, forward and ignoring case;
    // the position of the first match or -1.
    int FindInText(const QString &text, int start, int length) const;

    // Prints the whole document on the platform's current printer, in the full
    // printable area of the page; the job is named `title`.
    void PrintDocument(const QString &title);
    void PrintDocument(const QString &title, QPrinter &printer);
    // Asks for a picture through the platform's insert-object dialog and puts it
    // in at the selection; true when one was inserted.
    bool InsertObjectByDialog();
    // A table of empty cells with single borders at the caret (after the
    // table the caret stands in), one step to undo; the caret goes to its
    // first cell.
    void InsertTable(int rows, int columns);
    static constexpr int kMaxInsertedRows = 10000;
    static constexpr int kMaxInsertedColumns = 63;
    // The object the selection is made of, when it is exactly one object
    // (an invalid format otherwise), its type name, a description of its size
    // and scale, and its "Open" verb.
    QTextImageFormat selectedObject() const;
    static QString objectTypeName(const QTextImageFormat &object);
    QString objectDetails(const QTextImageFormat &object) const;
    void openObject(const QTextImageFormat &object);

    // Direct requests.
    bool CanUndo() const;
    void Undo(); // QTextEdit::undo, but only back through the last kUndoLimit steps
    bool CanRedo() const;
    void Redo(); // QTextEdit::redo, keeping count for Undo
    // The same as QTextEdit's cut, copy and paste; what goes on and comes off
    // the clipboard is this control's (createMimeDataFromSelection,
    // insertFromMimeData).
    void Cut();
    void Copy();
    void Paste();
    // Deletes the selection and nothing when nothing is selected; QTextEdit::clear
    // empties the document and its undo history.
    void Clear();
    void setTabStops(const QList<int> &dialogUnits, const QFont &dialogFont);
    QList<qreal> tabStopPixels() const;
    int LineFromChar(int position) const;
    int LineIndex(int line) const;
    int LineLength(int line) const;
    // Every display line, the last empty one included, with every paragraph
    // laid out for it; not QTextDocument::lineCount.
    int LineCount() const;

    // Files: "txt" is plain text, "rtf" RTF, anything else as the current mode.
    enum class FileFormat { Rtf, PlainText };
    static FileFormat formatFor(const QString &path, bool plainTextMode);
    void LoadFile(const QString &path);
    // Writes in the format `formatFor` gives, or in `format`; returns what the
    // file now holds.
    filestamps::FileStamp SaveFile(const QString &path);
    filestamps::FileStamp SaveFile(const QString &path, FileFormat format);
    // What the file last loaded was read as: RTF only when it was RTF.
    FileFormat lastLoadFormat() const { return lastLoadFormat_; }
    // What the file last loaded held when it was opened; its hash is known
    // once the whole file is in.
    const filestamps::FileStamp &loadedStamp() const { return loadedStamp_; }
    // What LoadFile does with a file's bytes: RTF when `asRtf` and the bytes are
    // RTF, plain text otherwise.
    void LoadContent(QByteArray data, bool asRtf);
    // A plain-text file is shown once its first setCharactersBeforeShown()
    // characters are in; the rest comes in between the user's keys, and until
    // then nothing typed can be undone. isLoading() holds meanwhile.
    bool isLoading() const { return load_ != nullptr; }
    // The rest of the file put in now, under the busy cursor; raises (after
    // OnLoadFailed) when the file could not be read whole.
    void finishLoading();
    void setCharactersBeforeShown(qsizetype characters) { charactersBeforeShown_ = characters; }
    // What the last RTF loaded held that the document cannot keep.
    const rtf::LoadStatus &lastLoadStatus() const { return lastLoadStatus_; }
    // How the plain text of the document is written (encoding, line breaks).
    PlainTextFormat plainTextFormat() const { return plainTextFormat_; }

    static constexpr int kUndoLimit = 100;
    static constexpr int kMaxLength = 16777215;

    // Used by the attribute objects.
    QTextCharFormat formatAtSelectionStart() const;
    void applyCharFormat(const QTextCharFormat &format, bool clearForeground, bool toDefault);
    void applyBlockChange(const std::function<void(QTextBlockFormat &, const QTextBlock &)> &change);
    void applyListStyle(paraformat::ListStyle style);
    QList<QTextBlock> selectedParagraphs() const;
    QTextCursor selectionCursor() const { return textCursor(); }

    // Marks over the text (RichEditMarks.cpp), such as the words spelling
    // flags: a red wave where shown, never part of the text. Not owned.
    void setTextMarks(TextMarks *marks);
    TextMarks *textMarks() const { return marks_; }
    bool textMarksActive() const;
    struct MarkedWord {
        int start = 0; // document position
        int length = 0;
        QString word;
    };
    // The marked word under a point of the viewport, if any.
    std::optional<MarkedWord> markedWordAt(QPoint viewportPosition);
    // Selects the next marked word after the selection or the caret, going
    // on from the start once; false when the document has none.
    bool selectNextMark();
    // Puts `replacement` in place of the word, in the format of its first
    // character, as one step of undo.
    void replaceMarkedWord(const MarkedWord &word, const QString &replacement);

Q_SIGNALS:
    void OnChange();
    // Raised for every mouse button pressed in the text, after the press moved
    // the caret; position in viewport coordinates.
    void OnMouseDown(Qt::MouseButton button, QPoint position);
    void OnURLClick(const QString &url, Qt::MouseButton button);
    void OnSelectionChange();
    // The file being loaded could not be read whole, and the document holds
    // part of it. `raised`: finishLoading() raises the same error.
    void OnLoadFailed(const QString &message, bool raised);
    // The whole file is in.
    void OnLoaded();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;
    void copySelectionInto(QTextDocument &piece, const QTextCursor &selection) const;

private:
    friend class TRichEditStrings;

    // A new document for good: nothing before it can be undone.
    void adoptDocument(QTextDocument *document);
    // The same without change notifications, the caret at the start.
    void adoptQuietly(std::unique_ptr<QTextDocument> document);
    // A file's content put in place: shown from its start, one change told.
    void showLoaded(std::unique_ptr<QTextDocument> document);
    void installDocument(QTextDocument *document, int oldLength);
    ReplacedDocuments::Kept releaseDocument(int redoDepth);
    // Whole-text replacement, undone in one step.
    void replaceDocument(std::unique_ptr<QTextDocument> replacement);
    void swapDocument(bool back);
    void announceReplacedText(int oldLength);
    std::unique_ptr<QTextDocument> plainDocument(const QString &text) const;
    void replaceWithPlainText(const QString &text);
    std::unique_ptr<QTextDocument> newDocument() const;
    EditorLayout &editorLayout() const;
    QString linkAt(QPoint viewportPosition, int *start, int *end) const;
    // Objects put in at the selection, which they replace; they end up selected.
    void insertObject(const QImage &image, const QString &typeName, const QString &source);
    void insertFileObject(const QString &path);
    bool insertObjectsFrom(const QMimeData *source);
    bool inSelectionBar(QPoint viewportPosition) const;
    int positionBesideBar(QPoint viewportPosition) const;
    void selectRange(int anchor, int position);
    void insertTextWithBreaks(QTextCursor &cursor, const QString &text, const QTextCharFormat &format);
    bool replaceSelectedCells(const QString &text);
    void clearUndo();
    void countUndoStep();
    bool typeInPieces(QKeyEvent *event);
    // Puts in more of the file being loaded, for `budget` nanoseconds or (when
    // negative) all of it. A file that cannot be read whole raises when
    // `raise`, after OnLoadFailed.
    void continueLoading(qint64 budget, bool raise);
    // Why a file's load failed; empty when it did not.
    static QString loadFailure(const PlainTextFileLoad &loading);

    platform::Platform *platform_ = nullptr;
    ObjectCopies objectCopies_; // what "Open" of an object handed over
    TRxTextAttributes selectionFormat_{*this, TRxTextAttributes::Target::Selection};
    TRxTextAttributes defaultFormat_{*this, TRxTextAttributes::Target::Default};
    TRxParaAttributes paragraphFormat_{*this};
    std::unique_ptr<TRichEditStrings> lines_;
    std::unique_ptr<DisplayLines> displayLines_;
    PiecedCaret *piecedCaret_ = nullptr;
    TextMarks *marks_ = nullptr;
    QTextOption textOption_;
    PlainTextFormat plainTextFormat_;
    rtf::LoadStatus lastLoadStatus_;
    FileFormat lastLoadFormat_ = FileFormat::Rtf;
    filestamps::FileStamp loadedStamp_;
    TColor color_ = TColor::fromRgb(0xffffff);
    bool modified_ = false;
    bool plainText_ = false;
    bool wordWrap_ = true;
    bool autoUrlDetect_ = true;
    bool hideSelection_ = false;
    bool quiet_ = false;       // no change notifications while the content is swapped
    bool selectionQuiet_ = false; // no selection notifications while lines are added
    bool typingInPieces_ = false; // undo steps counted by typeInPieces
    int undoDepth_ = 0;        // undo steps within the limit
    int redoDepth_ = 0;
    ReplacedDocuments replaced_; // whole-text replacements, within the same limit
    std::unique_ptr<PlainTextFileLoad> load_;
    QTimer *loadTimer_ = nullptr;
    qsizetype charactersBeforeShown_ = 2 * 1024 * 1024;
    QMetaObject::Connection changeConnection_;
    QMetaObject::Connection undoConnection_;
    // The link under the last press, and the button that pressed it.
    int linkStart_ = -1;
    int linkEnd_ = -1;
    Qt::MouseButton linkButton_ = Qt::NoButton;
    int barAnchor_ = -1;  // where a press in the selection bar started, while it lasts
    int wordAnchor_ = -1; // where a plain click started a drag, while it lasts
};
