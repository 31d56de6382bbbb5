#pragma once

#include "spelling/Speller.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Reads the dictionaries on a thread of its own, so that the window is shown
// and takes keys meanwhile, and hands the speller to `ready` on the thread
// that started it.
class SpellerLoader : public QObject {
    Q_OBJECT
public:
    using Ready = std::function<void(std::unique_ptr<spelling::Speller>)>;
    SpellerLoader(QStringList dictionaryDirs, QString personalListPath, Ready ready, QObject *parent = nullptr);
    ~SpellerLoader() override; // waits for the reading to end

    // Blocks until the speller is handed over (tests).
    void waitUntilReady();

private:
    void handOver();

    Ready ready_;
    std::mutex mutex_;
    std::unique_ptr<spelling::Speller> loaded_;
    bool done_ = false;
    std::thread reader_;
};
