#include "accessories/LinkOpening.h"

#include "editor/LinkPolicy.h"
#include "platform/Platform.h"

using linkpolicy::LinkAction;

QString openFilePromptText(bool english, const QString &path)
{
    const QChar quote = QLatin1Char('"');
    if (english)
        return QStringLiteral("The link leads to the file ") + quote + path + quote
               + QStringLiteral(" on this computer. Open it?");
    return QStringLiteral("Ссылка ведёт к файлу ") + quote + path + quote
           + QStringLiteral(" на этом компьютере. Открыть его?");
}

void followLink(platform::Platform &platform, QWidget *owner, bool english, const QString &link,
                const QString &documentFolder)
{
    const LinkAction action = linkpolicy::decide(link, documentFolder);
    switch (action.kind) {
    case LinkAction::Kind::OpenInBrowser:
    case LinkAction::Kind::OpenMail:
        platform.shell().open(action.target);
        break;
    case LinkAction::Kind::ShowInFileManager:
        platform.shell().showInFileManager(action.target);
        break;
    case LinkAction::Kind::AskThenOpenFile: {
        platform::Question prompt;
        prompt.icon = platform::MessageIcon::Question;
        prompt.title = QStringLiteral("Confirm");
        prompt.text = openFilePromptText(english, action.target);
        prompt.defaultAnswer = platform::Answer::No;
        prompt.escapeAnswer = platform::Answer::No;
        if (platform.messageBoxes().ask(owner, prompt) != platform::Answer::Yes)
            break;
        // The file may have been replaced while the question was up.
        const LinkAction now = linkpolicy::decide(link, documentFolder);
        if (now == action)
            platform.shell().open(action.target);
        else if (now.kind == LinkAction::Kind::ShowInFileManager)
            platform.shell().showInFileManager(now.target);
        break;
    }
    case LinkAction::Kind::Refuse:
        break;
    }
}
