// Spelling: the dictionaries read at start, checking as you type, the next
// misspelled word and the context menu of a flagged one.
#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "app/Settings.h"
#include "app/SpellerLoader.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "spelling/Speller.h"
#include "spelling/SpellingMarks.h"
#include "ui_text/MessageTexts.h"

#include <QAction>
#include <QMenu>

#include <functional>

namespace {

const char *const kSpellCheckItems[] = {"N132", "N134"};
const char kNextMisspellingItem[] = "N133";

} // namespace

void TForm1::startSpelling()
{
    spellingMarks_ = new SpellingMarks(this);
    // A file still coming in has the event loop's idle time first.
    spellingMarks_->setHeld([this] { return RxRichEdit1->isLoading(); });
    RxRichEdit1->setTextMarks(spellingMarks_);
    showSpellingItems();
    if (options_.dictionaryDirs.isEmpty()) {
        spellingReady(nullptr);
        return;
    }
    spellerLoader_ = new SpellerLoader(
        options_.dictionaryDirs, options_.personalWordsPath,
        [this](std::unique_ptr<spelling::Speller> speller) { spellingReady(std::move(speller)); }, this);
}

void TForm1::waitForSpeller()
{
    if (spellerLoader_)
        spellerLoader_->waitUntilReady();
}

void TForm1::spellingReady(std::unique_ptr<spelling::Speller> speller)
{
    speller_ = std::move(speller);
    spellingLoaded_ = true;
    const bool available = speller_ && speller_->available();
    spellingMarks_->setEnabled(Settings(options_.settingsPath).spellCheck(true));
    spellingMarks_->setSpeller(available ? speller_.get() : nullptr);
    showSpellingItems();
}

void TForm1::showSpellingItems()
{
    const bool available = speller_ && speller_->available();
    const bool on = RxRichEdit1->textMarksActive();
    // The items name the dictionaries installed, or without any the packages that bring them.
    QString hint;
    if (available)
        hint = ui_text::messageText(ui_text::Message::DictionariesHint, Lang)
                   .arg(speller_->languages().join(QStringLiteral(", ")));
    else if (spellingLoaded_)
        hint = ui_text::messageText(ui_text::Message::NoDictionaryHint, Lang)
                   .arg(spelling::Speller::dictionaryPackages());
    for (const char *name : kSpellCheckItems) {
        if (QAction *item = menuItem(QString::fromLatin1(name))) {
            item->setCheckable(true);
            item->setChecked(on);
            item->setEnabled(available);
            item->setToolTip(hint);
            if (auto *menu = qobject_cast<QMenu *>(item->parent()))
                menu->setToolTipsVisible(true);
        }
    }
    if (QAction *next = menuItem(QString::fromLatin1(kNextMisspellingItem))) {
        next->setEnabled(on);
        next->setToolTip(hint);
    }
}

void TForm1::flipSpellCheck()
{
    const bool on = !RxRichEdit1->textMarksActive();
    spellingMarks_->setEnabled(on);
    Settings(options_.settingsPath).writeSpellCheck(on);
    showSpellingItems();
}

void TForm1::N132Click() { flipSpellCheck(); }
void TForm1::N134Click() { flipSpellCheck(); }

void TForm1::N133Click()
{
    if (!RxRichEdit1->selectNextMark())
        platform_.messageBoxes().showMessage(this, platform::MessageIcon::None, QString::fromUtf8(kAppTitle),
                                             ui_text::messageText(ui_text::Message::NoMisspelling, Lang));
}

void TForm1::refreshPersonalWords()
{
    if (speller_ && speller_->refreshPersonalList())
        spellingMarks_->spellerChanged();
}

bool TForm1::showSpellingMenu(QPoint globalPosition)
{
    refreshPersonalWords();
    const std::optional<TRxRichEdit::MarkedWord> word =
        RxRichEdit1->markedWordAt(RxRichEdit1->viewport()->mapFromGlobal(globalPosition));
    if (!word || !speller_)
        return false;
    // Above the context menu's own items, for as long as it is shown: the
    // suggestions, then what to do with the word.
    const TRxRichEdit::MarkedWord flagged = *word;
    QList<QAction *> added;
    const auto add = [&](const QString &text, const std::function<void()> &chosen) {
        auto *action = new QAction(text, PopupMenu1);
        connect(action, &QAction::triggered, this, chosen);
        added.append(action);
    };
    for (const QString &suggestion : speller_->suggestions(flagged.word, kMostSuggestions)) {
        add(suggestion, [this, flagged, suggestion] {
            run("SpellingReplace", [&] { RxRichEdit1->replaceMarkedWord(flagged, suggestion); });
        });
    }
    add(ui_text::messageText(ui_text::Message::AddToDictionary, Lang), [this, flagged] {
        run("SpellingAddWord", [&] {
            speller_->addToDictionary(flagged.word);
            spellingMarks_->spellerChanged();
        });
    });
    add(ui_text::messageText(ui_text::Message::IgnoreAll, Lang), [this, flagged] {
        speller_->ignoreAll(flagged.word);
        spellingMarks_->spellerChanged();
    });
    auto *separator = new QAction(PopupMenu1);
    separator->setSeparator(true);
    added.append(separator);
    PopupMenu1->insertActions(PopupMenu1->actions().value(0), added);
    // Gone once the menu closes; the one chosen is triggered after that.
    connect(
        PopupMenu1, &QMenu::aboutToHide, this,
        [this, added] {
            for (QAction *action : added) {
                PopupMenu1->removeAction(action);
                action->deleteLater();
            }
        },
        Qt::SingleShotConnection);
    PopupMenu1->popup(globalPosition);
    return true;
}
