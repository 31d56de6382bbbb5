#include "platform/QtFindDialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform {

namespace {

QLineEdit *addField(QGridLayout *grid, int row, const QString &caption, const QString &accessibleName,
                    const QString &text, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    auto *edit = new QLineEdit(parent);
    edit->setMaxLength(kFindFieldMaxLength);
    edit->setAccessibleName(accessibleName);
    edit->setText(text);
    edit->setMinimumWidth(180);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

// Keeps a one-line field to what the classic field would hold; pasted line
// breaks would otherwise ride along invisibly.
void keepFieldText(QLineEdit *edit, QString &store)
{
    const QString kept = findFieldText(edit->text());
    if (kept != edit->text())
        edit->setText(kept);
    store = kept;
}

} // namespace

QtFindDialog::QtFindDialog(bool withReplace) : withReplace_(withReplace) {}

QtFindDialog::~QtFindDialog()
{
    delete dialog_.data();
}

void QtFindDialog::build(QWidget *owner)
{
    replace_ = replaceAll_ = nullptr;
    auto *dialog = new QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog_ = dialog;
    dialog->setModal(false);
    dialog->setWindowTitle(withReplace_ ? QStringLiteral("Replace") : QStringLiteral("Find"));

    auto *columns = new QHBoxLayout(dialog);
    auto *left = new QVBoxLayout;
    auto *buttons = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(buttons);

    auto *fields = new QGridLayout;
    left->addLayout(fields);
    findEdit_ = addField(fields, 0, QStringLiteral("Fi&nd what:"), QStringLiteral("Find what"), findText_, dialog);
    replaceEdit_ = withReplace_ ? addField(fields, 1, QStringLiteral("Re&place with:"), QStringLiteral("Replace with"),
                                           replaceText_, dialog)
                                : nullptr;

    auto *options = new QHBoxLayout;
    left->addLayout(options);
    auto *checks = new QVBoxLayout;
    options->addLayout(checks);
    auto *wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), dialog);
    auto *matchCase = new QCheckBox(QStringLiteral("Match &case"), dialog);
    wholeWord->setChecked(wholeWord_);
    matchCase->setChecked(matchCase_);
    checks->addWidget(wholeWord);
    checks->addWidget(matchCase);
    QObject::connect(wholeWord, &QCheckBox::toggled, dialog, [this](bool on) { wholeWord_ = on; });
    QObject::connect(matchCase, &QCheckBox::toggled, dialog, [this](bool on) { matchCase_ = on; });
    if (!withReplace_) {
        auto *direction = new QGroupBox(QStringLiteral("Direction"), dialog);
        auto *row = new QHBoxLayout(direction);
        auto *up = new QRadioButton(QStringLiteral("&Up"), direction);
        auto *down = new QRadioButton(QStringLiteral("&Down"), direction);
        (down_ ? down : up)->setChecked(true);
        row->addWidget(up);
        row->addWidget(down);
        options->addWidget(direction);
        QObject::connect(down, &QRadioButton::toggled, dialog, [this](bool on) { down_ = on; });
    }
    left->addStretch();

    findNext_ = new QPushButton(QStringLiteral("&Find Next"), dialog);
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    QObject::connect(findNext_, &QPushButton::clicked, dialog, [this] { run(events_.findNext); });
    if (withReplace_) {
        replace_ = new QPushButton(QStringLiteral("&Replace"), dialog);
        replaceAll_ = new QPushButton(QStringLiteral("Replace &All"), dialog);
        buttons->addWidget(replace_);
        buttons->addWidget(replaceAll_);
        QObject::connect(replace_, &QPushButton::clicked, dialog, [this] { run(events_.replace); });
        QObject::connect(replaceAll_, &QPushButton::clicked, dialog, [this] { run(events_.replaceAll); });
    }
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    buttons->addWidget(cancel);
    buttons->addStretch();
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);

    QObject::connect(findEdit_, &QLineEdit::textChanged, dialog, [this] {
        keepFieldText(findEdit_, findText_);
        updateButtons();
    });
    if (replaceEdit_)
        QObject::connect(replaceEdit_, &QLineEdit::textChanged, dialog,
                         [this] { keepFieldText(replaceEdit_, replaceText_); });
    QObject::connect(dialog, &QDialog::finished, dialog, [this] { run(events_.closed); });
    updateButtons();
}

void QtFindDialog::updateButtons()
{
    const bool any = !findText_.isEmpty();
    findNext_->setEnabled(any);
    if (replace_)
        replace_->setEnabled(any);
    if (replaceAll_)
        replaceAll_->setEnabled(any);
}

void QtFindDialog::run(const std::function<void()> &event) const
{
    // A copy: the event may open the dialog again with new events.
    const std::function<void()> copy = event;
    if (copy)
        copy();
}

void QtFindDialog::show(QWidget *owner, FindDialogEvents events)
{
    events_ = std::move(events);
    if (dialog_ && dialog_->parentWidget() != owner)
        delete dialog_.data();
    if (!dialog_)
        build(owner);
    if (!dialog_->isVisible()) {
        dialog_->show();
        findEdit_->selectAll();
        findEdit_->setFocus();
    }
    dialog_->raise();
    dialog_->activateWindow();
}

void QtFindDialog::close()
{
    if (isOpen())
        dialog_->reject();
}

bool QtFindDialog::isOpen() const
{
    return dialog_ && dialog_->isVisible();
}

} // namespace platform
