#include "app/ToolbarIcons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList allButtons()
{
    QStringList names;
    for (int i = 1; i <= 43; ++i)
        if (i != 16 && i != 34 && i != 38)
            names << QStringLiteral("ToolButton%1").arg(i);
    return names;
}

QImage picture(const QIcon &icon)
{
    return icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasVisiblePixels(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

// Points the icon theme lookup somewhere else for the life of the object.
class ThemeOverride {
public:
    ThemeOverride(const ThemeOverride &) = delete;
    ThemeOverride &operator=(const ThemeOverride &) = delete;
    ThemeOverride(const QString &theme, const QStringList &searchPaths)
        : theme_(QIcon::themeName()), fallback_(QIcon::fallbackThemeName()),
          searchPaths_(QIcon::themeSearchPaths()), fallbackPaths_(QIcon::fallbackSearchPaths())
    {
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setFallbackSearchPaths({});
        QIcon::setFallbackThemeName(QStringLiteral("veltrix-no-fallback-theme"));
        QIcon::setThemeName(theme);
    }
    ~ThemeOverride()
    {
        QIcon::setThemeSearchPaths(searchPaths_);
        QIcon::setFallbackSearchPaths(fallbackPaths_);
        QIcon::setFallbackThemeName(fallback_);
        QIcon::setThemeName(theme_);
    }

private:
    QString theme_, fallback_;
    QStringList searchPaths_, fallbackPaths_;
};

} // namespace

TEST(ToolbarIcons, EveryButtonShowsAPictureWithTheDesktopTheme)
{
    // The theme the program falls back to on a desktop without one.
    const QString themes = QStringLiteral("/usr/share/icons");
    if (!QFileInfo::exists(themes + QStringLiteral("/Adwaita/index.theme")))
        GTEST_SKIP() << "the Adwaita icon theme is not installed";
    const ThemeOverride guard(QStringLiteral("Adwaita"), {themes});
    const QSize toolbarSize(18, 18); // what the main window's toolbars show
    const QStringList names = allButtons();
    QList<QImage> images;
    int fromTheme = 0;
    for (const QString &name : names) {
        const QIcon icon = toolbarIcon(name);
        ASSERT_FALSE(icon.isNull()) << name.toStdString();
        if (!icon.name().isEmpty())
            ++fromTheme;
        images << icon.pixmap(toolbarSize).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(hasVisiblePixels(images.last())) << name.toStdString();
    }
    EXPECT_GT(fromTheme, 0) << "no button took its picture from the theme";
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i], images[j]) << names[i].toStdString() << " looks like " << names[j].toStdString();
}

TEST(ToolbarIcons, WithoutAThemeEveryButtonGetsItsOwnDrawnPicture)
{
    const ThemeOverride guard(QStringLiteral("veltrix-no-such-theme"), {});
    const QStringList names = allButtons();
    QList<QImage> images;
    for (const QString &name : names) {
        const QIcon icon = toolbarIcon(name);
        ASSERT_FALSE(icon.isNull()) << name.toStdString();
        images << picture(icon);
        EXPECT_TRUE(hasVisiblePixels(images.last())) << name.toStdString();
    }
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i], images[j]) << names[i].toStdString() << " looks like " << names[j].toStdString();
}

TEST(ToolbarIcons, UnknownNameStillGetsAPicture)
{
    const ThemeOverride guard(QStringLiteral("veltrix-no-such-theme"), {});
    const QIcon icon = toolbarIcon(QStringLiteral("ToolButton16"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(hasVisiblePixels(picture(icon)));
}

TEST(ToolbarIcons, ThemePictureIsUsedOnlyWhenItCanBeRead)
{
    QImage drawnCut;
    {
        const ThemeOverride guard(QStringLiteral("veltrix-no-such-theme"), {});
        drawnCut = picture(toolbarIcon(QStringLiteral("ToolButton11")));
    }

    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString themeDir = root.filePath(QStringLiteral("veltrix-test-theme"));
    ASSERT_TRUE(QDir().mkpath(themeDir + QStringLiteral("/24x24/actions")));
    QFile index(themeDir + QStringLiteral("/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Test\nDirectories=24x24/actions\n\n"
                "[24x24/actions]\nSize=24\nType=Fixed\n");
    index.close();
    QImage red(24, 24, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(themeDir + QStringLiteral("/24x24/actions/edit-copy.png")));
    QFile broken(themeDir + QStringLiteral("/24x24/actions/edit-cut.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();

    const ThemeOverride guard(QStringLiteral("veltrix-test-theme"), {root.path()});
    EXPECT_EQ(picture(toolbarIcon(QStringLiteral("ToolButton10"))), red);
    EXPECT_EQ(picture(toolbarIcon(QStringLiteral("ToolButton11"))), drawnCut);
}

TEST(ToolbarIcons, ApplicationIconComesFromTheResources)
{
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(hasVisiblePixels(picture(icon)));
}
