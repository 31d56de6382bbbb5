#pragma once

#include "app/IniFile.h"

#include <QRect>
#include <QString>

// The program's settings file, section by section. Every section and key is
// named here and nowhere else; each call opens the file, does its work and
// lets go of it again. Writes raise VeltrixError when the file cannot be written.
class Settings {
public:
    explicit Settings(QString path) : file_(std::move(path)) {}

    // [FORM]: the window's position and size; each value missing or not a
    // number keeps the matching value of `current`.
    QRect windowPlacement(const QRect &current) const;
    void writeWindowPlacement(const QRect &placement) const;
    // Width and height only: the position in the file is kept.
    void writeWindowSize(const QRect &placement) const;

    // [LANGUAGE]: true for the English interface, the default.
    bool english() const;
    void writeEnglish(bool english) const;

    // [SPELLING]: checking spelling as you type; `fallback` without the key.
    bool spellCheck(bool fallback) const;
    void writeSpellCheck(bool on) const;

    // [FILE]: the file last opened.
    void writeOpenedFile(const QString &path) const;

private:
    IniFile file_;
};
