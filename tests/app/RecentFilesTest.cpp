#include "app/RecentFiles.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using recentfiles::Result;

namespace {

const QString kBookmarks = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMime = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

struct Entry {
    int bookmarks = 0; // with the href asked for
    QString added, modified, visited, mimeType, exec, count;
};

// The list read back as any reader of the desktop reads it, namespaces and all.
Entry entryFor(const QByteArray &xbel, const QString &href)
{
    Entry entry;
    QXmlStreamReader reader(xbel);
    bool inside = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::EndElement && reader.name() == u"bookmark")
            inside = false;
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.name() == u"bookmark" && reader.namespaceUri().isEmpty()) {
            inside = attributes.value("href") == href;
            if (inside) {
                ++entry.bookmarks;
                entry.added = attributes.value("added").toString();
                entry.modified = attributes.value("modified").toString();
                entry.visited = attributes.value("visited").toString();
            }
        } else if (inside && reader.namespaceUri() == kMime && reader.name() == u"mime-type") {
            entry.mimeType = attributes.value("type").toString();
        } else if (inside && reader.namespaceUri() == kBookmarks && reader.name() == u"application" &&
                   attributes.value("name") == u"veltrix") {
            entry.exec = attributes.value("exec").toString();
            entry.count = attributes.value("count").toString();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << xbel.toStdString();
    return entry;
}

const QDateTime kMorning(QDate(2026, 12, 8), QTime(9, 5, 7), Qt::UTC);
const QDateTime kEvening(QDate(2026, 12, 8), QTime(21, 0, 0), Qt::UTC);

// Another program's list: its entry, its own prefix for the bookmark namespace.
const QByteArray kOtherProgramsList =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\" xmlns:bm=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
    "  <!-- kept -->\n"
    "  <bookmark href=\"file:///tmp/other.png\" added=\"2020-01-01T00:00:00Z\" visited=\"2020-01-01T00:00:00Z\">\n"
    "    <info>\n"
    "      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"image/png\"/>\n"
    "        <bm:groups><bm:group>Graphics</bm:group></bm:groups>\n"
    "        <bm:applications>\n"
    "          <bm:application name=\"gimp\" exec=\"gimp %u\" modified=\"2020-01-01T00:00:00Z\" count=\"3\"/>\n"
    "        </bm:applications>\n"
    "        <bm:private/>\n"
    "      </metadata>\n"
    "    </info>\n"
    "  </bookmark>\n"
    "</xbel>\n";

} // namespace

TEST(RecentFilesTest, AFileUsedIsABookmarkOfOursInAFreshList)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("share/recently-used.xbel");
    const QString file = dir.filePath(QString::fromUtf8("Письмо #1 50%.rtf"));

    ASSERT_EQ(recentfiles::record(list, file, kMorning), Result::Recorded);
    const QString href = "file://" + QString::fromLatin1(QFile::encodeName(dir.path()).toPercentEncoding("/")) +
                         "/%D0%9F%D0%B8%D1%81%D1%8C%D0%BC%D0%BE%20%231%2050%25.rtf";
    const Entry entry = entryFor(testhelpers::readFile(list), href);
    EXPECT_EQ(entry.bookmarks, 1);
    EXPECT_EQ(entry.added, "2026-12-08T09:05:07.000Z");
    EXPECT_EQ(entry.modified, entry.added);
    EXPECT_EQ(entry.visited, entry.added);
    EXPECT_EQ(entry.mimeType, "application/rtf");
    EXPECT_EQ(entry.exec, "veltrix %u");
    EXPECT_EQ(entry.count, "1");
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_FALSE(QFile::permissions(list) & others) << "a fresh list is the user's alone";
}

TEST(RecentFilesTest, AnotherProgramsListKeepsAllItHeldAndOursIsCountedOnce)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("recently-used.xbel");
    testhelpers::writeFile(list, kOtherProgramsList);
    const QString file = dir.filePath("notes.txt");

    ASSERT_EQ(recentfiles::record(list, file, kMorning), Result::Recorded);
    ASSERT_EQ(recentfiles::record(list, file, kEvening), Result::Recorded);
    const QByteArray after = testhelpers::readFile(list);
    // The other entry, its comment and its layout are as they were.
    const qsizetype from = kOtherProgramsList.indexOf("  <!--");
    const QByteArray otherEntry = kOtherProgramsList.mid(from, kOtherProgramsList.indexOf("</xbel>") - from);
    EXPECT_TRUE(after.contains(otherEntry)) << after.toStdString();
    EXPECT_TRUE(after.contains("xmlns:bm=\"http://www.freedesktop.org/standards/desktop-bookmarks\""));

    const Entry entry = entryFor(after, QUrl::fromLocalFile(file).toString());
    EXPECT_EQ(entry.bookmarks, 1);
    EXPECT_EQ(entry.added, "2026-12-08T09:05:07.000Z");
    EXPECT_EQ(entry.modified, "2026-12-08T21:00:00.000Z");
    EXPECT_EQ(entry.visited, entry.modified);
    EXPECT_EQ(entry.mimeType, "text/plain");
    EXPECT_EQ(entry.count, "2");
    EXPECT_EQ(entryFor(after, "file:///tmp/other.png").bookmarks, 1);
}

TEST(RecentFilesTest, AListThatCannotBeReadIsLeftAsItIsAndAnEmptyOneStartsAfresh)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("recently-used.xbel");
    const QString file = dir.filePath("a.rtf");
    const QByteArray cutShort = kOtherProgramsList.left(kOtherProgramsList.size() / 2);
    for (const QByteArray &unreadable :
         {cutShort, QByteArray("<html/>"),
          QByteArray("<!DOCTYPE xbel [<!ENTITY a \"aaaa\">]><xbel version=\"1.0\">&a;</xbel>")}) {
        testhelpers::writeFile(list, unreadable);
        EXPECT_EQ(recentfiles::record(list, file, kMorning), Result::LeftAlone);
        EXPECT_EQ(testhelpers::readFile(list), unreadable);
    }
    testhelpers::writeFile(list, " \n");
    ASSERT_EQ(recentfiles::record(list, file, kMorning), Result::Recorded);
    EXPECT_EQ(entryFor(testhelpers::readFile(list), QUrl::fromLocalFile(file).toString()).bookmarks, 1);
}
