#pragma once

#include "FormComponents.h"
#include "app/CommandRunner.h"
#include "platform/fakes/FakePlatform.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A main window on the test doubles, with its settings file in a fresh folder.
class MainWindowTest : public ::testing::Test {
protected:
    QString settingsPath() const { return dir.filePath(QStringLiteral("Veltrix.ini")); }

    void writeSettings(const QByteArray &content) { testhelpers::writeFile(settingsPath(), content); }
    QByteArray settingsContent() const { return testhelpers::readFile(settingsPath()); }

    TForm1 &createForm(int argumentCount = 0)
    {
        TForm1::Options options;
        options.settingsPath = settingsPath();
        options.argumentCount = argumentCount;
        options.dictionaryDirs = dictionaryDirs;
        options.personalWordsPath = dir.filePath(QStringLiteral("words.dic"));
        options.windowPositionsKnown = windowPositionsKnown;
        form = std::make_unique<TForm1>(platform, options);
        QObject::connect(form->findChild<CommandRunner *>(QStringLiteral("Commands")), &CommandRunner::handlerStarted,
                         [this](const QString &name) { handlers.append(name); });
        return *form;
    }

    // A settings path whose "folder" is a file: nothing can be written there,
    // not even by root.
    TForm1 &createFormWithUnwritableSettings()
    {
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TForm1::Options options;
        options.settingsPath = unwritableSettingsPath();
        form = std::make_unique<TForm1>(platform, options);
        return *form;
    }
    QString unwritableSettingsPath() const { return dir.filePath(QStringLiteral("blocker/Veltrix.ini")); }

    QTemporaryDir dir;
    bool windowPositionsKnown = true;
    platform::FakePlatform platform;
    std::unique_ptr<TForm1> form;
    QStringList handlers; // names of the handlers that ran, in order
    QStringList dictionaryDirs; // none: no spelling
};
