#pragma once

#include "editor/RichEditStrings.h"
#include "editor/TRxRichEdit.h"
#include "platform/fakes/FakePlatform.h"
#include "support/TestHelpers.h"

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
        testhelpers::writeFile(path, content);
        return path;
    }

    QByteArray readFile(const QString &path) { return testhelpers::readFile(path); }

    platform::FakePlatform platform;
    QTemporaryDir dir;
    std::unique_ptr<TRxRichEdit> editor;
};
