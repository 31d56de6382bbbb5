#include "app/SpellerLoader.h"

#include <QCoreApplication>

SpellerLoader::SpellerLoader(QStringList dictionaryDirs, QString personalListPath, Ready ready, QObject *parent)
    : QObject(parent), ready_(std::move(ready))
{
    reader_ = std::thread([this, dirs = std::move(dictionaryDirs), path = std::move(personalListPath)] {
        std::unique_ptr<spelling::Speller> speller = spelling::Speller::load(dirs, path);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            loaded_ = std::move(speller);
            done_ = true;
        }
        QMetaObject::invokeMethod(this, &SpellerLoader::handOver, Qt::QueuedConnection);
    });
}

SpellerLoader::~SpellerLoader()
{
    if (reader_.joinable())
        reader_.join();
}

void SpellerLoader::waitUntilReady()
{
    if (reader_.joinable())
        reader_.join();
    handOver();
}

void SpellerLoader::handOver()
{
    std::unique_ptr<spelling::Speller> speller;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!done_ || !ready_)
            return;
        speller = std::move(loaded_);
    }
    Ready ready = std::move(ready_);
    ready_ = nullptr;
    ready(std::move(speller));
}
