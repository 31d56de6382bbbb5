#pragma once

#include "app/RunningCopies.h"

#include <QThread>
#include <atomic>
#include <memory>

// Another running copy, holding `file`, answering from a thread of its own
// while this one waits for its answer as a copy does.
class OtherCopy {
public:
    OtherCopy(const QString &folder, const QString &file)
    {
        thread_.start();
        context_.moveToThread(&thread_);
        QMetaObject::invokeMethod(
            &context_,
            [this, folder, file] {
                copy_ = std::make_unique<RunningCopies>(folder);
                listening_ = copy_->listen([file] { return file; }, [this] { ++shown; });
            },
            Qt::BlockingQueuedConnection);
    }
    ~OtherCopy()
    {
        QMetaObject::invokeMethod(&context_, [this] { copy_.reset(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    bool listening() const { return listening_; }
    std::atomic<int> shown{0};

private:
    QThread thread_;
    QObject context_;
    std::unique_ptr<RunningCopies> copy_;
    bool listening_ = false;
};
