#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>

// What a file held when this program last read or wrote it, to tell later
// whether someone else has written it since.
namespace filestamps {

// A fast 64-bit hash of bytes given in pieces of any size: the same bytes
// give the same value however they were cut. Not cryptographic.
class ByteHash {
public:
    ByteHash() { reset(); }
    void add(QByteArrayView bytes);
    void reset();
    quint64 value() const;
    quint64 bytes() const { return total_; }

private:
    void mixBlock(const unsigned char *block);

    static constexpr int kLanes = 4;
    static constexpr int kBlockBytes = kLanes * 8;
    quint64 lanes_[kLanes];
    unsigned char pending_[kBlockBytes];
    int pendingBytes_ = 0;
    quint64 total_ = 0;
};

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0; // the file's modification time, nanoseconds since 1970
    quint64 hash = 0;
    bool hashKnown = false; // the hash of a file still being read comes when it is in
};

// The size and modification time of an open file, or of the file at `path`;
// nothing when it cannot be told (no such file).
std::optional<FileStamp> statOf(int handle);
std::optional<FileStamp> statOf(const QString &path);

// The hash of the bytes of the file at `path`, read once through; nothing
// when it cannot be read.
std::optional<quint64> hashOfFile(const QString &path);

} // namespace filestamps
