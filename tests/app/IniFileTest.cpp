#include "app/IniFile.h"
#include "platform/VeltrixError.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

using testhelpers::readFile;
using testhelpers::writeFile;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString &name = QStringLiteral("Veltrix.ini")) const { return dir_.filePath(name); }
    QStringList entries() const
    {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir_;
};

// Lowers the largest file size this process may write, so that writing the
// settings file fails part-way the way a full disk makes it fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool active() const { return active_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool active_ = false;
};

TEST(IniFileParseInteger, ConvertsLikeTheClassicReader)
{
    struct Case {
        const char *text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"0x300", true, 768},
        {"0X1f", true, 31},
        {"0x7FFFFFFF", true, 2147483647},
        {"0xFFFFFFFF", true, -1},
        {"0x80000000", true, -2147483647 - 1},
        {"0x00000000A", true, 10},  // leading zeros do not overflow
        {"0x100000000", false, 0},  // more than 32 bits
        {"0x", false, 0},           // exactly two characters: not hex, not decimal
        {"0xg1", false, 0},
        {"0x-1", false, 0},
        {"0", true, 0},
        {"2", true, 2},
        {"-5", true, -5},
        {"+7", true, 7},
        {"007", true, 7},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"+", false, 0},
        {"yes", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {" 12", false, 0},
        {"1.5", false, 0},
        {"$1F", false, 0},
        {"\xd9\xa3", false, 0}, // ARABIC-INDIC DIGIT THREE is not a decimal digit here
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        bool ok = !c.ok;
        const int value = inifile::parseInteger(QString::fromUtf8(c.text), &ok);
        EXPECT_EQ(ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndCreatesNothing)
{
    const IniFile ini(path());
    EXPECT_EQ(ini.readString("FILE", "OpenFile", "none"), "none");
    EXPECT_EQ(ini.readInteger("FORM", "Width", 640), 640);
    EXPECT_TRUE(ini.readBool("LANGUAGE", "Lang", true));
    EXPECT_FALSE(ini.readBool("LANGUAGE", "Lang", false));
    EXPECT_TRUE(entries().isEmpty());

    // A folder in place of the file reads as missing too.
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Veltrix.ini"));
    EXPECT_EQ(ini.readInteger("FORM", "Width", 640), 640);
}

TEST_F(IniFileTest, ReadsValuesByCaseInsensitiveNames)
{
    writeFile(path(), "Width=1\r\n"           // before any section: belongs to none
                      "; Width=2\r\n"
                      "  [ form ]  \r\n"
                      "; Height=3\r\n"
                      "WIDTH = 0x300 \r\n"
                      "Width=5\r\n"           // a second key of the same name is ignored
                      "Height=-5\r\n"
                      "Left=\r\n"
                      "Top=12a\r\n"
                      "garbage line\r\n"
                      "\r\n"
                      "[LANGUAGE]\r\n"
                      "Lang=2\r\n"
                      "Off=0\r\n"
                      "Word=yes\r\n"
                      "Big=2147483648\r\n"
                      "Plus=+7\r\n"
                      "[Form]\r\n"             // a later section of the same name is ignored
                      "Left=99\r\n"
                      "[FILE]\r\n"
                      "OpenFile= /home/u/a b=c.rtf \r\n"
                      "[EMPTY]");
    const IniFile ini(path());

    EXPECT_EQ(ini.readInteger("Form", "width", -1), 768);
    EXPECT_EQ(ini.readInteger("FORM", "Height", -1), -5);
    EXPECT_EQ(ini.readInteger("FORM", "Left", -1), -1);
    EXPECT_EQ(ini.readString("FORM", "Left", "d"), "");
    EXPECT_EQ(ini.readInteger("FORM", "Top", -1), -1);
    EXPECT_EQ(ini.readString("FORM", "garbage line", "d"), "d");
    EXPECT_EQ(ini.readInteger("LANGUAGE", "Big", -1), -1);
    EXPECT_EQ(ini.readInteger("LANGUAGE", "Plus", -1), 7);
    EXPECT_EQ(ini.readString("FILE", "openfile", ""), "/home/u/a b=c.rtf");
    EXPECT_EQ(ini.readString("EMPTY", "x", "d"), "d");
    EXPECT_EQ(ini.readString("NONE", "Width", "d"), "d");

    struct BoolCase {
        const char *key;
        bool defaultValue;
        bool expected;
    };
    const BoolCase bools[] = {
        {"Lang", false, true},  // any non-zero value is true
        {"Off", true, false},
        {"Word", true, true},   // not a number: the default
        {"Word", false, false},
        {"Missing", true, true},
        {"Missing", false, false},
    };
    for (const BoolCase &c : bools) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.readBool("language", c.key, c.defaultValue), c.expected);
    }
}

TEST_F(IniFileTest, ReadsTheFirstLineDespiteAUtf8Signature)
{
    writeFile(path(), "\xEF\xBB\xBF[FORM]\nWidth=10\n");
    EXPECT_EQ(IniFile(path()).readInteger("FORM", "Width", -1), 10);
}

TEST_F(IniFileTest, LongValueIsCutOnReading)
{
    const QString longValue(IniFile::kMaxValueLength + 100, QLatin1Char('a'));
    const IniFile ini(path());
    ini.writeString("FILE", "OpenFile", longValue);
    EXPECT_EQ(ini.readString("FILE", "OpenFile", ""), longValue.left(IniFile::kMaxValueLength));
    // The file itself keeps the whole text.
    EXPECT_TRUE(readFile(path()).contains(longValue.toUtf8()));
}

