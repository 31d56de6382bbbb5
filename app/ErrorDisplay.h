#pragma once

#include <QApplication>
#include <QString>
#include <exception>

namespace platform { class Platform; }

// The application's default error display: an error that a command did not
// handle ends that command and is shown in an error box; the program goes on.
QString errorBoxText(const QString &message);
void showError(platform::Platform &platform, const QString &message);
// Shows the message of whatever was thrown (VeltrixError, std::exception, other).
void showCurrentException(platform::Platform &platform, std::exception_ptr error);

// Runs `command`; an error it raises goes to the default error display.
template <typename Command>
void runGuarded(platform::Platform &platform, Command &&command)
{
    try {
        command();
    } catch (...) {
        showCurrentException(platform, std::current_exception());
    }
}

// The last line of defence: an error that escapes an event handler is shown
// instead of ending the program.
class VeltrixApplication : public QApplication {
public:
    VeltrixApplication(int &argc, char **argv);
    void setPlatform(platform::Platform *platform) { platform_ = platform; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    platform::Platform *platform_ = nullptr;
};
