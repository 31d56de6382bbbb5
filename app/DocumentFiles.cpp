#include "app/DocumentFiles.h"

#include "app/AppTitle.h"

#include <QFileInfo>

namespace documents {

namespace {

// "a|b|c|d" → "a|b", "c|d".
QStringList pairsOf(const QString &list)
{
    const QStringList parts = list.split(QLatin1Char('|'));
    QStringList pairs;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        pairs.append(parts[i] + QLatin1Char('|') + parts[i + 1]);
    return pairs;
}

} // namespace

QString titleFor(const QString &path, const QString &mark)
{
    return nameOf(path) + mark + QStringLiteral(" - ") + QString::fromUtf8(kAppTitle);
}

QString folderOf(const QString &path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

QString nameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

const QStringList &openFilters()
{
    static const QStringList pairs = pairsOf(QStringLiteral(
        "*.RTF files|*.rtf|*.TXT files|*.txt|*.HTML files|*.html|*.BAT files|*.bat|*.REG files|*.reg|"
        "*.INI files|*.ini|*.INF files|*.inf|*.CFG files|*.cfg|*.CONF files|*.conf|*.SHTML files|*.shtml|"
        "*.HTM files|*.htm|*.DAT files|*.dat|*.DTF files|*.dtf|*.DOF files|*.dof|*.SQL files|*.sql|"
        "*.C files|*.c|*.CPP files|*.cpp|*.H files|*.H|*.DBA files|*.dba|*.VB files|*.vb|*.BB files|*.bb|"
        "*.CS files|*.cs|*.JAVA files|*.java|All files (*.*)|*.*"));
    return pairs;
}

const QStringList &saveFilters()
{
    static const QStringList pairs = pairsOf(QStringLiteral(
        "*.RTF files|*.rtf|*.TXT files|*.txt|*.INI files|*.ini|*.CFG files|*.cfg|*.BAT files|*.bat|"
        "*.REG files|*.reg|*.HTML files|*.html|*.HTM files|*.htm|*.SHTML files|*.shtml|*.INF files|*.inf|"
        "*.CONF files|*.conf|*.SQL files|*.sql|*.DAT files|*.dat|*.DTF files|*.dtf|*.DOF files|*.dof|"
        "*.C files|*.c|*.CPP files|*.cpp|*.H files|*.h|*.VB files|*.vb|*.JAVA files|*.java|*.DBA files|*.dba|"
        "*.BB files|*.bb|*.CS files|*.cs|All files (*.*)|*.*"));
    return pairs;
}

QString exitPromptText(bool english)
{
    return english ? QStringLiteral("File isn*t saved! Save to file?") : QStringLiteral("Файл не сохранён! Сохранить?");
}

QString closePromptText(bool english, const QString &fileName)
{
    const QChar quote = QLatin1Char('"');
    if (english)
        return QStringLiteral("Text in file ") + quote + fileName + quote + QStringLiteral(" is modified, save to file?");
    return QStringLiteral("Текст в Файле ") + quote + fileName + quote + QStringLiteral(" был изменён, сохранить изменения?");
}

QString recoveryPromptText(bool english, const QString &fileName)
{
    const QChar quote = QLatin1Char('"');
    if (english) {
        const QString what = fileName.isEmpty() ? QStringLiteral("Unsaved text of a new document")
                                                : QStringLiteral("Unsaved text of file ") + quote + fileName + quote;
        return what + QStringLiteral(" was kept when the program last ended without closing. Restore it? "
                                     "\"No\" deletes the kept text, \"Cancel\" keeps it for the next start.");
    }
    const QString what = fileName.isEmpty() ? QStringLiteral("Несохранённый текст нового документа")
                                            : QStringLiteral("Несохранённый текст файла ") + quote + fileName + quote;
    return what + QStringLiteral(" сохранён при аварийном завершении программы. Восстановить его? "
                                 "\"Нет\" удалит сохранённый текст, \"Отмена\" оставит его до следующего запуска.");
}

QString recoveryFolderNotOursText(bool english, const QString &folder)
{
    if (english)
        return QStringLiteral("The folder \"%1\" belongs to another user, who could read the copies kept there. "
                              "No copies of unsaved text are kept in this run.")
            .arg(folder);
    return QStringLiteral("Папка \"%1\" принадлежит другому пользователю, который мог бы читать копии в ней. "
                          "Копии несохранённого текста в этот раз не сохраняются.")
        .arg(folder);
}

QString recoveryCopyFailedText(bool english)
{
    return english ? QStringLiteral("No copy!") : QStringLiteral("Нет копии!");
}

QString leftOutText(bool english, const rtf::LoadStatus &status)
{
    struct Name {
        rtf::Loss loss;
        const char *russian;
        const char *english;
    };
    static const Name kNames[] = {
        {rtf::Loss::Pictures, "рисунки", "pictures"},
        {rtf::Loss::Objects, "внедрённые объекты (сохранены их рисунки)", "embedded objects (their pictures are kept)"},
        {rtf::Loss::Shapes, "рисованные фигуры и надписи", "drawings and text boxes"},
        {rtf::Loss::HeadersFooters, "колонтитулы", "headers and footers"},
        {rtf::Loss::Footnotes, "сноски", "footnotes"},
        {rtf::Loss::Comments, "примечания", "comments"},
        {rtf::Loss::Fields, "поля (сохранён их текст)", "fields (their text is kept)"},
        {rtf::Loss::TableRows, "строки таблиц (показаны строками с табуляцией)",
         "table rows (shown as lines with tabs)"},
    };
    QStringList parts;
    for (const Name &name : kNames) {
        if (const int count = status.count(name.loss))
            parts << QStringLiteral("%1: %2").arg(QString::fromUtf8(english ? name.english : name.russian)).arg(count);
    }
    if (parts.isEmpty())
        return QString();
    const QString intro = english ? QStringLiteral("The editor cannot keep everything this document holds; "
                                                   "saving it will leave out or change ")
                                  : QStringLiteral("Редактор не может сохранить всё, что есть в документе; "
                                                   "при сохранении будут потеряны или изменены ");
    return intro + parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

} // namespace documents
