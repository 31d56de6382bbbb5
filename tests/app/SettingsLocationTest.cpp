#include "app/Settings.h"
#include "app/SettingsLocation.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

// Sets (or, with no value, removes) an environment variable for one test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const std::optional<QString> &value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            saved_ = qEnvironmentVariable(name);
        if (value)
            qputenv(name, value->toLocal8Bit());
        else
            qunsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (saved_)
            qputenv(name_, saved_->toLocal8Bit());
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *name_;
    std::optional<QString> saved_;
};

bool never(const QString &) { return false; }

// No one, not even root, can create a file here.
const QString kUncreatableFolder = QStringLiteral("/proc");

} // namespace

TEST(SettingsLocationTest, WritableProgramFolderKeepsTheFileBesideTheProgram)
{
    QTemporaryDir program;
    QTemporaryDir config;
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", config.path());
    EXPECT_EQ(settingsFilePath(program.path()), QDir(program.path()).filePath("Veltrix.ini"));
    // The check leaves nothing behind, and the user's folder is not touched.
    EXPECT_TRUE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(config.filePath("Veltrix")));
}

TEST(SettingsLocationTest, UnwritableProgramFolderKeepsTheSettingsInTheUserConfigFolder)
{
    QTemporaryDir config;
    const QString configHome = config.filePath("nested/config"); // does not exist yet
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", configHome);
    const QString expected = configHome + "/Veltrix/Veltrix.ini";

    // A folder no file can be created in, as root too (permission bits say it is writable).
    EXPECT_EQ(settingsFilePath(kUncreatableFolder), expected);
    EXPECT_TRUE(QFileInfo(configHome + "/Veltrix").isDir());
    // The settings are written there and read back in the next run.
    Settings(settingsFilePath(kUncreatableFolder)).writeEnglish(false);
    EXPECT_FALSE(Settings(settingsFilePath(kUncreatableFolder)).english());

    // Any folder the check refuses, such as a system folder for a normal user.
    QTemporaryDir program;
    EXPECT_EQ(settingsFilePath(program.path(), never), expected);
    EXPECT_FALSE(QFileInfo::exists(program.filePath("Veltrix.ini")));
}

TEST(SettingsLocationTest, WithoutAnAbsoluteXdgConfigHomeTheFolderIsDotConfigInHome)
{
    QTemporaryDir home;
    const ScopedEnvironment homeVariable("HOME", home.path());
    const QString expected = home.path() + "/.config/Veltrix/Veltrix.ini";
    for (const std::optional<QString> &value : {std::optional<QString>(), std::optional<QString>(""),
                                                std::optional<QString>("relative/config")}) {
        const ScopedEnvironment xdg("XDG_CONFIG_HOME", value);
        EXPECT_EQ(settingsFilePath(home.path(), never), expected) << value.value_or("(unset)").toStdString();
    }
    EXPECT_TRUE(QFileInfo(home.path() + "/.config/Veltrix").isDir());
}

TEST(SettingsLocationTest, AFileCanBeCreatedOnlyInAnExistingWritableFolder)
{
    QTemporaryDir dir;
    EXPECT_TRUE(canCreateFileIn(dir.path()));
    EXPECT_FALSE(canCreateFileIn(dir.filePath("missing")));
    ASSERT_TRUE(testhelpers::writeFile(dir.filePath("file"), "x"));
    EXPECT_FALSE(canCreateFileIn(dir.filePath("file")));
    EXPECT_FALSE(canCreateFileIn(kUncreatableFolder));
}
