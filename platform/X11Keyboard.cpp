#include "platform/X11Keyboard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

#include <iterator>

// Xlib's macros (None, Bool, Status…) clash with Qt's names: it comes last.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace platform {

namespace {

// XKB symbols name, the group name xkeyboard-config gives its basic layout, and
// the Windows language identifier. The group name only serves when the rules
// property is missing and the groups' own names have to be read instead.
struct LayoutLanguage {
    const char *symbols;
    const char *groupName;
    quint16 languageId;
};

const LayoutLanguage kLayoutLanguages[] = {
    {"us", "English (US)", 0x0409},
    {"gb", "English (UK)", 0x0809},
    {"au", "English (Australian)", 0x0C09},
    {"ie", "Irish", 0x1809},
    {"ru", "Russian", 0x0419},
    {"ua", "Ukrainian", 0x0422},
    {"by", "Belarusian", 0x0423},
    {"kz", "Kazakh", 0x043F},
    {"uz", "Uzbek", 0x0443},
    {"kg", "Kyrgyz", 0x0440},
    {"tj", "Tajik", 0x0428},
    {"tm", "Turkmen", 0x0442},
    {"mn", "Mongolian", 0x0450},
    {"am", "Armenian", 0x042B},
    {"ge", "Georgian", 0x0437},
    {"az", "Azerbaijani", 0x042C},
    {"de", "German", 0x0407},
    {"at", "German (Austria)", 0x0C07},
    {"ch", "German (Switzerland)", 0x0807},
    {"fr", "French", 0x040C},
    {"be", "Belgian", 0x080C},
    {"ca", "French (Canada)", 0x0C0C},
    {"it", "Italian", 0x0410},
    {"es", "Spanish", 0x0C0A},
    {"latam", "Spanish (Latin American)", 0x080A},
    {"pt", "Portuguese", 0x0816},
    {"br", "Portuguese (Brazil)", 0x0416},
    {"nl", "Dutch", 0x0413},
    {"pl", "Polish", 0x0415},
    {"cz", "Czech", 0x0405},
    {"sk", "Slovak", 0x041B},
    {"hu", "Hungarian", 0x040E},
    {"ro", "Romanian", 0x0418},
    {"bg", "Bulgarian", 0x0402},
    {"rs", "Serbian", 0x281A},
    {"hr", "Croatian", 0x041A},
    {"si", "Slovenian", 0x0424},
    {"mk", "Macedonian", 0x042F},
    {"lt", "Lithuanian", 0x0427},
    {"lv", "Latvian", 0x0426},
    {"ee", "Estonian", 0x0425},
    {"fi", "Finnish", 0x040B},
    {"se", "Swedish", 0x041D},
    {"no", "Norwegian", 0x0414},
    {"dk", "Danish", 0x0406},
    {"is", "Icelandic", 0x040F},
    {"gr", "Greek", 0x0408},
    {"tr", "Turkish", 0x041F},
    {"il", "Hebrew", 0x040D},
    {"ara", "Arabic", 0x0401},
    {"ir", "Persian", 0x0429},
    {"in", "Indian", 0x0439},
    {"th", "Thai", 0x041E},
    {"vn", "Vietnamese", 0x042A},
    {"jp", "Japanese", 0x0411},
    {"kr", "Korean", 0x0412},
    {"cn", "Chinese", 0x0804},
    {"tw", "Taiwanese", 0x0404},
};

quint16 languageIdOfSymbols(const QString &symbols)
{
    for (const LayoutLanguage &entry : kLayoutLanguages) {
        if (symbols == QLatin1String(entry.symbols))
            return entry.languageId;
    }
    return 0;
}

const LayoutLanguage *entryOfGroupName(const QString &name)
{
    // "English (UK, extended)" is a variant of "English (UK)"; "Russian
    // (phonetic)" one of "Russian". Try the full name first, then these.
    QStringList candidates{name};
    const int comma = name.indexOf(QLatin1Char(','));
    if (comma > 0 && name.contains(QLatin1Char('(')))
        candidates << name.left(comma).trimmed() + QLatin1Char(')');
    const int paren = name.indexOf(QLatin1Char('('));
    if (paren > 0)
        candidates << name.left(paren).trimmed();
    for (const QString &candidate : candidates) {
        for (const LayoutLanguage &entry : kLayoutLanguages) {
            if (candidate.compare(QLatin1String(entry.groupName), Qt::CaseInsensitive) == 0)
                return &entry;
        }
    }
    // The plain language word ("English (Dvorak)" → "English"): the first entry
    // whose group name starts with it.
    if (paren > 0) {
        const QString word = name.left(paren).trimmed() + QLatin1String(" (");
        for (const LayoutLanguage &entry : kLayoutLanguages) {
            if (QLatin1String(entry.groupName).startsWith(word, Qt::CaseInsensitive))
                return &entry;
        }
    }
    return nullptr;
}

quint16 languageIdOfGroupName(const QString &name)
{
    const LayoutLanguage *entry = entryOfGroupName(name);
    return entry ? entry->languageId : 0;
}

// The characters of the Cyrillic keysyms 0x6a1 to 0x6ff, in keysym order.
constexpr quint32 kFirstCyrillicKeysym = 0x6a1;
constexpr quint32 kLastCyrillicKeysym = 0x6ff;
constexpr char16_t kCyrillicKeysymCharacters[] = {
    0x0452, 0x0453, 0x0451, 0x0454, 0x0455, 0x0456, 0x0457, 0x0458, 0x0459, 0x045A, 0x045B, 0x045C,
    0x0491, 0x045E, 0x045F, 0x2116, 0x0402, 0x0403, 0x0401, 0x0404, 0x0405, 0x0406, 0x0407, 0x0408,
    0x0409, 0x040A, 0x040B, 0x040C, 0x0490, 0x040E, 0x040F, 0x044E, 0x0430, 0x0431, 0x0446, 0x0434,
    0x0435, 0x0444, 0x0433, 0x0445, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x044F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0436, 0x0432, 0x044C, 0x044B, 0x0437, 0x0448, 0x044D,
    0x0449, 0x0447, 0x044A, 0x042E, 0x0410, 0x0411, 0x0426, 0x0414, 0x0415, 0x0424, 0x0413, 0x0425,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x042F, 0x0420, 0x0421, 0x0422,
    0x0423, 0x0416, 0x0412, 0x042C, 0x042B, 0x0417, 0x0428, 0x042D, 0x0429, 0x0427, 0x042A,
};
static_assert(std::size(kCyrillicKeysymCharacters) == kLastCyrillicKeysym - kFirstCyrillicKeysym + 1);

// The display of the running X11 session, when XKB can be used on it. Fetched
// at each call rather than kept, so a closed application leaves nothing dangling.
Display *xkbDisplay()
{
#if QT_CONFIG(xcb)
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return nullptr;
    int opcode = 0, event = 0, error = 0;
    int major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        return nullptr;
    return display;
#else
    return nullptr;
#endif
}

QByteArray rulesNamesProperty(Display *display)
{
    const Atom atom = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (atom == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), atom, 0, 1024, False,
                                          AnyPropertyType, &type, &format, &items, &after, &data);
    QByteArray result;
    if (status == Success && data && format == 8)
        result = QByteArray(reinterpret_cast<const char *>(data), int(items));
    if (data)
        XFree(data);
    return result;
}