TEST_F(IniFileTest, NewSectionsFollowTheOrderOfFirstWrites)
{
    const IniFile ini(path());
    ini.writeString("FILE", "OpenFile", "/tmp/a.rtf");
    ini.writeInteger("FORM", "Left", -8);
    ini.writeInteger("FORM", "Width", 1024);
    ini.writeBool("LANGUAGE", "Lang", false);
    ini.writeInteger("FORM", "Left", 10);
    ini.writeBool("LANGUAGE", "Lang", true);

    EXPECT_EQ(readFile(path()), QByteArray("[FILE]\n"
                                           "OpenFile=/tmp/a.rtf\n"
                                           "[FORM]\n"
                                           "Left=10\n"
                                           "Width=1024\n"
                                           "[LANGUAGE]\n"
                                           "Lang=1\n"));
    EXPECT_EQ(ini.readInteger("FORM", "Left", 0), 10);
    EXPECT_TRUE(ini.readBool("LANGUAGE", "Lang", false));
    EXPECT_EQ(entries(), QStringList{"Veltrix.ini"}); // no temporary left behind
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLineByteForByte)
{
    // Text in another encoding (Windows-1251 "Привет") must survive untouched.
    const QByteArray before = "; settings\n"
                              "[Other]\n"
                              "Name=\xcf\xf0\xe8\xe2\xe5\xf2\n"
                              "\n"
                              "[form]\n"
                              "Custom = keep me \n"
                              "  width =  100\n"
                              "; trailing comment\n"
                              "\n"
                              "\n"
                              "[Tail]\n"
                              "x=1";
    writeFile(path(), before);
    const IniFile ini(path());
    ini.writeInteger("FORM", "Width", 800);   // replaced in place, spacing before '=' kept
    ini.writeInteger("FORM", "Height", 600);  // added after the section's last non-empty line
    ini.writeString("Tail", "y", "2");        // file without a final line end
    ini.writeString("New", "k", "v");

    EXPECT_EQ(readFile(path()), QByteArray("; settings\n"
                                           "[Other]\n"
                                           "Name=\xcf\xf0\xe8\xe2\xe5\xf2\n"
                                           "\n"
                                           "[form]\n"
                                           "Custom = keep me \n"
                                           "  width =800\n"
                                           "; trailing comment\n"
                                           "Height=600\n"
                                           "\n"
                                           "\n"
                                           "[Tail]\n"
                                           "x=1\n"
                                           "y=2\n"
                                           "[New]\n"
                                           "k=v\n"));
}

TEST_F(IniFileTest, CrlfFileStaysCrlf)
{
    writeFile(path(), "[FORM]\r\nWidth=1\r\n");
    const IniFile ini(path());
    ini.writeInteger("FORM", "Width", 2);
    ini.writeInteger("FORM", "Height", 3);
    ini.writeBool("LANGUAGE", "Lang", true);
    EXPECT_EQ(readFile(path()), QByteArray("[FORM]\r\nWidth=2\r\nHeight=3\r\n[LANGUAGE]\r\nLang=1\r\n"));
}

TEST_F(IniFileTest, TextRoundTrips)
{
    const IniFile ini(path());
    const QString cyrillic = QStringLiteral("/home/пользователь/Документ №1.rtf");
    ini.writeString("FILE", "OpenFile", cyrillic);
    EXPECT_EQ(ini.readString("file", "OPENFILE", ""), cyrillic);
    EXPECT_TRUE(readFile(path()).contains(cyrillic.toUtf8()));

    // A line break in a value must not open a new line that reads as a section.
    ini.writeString("FILE", "OpenFile", "/tmp/a\n[FORM]\r\nWidth=5");
    EXPECT_EQ(ini.readString("FILE", "OpenFile", ""), "/tmp/a [FORM]  Width=5");
    EXPECT_EQ(ini.readInteger("FORM", "Width", -1), -1);
}

TEST_F(IniFileTest, WriteUnderAFileFailsAndChangesNothing)
{
    writeFile(path("blocker"), "not a folder");
    const QString target = path("blocker") + "/Veltrix.ini";
    const IniFile ini(target);
    try {
        ini.writeInteger("FORM", "Width", 1);
        FAIL() << "no error raised";
    } catch (const VeltrixError &e) {
        EXPECT_EQ(e.message(), "Unable to write to " + target);
    }
    EXPECT_EQ(readFile(path("blocker")), QByteArray("not a folder"));
    EXPECT_EQ(entries(), QStringList{"blocker"});
}

TEST_F(IniFileTest, WriteOntoAFolderFails)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Veltrix.ini"));
    EXPECT_THROW(IniFile(path()).writeBool("LANGUAGE", "Lang", true), VeltrixError);
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(entries(), QStringList{"Veltrix.ini"});
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileWhole)
{
    const QByteArray before = "[FORM]\nWidth=1\n";
    writeFile(path(), before);
    const IniFile ini(path());
    QString message = QStringLiteral("<no error raised>");
    {
        // Nothing is checked while the limit holds: it would cut the test's own output.
        FileSizeLimit limit(64);
        if (!limit.active())
            GTEST_SKIP() << "cannot lower the file size limit";
        try {
            ini.writeString("FILE", "OpenFile", QString(4096, QLatin1Char('x')));
        } catch (const VeltrixError &e) {
            message = e.message();
        }
    }
    EXPECT_EQ(message, "Unable to write to " + path());
    EXPECT_EQ(readFile(path()), before);
    EXPECT_EQ(entries(), QStringList{"Veltrix.ini"});
}

} // namespace
