#pragma once

#include <QString>
#include <stdexcept>

// An error meant for the user: its message is the text the default error
// display shows. Raised by commands; caught once, at the event loop boundary.
class VeltrixError : public std::runtime_error {
public:
    explicit VeltrixError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    const QString &message() const { return message_; }

private:
    QString message_;
};
