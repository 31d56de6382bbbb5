#include "OtherCopy.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QTest>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using State = copies::ReadQuestion::State;

namespace {

// What a copy that was killed leaves: a socket file nobody listens on.
void leaveDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
}

} // namespace

TEST(RunningCopiesTest, TheCopyHoldingAFileIsShownAndNoOtherOpensIt)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("copies");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString letter = dir.filePath("letter.rtf");
    const QString notes = dir.filePath("notes.txt");
    testhelpers::writeFile(letter, "{\\rtf1 x}");
    testhelpers::writeFile(notes, "x");
    ASSERT_TRUE(QFile::link(letter, dir.filePath("link.rtf")));
    OtherCopy other(folder, letter);
    ASSERT_TRUE(other.listening());

    const RunningCopies asking(folder);
    EXPECT_TRUE(asking.showCopyHolding(dir.filePath("link.rtf"))) << "one file under another name";
    EXPECT_FALSE(asking.showCopyHolding(notes));
    EXPECT_EQ(asking.keepUnheld({letter, notes, dir.filePath("./notes.txt")}), QStringList{notes});
    EXPECT_TRUE(QTest::qWaitFor([&] { return other.shown.load() == 2; }));
    // A copy that lives on in this folder answers under another name.
    RunningCopies second(folder);
    EXPECT_TRUE(second.listen([] { return QString(); }, [] {}));
    EXPECT_TRUE(second.showCopyHolding(letter));
}

TEST(RunningCopiesTest, SocketsOfCopiesThatCrashedBlockNothing)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("copies");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString letter = dir.filePath("letter.rtf");
    testhelpers::writeFile(letter, "x");
    const QString crashed = QDir(folder).filePath("4194304");
    leaveDeadSocket(crashed);
    EXPECT_FALSE(RunningCopies(folder).showCopyHolding(letter));
    EXPECT_FALSE(QFile::exists(crashed));

    // A crashed copy that had this process id: its name is taken over.
    const QString ownName = QDir(folder).filePath(QString::number(QCoreApplication::applicationPid()));
    leaveDeadSocket(ownName);
    OtherCopy copy(folder, letter);
    ASSERT_TRUE(copy.listening());
    QLocalSocket socket;
    socket.connectToServer(ownName);
    EXPECT_TRUE(socket.waitForConnected(1000));
    EXPECT_TRUE(RunningCopies(folder).showCopyHolding(letter));
}

TEST(RunningCopiesTest, AStrangerOnTheSocketIsCutOffAndNothingIsShown)
{
    QTemporaryDir dir;
    const QString letter = dir.filePath("letter.rtf");
    testhelpers::writeFile(letter, "x");
    int shown = 0;
    RunningCopies copy(dir.path());
    ASSERT_TRUE(copy.listen([&] { return letter; }, [&] { ++shown; }));
    const QString name = QDir(dir.path()).filePath(QString::number(QCoreApplication::applicationPid()));

    QByteArray tooLong = copies::question(letter);
    tooLong[4] = char(0x7f);
    for (const QByteArray &sent : {QByteArray("GET / HTTP/1.0\r\n\r\n"), tooLong,
                                   copies::question(QStringLiteral("letter.rtf")), QByteArray("VLX")}) {
        QLocalSocket stranger;
        stranger.connectToServer(name);
        ASSERT_TRUE(stranger.waitForConnected(1000));
        QSignalSpy closed(&stranger, &QLocalSocket::disconnected);
        stranger.write(sent);
        // Cut off at once, or once it has said too little for too long.
        EXPECT_TRUE(closed.wait(RunningCopies::kAnswerTimeoutMs * 2)) << sent.toStdString();
        EXPECT_EQ(stranger.readAll(), QByteArray());
    }
    EXPECT_EQ(shown, 0);

    EXPECT_EQ(copies::readQuestion(copies::question(letter)).path, letter);
    EXPECT_EQ(copies::readQuestion(copies::question(letter).left(10)).state, State::Incomplete);
    EXPECT_EQ(copies::readQuestion(copies::question(QString::fromUtf8("/a\0b", 4))).state, State::Invalid);
}
