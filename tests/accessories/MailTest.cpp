#include "accessories/Mail.h"

#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

// What a mail program reads from the address: the recipient and each field.
QUrlQuery fieldsOf(const QString &address)
{
    return QUrlQuery(QUrl(address).query(QUrl::FullyEncoded));
}

} // namespace

TEST(Mail, TheWholeDocumentArrivesAsTheBodyWhateverItHolds)
{
    const QString text = "Счёт & итог?\r\nстрока #2&cc=someone@example.com\r\n100% готово";
    const QString address = mailAddress(false, false, text);
    EXPECT_TRUE(address.startsWith("mailto:developers@veltrix.example.org?Subject="));
    const QUrlQuery fields = fieldsOf(address);
    EXPECT_EQ(fields.queryItemValue("Body", QUrl::FullyDecoded), " " + text);
    EXPECT_EQ(fields.queryItemValue("Subject", QUrl::FullyDecoded), "Письмецо разработчикам Veltrix");
    EXPECT_FALSE(fields.hasQueryItem("cc")); // nothing smuggled in
    EXPECT_EQ(fields.queryItems().size(), 2);
    EXPECT_FALSE(address.contains('#'));
    EXPECT_FALSE(address.contains('\n'));
}

TEST(Mail, GreetingAndSubjectFollowTheLanguage)
{
    EXPECT_EQ(fieldsOf(mailAddress(true, true, "")).queryItemValue("Body", QUrl::FullyDecoded), "Hello, developers! ");
    EXPECT_EQ(fieldsOf(mailAddress(true, false, "")).queryItemValue("Subject", QUrl::FullyDecoded),
              "For Veltrix Developers");
    EXPECT_TRUE(mailAddress(true, false, "").endsWith("&Body=%20"));
    EXPECT_EQ(fieldsOf(mailAddress(false, true, "x")).queryItemValue("Body", QUrl::FullyDecoded),
              "Привет, разработчики! x");
}
