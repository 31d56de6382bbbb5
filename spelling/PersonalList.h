#pragma once

#include <QSet>
#include <QString>

// The user's own words: a UTF-8 file, one word a line, shared by every copy of
// the program. Whatever else the file holds is kept as it is when a word is
// added; only lines that can be words are taken as words.
namespace spelling {

class PersonalList {
public:
    explicit PersonalList(QString path);

    const QString &path() const { return path_; }
    bool contains(const QString &word) const { return words_.contains(word); }
    int size() const { return int(words_.size()); }

    // Reads the file again when its size or time changed since the last read;
    // true when the words changed.
    bool refresh();
    // Appends the word to the file (and its folder, made when missing).
    // Throws VeltrixError with the path and the reason when it cannot be written.
    void add(const QString &word);

    static bool isWord(const QString &line);

private:
    // The file's identity, size and time: a save by another copy replaces the
    // file (a new inode), so even a same-size change in the same tick is seen.
    struct Stamp {
        bool exists = false;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        bool operator==(const Stamp &o) const
        {
            return exists == o.exists && inode == o.inode && size == o.size && modifiedNs == o.modifiedNs;
        }
    };
    Stamp stamp() const;
    void read();

    QString path_;
    QSet<QString> words_;
    Stamp readStamp_;
};

} // namespace spelling
