#include "platform/DesktopLayouts.h"
#include "platform/XkbcommonKeys.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

QList<quint16> languages(const DesktopLayoutList &list)
{
    QList<quint16> ids;
    for (const DesktopLayout &layout : list.layouts)
        ids << layout.languageId;
    return ids;
}

} // namespace

TEST(DesktopLayouts, SwayInputsGiveTheFirstKeyboardWithLayouts)
{
    const QByteArray reply = R"json([
        {"identifier": "1:1:Power_Button", "type": "keyboard"},
        {"identifier": "2:2:Mouse", "type": "pointer", "xkb_layout_names": ["German"]},
        {"identifier": "3:3:Keyboard", "type": "keyboard",
         "xkb_layout_names": ["English (US)", "Russian (phonetic)", "Klingon"], "xkb_active_layout_index": 1},
        {"identifier": "4:4:Other", "type": "keyboard", "xkb_layout_names": ["German"]}])json";
    const std::optional<DesktopLayoutList> list = layoutsFromSwayInputs(reply);
    ASSERT_TRUE(list);
    EXPECT_EQ(languages(*list), (QList<quint16>{0x0409, 0x0419, 0}));
    EXPECT_EQ(list->active, 1);
    EXPECT_EQ(list->layouts[1].symbols, QStringLiteral("ru")); // for its keys
}

TEST(DesktopLayouts, OddSwayRepliesGiveNothingOrNoActiveIndex)
{
    for (const QByteArray &bad : {QByteArray(), QByteArray("{}"), QByteArray("[1, null, \"x\"]"),
                                  QByteArray(R"([{"type": "keyboard", "xkb_layout_names": "us"}])"),
                                  QByteArray(R"([{"type": "keyboard", "xkb_layout_names": [)")})
        EXPECT_FALSE(layoutsFromSwayInputs(bad)) << bad.constData();
    for (const char *index : {"2", "-1", "0.5", "\"0\"", "1e300"}) {
        const QByteArray reply = QByteArray(R"([{"type": "keyboard", "xkb_layout_names": ["Russian", 7],
                                                 "xkb_active_layout_index": )") + index + "}]";
        const std::optional<DesktopLayoutList> list = layoutsFromSwayInputs(reply);
        ASSERT_TRUE(list) << index;
        EXPECT_EQ(list->active, -1) << index;
        EXPECT_EQ(languages(*list), (QList<quint16>{0x0419, 0})) << index;
    }
}

TEST(DesktopLayouts, SwayCommandRepliesAndFraming)
{
    EXPECT_TRUE(swayCommandSucceeded(R"([{"success": true}])"));
    EXPECT_FALSE(swayCommandSucceeded(R"([{"success": true}, {"success": false, "error": "no"}])"));
    EXPECT_FALSE(swayCommandSucceeded("[]"));
    EXPECT_FALSE(swayCommandSucceeded("true"));

    const QByteArray message = i3IpcMessage(kSwayGetInputs, "ab");
    ASSERT_EQ(message.size(), kI3IpcHeaderSize + 2);
    EXPECT_TRUE(message.startsWith("i3-ipc"));
    EXPECT_EQ(i3IpcPayloadLength(message, kSwayGetInputs, 100), 2u);
    EXPECT_FALSE(i3IpcPayloadLength(message, kSwayRunCommand, 100)); // a reply to another request
    EXPECT_FALSE(i3IpcPayloadLength(message, kSwayGetInputs, 1));    // longer than we take
    EXPECT_FALSE(i3IpcPayloadLength(message.left(kI3IpcHeaderSize - 1), kSwayGetInputs, 100));
    EXPECT_FALSE(i3IpcPayloadLength("i4-ipc" + message.mid(6), kSwayGetInputs, 100));
}

