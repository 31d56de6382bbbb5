#pragma once

#include <QString>
#include <functional>

// Assigning the texts of one interface language to the window. The tables know
// no widgets: the caller's setter finds the component by name and sets the text.
namespace ui_text {

enum class TextProperty { Caption, Hint };

using TextSetter = std::function<void(const QString &component, TextProperty property, const QString &text)>;

// Every switchable caption and hint gets the text of the given language.
// Separators and the items whose caption reads the same in both languages are
// left alone.
void applyLanguage(bool english, const TextSetter &set);

// The caption a menu item has before any switch (the window definition's text).
QString initialCaption(const char *menuName, const char *itemName);

} // namespace ui_text
