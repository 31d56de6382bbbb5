#pragma once

#include <QObject>
#include <functional>

namespace platform { class Platform; }

// Runs the main window's handlers: every button, check box, menu item, timer,
// dialog and editor event reaches its handler through here. An error a handler
// raises ends that handler and goes to the default error display.
class CommandRunner : public QObject {
    Q_OBJECT
public:
    CommandRunner(platform::Platform &platform, QObject *parent);

    void run(const char *handlerName, const std::function<void()> &handler);

Q_SIGNALS:
    // As each handler starts.
    void handlerStarted(const QString &handlerName);

private:
    platform::Platform &platform_;
};
