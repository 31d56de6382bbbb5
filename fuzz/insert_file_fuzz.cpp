// libFuzzer target for Insert File's decoding. Any file must decode without a
// crash, and reading it from disk a piece at a time must give what decoding
// its bytes at once gives.
//
// Built with -DVELTRIX_FUZZ=ON (target insert_file_fuzz) and run by CTest on
// fuzz/corpus/inserts.

#include "FuzzInputFile.h"
#include "tools/Inserts.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr qsizetype kMaxCharacters = 16777215;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = inserts::textUpToFirstZero(bytes);
    if (text.contains(QChar(0))) {
        std::fprintf(stderr, "a zero byte came through\n");
        std::abort();
    }
    const QString path = fuzzinput::asFile(QStringLiteral("inserted"), data, size);
    const std::optional<QString> read = inserts::readFileText(path, kMaxCharacters);
    if (!read || *read != text) {
        std::fprintf(stderr, "the file read from disk decodes otherwise than its bytes\n");
        std::abort();
    }
    return 0;
}
