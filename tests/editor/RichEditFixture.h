#pragma once

#include "editor/RichEditStrings.h"
#include "editor/TRxRichEdit.h"
#include "platform/FakePlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// An editor shown offscreen (its lines need a laid-out widget) on the test
// doubles of the platform.
class RichEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = std::make_unique<TRxRichEdit>();
        editor->setPlatform(&platform);
        editor->resize(400, 300);
        editor->show();
    }

    void select(int start, int length)
    {
        editor->setSelectionStart(start);
        editor->setSelectionLength(length);
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    platform::FakePlatform platform;
    QTemporaryDir dir;
    std::unique_ptr<TRxRichEdit> editor;
};
