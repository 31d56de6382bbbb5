// libFuzzer target for the settings file. Any file must read without a crash;
// the window it places must fit the screen; a value written must read back,
// and no other value may change by it.
//
// Built with -DVELTRIX_FUZZ=ON (target settings_fuzz) and run by CTest on
// fuzz/corpus/settings.

#include "FuzzInputFile.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/WindowPlacement.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

struct Values {
    QString openFile, other;
    int width = 0, left = 0;
    bool english = false;
    bool operator==(const Values &o) const
    {
        return openFile == o.openFile && other == o.other && width == o.width && left == o.left &&
               english == o.english;
    }
};

Values valuesOf(const IniFile &file)
{
    return {file.readString("FILE", "OpenFile", "-"), file.readString("Other", "Key", "-"),
            file.readInteger("FORM", "Width", -1), file.readInteger("FORM", "Left", -1),
            file.readBool("LANGUAGE", "Lang", true)};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzinput::asFile(QStringLiteral("Veltrix.ini"), data, size);
    const IniFile ini(path);
    const Values before = valuesOf(ini);
    check(before.openFile.size() <= IniFile::kMaxValueLength, "a text longer than a read returns");

    const QRect screen(0, 0, 1920, 1080);
    const QRect fallback(0, 0, 800, 600);
    const QRect placed = placement::fitted(Settings(path).windowPlacement(fallback), fallback, {screen});
    check(screen.contains(placed), "the window placed off the screen");

    ini.writeInteger("FORM", "Height", 1234);
    check(ini.readInteger("FORM", "Height", -1) == 1234, "a written number reads back otherwise");
    check(valuesOf(ini) == before, "writing one value changed another");
    ini.writeString("FILE", "OpenFile", QStringLiteral("/home/u/новый\nфайл.rtf"));
    check(ini.readString("FILE", "OpenFile", "-") == QStringLiteral("/home/u/новый файл.rtf"),
          "a written text reads back otherwise");
    return 0;
}
