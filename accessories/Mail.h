#pragma once

#include <QString>

// The "mailto:" address that starts a mail to the developer with the document
// as its body. Subject and body are percent-encoded, so that every character of
// the document arrives as body text and none can start another field.
QString mailAddress(bool english, bool withGreeting, const QString &documentText);
