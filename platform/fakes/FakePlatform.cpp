#include "platform/fakes/FakePlatform.h"

#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QPrinter>
#include <utility>

namespace platform {

void FakeMessageBoxes::showMessage(QWidget *, MessageIcon icon, const QString &title, const QString &text)
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    messages.append({icon, title, text, cursor && cursor->shape() == Qt::WaitCursor});
}

Answer FakeMessageBoxes::ask(QWidget *, const Question &question)
{
    questions.append(question);
    if (answers.empty())
        return question.escapeAnswer;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QList<quint32> FakeKeyboardLayouts::installed(int maxCount)
{
    return layouts.mid(0, maxCount);
}

void FakeKeyboardLayouts::activate(quint32 handle)
{
    activations.append(handle);
    if (switchingAllowed)
        active = handle;
}

std::optional<quint32> FakeKeyboardLayouts::current()
{
    ++currentAsked;
    return tellsCurrent ? std::optional<quint32>(active) : std::nullopt;
}

void FakeKeyboardLayouts::switchOnDesktop(quint32 handle)
{
    active = handle;
    if (changeHandler)
        changeHandler();
}

QList<LayoutKey> FakeKeyboardLayouts::keys(quint32 handle)
{
    return keymaps.value(handle);
}


std::optional<InsertObjectChoice> FakeObjectDialogs::askInsertObject(QWidget *)
{
    ++asked;
    return std::exchange(choice, std::nullopt);
}

void FakeObjectDialogs::showObjectProperties(QWidget *, const QString &typeName, const QString &details)
{
    propertiesShown.append(typeName + QLatin1Char('|') + details);
}

FakePrinting::FakePrinting() = default;
FakePrinting::~FakePrinting() = default;

QPrinter &FakePrinting::currentPrinter()
{
    if (!current_) {
        current_ = std::make_unique<CurrentPrinter>();
        current_->printer().setOutputFormat(QPrinter::PdfFormat);
    }
    return current_->printer();
}

void FakePrinting::setOutputFile(const QString &path)
{
    currentPrinter().setOutputFileName(path);
}

void FakePrinting::askPrinterSetup(QWidget *)
{
    ++printerSetupAsked;
    currentPrinter();
    PrinterChoice choice = current_->printerSetup();
    if (const auto edit = std::exchange(printerSetupEdit, nullptr)) {
        edit(choice);
        current_->confirmPrinterSetup(choice);
    }
}

void FakePrinting::askPageSetup(QWidget *)
{
    ++pageSetupAsked;
    currentPrinter();
    QPageLayout layout = current_->pageSetup();
    pageSetupsShown.append(layout);
    if (const auto edit = std::exchange(pageSetupEdit, nullptr)) {
        edit(layout);
        current_->confirmPageSetup(layout);
    }
}

namespace {

std::optional<QString> nextAnswer(std::deque<std::optional<QString>> &answers)
{
    if (answers.empty())
        return std::nullopt;
    const QString path = answers.front().value_or(QString());
    const bool confirmed = answers.front().has_value();
    answers.pop_front();
    return confirmed ? std::optional<QString>(path) : std::nullopt;
}

} // namespace

std::optional<QString> FakeFileDialogs::openFileName(QWidget *, const FileDialogRequest &request)
{
    openRequests.append(request);
    return nextAnswer(answers);
}

std::optional<QString> FakeFileDialogs::saveFileName(QWidget *, const FileDialogRequest &request)
{
    saveRequests.append(request);
    return nextAnswer(answers);
}

void FakeTrayIcon::show(const QString &newTip)
{
    ++shown;
    tip = newTip;
    visible = true;
}

int FakeModalWindows::exec(QDialog &window)
{
    titles.append(window.windowTitle());
    if (inspect)
        inspect(window);
    return result;
}

} // namespace platform
