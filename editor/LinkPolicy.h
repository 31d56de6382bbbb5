#pragma once

#include <QString>

// What a click on a link in the document may do. A document can come from
// anyone, so a link opens only what cannot start a program: web addresses in
// the browser, a mail with no more than its recipients, subject and body, and
// a local file after the user agreed to it. Programs, scripts and launchers
// are only shown in the file manager; any other address does nothing.
namespace linkpolicy {

struct LinkAction {
    enum class Kind { OpenInBrowser, OpenMail, AskThenOpenFile, ShowInFileManager, Refuse };
    Kind kind = Kind::Refuse;
    // The address to hand to the shell, or the file's full local path (its
    // links resolved).
    QString target;

    bool operator==(const LinkAction &other) const { return kind == other.kind && target == other.target; }
};

// `link` as the editor reports it; a relative "file:" name is found in
// `documentFolder` and refused when that is empty (an untitled document).
// Looks at the file a "file:" address names, but never opens it.
LinkAction decide(const QString &link, const QString &documentFolder);

} // namespace linkpolicy
