// The editor's files, printing and embedded objects.
#include "editor/TRxRichEdit.h"
#include "editor/EditorLayout.h"

#include "editor/PlainTextFiles.h"
#include "editor/RunnableFiles.h"
#include "editor/TablePlainText.h"
#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"
#include "formats/TableFormat.h"
#include "platform/BusyCursor.h"
#include "platform/FileWrites.h"
#include "platform/Platform.h"
#include "platform/VeltrixError.h"

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>

namespace {

constexpr int kObjectTypeProperty = QTextFormat::UserProperty + 20;
constexpr int kObjectSourceProperty = QTextFormat::UserProperty + 21;
constexpr int kIconPictureWidth = 96;  // pixels
constexpr int kIconPictureHeight = 72;
constexpr int kIconSize = 40;
constexpr qreal kScreenPixelsPerInch = 96.0;
// A step of the rest of a file, taken in at once under the busy cursor.
constexpr qint64 kRestStepNanoseconds = 50 * 1000 * 1000;

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The paragraphs of the document for a plain-text file: soft line breaks end
// lines there too, objects have no text and a table row is a line.
QString plainTextOf(const QTextDocument &document)
{
    QString text = tableplaintext::rawText(document);
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

QString imageTypeName(const QByteArray &format)
{
    const QByteArray lower = format.toLower();
    if (lower == "bmp")
        return QStringLiteral("Bitmap Image");
    if (lower == "jpg" || lower == "jpeg")
        return QStringLiteral("JPEG Image");
    return QString::fromLatin1(format.toUpper()) + QStringLiteral(" Image");
}

// An object shown as an icon: the file type's icon over the file's name.
QImage iconPicture(const QFileInfo &file)
{
    QImage picture(kIconPictureWidth, kIconPictureHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QIcon icon = QFileIconProvider().icon(file);
    const QPixmap pixmap = icon.pixmap(kIconSize, kIconSize);
    painter.drawPixmap((kIconPictureWidth - kIconSize) / 2, 0, pixmap);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, kIconSize + 2, kIconPictureWidth, kIconPictureHeight - kIconSize - 2),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere, file.fileName());
    return picture;
}

// A file read whole: its size is what was read, its time as it was opened,
// so that a change made while it was read shows later.
filestamps::FileStamp readStamp(filestamps::FileStamp opened, const filestamps::ByteHash &hash)
{
    opened.size = qint64(hash.bytes());
    opened.hash = hash.value();
    opened.hashKnown = true;
    return opened;
}

} // namespace

TRxRichEdit::FileFormat TRxRichEdit::formatFor(const QString &path, bool plainTextMode)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("txt"))
        return FileFormat::PlainText;
    if (extension == QLatin1String("rtf"))
        return FileFormat::Rtf;
    return plainTextMode ? FileFormat::PlainText : FileFormat::Rtf;
}

void TRxRichEdit::LoadFile(const QString &path)
{
    auto loading = std::make_unique<PlainTextFileLoad>(path);
    QFile &file = loading->file;
    if (!file.open(QIODevice::ReadOnly))
        throw VeltrixError(QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(path), file.errorString()));
    const filestamps::FileStamp opened = filestamps::statOf(file.handle()).value_or(filestamps::FileStamp());
    if (formatFor(path, plainText_) == FileFormat::Rtf) {
        QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw VeltrixError(loadFailure(*loading));
        loading.reset();
        filestamps::ByteHash hash;
        hash.add(data);
        LoadContent(std::move(data), true);
        loadedStamp_ = readStamp(opened, hash);
        return;
    }
    // Plain text is decoded as it is read: the file's bytes are never all in
    // memory beside its text. A large file is shown once its start is in.
    auto document = newDocument();
    loading->load = std::make_unique<PlainTextLoad>(loading->pieces, *document);
    const bool whole = loading->load->stepCharacters(charactersBeforeShown_);
    if (whole) {
        const QString failure = loadFailure(*loading);
        if (!failure.isEmpty())
            throw VeltrixError(failure);
        plainTextFormat_ = loading->load->format();
        loadedStamp_ = readStamp(opened, loading->pieces.hash());
        loading.reset();
    } else {
        loadedStamp_ = opened;
    }
    lastLoadStatus_ = rtf::LoadStatus();
    lastLoadFormat_ = FileFormat::PlainText;
    showLoaded(std::move(document));
    if (loading) {
        // The file's text first: the background layout follows it.
        editorLayout().setBackgroundHeld(true);
        load_ = std::move(loading);
        loadTimer_->start();
    }
}

QString TRxRichEdit::loadFailure(const PlainTextFileLoad &loading)
{
    const QString path = nativePath(loading.file.fileName());
    if (loading.file.error() != QFileDevice::NoError)
        return QStringLiteral("Cannot read file \"%1\". %2").arg(path, loading.file.errorString());
    if (loading.load && loading.load->changedWhileRead())
        return QStringLiteral("Cannot read file \"%1\". The file was changed while it was read").arg(path);
    return {};
}

