#pragma once

#include <QString>

// Reader and writer of the classic initialization-file format ("[Section]" lines
// and "Key=Value" lines). Every operation opens the file by its full path, does
// its work and lets go of it again: nothing is cached between calls, so another
// writer's changes are seen at the next call.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString &path() const { return path_; }

    // Reads: a missing file, section or key, or a value that is not valid, gives
    // the default. Nothing is reported.
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    // Writes: raise VeltrixError("Unable to write to <path>") when the file
    // cannot be written. The old file stays intact until the new one is complete.
    void writeString(const QString &section, const QString &key, const QString &value) const;
    void writeInteger(const QString &section, const QString &key, int value) const;
    void writeBool(const QString &section, const QString &key, bool value) const;

    // Longest text a read returns, in characters.
    static constexpr int kMaxValueLength = 2047;

private:
    QString path_;
};

// Value conversions, exposed for their own tests.
namespace inifile {
// "0x"/"0X" followed by at least one character is hexadecimal, anything else
// decimal; ok is false for text that is not a valid 32-bit integer.
int parseInteger(const QString &text, bool *ok);
} // namespace inifile
