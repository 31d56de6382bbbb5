// Links in a stranger's text: whatever a paragraph holds, the addresses found
// in it and what a click on each may do stay within what is allowed: web
// addresses with a host, mail with recipients, subject and body only, and
// local files under a full path, launchers never opened. Relative file links
// name files in a folder of the run's own.
//
//   cmake -S . -B build-fuzz -DVELTRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
//   cmake --build build-fuzz --target link_fuzz && build-fuzz/fuzz/link_fuzz fuzz/corpus/links

#include "editor/LinkPolicy.h"
#include "editor/Links.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what, const QString &link)
{
    if (!ok) {
        std::fprintf(stderr, "link_fuzz: %s: %s\n", what, link.toUtf8().constData());
        std::abort();
    }
}

// A document's folder with a text file and a launcher in it.
const QString &documentFolder()
{
    static QTemporaryDir folder;
    static const bool filled = [] {
        QFile text(folder.filePath(QStringLiteral("a.txt")));
        QFile launcher(folder.filePath(QStringLiteral("a.desktop")));
        return text.open(QIODevice::WriteOnly) && launcher.open(QIODevice::WriteOnly);
    }();
    static const QString path = filled ? folder.path() : QString();
    return path;
}

void checkAction(const QString &link)
{
    using Kind = linkpolicy::LinkAction::Kind;
    const linkpolicy::LinkAction action = linkpolicy::decide(link, documentFolder());
    switch (action.kind) {
    case Kind::OpenInBrowser: {
        const QUrl url(action.target);
        const QString scheme = url.scheme();
        check(scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"),
              "a browser address of another scheme", link);
        check(!url.host().isEmpty(), "a browser address with no host", link);
        break;
    }
    case Kind::OpenMail: {
        const QUrl url(action.target);
        check(url.scheme() == QLatin1String("mailto"), "a mail address of another scheme", link);
        for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
            check(key == QLatin1String("to") || key == QLatin1String("subject") || key == QLatin1String("body"),
                  "a mail field that was to be dropped", link);
        }
        check(!url.path(QUrl::FullyDecoded).contains(QLatin1Char('?')), "a field inside the recipients", link);
        break;
    }
    case Kind::AskThenOpenFile:
    case Kind::ShowInFileManager:
        check(QDir::isAbsolutePath(action.target) && QFile::exists(action.target), "a file that is not there", link);
        check(action.kind == Kind::ShowInFileManager || !action.target.endsWith(QLatin1String(".desktop")),
              "a launcher opened", link);
        break;
    case Kind::Refuse:
        check(action.target.isEmpty(), "a refused link with a target", link);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // The whole input as a link, and each address the detector finds in it.
    checkAction(text);
    for (const links::Link &link : links::find(text))
        checkAction(text.mid(link.start, link.length));
    return 0;
}
