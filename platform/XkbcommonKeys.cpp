#include "platform/XkbcommonKeys.h"

#include "platform/X11Keyboard.h"

#include <QFile>

#include <xkbcommon/xkbcommon.h>

#include <memory>

namespace platform {

namespace {

// Only the system's own data: neither the environment nor the home folder may
// point the compiler at other files.
constexpr char kXkbDataFolder[] = "/usr/share/X11/xkb";
constexpr xkb_level_index_t kPlainLevel = 0;
constexpr xkb_level_index_t kShiftLevel = 1;
constexpr char kRulesList[] = "/usr/share/X11/xkb/rules/evdev.lst";
constexpr qint64 kMaxRulesListBytes = 4 * 1024 * 1024; // today's is 45 KB

struct ContextFree {
    void operator()(xkb_context *context) const { xkb_context_unref(context); }
};
struct KeymapFree {
    void operator()(xkb_keymap *keymap) const { xkb_keymap_unref(keymap); }
};

char32_t characterAt(xkb_keymap *keymap, xkb_keycode_t key, xkb_level_index_t level)
{
    const xkb_keysym_t *syms = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(keymap, key, 0, level, &syms);
    return count == 1 && syms ? characterOfKeysym(syms[0]) : 0;
}

// "  name   description" → name and description.
std::pair<QString, QString> nameAndDescription(const QString &line)
{
    const QString trimmed = line.trimmed();
    const int space = int(trimmed.indexOf(QLatin1Char(' ')));
    if (space <= 0)
        return {};
    return {trimmed.left(space), trimmed.mid(space).trimmed()};
}

} // namespace

std::optional<XkbLayoutNames> xkbNamesOfDescription(const QString &description, const QByteArray &rulesList)
{
    if (description.isEmpty())
        return std::nullopt;
    QString section;
    for (const QByteArray &bytes : rulesList.split('\n')) {
        const QString line = QString::fromUtf8(bytes);
        if (line.startsWith(QLatin1Char('!'))) {
            section = line.mid(1).trimmed();
            continue;
        }
        const auto [name, rest] = nameAndDescription(line);
        if (section == QLatin1String("layout") && rest == description)
            return XkbLayoutNames{name, QString()};
        // A variant's line: "  phonetic   ru: Russian (phonetic)".
        const int colon = int(rest.indexOf(QLatin1String(": ")));
        if (section == QLatin1String("variant") && colon > 0 && rest.mid(colon + 2) == description)
            return XkbLayoutNames{rest.left(colon), name};
    }
    return std::nullopt;
}

std::optional<XkbLayoutNames> xkbNamesOfDescription(const QString &description)
{
    static const QByteArray list = [] {
        QFile file(QString::fromLatin1(kRulesList));
        return file.open(QIODevice::ReadOnly) ? file.read(kMaxRulesListBytes) : QByteArray();
    }();
    return xkbNamesOfDescription(description, list);
}

QList<LayoutKey> keysOfXkbLayout(const QString &symbols, const QString &variant)
{
    QList<LayoutKey> keys;
    if (symbols.isEmpty())
        return keys;
    const std::unique_ptr<xkb_context, ContextFree> context(
        xkb_context_new(xkb_context_flags(XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES)));
    if (!context || !xkb_context_include_path_append(context.get(), kXkbDataFolder))
        return keys;
    xkb_context_set_log_level(context.get(), XKB_LOG_LEVEL_CRITICAL);
    const QByteArray layout = symbols.toUtf8();
    const QByteArray layoutVariant = variant.toUtf8();
    xkb_rule_names names{};
    names.rules = "evdev";
    names.model = "pc105";
    names.layout = layout.constData();
    names.variant = layoutVariant.constData();
    names.options = "";
    const std::unique_ptr<xkb_keymap, KeymapFree> keymap(
        xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return keys;
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap.get());
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap.get()); code <= last && code != 0; ++code) {
        if (xkb_keymap_num_layouts_for_key(keymap.get(), code) == 0)
            continue;
        LayoutKey key;
        key.keycode = int(code);
        key.plain = characterAt(keymap.get(), code, kPlainLevel);
        key.shifted = characterAt(keymap.get(), code, kShiftLevel);
        if (key.plain != 0 || key.shifted != 0)
            keys << key;
    }
    return keys;
}

} // namespace platform
