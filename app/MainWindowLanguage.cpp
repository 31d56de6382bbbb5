// The interface language: every caption and hint in Russian or English.
#include "app/Unit1.h"

#include "app/Document.h"
#include "app/Settings.h"
#include "ui_text/LanguageApply.h"

#include <QAction>
#include <QCheckBox>

void TForm1::Action4Execute()
{
    ui_text::applyLanguage(Lang, [this](const QString &component, ui_text::TextProperty property, const QString &text) {
        setComponentText(component, property == ui_text::TextProperty::Caption, text);
    });
    showSpellingItems(); // its hint is in the language too
}

void TForm1::setComponentText(const QString &component, bool caption, const QString &text)
{
    if (caption) {
        if (QAction *action = menuItem(component))
            action->setText(text);
        return;
    }
    if (auto *widget = findChild<QWidget *>(component)) {
        widget->setToolTip(text);
        widget->setAccessibleName(text);
        widget->setAccessibleDescription(text);
    }
}

void TForm1::CB3Click()
{
    flipCheck(QStringLiteral("N52"));
    flipCheck(QStringLiteral("N100"));
    Lang = !CB3->isChecked();
    Settings(options_.settingsPath).writeEnglish(Lang);
    Action4->trigger();
    document_->showTitleAgain(Lang);
}
