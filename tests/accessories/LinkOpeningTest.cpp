#include "accessories/LinkOpening.h"
#include "editor/LinkPolicy.h"
#include "platform/fakes/FakePlatform.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using linkpolicy::LinkAction;
using Kind = LinkAction::Kind;

namespace {

// A document's folder with a text file, a launcher, scripts and programs
// beside it, and a pipe that would hold anyone who reads it.
class LinkPolicyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        put("notes.txt", "plain notes");
        put("My notes.txt", "spaced");
        put("run.desktop", "[Desktop Entry]\nType=Application\nExec=touch pwned\n");
        put("install", "#!/bin/sh\ntouch pwned\n");
        put("tool.txt", "looks like text");
        QFile(path("tool.txt")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        put("program.dat", QByteArray("\x7f" "ELF\x02\x01\x01", 7) + QByteArray(9, '\0') + QByteArray("\x02\x00\x3e\x00", 4)
                               + QByteArray(44, '\0'));
        put("Setup.EXE", "MZ");
        ASSERT_TRUE(QFile::link(path("run.desktop"), path("readme.txt")));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
    }

    void put(const QString &name, const QByteArray &content) { testhelpers::writeFile(path(name), content); }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(LinkPolicyTest, EachLinkGetsTheActionItsKindAllows)
{
    const QString folder = dir.path();
    const QString url = QStringLiteral("file://") + folder;
    const struct {
        QString link;
        QString documentFolder;
        LinkAction expected;
    } cases[] = {
        {"http://example.org/a?b=c#d", folder, {Kind::OpenInBrowser, "http://example.org/a?b=c#d"}},
        {"HTTPS://Example.org/x", folder, {Kind::OpenInBrowser, "https://example.org/x"}},
        {"www.example.org/page", "", {Kind::OpenInBrowser, "http://www.example.org/page"}},
        {"ftp://ftp.example.org/pub", "", {Kind::OpenInBrowser, "ftp://ftp.example.org/pub"}},
        {"http:/etc/passwd", folder, {}}, // no host: no web address

        // Attachments and every other field are dropped; "&" in a value stays in it.
        {"mailto:a@example.org?subject=Hi%20there&attach=/etc/passwd&body=x%26y&cc=b@example.org",
         "", {Kind::OpenMail, "mailto:a@example.org?subject=Hi%20there&body=x%26y"}},
        {"MAILTO:a@example.org?ATTACHMENT=~/.ssh/id_rsa&To=b@example.org,c@example.org", "",
         {Kind::OpenMail, "mailto:a@example.org?to=b@example.org,c@example.org"}},
        {"mailto:?Body=hello", "", {Kind::OpenMail, "mailto:?body=hello"}},
        {"mailto:a@example.org%3Fattach=/etc/passwd", "", {}}, // a field hidden in the address
        {"mailto:a@example.org?to=x%3Fattach=/etc/passwd", "", {Kind::OpenMail, "mailto:a@example.org"}},

        // Files: asked about when they are documents, shown when they could run.
        {"file:notes.txt", folder, {Kind::AskThenOpenFile, path("notes.txt")}},
        {"file:./notes.txt", "", {}}, // an untitled document has no folder
        {url + "/My%20notes.txt", "", {Kind::AskThenOpenFile, path("My notes.txt")}},
        {"file://localhost" + folder + "/notes.txt", "", {Kind::AskThenOpenFile, path("notes.txt")}},
        {url, "", {Kind::AskThenOpenFile, folder}},
        {"file:run.desktop", folder, {Kind::ShowInFileManager, path("run.desktop")}},
        {"file:install", folder, {Kind::ShowInFileManager, path("install")}},
        {"file:tool.txt", folder, {Kind::ShowInFileManager, path("tool.txt")}},
        {"file:program.dat", folder, {Kind::ShowInFileManager, path("program.dat")}},
        {"file:Setup.EXE", folder, {Kind::ShowInFileManager, path("Setup.EXE")}},
        {"file:readme.txt", folder, {Kind::ShowInFileManager, path("run.desktop")}}, // a link to a launcher
        {"file:pipe.txt", folder, {Kind::ShowInFileManager, path("pipe.txt")}},
        {"file:run.desktop%00.txt", folder, {}},
        {"file:://tmp", folder, {}}, // not one of the program's own resources
        {"file:missing.txt", folder, {}},
        {"file:" + QString(300, 'x') + ".txt", folder, {}},
        {"file://fileserver/share/notes.txt", folder, {}},

        {"telnet://example.org", folder, {}},
        {"news:comp.lang.c", folder, {}},
        {"smb://example.org/share", folder, {}},
        {"javascript:alert(1)", folder, {}},
        {"notes.txt", folder, {}},
    };
    for (const auto &c : cases) {
        const LinkAction action = linkpolicy::decide(c.link, c.documentFolder);
        EXPECT_EQ(int(action.kind), int(c.expected.kind)) << c.link.toStdString();
        EXPECT_EQ(action.target, c.expected.target) << c.link.toStdString();
    }
}

TEST_F(LinkPolicyTest, AFileOpensOnlyWhenTheUserSaysYes)
{
    platform::FakePlatform platform;
    platform.boxes.answers = {platform::Answer::No, platform::Answer::Yes};
    followLink(platform, nullptr, false, "file:notes.txt", dir.path());
    followLink(platform, nullptr, true, "file:notes.txt", dir.path());
    ASSERT_EQ(platform.boxes.questions.size(), 2);
    EXPECT_EQ(platform.boxes.questions[0].text,
              testhelpers::u8("Ссылка ведёт к файлу \"") + path("notes.txt") + testhelpers::u8("\" на этом компьютере. Открыть его?"));
    EXPECT_EQ(platform.boxes.questions[1].text,
              "The link leads to the file \"" + path("notes.txt") + "\" on this computer. Open it?");
    EXPECT_EQ(platform.boxes.questions[1].defaultAnswer, platform::Answer::No);
    EXPECT_EQ(platform.shellOpen.opened, QStringList{path("notes.txt")});

    // What could run is never asked about, only shown; other schemes do nothing.
    followLink(platform, nullptr, true, "file:run.desktop", dir.path());
    followLink(platform, nullptr, true, "telnet://example.org", dir.path());
    EXPECT_EQ(platform.boxes.questions.size(), 2);
    EXPECT_EQ(platform.shellOpen.opened.size(), 1);
    EXPECT_EQ(platform.shellOpen.shownInFileManager, QStringList{path("run.desktop")});
}
