// libFuzzer target for pasting HTML into the editor. Every input must go in
// without a crash, a hang or unbounded memory, and nothing it names may be
// read: its pictures, style sheets and backgrounds come from the data or not
// at all. The run's folder holds a pipe, which would keep whoever opens it
// waiting (a hang), and a picture of the user's, which must never show up in
// the document; the seeds name both, relatively, through /proc/self/cwd and
// as addresses.
//
// Built with -DVELTRIX_FUZZ=ON (target html_paste_fuzz) and run by CTest on
// fuzz/corpus/html.

#include "editor/TRxRichEdit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextBlock>

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const QSize kSecretSize(13, 11);
const QRgb kSecretColour = qRgb(0xc0, 0x10, 0xf0);

class PastingEditor : public TRxRichEdit {
public:
    using TRxRichEdit::insertFromMimeData;
};

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "html_paste_fuzz: %s\n", what);
        std::abort();
    }
}

PastingEditor *g_editor = nullptr;

// The run works in a folder of its own: the corpus folders named on the
// command line, and the folder for what a failing run writes, stay those
// named from where it started.
void anchorArguments(int *argc, char ***argv)
{
    static std::vector<QByteArray> arguments;
    static std::vector<char *> pointers;
    bool prefixed = false;
    for (int i = 0; i < *argc; ++i) {
        QByteArray argument((*argv)[i]);
        if (i > 0 && !argument.startsWith('-'))
            argument = QFile::encodeName(QFileInfo(QFile::decodeName(argument)).absoluteFilePath());
        prefixed = prefixed || argument.startsWith("-artifact_prefix=");
        arguments.push_back(argument);
    }
    if (!prefixed)
        arguments.push_back("-artifact_prefix=" + QFile::encodeName(QDir::currentPath()) + '/');
    for (QByteArray &argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    *argc = int(arguments.size());
    *argv = pointers.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    anchorArguments(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    static QTemporaryDir folder;
    check(folder.isValid(), "no temporary folder");
    QImage secret(kSecretSize, QImage::Format_RGB32);
    secret.fill(kSecretColour);
    check(secret.save(folder.filePath(QStringLiteral("secret.png"))), "cannot write the picture");
    check(mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("pipe"))).constData(), 0600) == 0,
          "cannot make the pipe");
    check(QDir::setCurrent(folder.path()), "cannot enter the temporary folder");
    static PastingEditor editor;
    editor.resize(400, 300);
    editor.show();
    g_editor = &editor;
    // Fonts are found and cached on first use, which the leak check of the
    // first input would take for a leak.
    const QByteArray warmUp = "<p>text <b>bold</b> <i>italic</i> <span style=\"font-family:serif\">serif</span></p>";
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(warmUp.constData()), size_t(warmUp.size()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    g_editor->setText(QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the document replaced
    QMimeData pasted;
    pasted.setHtml(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    g_editor->insertFromMimeData(&pasted);

    // Laid out and painted, as the window would show it.
    QImage screen(g_editor->viewport()->size(), QImage::Format_RGB32);
    QPainter painter(&screen);
    g_editor->viewport()->render(&painter);
    painter.end();

    // Each picture is one the document holds, and none is the user's file.
    QTextDocument &document = *g_editor->document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QVariant held =
                document.resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name()));
            check(held.userType() == QMetaType::QImage || held.userType() == QMetaType::QPixmap,
                  "a picture whose data the document does not hold");
            const QImage image = held.userType() == QMetaType::QImage ? held.value<QImage>()
                                                                         : held.value<QPixmap>().toImage();
            check(image.size() != kSecretSize || image.pixel(0, 0) != kSecretColour,
                  "the user's picture was read");
        }
    }
    return 0;
}
