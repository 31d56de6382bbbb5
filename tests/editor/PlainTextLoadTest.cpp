#include "editor/PlainTextFiles.h"

#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// Bytes that change between the first reading and the next, as a file
// written to while it is read.
class ChangingPieces : public BytePieces {
public:
    ChangingPieces(QByteArray first, QByteArray then) : first_(std::move(first)), then_(std::move(then)) {}
    QByteArrayView next() override
    {
        const QByteArray &bytes = rewound_ ? then_ : first_;
        const QByteArrayView piece = QByteArrayView(bytes).sliced(at_);
        at_ = bytes.size();
        return piece;
    }
    void rewind() override
    {
        rewound_ = true;
        at_ = 0;
    }

private:
    QByteArray first_;
    QByteArray then_;
    bool rewound_ = false;
    qsizetype at_ = 0;
};

} // namespace

// Bytes read as UTF-8 are found not to be once text is in the document: the
// load says so rather than show a file with its end missing.
TEST(PlainTextLoadTest, AFileChangedWhileReadIsReportedNotCutShort)
{
    QTextDocument document;
    ChangingPieces pieces("plain ascii text", "plain \xC0\xC1 text");
    PlainTextLoad load(pieces, document);
    EXPECT_TRUE(load.stepCharacters(1000));
    EXPECT_TRUE(load.changedWhileRead());

    QTextDocument same;
    ChangingPieces unchanged("plain ascii text", "plain ascii text");
    PlainTextLoad whole(unchanged, same);
    EXPECT_TRUE(whole.stepCharacters(1000));
    EXPECT_FALSE(whole.changedWhileRead());
    EXPECT_EQ(same.toPlainText(), "plain ascii text");
    EXPECT_TRUE(same.isUndoRedoEnabled()); // undo back on once all is in
}