TEST(DesktopLayouts, KdeAndIbusNamesGiveLayoutAndLanguage)
{
    const DesktopLayout phonetic = layoutFromKde(QStringLiteral("ru(phonetic)"), QStringLiteral("whatever"));
    EXPECT_EQ(phonetic.symbols, QStringLiteral("ru"));
    EXPECT_EQ(phonetic.variant, QStringLiteral("phonetic"));
    EXPECT_EQ(phonetic.languageId, 0x0419);
    // A short name KDE's user renamed: the long name tells.
    const DesktopLayout renamed = layoutFromKde(QStringLiteral("my layout"), QStringLiteral("English (UK)"));
    EXPECT_EQ(renamed.languageId, 0x0809);
    EXPECT_EQ(renamed.symbols, QStringLiteral("gb"));
    // Names that are not XKB's never reach the keyboard data as file names.
    EXPECT_TRUE(layoutFromKde(QStringLiteral("../../etc/passwd"), QString()).symbols.isEmpty());
    EXPECT_TRUE(layoutFromKde(QStringLiteral("us(../x)"), QString()).variant.isEmpty());

    const std::optional<DesktopLayout> us = layoutFromIbusEngine(QStringLiteral("xkb:us::eng"));
    ASSERT_TRUE(us);
    EXPECT_EQ(us->symbols, QStringLiteral("us"));
    EXPECT_EQ(us->languageId, 0x0409);
    const std::optional<DesktopLayout> ru = layoutFromIbusEngine(QStringLiteral("xkb:ru:phonetic:rus"));
    ASSERT_TRUE(ru);
    EXPECT_EQ(ru->variant, QStringLiteral("phonetic"));
    EXPECT_EQ(ru->languageId, 0x0419);
    // A layout we do not know by its symbols, known by the language IBus gives.
    EXPECT_EQ(layoutFromIbusEngine(QStringLiteral("xkb:xx::rus"))->languageId, 0x0419);
    for (const char *other : {"m17n:ru:kbd", "xkb", "xkb:", "xkb:a b::eng", "anthy"})
        EXPECT_FALSE(layoutFromIbusEngine(QString::fromLatin1(other))) << other;
}

TEST(DesktopLayouts, GnomeSourcesAndTheMostRecentOne)
{
    const QList<InputSource> sources = {{"xkb", "us"}, {"ibus", "anthy"}, {"xkb", "ru+phonetic"}, {"ibus", "xkb:gb::eng"}};
    DesktopLayoutList list = layoutsFromGnomeSources(sources, {{"xkb", "de"}, {"xkb", "ru+phonetic"}, {"xkb", "us"}});
    EXPECT_EQ(languages(list), (QList<quint16>{0x0409, 0, 0x0419, 0x0809}));
    EXPECT_EQ(list.layouts[2].variant, QStringLiteral("phonetic"));
    EXPECT_EQ(list.active, 2); // "de" is no longer a source
    // No recent list, or a stale one: GNOME takes its first source.
    EXPECT_EQ(layoutsFromGnomeSources(sources, {}).active, 0);
    EXPECT_EQ(layoutsFromGnomeSources(sources, {{"xkb", "fr"}}).active, 0);
    EXPECT_EQ(layoutsFromGnomeSources({}, {{"xkb", "us"}}).active, -1);
}

TEST(DesktopLayouts, IbusLayoutsAreItsXkbEngines)
{
    const QStringList preloaded = {"xkb:us::eng", "anthy", "xkb:ru:phonetic:rus", "xkb:us::eng", "xkb:../x::rus"};
    IbusLayoutList list = layoutsFromIbusEngines(preloaded, QStringLiteral("xkb:ru:phonetic:rus"));
    EXPECT_EQ(list.engines, (QStringList{"xkb:us::eng", "xkb:ru:phonetic:rus"}));
    EXPECT_EQ(languages(list.list), (QList<quint16>{0x0409, 0x0419}));
    EXPECT_EQ(list.list.active, 1);
    // An input method is active: no layout is.
    EXPECT_EQ(layoutsFromIbusEngines(preloaded, QStringLiteral("anthy")).list.active, -1);
    // Nothing preloaded: the global engine alone, when a layout.
    list = layoutsFromIbusEngines({}, QStringLiteral("xkb:ru::rus"));
    EXPECT_EQ(list.engines, (QStringList{"xkb:ru::rus"}));
    EXPECT_EQ(list.list.active, 0);
    EXPECT_TRUE(layoutsFromIbusEngines({"anthy"}, QString()).engines.isEmpty());
    EXPECT_TRUE(isLocalSocketAddress("unix:abstract=/tmp/dbus-x,guid=0f"));
    for (const char *address : {"autolaunch:", "unix:path=/a;autolaunch:", "nonce-tcp:host=h,noncefile=/f", ""})
        EXPECT_FALSE(isLocalSocketAddress(address)) << address;
}

