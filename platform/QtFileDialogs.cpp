#include "platform/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace platform {

QStringList qtNameFilters(const QStringList &filters)
{
    QStringList result;
    for (const QString &filter : filters) {
        const QString text = filter.section(QLatin1Char('|'), 0, 0);
        QString pattern = filter.section(QLatin1Char('|'), 1);
        // On this system a name need not have a dot: "all files" is "*".
        if (pattern == QLatin1String("*.*")) {
            result.append(QStringLiteral("All files (*)"));
            continue;
        }
        result.append(QStringLiteral("%1 (%2)").arg(text, pattern.replace(QLatin1Char(';'), QLatin1Char(' '))));
    }
    return result;
}

namespace {

std::optional<QString> run(QWidget *owner, const FileDialogRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile); // the open dialog takes names of missing files too
    const QStringList filters = qtNameFilters(request.filters);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.initialFolder.isEmpty()) {
        dialog.setDirectory(request.initialFolder);
        // A name with a folder would move the dialog to that folder.
        if (!request.fileName.isEmpty())
            dialog.selectFile(QFileInfo(request.fileName).fileName());
    } else if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName); // opens in the folder of the file last chosen
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // As the classic dialogs do, leave the process in the folder last browsed.
    QDir::setCurrent(dialog.directory().absolutePath());
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

} // namespace

std::optional<QString> QtFileDialogs::openFileName(QWidget *owner, const FileDialogRequest &request)
{
    return run(owner, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::saveFileName(QWidget *owner, const FileDialogRequest &request)
{
    return run(owner, request, QFileDialog::AcceptSave);
}

} // namespace platform
