#pragma once

#include <QString>

class QWidget;
namespace platform { class Platform; }

// Follows a link clicked in the document as the link policy allows, asking
// the user (`owner` owns the question) before a local file is opened.
void followLink(platform::Platform &platform, QWidget *owner, bool english, const QString &link,
                const QString &documentFolder);

// The question before a local file opens.
QString openFilePromptText(bool english, const QString &path);
