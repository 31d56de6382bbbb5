#include "platform/DesktopLayouts.h"
#include "platform/ListedKeyboardLayouts.h"
#include "platform/X11Keyboard.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace platform;

namespace {

// sway's socket on a thread of its own, as the program asks it while
// blocked: each connection gets the next of `replies`, bytes as they are
// (nullopt: no answer at all).
class SwayStandIn {
public:
    SwayStandIn(const QString &path, std::vector<std::optional<QByteArray>> replies) : replies_(std::move(replies))
    {
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.toLocal8Bit().constData(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        EXPECT_EQ(listen(listener_, 4), 0);
        thread_ = std::thread([this] { serve(); });
    }
    ~SwayStandIn()
    {
        stop_ = true;
        thread_.join();
        close(listener_);
    }
    QList<QByteArray> requests() // type and payload of each, "0:input …"
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    void serve()
    {
        for (const std::optional<QByteArray> &reply : replies_) {
            pollfd waiting{listener_, POLLIN, 0};
            while (!stop_ && poll(&waiting, 1, 20) == 0) {
            }
            if (stop_)
                return;
            const int client = accept(listener_, nullptr, nullptr);
            char header[kI3IpcHeaderSize];
            if (recv(client, header, sizeof header, MSG_WAITALL) == kI3IpcHeaderSize) {
                quint32 length = 0, type = 0;
                std::memcpy(&length, header + 6, 4);
                std::memcpy(&type, header + 10, 4);
                QByteArray payload(int(length), '\0');
                if (length > 0)
                    recv(client, payload.data(), length, MSG_WAITALL);
                {
                    const std::lock_guard<std::mutex> lock(mutex_);
                    requests_ << QByteArray::number(type) + ':' + payload;
                }
                if (reply) {
                    send(client, reply->constData(), size_t(reply->size()), MSG_NOSIGNAL);
                } else {
                    while (!stop_ && poll(nullptr, 0, 20) == 0) { // silent until the test ends
                    }
                }
            }
            close(client);
        }
    }

    std::vector<std::optional<QByteArray>> replies_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    QList<QByteArray> requests_;
    std::thread thread_;
};

struct SwaySocket {
    SwaySocket() { qputenv("SWAYSOCK", dir.filePath(QStringLiteral("sway.sock")).toLocal8Bit()); }
    ~SwaySocket() { qunsetenv("SWAYSOCK"); }
    QString path() const { return dir.filePath(QStringLiteral("sway.sock")); }
    QTemporaryDir dir;
};

QByteArray inputs(int active)
{
    return i3IpcMessage(kSwayGetInputs, R"json([{"type": "keyboard", "xkb_layout_names": ["English (US)", "Russian"],
                                                 "xkb_active_layout_index": )json" + QByteArray::number(active) + "}]");
}

} // namespace

TEST(SwayKeyboard, LayoutsAreReadSwitchedAndAskedAgainOverTheSocket)
{
    SwaySocket socket;
    SwayStandIn sway(socket.path(), {inputs(0), i3IpcMessage(kSwayRunCommand, R"([{"success": true}])"), inputs(1)});
    const std::unique_ptr<KeyboardLayouts> layouts = probeSwayKeyboardLayouts();
    ASSERT_TRUE(layouts);
    const QList<quint32> handles = layouts->installed(8);
    EXPECT_EQ(handles, (QList<quint32>{layoutHandle(0, 0x0409), layoutHandle(1, 0x0419)}));
    layouts->activate(handles.value(1));
    EXPECT_EQ(layouts->current(), handles.value(1));
    EXPECT_EQ(sway.requests(), (QList<QByteArray>{"100:", "0:input type:keyboard xkb_switch_layout 1", "100:"}));
}

TEST(SwayKeyboard, ASilentOrMismatchedAnswerIsNoSway)
{
    SwaySocket socket;
    {
        SwayStandIn silent(socket.path(), {std::nullopt});
        EXPECT_FALSE(probeSwayKeyboardLayouts()); // given up on, not waited for
    }
    QFile::remove(socket.path());
    // The inputs, but as the reply to another request: not taken for them.
    QByteArray otherReply = inputs(0);
    const quint32 type = kSwayRunCommand;
    std::memcpy(otherReply.data() + 10, &type, sizeof type);
    SwayStandIn confused(socket.path(), {otherReply});
    EXPECT_FALSE(probeSwayKeyboardLayouts());
}
