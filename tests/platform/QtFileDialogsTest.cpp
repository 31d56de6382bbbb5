#include "platform/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <optional>
#include <gtest/gtest.h>

namespace {

// Waits for the modal file dialog to open, hands it to `answer`, which closes it.
void whenDialogOpens(std::function<void(QFileDialog *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

struct Shown {
    QString folder;
    QString file;
};

// Runs the dialog for `request`, notes where it opened and what it had
// selected, and confirms that.
std::optional<QString> confirmAsShown(bool save, const platform::FileDialogRequest &request, Shown &shown)
{
    whenDialogOpens([&shown](QFileDialog *dialog) {
        shown.folder = dialog->directory().absolutePath();
        shown.file = dialog->selectedFiles().value(0);
        static_cast<QDialog *>(dialog)->accept(); // as its Open or Save button does
    });
    platform::QtFileDialogs dialogs;
    return save ? dialogs.saveFileName(nullptr, request) : dialogs.openFileName(nullptr, request);
}

class QtFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *folder : {"A", "B", "C"})
            ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(folder)));
    }
    // A confirmed dialog moves the process's current folder: put it back.
    void TearDown() override { QDir::setCurrent(startFolder); }

    QString folder(const char *name) const { return QDir(dir.filePath(QString::fromLatin1(name))).absolutePath(); }

    QTemporaryDir dir;
    QString startFolder = QDir::currentPath();
};

} // namespace

TEST_F(QtFileDialogsTest, TheInitialFolderWinsOverTheFolderOfTheNameField)
{
    // Opened in A, saved into B: the next open starts in B, the old name filled in.
    platform::FileDialogRequest request;
    request.filters = QStringList{QStringLiteral("*.RTF files|*.rtf")};
    request.initialFolder = folder("B");
    request.fileName = QDir(folder("A")).filePath(QStringLiteral("x.rtf"));
    for (const bool save : {false, true}) {
        Shown shown;
        const std::optional<QString> chosen = confirmAsShown(save, request, shown);
        EXPECT_EQ(shown.folder, folder("B")) << (save ? "save" : "open");
        EXPECT_EQ(shown.file, QDir(folder("B")).filePath(QStringLiteral("x.rtf")));
        EXPECT_EQ(chosen, QDir::toNativeSeparators(shown.file));
        EXPECT_EQ(QDir::currentPath(), folder("B")); // left in the folder last browsed
    }
}

TEST_F(QtFileDialogsTest, WithoutAnInitialFolderTheDialogOpensWhereItsFileIs)
{
    platform::FileDialogRequest request;
    request.fileName = QDir(folder("C")).filePath(QStringLiteral("z.txt"));
    Shown shown;
    EXPECT_TRUE(confirmAsShown(false, request, shown));
    EXPECT_EQ(shown.folder, folder("C"));
    EXPECT_EQ(shown.file, request.fileName);
}