TEST(DesktopLayouts, TheNamedDesktopIsAskedFirstAndXkbLast)
{
    using B = KeyboardBackend;
    EXPECT_EQ(keyboardBackendOrder(QStringLiteral("KDE")), (QList<B>{B::Kde, B::Sway, B::Ibus, B::Xkb}));
    EXPECT_EQ(keyboardBackendOrder(QStringLiteral("ubuntu:GNOME")),
              (QList<B>{B::Gnome, B::Kde, B::Sway, B::Ibus, B::Xkb}));
    EXPECT_EQ(keyboardBackendOrder(QStringLiteral("sway")), (QList<B>{B::Sway, B::Kde, B::Ibus, B::Xkb}));
    // GNOME's settings exist on other desktops too: only where GNOME is named.
    for (const char *desktop : {"", "XFCE", "::", "X-Cinnamon"})
        EXPECT_EQ(keyboardBackendOrder(QString::fromLatin1(desktop)), (QList<B>{B::Kde, B::Sway, B::Ibus, B::Xkb}))
            << desktop;
}

TEST(DesktopLayouts, LayoutKeysComeFromTheKeyboardDataByName)
{
    auto keyOf = [](const QList<LayoutKey> &keys, int keycode) {
        for (const LayoutKey &key : keys) {
            if (key.keycode == keycode)
                return key;
        }
        return LayoutKey{};
    };
    constexpr int kKeyQ = 24; // X11 key code of the key right of Tab
    const QList<LayoutKey> us = keysOfXkbLayout(QStringLiteral("us"), QString());
    const QList<LayoutKey> ru = keysOfXkbLayout(QStringLiteral("ru"), QString());
    const QList<LayoutKey> phonetic = keysOfXkbLayout(QStringLiteral("ru"), QStringLiteral("phonetic"));
    EXPECT_EQ(keyOf(us, kKeyQ).plain, U'q');
    EXPECT_EQ(keyOf(us, kKeyQ).shifted, U'Q');
    EXPECT_EQ(keyOf(ru, kKeyQ).plain, U'й');
    EXPECT_EQ(keyOf(ru, kKeyQ).shifted, U'Й');
    EXPECT_EQ(keyOf(phonetic, kKeyQ).plain, U'я');
    EXPECT_TRUE(keysOfXkbLayout(QStringLiteral("nosuchlayout"), QString()).isEmpty());
    // Desktops that give only descriptions: the variant is found by them.
    const QByteArray rules = "! layout\n  us   English (US)\n  ru   Russian\n! variant\n  phonetic   ru: Russian (phonetic)\n"
                             "! option\n  grp:x   ru: Russian (phonetic) toggle\n";
    auto names = [&](const char *description) {
        const std::optional<XkbLayoutNames> found = xkbNamesOfDescription(QString::fromUtf8(description), rules);
        return found ? found->symbols + QLatin1Char('/') + found->variant : QStringLiteral("none");
    };
    EXPECT_EQ(names("Russian (phonetic)"), QStringLiteral("ru/phonetic"));
    EXPECT_EQ(names("English (US)"), QStringLiteral("us/"));
    EXPECT_EQ(names("Russian (phonetic) toggle"), QStringLiteral("none")); // options are no layouts
    EXPECT_EQ(names(""), QStringLiteral("none"));
    EXPECT_EQ(xkbNamesOfDescription(QStringLiteral("Russian (phonetic)"))->variant, QStringLiteral("phonetic"));
    EXPECT_TRUE(keysOfXkbLayout(QString(), QString()).isEmpty());
}
