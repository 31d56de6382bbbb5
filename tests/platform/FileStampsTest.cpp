#include "platform/FileStamps.h"

#include <gtest/gtest.h>

// What was read in pieces of one size and written in pieces of another
// must hash alike, or every save after an open would ask.
TEST(FileStampsTest, BytesHashAlikeHoweverTheyAreCut)
{
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes += char(i * 7);
    filestamps::ByteHash whole;
    whole.add(bytes);
    for (int piece = 1; piece < 70; ++piece) {
        filestamps::ByteHash cut;
        for (qsizetype at = 0; at < bytes.size(); at += piece)
            cut.add(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(piece, bytes.size() - at)));
        EXPECT_EQ(cut.value(), whole.value()) << piece;
    }

    for (const qsizetype at : {qsizetype(0), qsizetype(150), bytes.size() - 1}) {
        QByteArray changed = bytes;
        changed[at] = char(changed[at] ^ 1);
        filestamps::ByteHash other;
        other.add(changed);
        EXPECT_NE(other.value(), whole.value()) << at;
    }
    filestamps::ByteHash longer;
    longer.add(bytes + '\0');
    EXPECT_NE(longer.value(), whole.value());
}
