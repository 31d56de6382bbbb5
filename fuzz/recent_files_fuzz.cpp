// The desktop's recent-files list, which any program of the user's may have
// written: whatever it holds, merging an entry in never crashes; a list it
// takes is written back as one it takes again, and merging the same file
// again adds no second entry.
//
//   cmake -S . -B build-fuzz -DVELTRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
//   cmake --build build-fuzz --target recent_files_fuzz && build-fuzz/fuzz/recent_files_fuzz fuzz/corpus/xbel

#include "app/RecentFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what, const QByteArray &list)
{
    if (!ok) {
        std::fprintf(stderr, "recent_files_fuzz: %s\n%s\n", what, list.constData());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDateTime time(QDate(2026, 12, 9), QTime(6, 0), Qt::UTC);
    const recentfiles::Use use{QString::fromUtf8("/home/u/Письмо #1 %.rtf"), QStringLiteral("application/rtf"), time};
    const std::optional<QByteArray> once = recentfiles::merged(input, use);
    if (!once)
        return 0;
    check(once->contains("<bookmark "), "no bookmark written", *once);
    const std::optional<QByteArray> twice = recentfiles::merged(*once, use);
    check(twice.has_value(), "a list written cannot be read again", *once);
    check(twice->count("<bookmark ") == once->count("<bookmark "), "the same file became a second entry", *twice);
    return 0;
}
