// sway's layouts, through its IPC socket.
#include "platform/ListedKeyboardLayouts.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

namespace platform {

namespace {

// A GET_INPUTS reply lists every input device: generous, but bounded.
constexpr quint32 kMaxReplyBytes = 1024 * 1024;

bool waitForBytes(QLocalSocket &socket, qint64 wanted, const QDeadlineTimer &deadline)
{
    while (socket.bytesAvailable() < wanted) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

// One request on a connection of its own; nullopt when sway does not answer
// in time or answers something else.
std::optional<QByteArray> request(const QString &socketPath, quint32 type, const QByteArray &payload)
{
    const QDeadlineTimer deadline(kDesktopCallTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return std::nullopt;
    socket.write(i3IpcMessage(type, payload));
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(int(deadline.remainingTime())))
            return std::nullopt;
    }
    if (!waitForBytes(socket, kI3IpcHeaderSize, deadline))
        return std::nullopt;
    const std::optional<quint32> length = i3IpcPayloadLength(socket.read(kI3IpcHeaderSize), type, kMaxReplyBytes);
    if (!length || !waitForBytes(socket, qint64(*length), deadline))
        return std::nullopt;
    return socket.read(qint64(*length));
}

std::optional<DesktopLayoutList> readInputs(const QString &socketPath)
{
    const std::optional<QByteArray> reply = request(socketPath, kSwayGetInputs, {});
    return reply ? layoutsFromSwayInputs(*reply) : std::nullopt;
}

class SwayKeyboardLayouts : public ListedKeyboardLayouts {
public:
    SwayKeyboardLayouts(QString socketPath, QList<DesktopLayout> layouts)
        : ListedKeyboardLayouts(std::move(layouts)), socketPath_(std::move(socketPath))
    {
    }

    void activate(quint32 handle) override
    {
        const int index = indexOf(handle);
        if (index < 0)
            return;
        const QByteArray command = "input type:keyboard xkb_switch_layout " + QByteArray::number(index);
        request(socketPath_, kSwayRunCommand, command);
    }

    bool canActivate() override { return true; }

    // sway tells no one of a switch unless subscribed; the window asks again
    // when it becomes active, one quick round trip.
    std::optional<quint32> current() override
    {
        const std::optional<DesktopLayoutList> inputs = readInputs(socketPath_);
        if (!inputs || inputs->layouts.size() != count())
            return std::nullopt;
        return handleAt(inputs->active);
    }

private:
    QString socketPath_;
};

} // namespace

std::unique_ptr<KeyboardLayouts> probeSwayKeyboardLayouts()
{
    const QString socketPath = qEnvironmentVariable("SWAYSOCK");
    if (socketPath.isEmpty())
        return nullptr;
    const std::optional<DesktopLayoutList> inputs = readInputs(socketPath);
    if (!inputs || inputs->layouts.isEmpty())
        return nullptr;
    return std::make_unique<SwayKeyboardLayouts>(socketPath, inputs->layouts);
}

} // namespace platform
