#include "app/RunningCopies.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTimer>
#include <QtEndian>
#include <memory>
#include <unistd.h>
#include <vector>

namespace copies {

namespace {

const QByteArray kMagic = QByteArrayLiteral("VLXQ");
constexpr qsizetype kHeaderBytes = 8; // the magic and the length
const char kYes = 'Y';
const char kNo = 'N';

} // namespace

QString defaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QString folder = QDir(runtime).filePath(QStringLiteral("veltrix"));
    if (!QDir().mkpath(folder))
        return {};
    // Only the user's own copies may ask or answer.
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::geteuid())
        return {};
    if (!QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        return {};
    return folder;
}

QByteArray question(const QString &canonicalPath)
{
    const QByteArray path = canonicalPath.toUtf8();
    QByteArray bytes = kMagic;
    bytes.resize(kHeaderBytes);
    qToBigEndian(quint32(path.size()), bytes.data() + kMagic.size());
    return bytes + path;
}

ReadQuestion readQuestion(const QByteArray &received)
{
    using State = ReadQuestion::State;
    if (!kMagic.startsWith(received.left(kMagic.size())))
        return {State::Invalid, {}};
    if (received.size() < kHeaderBytes)
        return {State::Incomplete, {}};
    const quint32 length = qFromBigEndian<quint32>(received.constData() + kMagic.size());
    if (length == 0 || length > quint32(kMaxPathBytes))
        return {State::Invalid, {}};
    if (received.size() < kHeaderBytes + qsizetype(length))
        return {State::Incomplete, {}};
    if (received.size() > kHeaderBytes + qsizetype(length))
        return {State::Invalid, {}};
    const QByteArray bytes = received.mid(kHeaderBytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = decoder(bytes);
    if (decoder.hasError() || bytes.contains('\0') || !path.startsWith(QLatin1Char('/')))
        return {State::Invalid, {}};
    return {State::Complete, path};
}

} // namespace copies

namespace {

// No copy waits on more strangers than this at once.
constexpr int kMaxConnections = 16;
// Sockets of the folder asked at most, of copies long gone or not.
constexpr int kMaxCopiesAsked = 64;
// Other names tried when this process id's socket is held by a live process
// (another process namespace sharing the folder).
constexpr int kMaxNameTries = 8;

const QRegularExpression kCopyName(QStringLiteral("^[0-9]{1,10}(-[0-9])?$"));

} // namespace

RunningCopies::RunningCopies(QString folder, QObject *parent) : QObject(parent), folder_(std::move(folder)) {}

RunningCopies::~RunningCopies()
{
    if (server_)
        server_->close(); // removes the socket file
}

bool RunningCopies::listen(std::function<QString()> currentFile, std::function<void()> showWindow)
{
    if (folder_.isEmpty())
        return false;
    currentFile_ = std::move(currentFile);
    showWindow_ = std::move(showWindow);
    server_ = new QLocalServer(this);
    server_->setMaxPendingConnections(kMaxConnections);
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (int attempt = 0; attempt < kMaxNameTries; ++attempt) {
        const QString name = QDir(folder_).filePath(attempt == 0 ? pid : pid + QLatin1Char('-') + QString::number(attempt));
        if (server_->listen(name))
            break;
        if (server_->serverError() != QAbstractSocket::AddressInUseError)
            return false;
        // Left by a process that had this id and ended without closing.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (!probe.waitForConnected(0) && probe.error() == QLocalSocket::ConnectionRefusedError) {
            QLocalServer::removeServer(name);
            if (server_->listen(name))
                break;
        }
    }
    if (!server_->isListening())
        return false;
    connect(server_, &QLocalServer::newConnection, this, &RunningCopies::takeConnections);
    return true;
}

void RunningCopies::takeConnections()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        if (connections_ >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++connections_;
        connect(socket, &QObject::destroyed, this, [this] { --connections_; });
        // A question is never longer than this: the rest stays unread.
        socket->setReadBufferSize(copies::kMaxPathBytes + 16);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kAnswerTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            answer(socket);
    }
}

void RunningCopies::answer(QLocalSocket *socket)
{
    const copies::ReadQuestion asked = copies::readQuestion(socket->peek(socket->bytesAvailable()));
    if (asked.state == copies::ReadQuestion::State::Incomplete)
        return;
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    if (asked.state == copies::ReadQuestion::State::Invalid) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->readAll();
    const QString current = currentFile_ ? currentFile_() : QString();
    const bool holds = !current.isEmpty() && QFileInfo(current).canonicalFilePath() == asked.path;
    socket->write(holds ? &copies::kYes : &copies::kNo, 1);
    socket->disconnectFromServer(); // once the answer is out
    if (holds && showWindow_)
        QTimer::singleShot(0, this, [this] { showWindow_(); });
}

QStringList RunningCopies::otherCopies() const
{
    const QString own = server_ ? server_->fullServerName() : QString();
    QStringList names;
    const QDir folder(folder_);
    for (const QString &name : folder.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Time)) {
        const QString path = folder.filePath(name);
        if (kCopyName.match(name).hasMatch() && path != own)
            names.append(path);
        if (names.size() == kMaxCopiesAsked)
            break;
    }
    return names;
}

bool RunningCopies::showCopyHolding(const QString &path) const
{
    if (folder_.isEmpty())
        return false;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || canonical.toUtf8().size() > copies::kMaxPathBytes)
        return false;
    const QByteArray question = copies::question(canonical);
    // Every copy is asked first and then heard, so that they answer together
    // and a copy that does not answer costs the deadline once.
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    std::vector<std::unique_ptr<QLocalSocket>> asked;
    for (const QString &name : otherCopies()) {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(name);
        if (!socket->waitForConnected(int(deadline.remainingTime()))) {
            if (socket->error() == QLocalSocket::ConnectionRefusedError)
                QLocalServer::removeServer(name); // nobody listens: a copy that crashed
            continue;
        }
        socket->write(question);
        socket->flush();
        asked.push_back(std::move(socket));
    }
    for (const auto &socket : asked) {
        while (socket->bytesAvailable() == 0 && socket->state() == QLocalSocket::ConnectedState &&
               socket->waitForReadyRead(int(deadline.remainingTime()))) {
        }
        if (socket->read(1) == QByteArray(1, copies::kYes))
            return true;
    }
    return false;
}

QStringList RunningCopies::keepUnheld(const QStringList &paths) const
{
    QStringList kept;
    QStringList seen;
    for (const QString &path : paths) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (seen.contains(canonical))
            continue;
        seen.append(canonical);
        if (!showCopyHolding(path))
            kept.append(path);
    }
    return kept;
}
