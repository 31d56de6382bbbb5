#include "app/RecoveryCopy.h"

#include "editor/TRxRichEdit.h"
#include "editor/TablePlainText.h"
#include "formats/PlainTextCodec.h"
#include "formats/RtfWriter.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>

#include <optional>

// The document's content as a save would write it, gathered in slices. Valid
// only while the document stays as it was when the snapshot began.
class RecoveryCopy::Snapshot {
public:
    Snapshot(QTextDocument &document, bool plainText, PlainTextFormat format)
        : document_(&document), rtf_(!plainText), format_(format)
    {
        if (rtf_)
            writer_ = std::make_unique<rtf::StepwiseWriter>(document);
        else
            startText(document);
    }

    bool isOf(const QTextDocument *document) const { return document_ == document; }
    bool isRtf() const { return rtf_; }

    // True when the whole content is gathered.
    bool step(const QDeadlineTimer &deadline)
    {
        if (rtf_)
            return writer_->step(deadline);
        for (bool first = true; next_.isValid(); next_ = next_.next(), first = false) {
            if (!first && deadline.hasExpired())
                return false;
            appendParagraph(next_);
        }
        return true;
    }

    // What the writing thread turns into the copy's content.
    std::function<QByteArray()> content()
    {
        if (rtf_)
            return [bytes = writer_->take()] { return bytes; };
        return [text = std::move(text_), format = format_] { return encodePlainText(text, format); };
    }

private:
    // Reserved at once: growing a text of many megabytes copies it whole.
    void startText(const QTextDocument &document)
    {
        text_.reserve(document.characterCount());
        next_ = document.begin();
        breaks_.emplace(document);
    }

    // As a plain-text save writes it: soft line breaks end lines, objects have
    // no text, a table row is a line.
    void appendParagraph(const QTextBlock &block)
    {
        if (next_ != document_->begin()) {
            const QChar after = breaks_->after(block.previous());
            text_ += after == QChar::ParagraphSeparator ? QChar(u'\n') : after;
        }
        QString paragraph = block.text();
        paragraph.remove(QChar::ObjectReplacementCharacter);
        paragraph.replace(QChar::LineSeparator, QLatin1Char('\n'));
        text_ += paragraph;
    }

    QPointer<QTextDocument> document_;
    bool rtf_;
    PlainTextFormat format_;
    std::unique_ptr<rtf::StepwiseWriter> writer_;
    QTextBlock next_;
    QString text_;
    std::optional<tableplaintext::TableBreaks> breaks_;
};

RecoveryCopy::RecoveryCopy(TRxRichEdit &editor, std::function<QString()> documentName, const QString &folder,
                           QObject *parent)
    : QObject(parent), editor_(editor), documentName_(std::move(documentName)), store_(folder)
{
    setObjectName(QStringLiteral("Recovery"));
    store_.setWriteFailureHandler([this](const QString &reason) {
        QMetaObject::invokeMethod(this, [this, reason] {
            if (!std::exchange(failureTold_, true))
                Q_EMIT copyNotWritten(reason);
        }, Qt::QueuedConnection);
    });
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &RecoveryCopy::startSnapshot);
    slice_.setSingleShot(true);
    slice_.setInterval(0);
    connect(&slice_, &QTimer::timeout, this, &RecoveryCopy::continueSnapshot);
    if (!store_.isActive())
        return;
    // Content and format changes, and whole documents put in their place.
    connect(&editor_, &QTextEdit::textChanged, this, &RecoveryCopy::textChanged);
    connect(&editor_, &TRxRichEdit::OnChange, this, &RecoveryCopy::textChanged);
    connect(&editor_, &TRxRichEdit::OnLoaded, this, &RecoveryCopy::textChanged);
}

RecoveryCopy::~RecoveryCopy() = default;

void RecoveryCopy::textChanged()
{
    snapshot_.reset();
    slice_.stop();
    pause_.start();
}

void RecoveryCopy::discard()
{
    snapshot_.reset();
    slice_.stop();
    pause_.stop();
    store_.remove();
}

// Nothing can be lost from a document that is saved, or untitled and empty.
void RecoveryCopy::startSnapshot()
{
    if (editor_.isLoading())
        return; // copied once the whole file is in
    QTextDocument *document = editor_.document();
    if (!editor_.IsModified() || (documentName_().isEmpty() && document->isEmpty())) {
        store_.remove();
        return;
    }
    snapshot_ = std::make_unique<Snapshot>(*document, editor_.PlainText(), editor_.plainTextFormat());
    continueSnapshot();
}

void RecoveryCopy::continueSnapshot()
{
    if (!snapshot_)
        return;
    if (!snapshot_->isOf(editor_.document())) {
        textChanged();
        return;
    }
    if (!snapshot_->step(QDeadlineTimer(kSliceMs))) {
        slice_.start(); // input waiting is handled before the next slice
        return;
    }
    store(*snapshot_);
    snapshot_.reset();
}

void RecoveryCopy::store(Snapshot &snapshot)
{
    store_.write(documentName_(), snapshot.isRtf(), snapshot.content());
}

void RecoveryCopy::writeNow()
{
    pause_.stop();
    slice_.stop();
    snapshot_.reset();
    if (!store_.isActive())
        return;
    Snapshot whole(*editor_.document(), editor_.PlainText(), editor_.plainTextFormat());
    whole.step(QDeadlineTimer(QDeadlineTimer::Forever));
    store(whole);
    store_.waitForDone();
}