QList<quint32> handlesFromGroupNames(Display *display)
{
    QList<quint32> handles;
    XkbDescPtr keyboard = XkbAllocKeyboard();
    if (!keyboard)
        return handles;
    if (XkbGetNames(display, XkbGroupNamesMask, keyboard) == Success && keyboard->names) {
        for (int group = 0; group < XkbNumKbdGroups; ++group) {
            const Atom name = keyboard->names->groups[group];
            if (name == None)
                break;
            char *text = XGetAtomName(display, name);
            const QString groupName = text ? QString::fromUtf8(text) : QString();
            if (text)
                XFree(text);
            handles << layoutHandle(group, languageIdOfGroupName(groupName));
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return handles;
}

// The characters each key of one XKB group gives at its first two levels
// (plain and Shift). A key with fewer groups wraps around, as XKB does by default.
QList<LayoutKey> keysOfGroup(Display *display, int group)
{
    QList<LayoutKey> keys;
    XkbDescPtr keyboard = XkbGetMap(display, XkbKeySymsMask | XkbKeyTypesMask, XkbUseCoreKbd);
    if (!keyboard)
        return keys;
    for (int code = keyboard->min_key_code; code <= keyboard->max_key_code; ++code) {
        const int groups = XkbKeyNumGroups(keyboard, code);
        if (groups == 0)
            continue;
        const int keyGroup = group % groups;
        const int width = XkbKeyGroupWidth(keyboard, code, keyGroup);
        LayoutKey key;
        key.keycode = code;
        if (width > 0)
            key.plain = characterOfKeysym(quint32(XkbKeySymEntry(keyboard, code, 0, keyGroup)));
        if (width > 1)
            key.shifted = characterOfKeysym(quint32(XkbKeySymEntry(keyboard, code, 1, keyGroup)));
        if (key.plain != 0 || key.shifted != 0)
            keys << key;
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return keys;
}

class X11KeyboardLayouts : public KeyboardLayouts {
public:
    QList<quint32> installed(int maxCount) override
    {
        Display *display = xkbDisplay();
        if (!display || maxCount <= 0)
            return {};
        QList<quint32> handles = layoutHandlesFromNames(layoutListFromRulesNames(rulesNamesProperty(display)));
        if (handles.isEmpty())
            handles = handlesFromGroupNames(display);
        return handles.mid(0, maxCount);
    }

    void activate(quint32 handle) override
    {
        const int group = groupOfLayoutHandle(handle);
        Display *display = xkbDisplay();
        if (!display || group < 0)
            return;
        XkbLockGroup(display, XkbUseCoreKbd, unsigned(group));
        XFlush(display);
    }

    QList<LayoutKey> keys(quint32 handle) override
    {
        const int group = groupOfLayoutHandle(handle);
        Display *display = xkbDisplay();
        if (!display || group < 0)
            return {};
        return keysOfGroup(display, group);
    }

    bool canActivate() override { return true; }
    // The layout last chosen is what the window shows, as it always has on X11.
    std::optional<quint32> current() override { return std::nullopt; }
    void setChangeHandler(std::function<void()>) override {}
};

class X11LockKeys : public LockKeys {
public:
    bool isOn(LockKey key) override
    {
        Display *display = xkbDisplay();
        if (!display)
            return false;
        const char *indicator = "Caps Lock";
        KeySym keysym = XK_Caps_Lock;
        switch (key) {
        case LockKey::CapsLock:
            break;
        case LockKey::ScrollLock:
            indicator = "Scroll Lock";
            keysym = XK_Scroll_Lock;
            break;
        case LockKey::NumLock:
            indicator = "Num Lock";
            keysym = XK_Num_Lock;
            break;
        }
        return toggledOn(display, indicator, keysym) && !heldDown(display, keysym);
    }

private:
    static bool toggledOn(Display *display, const char *indicator, KeySym keysym)
    {
        const Atom name = XInternAtom(display, indicator, True);
        int index = 0;
        Bool on = False;
        Bool real = False;
        if (name != None && XkbGetNamedIndicator(display, name, &index, &on, nullptr, &real))
            return on;
        // A keymap without that light: the key's locked modifier, if it has one.
        const unsigned mask = XkbKeysymToModifiers(display, keysym);
        XkbStateRec state{};
        if (mask == 0 || XkbGetState(display, XkbUseCoreKbd, &state) != Success)
            return false;
        return (state.locked_mods & mask) != 0;
    }

    static bool heldDown(Display *display, KeySym keysym)
    {
        const KeyCode code = XKeysymToKeycode(display, keysym);
        if (code == 0)
            return false;
        char keys[32] = {};
        XQueryKeymap(display, keys);
        return (keys[code / 8] & (1 << (code % 8))) != 0;
    }
};

class NoLockKeys : public LockKeys {
public:
    bool isOn(LockKey) override { return false; }
};

bool onX11()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

quint16 languageIdOfLayout(const QString &layoutName)
{
    const QString name = layoutName.trimmed();
    if (name.isEmpty())
        return 0;
    // A symbols name may carry a variant or a group: "ru(phonetic)", "us:2".
    QString symbols = name.toLower();
    for (const QChar mark : {QLatin1Char('('), QLatin1Char(':')}) {
        const int cut = symbols.indexOf(mark);
        if (cut >= 0)
            symbols.truncate(cut);
    }
    if (const quint16 id = languageIdOfSymbols(symbols.trimmed()))
        return id;
    return languageIdOfGroupName(name);
}

QString symbolsOfLayoutName(const QString &layoutName)
{
    const LayoutLanguage *entry = entryOfGroupName(layoutName.trimmed());
    return entry ? QString::fromLatin1(entry->symbols) : QString();
}

char32_t characterOfKeysym(quint32 keysym)
{
    // Latin-1 keysyms are their characters, printable ASCII and 0xa0 to 0xff.
    constexpr quint32 kSpaceKeysym = 0x20, kTildeKeysym = 0x7e, kNoBreakSpaceKeysym = 0xa0, kYDiaeresisKeysym = 0xff;
    constexpr quint32 kUnicodeKeysymBase = 0x01000000;
    constexpr quint32 kFirstUnicodeKeysym = 0x01000100;
    constexpr quint32 kLastUnicodeKeysym = 0x0110ffff;
    const bool latin1 = (keysym >= kSpaceKeysym && keysym <= kTildeKeysym)
        || (keysym >= kNoBreakSpaceKeysym && keysym <= kYDiaeresisKeysym);
    if (latin1)
        return char32_t(keysym);
    if (keysym >= kFirstUnicodeKeysym && keysym <= kLastUnicodeKeysym)
        return char32_t(keysym - kUnicodeKeysymBase);
    if (keysym >= kFirstCyrillicKeysym && keysym <= kLastCyrillicKeysym)
        return kCyrillicKeysymCharacters[keysym - kFirstCyrillicKeysym];
    return 0;
}

quint32 layoutHandle(int groupIndex, quint16 languageId)
{
    return (quint32(groupIndex + 1) << 16) | languageId;
}

int groupOfLayoutHandle(quint32 handle)
{
    const int group = int(handle >> 16) - 1;
    return group >= 0 && group < XkbNumKbdGroups ? group : -1;
}

QList<quint32> layoutHandlesFromNames(const QString &layoutList)
{
    QList<quint32> handles;
    if (layoutList.trimmed().isEmpty())
        return handles;
    const QStringList names = layoutList.split(QLatin1Char(','));
    for (int group = 0; group < names.size() && group < XkbNumKbdGroups; ++group)
        handles << layoutHandle(group, languageIdOfLayout(names[group]));
    return handles;
}

QString layoutListFromRulesNames(const QByteArray &property)
{
    const QList<QByteArray> fields = property.split('\0');
    return fields.size() > 2 ? QString::fromUtf8(fields[2]) : QString();
}

std::unique_ptr<KeyboardLayouts> makeXkbKeyboardLayouts()
{
    if (onX11())
        return std::make_unique<X11KeyboardLayouts>();
    return nullptr;
}

std::unique_ptr<LockKeys> makeDesktopLockKeys()
{
    if (onX11())
        return std::make_unique<X11LockKeys>();
    return std::make_unique<NoLockKeys>();
}

} // namespace platform