void TRxRichEdit::continueLoading(qint64 budget, bool raise)
{
    if (!load_)
        return;
    // The file's text is no change of the user's: the flag stays as it was.
    const bool modified = modified_;
    const bool wasQuiet = quiet_;
    quiet_ = true;
    bool whole = false;
    {
        // The file's text is no edit: nobody is told of it but the layout
        // (which the document tells directly). The text control's change
        // events would carry each step's text to a screen reader, megabytes
        // in all over the accessibility bus; the reader asks for what it reads.
        const QSignalBlocker untold(document());
        // The rest of the file comes in steps too: the layout measures each
        // step's new lines from its text, and one step of all of it would be
        // too large for that.
        do
            whole = load_->load->step(budget < 0 ? kRestStepNanoseconds : budget);
        while (budget < 0 && !whole);
    }
    quiet_ = wasQuiet;
    modified_ = modified;
    // As when a document is put in place: the last paragraph laid out, so
    // that counting the characters (a screen reader does) lays out no others.
    editorLayout().layoutParagraph(document()->lastBlock());
    if (!whole)
        return;
    loadTimer_->stop();
    editorLayout().setBackgroundHeld(false);
    const std::unique_ptr<PlainTextFileLoad> finished = std::move(load_);
    plainTextFormat_ = finished->load->format();
    const QString failure = loadFailure(*finished);
    loadedStamp_ = readStamp(loadedStamp_, finished->pieces.hash());
    Q_EMIT OnLoaded();
    if (failure.isEmpty())
        return;
    Q_EMIT OnLoadFailed(failure, raise);
    if (raise)
        throw VeltrixError(failure);
}

void TRxRichEdit::finishLoading()
{
    if (!load_)
        return;
    const BusyCursor busy;
    continueLoading(-1, true);
}

void TRxRichEdit::LoadContent(QByteArray data, bool asRtf)
{
    auto document = newDocument();
    bool loaded = false;
    lastLoadStatus_ = rtf::LoadStatus();
    // Text that is not RTF is read as plain text, whatever was asked for.
    if (asRtf)
        loaded = rtf::read(data, *document, lastLoadStatus_);
    if (loaded && plainText_) {
        // The plain-text mode holds no formats: the RTF's characters only.
        const QString text = plainTextOf(*document);
        document = newDocument();
        document->setPlainText(text);
    }
    if (!loaded) {
        MemoryPieces pieces(data);
        plainTextFormat_ = loadPlainText(pieces, *document);
    }
    lastLoadFormat_ = loaded ? FileFormat::Rtf : FileFormat::PlainText;
    data = QByteArray(); // the file's bytes are not needed past this point
    showLoaded(std::move(document));
}

filestamps::FileStamp TRxRichEdit::SaveFile(const QString &path)
{
    return SaveFile(path, formatFor(path, plainText_));
}

filestamps::FileStamp TRxRichEdit::SaveFile(const QString &path, FileFormat format)
{
    finishLoading();
    const bool rtf = format == FileFormat::Rtf;
    const QByteArray data = rtf ? rtf::write(*document()) : QByteArray();
    filestamps::ByteHash hash;

    // The file it replaces stays whole until the new one is complete.
    QSaveFile file(path);
    const auto fail = [&path](const QString &reason) {
        throw VeltrixError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(path), reason));
    };
    if (!filewrites::openForSaving(file))
        fail(file.errorString());
    // Plain text is encoded and written a piece at a time.
    const std::optional<PlainTextFormat> used = rtf ? std::optional<PlainTextFormat>(plainTextFormat_)
                                                    : savePlainText(*document(), plainTextFormat_, file, &hash);
    if (rtf)
        hash.add(data);
    const bool written = rtf ? filewrites::writeAll(file, data) : used.has_value();
    if (!written || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
    filewrites::keepOwnership(file);
    // The time the new file's last byte was written, which the rename keeps.
    filestamps::FileStamp stamp = filestamps::statOf(file.handle()).value_or(filestamps::FileStamp());
    if (!file.commit())
        fail(file.errorString());
    plainTextFormat_ = *used;
    stamp.size = qint64(hash.bytes());
    stamp.hash = hash.value();
    stamp.hashKnown = true;
    return stamp;
}

void TRxRichEdit::PrintDocument(const QString &title)
{
    if (!platform_)
        return;
    PrintDocument(title, platform_->printing().currentPrinter());
}

void TRxRichEdit::PrintDocument(const QString &title, QPrinter &printer)
{
    finishLoading();
    // The printer's whole printable area: only the printer's own minimum
    // margins apply, never margins chosen in a dialog.
    const QPageLayout chosen = printer.pageLayout();
    printer.setPageMargins(chosen.minimumMargins(), chosen.units());
    std::unique_ptr<QTextDocument> copy(document()->clone());
    tableformat::spellOutCellFormats(*copy); // Qt lays the copy out
    editorLayout().writeListMarkersInto(*copy);
    copy->setDocumentMargin(0);
    copy->setPageSize(printer.pageRect(QPrinter::Inch).size() * kScreenPixelsPerInch);
    printer.setDocName(title);
    copy->print(&printer);
    printer.setPageLayout(chosen);
    // QTextDocument::print returns quietly when it cannot start the job (an
    // output file that cannot be created, for one); the printer says so.
    if (printer.printerState() == QPrinter::Error) {
        const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        throw VeltrixError(QStringLiteral("Unable to print to %1").arg(target));
    }
}

