#pragma once

#include "app/Unit1.h"
#include "platform/fakes/FakePlatform.h"

#include <QTemporaryDir>

// A main window shown offscreen on the platform's test doubles, its settings
// file in a folder of its own, as the benchmarks drive it.
struct BenchWindow {
    BenchWindow() : form(platform, options())
    {
        form.resize(1000, 700);
        form.show();
    }

    TForm1::Options options()
    {
        TForm1::Options result;
        result.settingsPath = dir.filePath(QStringLiteral("Veltrix.ini"));
        return result;
    }

    QTemporaryDir dir;
    platform::FakePlatform platform;
    TForm1 form;
};
