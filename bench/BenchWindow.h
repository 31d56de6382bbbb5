#pragma once

#include "app/Unit1.h"
#include "editor/TRxRichEdit.h"
#include "platform/fakes/FakePlatform.h"
#include "spelling/Speller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>

// A main window shown offscreen on the platform's test doubles, its settings
// file in a folder of its own, as the benchmarks drive it; with `spelling`,
// the system's dictionaries read and spelling checked as you type.
struct BenchWindow {
    explicit BenchWindow(bool spelling = false) : form(platform, options(spelling))
    {
        form.waitForSpeller();
        form.resize(1000, 700);
        form.show();
    }

    TForm1::Options options(bool spelling)
    {
        TForm1::Options result;
        result.settingsPath = dir.filePath(QStringLiteral("Veltrix.ini"));
        if (spelling) {
            result.dictionaryDirs = spelling::Speller::systemDictionaryDirs();
            result.personalWordsPath = dir.filePath(QStringLiteral("words.txt"));
        }
        return result;
    }

    QTemporaryDir dir;
    platform::FakePlatform platform;
    TForm1 form;
};

// Milliseconds per letter typed at the start or the end of the editor's text,
// each keystroke followed by the paint of what it changed.
inline double millisecondsPerTypedKeyAt(TRxRichEdit &editor, int position, int keys)
{
    QTextCursor caret(editor.document());
    caret.setPosition(position);
    editor.setTextCursor(caret);
    editor.ensureCursorVisible();
    QApplication::processEvents();
    editor.viewport()->repaint();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < keys; ++i) {
        const bool space = qEnvironmentVariableIsSet("OPEN_BENCH_WORDS") && i % 6 == 5;
        const Qt::Key key = space ? Qt::Key_Space : Qt::Key_A;
        const QString text = space ? QStringLiteral(" ") : QStringLiteral("a");
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&editor, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(&editor, &release);
        // What the key changed is painted, as the event loop would paint it next.
        QCoreApplication::sendPostedEvents(editor.window(), QEvent::UpdateRequest);
    }
    return timer.nsecsElapsed() / 1e6 / keys;
}

inline double millisecondsPerTypedKey(TRxRichEdit &editor, bool atEnd, int keys)
{
    return millisecondsPerTypedKeyAt(editor, atEnd ? editor.document()->characterCount() - 1 : 0, keys);
}
