#include "platform/FileWrites.h"

#include <QIODevice>
#include <gtest/gtest.h>

namespace {

// A disk that fills up: takes `room` bytes, in short writes, then refuses.
class FillingDevice : public QIODevice {
public:
    explicit FillingDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
    QByteArray taken;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 part = std::min({size, room_, qint64(1000)});
        if (part == 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        taken.append(data, part);
        room_ -= part;
        return part;
    }

private:
    qint64 room_;
};

} // namespace

// A short write is no error by itself: the rest is offered again, and the
// system's own reason is what the user is shown.
TEST(FileWrites, AFullDiskEndsTheWriteWithTheSystemsReason)
{
    FillingDevice roomy(10000);
    EXPECT_TRUE(filewrites::writeAll(roomy, QByteArray(4500, 'x')));
    EXPECT_EQ(roomy.taken.size(), 4500);

    FillingDevice full(2500);
    EXPECT_FALSE(filewrites::writeAll(full, QByteArray(4500, 'x')));
    EXPECT_EQ(full.errorString(), "No space left on device");
}
