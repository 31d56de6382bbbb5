// libFuzzer target for the header of recovery copies. Any file found in the
// recovery folder must be read without a crash; a copy read must write and
// read back the same, and any name and content written must read back.
//
// Built with -DVELTRIX_FUZZ=ON (target recovery_copy_fuzz) and run by CTest on
// fuzz/corpus/recovery.

#include "app/RecoveryFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool same(const recovery::Copy &a, const recovery::Copy &b)
{
    return a.documentName == b.documentName && a.rtf == b.rtf && a.content == b.content;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<recovery::Copy> copy = recovery::decode(input)) {
        const std::optional<recovery::Copy> again = recovery::decode(recovery::encode(*copy));
        if (!again || !same(*again, *copy)) {
            std::fprintf(stderr, "a copy read changed by writing and reading back\n");
            std::abort();
        }
    }
    // The first line as the document's name, the rest as its content.
    const qsizetype end = input.indexOf('\n');
    const recovery::Copy made{QString::fromUtf8(input.left(end < 0 ? input.size() : end)), size % 2 == 0,
                              end < 0 ? QByteArray() : input.mid(end + 1)};
    const std::optional<recovery::Copy> back = recovery::decode(recovery::encode(made));
    if (!back || !same(*back, made)) {
        std::fprintf(stderr, "a copy written reads back otherwise\n");
        std::abort();
    }
    return 0;
}
