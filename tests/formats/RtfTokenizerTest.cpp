// The RTF tokenizer on input cut short or out of range, where a document
// read would hide what the tokens were.

#include "formats/RtfTokenizer.h"

#include "RtfTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using rtf::detail::Token;
using rtf::detail::TokenType;

namespace {

// The tokens of the data, each written as the kind and what it carries.
std::vector<std::string> tokens(const QByteArray &data)
{
    const auto *begin = reinterpret_cast<const uchar *>(data.constData());
    rtf::detail::Tokenizer tokenizer(begin, begin + data.size());
    std::vector<std::string> result;
    for (Token t = tokenizer.next(); t.type != TokenType::End; t = tokenizer.next()) {
        const std::string bytes = t.bytes().toByteArray().toStdString();
        switch (t.type) {
        case TokenType::GroupOpen: result.push_back("{"); break;
        case TokenType::GroupClose: result.push_back("}"); break;
        case TokenType::ControlWord:
            result.push_back("word " + bytes + (t.hasParam ? " " + std::to_string(t.param) : ""));
            break;
        case TokenType::ControlSymbol: result.push_back(std::string("symbol ") + char(t.byte)); break;
        case TokenType::HexByte: result.push_back("hex " + std::to_string(t.byte)); break;
        case TokenType::Text: result.push_back("text " + bytes); break;
        case TokenType::Binary:
            result.push_back("binary " + std::to_string(t.param) + " [" + bytes + "]");
            break;
        case TokenType::End: break;
        }
    }
    return result;
}

using Tokens = std::vector<std::string>;

TEST(RtfTokenizerTest, TokensCutOffByTheEndOfTheData)
{
    EXPECT_EQ(tokens("a\\par"), (Tokens{"text a", "word par"}));
    EXPECT_EQ(tokens("\\fs12"), (Tokens{"word fs 12"}));
    EXPECT_EQ(tokens("\\fs-"), (Tokens{"word fs", "text -"})) << "a minus sign without digits is text";
    EXPECT_EQ(tokens("\\'4"), (Tokens{"hex 4"}));
    EXPECT_EQ(tokens("\\'"), (Tokens{"symbol '"}));
    EXPECT_EQ(tokens("\\'zz"), (Tokens{"symbol '", "text zz"}));
    EXPECT_EQ(tokens("x\\"), (Tokens{"text x"})) << "a lone backslash at the end is nothing";
    EXPECT_EQ(tokens("a\r\nb\\\r\n"), (Tokens{"text a", "text b", "symbol \r"}));
}

TEST(RtfTokenizerTest, ParametersSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(tokens("\\fs99999999999999999999999999999 x"), (Tokens{"word fs 2147483647", "text x"}));
    EXPECT_EQ(tokens("\\li-99999999999999999999999999999x"), (Tokens{"word li -2147483648", "text x"}));
    EXPECT_EQ(tokens("\\fs2147483648"), (Tokens{"word fs 2147483647"}));
    EXPECT_EQ(tokens("\\li-2147483648"), (Tokens{"word li -2147483648"}));
    EXPECT_EQ(tokens("\\u-3913?"), (Tokens{"word u -3913", "text ?"}));
    EXPECT_EQ(tokens("\\u-?"), (Tokens{"word u", "text -?"}));
}

TEST(RtfTokenizerTest, BinaryDataIsNeverMarkup)
{
    EXPECT_EQ(tokens("\\bin10 a}\\b"), (Tokens{"binary 10 [a}\\b]"})) << "data shorter than asked for";
    EXPECT_EQ(tokens("\\bin-5 x"), (Tokens{"binary -5 []", "text x"}));
    EXPECT_EQ(tokens("\\bin x"), (Tokens{"binary 0 []", "text x"}));
    EXPECT_EQ(tokens("\\*\\bin2 }{x"), (Tokens{"symbol *", "binary 2 [}{]", "text x"}));
    EXPECT_EQ(tokens("\\binary2 x"), (Tokens{"word binary 2", "text x"}));

    // Behind \* too the data is skipped, not read as the end of the group.
    EXPECT_EQ(rtftest::allText(*rtftest::readRtf("{\\rtf1 a{\\*\\bin2 }}b}c}")), QStringLiteral("ac"));
}

} // namespace