bool TRxRichEdit::InsertObjectByDialog()
{
    if (!platform_)
        return false;
    const std::optional<platform::InsertObjectChoice> choice = platform_->objectDialogs().askInsertObject(this);
    if (!choice)
        return false;
    const QFileInfo file(choice->fileName);
    // Only a file's bytes make an object: a folder, a device or a pipe (which
    // would wait for a writer) is refused before anything reads it.
    QFile bytes(file.absoluteFilePath());
    if (!file.isFile() || !bytes.open(QIODevice::ReadOnly)) {
        const QString reason = file.exists() && !file.isFile() ? QStringLiteral("It is not a file") : bytes.errorString();
        throw VeltrixError(QStringLiteral("Cannot insert the object from \"%1\". %2").arg(nativePath(choice->fileName), reason));
    }
    bytes.close();
    if (!choice->asIcon) {
        insertFileObject(file.absoluteFilePath());
        return true;
    }
    const QByteArray imageFormat = QImageReader(file.absoluteFilePath()).format();
    insertObject(iconPicture(file), imageFormat.isEmpty() ? QStringLiteral("Package") : imageTypeName(imageFormat),
                 file.absoluteFilePath());
    return true;
}

// A picture for an image file, an icon with its name for any other file; its
// Open verb hands the file to the desktop.
void TRxRichEdit::insertFileObject(const QString &path)
{
    // Only a plain file is read: a pipe would keep the reader waiting.
    QImageReader reader;
    if (QFileInfo(path).isFile())
        reader.setFileName(path);
    const QByteArray imageFormat = reader.format();
    const QImage image = reader.read();
    if (image.isNull())
        insertObject(iconPicture(QFileInfo(path)), QStringLiteral("Package"), path);
    else
        insertObject(image, imageTypeName(imageFormat), path);
}

void TRxRichEdit::insertObject(const QImage &image, const QString &typeName, const QString &source)
{
    static int objectNumber = 0;
    const QString name = QStringLiteral("veltrix-object:%1").arg(++objectNumber);
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    format.setProperty(kObjectTypeProperty, typeName);
    if (!source.isEmpty())
        format.setProperty(kObjectSourceProperty, source);

    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const int start = cursor.position();
    cursor.insertImage(format);
    cursor.endEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(start + 1, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QTextImageFormat TRxRichEdit::selectedObject() const
{
    // QTextImageFormat() is a valid (character) format: "no object" is an
    // invalid format seen as an image format.
    const QTextImageFormat none = QTextFormat().toImageFormat();
    const QTextCursor cursor = textCursor();
    if (cursor.selectionEnd() - cursor.selectionStart() != 1)
        return none;
    QTextCursor probe(document());
    probe.setPosition(cursor.selectionEnd());
    const QTextCharFormat format = probe.charFormat();
    return format.isImageFormat() ? format.toImageFormat() : none;
}

QString TRxRichEdit::objectTypeName(const QTextImageFormat &object)
{
    const QString type = object.property(kObjectTypeProperty).toString();
    return type.isEmpty() ? QStringLiteral("Picture") : type;
}

QString TRxRichEdit::objectDetails(const QTextImageFormat &object) const
{
    const QImage image = document()->resource(QTextDocument::ImageResource, QUrl(object.name())).value<QImage>();
    const int width = image.isNull() ? 0 : image.width();
    const int height = image.isNull() ? 0 : image.height();
    const int shownWidth = object.width() > 0 ? qRound(object.width()) : width;
    const int scale = width > 0 ? qRound(100.0 * shownWidth / width) : 100;
    return QStringLiteral("Type: %1\nSize: %2 x %3 pixels\nScale: %4%")
        .arg(objectTypeName(object))
        .arg(width)
        .arg(height)
        .arg(scale);
}

void TRxRichEdit::openObject(const QTextImageFormat &object)
{
    if (!platform_)
        return;
    const QString source = object.property(kObjectSourceProperty).toString();
    if (!source.isEmpty() && QFileInfo::exists(source)) {
        // A program or script inserted as an object is shown, never started.
        if (runnablefiles::isRunnable(source))
            platform_->shell().showInFileManager(source);
        else
            platform_->shell().open(source);
        return;
    }
    // An object read from a document has no file of its own: hand over a copy.
    const QImage image = document()->resource(QTextDocument::ImageResource, QUrl(object.name())).value<QImage>();
    const QString copy = objectCopies_.write(image);
    if (!copy.isEmpty())
        platform_->shell().open(copy);
}
