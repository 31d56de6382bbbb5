#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>
#include <string>

class Hunspell;

namespace spelling {

// One Hunspell dictionary (an .aff and its .dic), spoken to in the encoding its
// .aff declares. Not thread-safe: Hunspell keeps state between calls.
class Dictionary {
public:
    // Nothing when the files cannot be read or their encoding is one we
    // cannot convert to.
    static std::unique_ptr<Dictionary> open(const QString &affPath, const QString &dicPath);
    ~Dictionary();

    // A word the dictionary's encoding cannot hold is not in it: false.
    bool spell(QStringView word) const;
    QStringList suggest(QStringView word) const;
    QString encodingName() const { return encodingName_; }

private:
    enum class Encoding { Utf8, Koi8r, Windows1251, Latin1, Iso8859_5 };
    Dictionary(std::unique_ptr<Hunspell> hunspell, Encoding encoding, QString encodingName);
    static std::optional<Encoding> encodingNamed(const std::string &name);
    std::optional<std::string> encode(QStringView word) const;
    QString decode(const std::string &bytes) const;

    std::unique_ptr<Hunspell> hunspell_;
    Encoding encoding_;
    QString encodingName_;
};

} // namespace spelling
