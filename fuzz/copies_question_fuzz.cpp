// What another copy of the program, or anyone of the user's, sends on a
// copy's socket: the bytes read so far are a question only when they are one
// whole, of an absolute path, exactly as a copy writes it.
//
//   cmake -S . -B build-fuzz -DVELTRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
//   cmake --build build-fuzz --target copies_question_fuzz && build-fuzz/fuzz/copies_question_fuzz fuzz/corpus/copies

#include "app/RunningCopies.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const copies::ReadQuestion read = copies::readQuestion(input);
    if (read.state == copies::ReadQuestion::State::Complete &&
        (copies::question(read.path) != input || !read.path.startsWith(QLatin1Char('/')) ||
         read.path.toUtf8().size() > copies::kMaxPathBytes)) {
        std::fprintf(stderr, "copies_question_fuzz: a question read is not the one written\n");
        std::abort();
    }
    return 0;
}
