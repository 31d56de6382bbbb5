#include "platform/FileStamps.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <cstring>
#include <sys/stat.h>

namespace filestamps {

namespace {

constexpr quint64 kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 kPrime3 = 0x165667B19E3779F9ULL;
constexpr qint64 kReadPieceBytes = 1024 * 1024;

quint64 rotated(quint64 value, int bits) { return (value << bits) | (value >> (64 - bits)); }

quint64 wordAt(const unsigned char *bytes)
{
    quint64 word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

quint64 avalanche(quint64 value)
{
    value ^= value >> 33;
    value *= kPrime2;
    value ^= value >> 29;
    value *= kPrime3;
    value ^= value >> 32;
    return value;
}

std::optional<FileStamp> stampOf(const struct stat &info)
{
    FileStamp stamp;
    stamp.size = info.st_size;
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

} // namespace

void ByteHash::reset()
{
    for (int lane = 0; lane < kLanes; ++lane)
        lanes_[lane] = kPrime1 * quint64(lane + 1);
    pendingBytes_ = 0;
    total_ = 0;
}

// Four lanes of independent multiplications keep the processor busy on
// each; one chain would wait for every multiplication in turn.
void ByteHash::mixBlock(const unsigned char *block)
{
    for (int lane = 0; lane < kLanes; ++lane)
        lanes_[lane] = rotated(lanes_[lane] + wordAt(block + 8 * lane) * kPrime2, 31) * kPrime1;
}

void ByteHash::add(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype left = bytes.size();
    total_ += quint64(left);
    if (pendingBytes_ > 0) {
        const qsizetype taken = std::min<qsizetype>(left, kBlockBytes - pendingBytes_);
        std::memcpy(pending_ + pendingBytes_, data, size_t(taken));
        pendingBytes_ += int(taken);
        data += taken;
        left -= taken;
        if (pendingBytes_ < kBlockBytes)
            return;
        mixBlock(pending_);
        pendingBytes_ = 0;
    }
    for (; left >= kBlockBytes; data += kBlockBytes, left -= kBlockBytes)
        mixBlock(data);
    std::memcpy(pending_, data, size_t(left));
    pendingBytes_ = int(left);
}

quint64 ByteHash::value() const
{
    quint64 value = total_ * kPrime3;
    for (int lane = 0; lane < kLanes; ++lane)
        value = rotated(value ^ avalanche(lanes_[lane]), 27) * kPrime1;
    for (int at = 0; at < pendingBytes_; ++at)
        value = rotated(value ^ (pending_[at] * kPrime3), 11) * kPrime1;
    return avalanche(value);
}

std::optional<FileStamp> statOf(int handle)
{
    struct stat info {};
    if (handle < 0 || ::fstat(handle, &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

std::optional<FileStamp> statOf(const QString &path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

std::optional<quint64> hashOfFile(const QString &path)
{
    // Only a file's bytes: a pipe would keep the reader waiting.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ByteHash hash;
    QByteArray piece(kReadPieceBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(piece.data(), kReadPieceBytes);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return hash.value();
        hash.add(QByteArrayView(piece.constData(), got));
    }
}

} // namespace filestamps
