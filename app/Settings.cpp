#include "app/Settings.h"

namespace {

const QString kForm = QStringLiteral("FORM");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kLanguage = QStringLiteral("LANGUAGE");
const QString kLang = QStringLiteral("Lang");
const QString kFile = QStringLiteral("FILE");
const QString kSpelling = QStringLiteral("SPELLING");
const QString kCheck = QStringLiteral("Check");
const QString kOpenFile = QStringLiteral("OpenFile");

} // namespace

QRect Settings::windowPlacement(const QRect &current) const
{
    return QRect(file_.readInteger(kForm, kLeft, current.x()), file_.readInteger(kForm, kTop, current.y()),
                 file_.readInteger(kForm, kWidth, current.width()),
                 file_.readInteger(kForm, kHeight, current.height()));
}

void Settings::writeWindowPlacement(const QRect &placement) const
{
    file_.writeInteger(kForm, kLeft, placement.x());
    file_.writeInteger(kForm, kTop, placement.y());
    writeWindowSize(placement);
}

void Settings::writeWindowSize(const QRect &placement) const
{
    file_.writeInteger(kForm, kWidth, placement.width());
    file_.writeInteger(kForm, kHeight, placement.height());
}

bool Settings::english() const
{
    return file_.readBool(kLanguage, kLang, true);
}

void Settings::writeEnglish(bool english) const
{
    file_.writeBool(kLanguage, kLang, english);
}

bool Settings::spellCheck(bool fallback) const
{
    return file_.readBool(kSpelling, kCheck, fallback);
}

void Settings::writeSpellCheck(bool on) const
{
    file_.writeBool(kSpelling, kCheck, on);
}

void Settings::writeOpenedFile(const QString &path) const
{
    file_.writeString(kFile, kOpenFile, path);
}
