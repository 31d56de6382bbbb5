#pragma once

#include <QString>
#include <memory>

class QImage;
class QTemporaryDir;

// Copies of objects handed to another program to open. They live in a folder
// of this run's own that only the user can enter, each a new file only the
// user can read; the folder goes when this object does.
class ObjectCopies {
public:
    ObjectCopies();
    ~ObjectCopies();
    ObjectCopies(const ObjectCopies &) = delete;
    ObjectCopies &operator=(const ObjectCopies &) = delete;

    // The picture written as a new PNG file; its path, or empty when it
    // could not be written.
    QString write(const QImage &image);

private:
    bool makeFolder();

    std::unique_ptr<QTemporaryDir> folder_;
    int written_ = 0;
};
