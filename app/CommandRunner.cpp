#include "app/CommandRunner.h"

#include "app/ErrorDisplay.h"

CommandRunner::CommandRunner(platform::Platform &platform, QObject *parent) : QObject(parent), platform_(platform)
{
    setObjectName(QStringLiteral("Commands"));
}

void CommandRunner::run(const char *handlerName, const std::function<void()> &handler)
{
    if (handlerName)
        Q_EMIT handlerStarted(QString::fromLatin1(handlerName));
    runGuarded(platform_, handler);
}
