#include "app/ErrorDisplay.h"

#include "app/AppTitle.h"
#include "platform/Platform.h"
#include "platform/VeltrixError.h"

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void showError(platform::Platform &platform, const QString &message)
{
    platform.messageBoxes().showMessage(nullptr, platform::MessageIcon::Error, QString::fromUtf8(kAppTitle),
                                        errorBoxText(message));
}

void showCurrentException(platform::Platform &platform, std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const VeltrixError &e) {
        showError(platform, e.message());
    } catch (const std::exception &e) {
        showError(platform, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showError(platform, QStringLiteral("Unknown error"));
    }
}

VeltrixApplication::VeltrixApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool VeltrixApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!platform_)
            throw;
        showCurrentException(*platform_, std::current_exception());
        return false;
    }
}
