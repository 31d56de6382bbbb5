#pragma once

#include "spelling/Speller.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Text with its seeded errors marked ⟦kind|word⟧ or ⟦layout|word|conversion⟧,
// kind one of typo, case, mixed, layout; the markers are not part of the text.
struct SeededText {
    QString text;
    struct Error {
        int start;
        int length;
        spelling::FlagKind kind;
        QString conversion;
    };
    std::vector<Error> errors;

    static SeededText parse(const QString &marked);
};

// A Speller on the system's dictionaries with its personal list in a
// temporary folder; the test is skipped when a dictionary is missing.
class SpellerTest : public ::testing::Test {
protected:
    void SetUp() override;
    QString listPath() const { return dir_.filePath(QStringLiteral("config/Veltrix/words.txt")); }
    std::unique_ptr<spelling::Speller> loadSpeller() const;

    QTemporaryDir dir_;
    std::unique_ptr<spelling::Speller> speller_;
};
