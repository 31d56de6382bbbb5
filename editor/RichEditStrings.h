#pragma once

#include <QString>
#include <QStringList>

class TRxRichEdit;

// The editor's lines as a list. A line is a line the control shows: with word
// wrap on, a long paragraph is several lines. Additions are not undoable and
// select nothing.
class TRichEditStrings {
public:
    explicit TRichEditStrings(TRxRichEdit &editor) : editor_(editor) {}

    int Count() const; // a last empty line is left out
    QString Get(int index) const;
    void Add(const QString &text) { Insert(Count(), text); }
    void Insert(int index, const QString &text);
    void Delete(int index);
    void Put(int index, const QString &text);
    void AddLines(const QStringList &lines);
    void Clear();
    void LoadFile(const QString &path);
    void SaveFile(const QString &path);

private:
    TRxRichEdit &editor_;
};
