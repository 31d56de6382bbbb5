#include "app/FontList.h"

#include <algorithm>

QStringList fontNameList(const QStringList &families)
{
    QStringList names{QStringLiteral("Default")};
    for (const QString &family : families) {
        if (names.last().compare(family, Qt::CaseInsensitive) == 0)
            continue;
        names.append(family);
    }
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}
