#include "platform/DesktopLayouts.h"

#include "platform/X11Keyboard.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cstring>

namespace platform {

namespace {

constexpr char kI3IpcMagic[] = "i3-ipc";
constexpr int kI3IpcMagicSize = 6;

QString bounded(const QString &text)
{
    return text.left(kMaxLayoutNameLength);
}

// A symbols or variant name as XKB spells them; anything else (a path, a
// space, markup) names no layout.
bool isXkbName(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxLayoutNameLength)
        return false;
    for (const QChar c : name) {
        const bool allowed = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                             (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                             (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') ||
                             c == QLatin1Char('-');
        if (!allowed)
            return false;
    }
    return true;
}

DesktopLayout layoutFromXkbNames(const QString &symbols, const QString &variant)
{
    DesktopLayout layout;
    if (!isXkbName(symbols))
        return layout;
    layout.symbols = symbols;
    if (isXkbName(variant))
        layout.variant = variant;
    layout.languageId = languageIdOfLayout(symbols);
    return layout;
}

// ISO 639-3 codes IBus gives its xkb engines, for a layout whose symbols
// name is not in our table.
quint16 languageIdOfIsoCode(const QString &codes)
{
    const QString first = codes.section(QLatin1Char(','), 0, 0);
    if (first == QLatin1String("eng"))
        return 0x0409;
    if (first == QLatin1String("rus"))
        return 0x0419;
    return 0;
}

DesktopLayout layoutFromGnomeSource(const InputSource &source)
{
    if (source.first == QLatin1String("xkb"))
        return layoutFromXkbNames(source.second.section(QLatin1Char('+'), 0, 0),
                                  source.second.section(QLatin1Char('+'), 1, 1));
    if (source.first == QLatin1String("ibus")) {
        if (const std::optional<DesktopLayout> layout = layoutFromIbusEngine(source.second))
            return *layout;
    }
    return {};
}

} // namespace

std::optional<DesktopLayoutList> layoutsFromSwayInputs(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isArray())
        return std::nullopt;
    for (const QJsonValue &input : document.array()) {
        const QJsonObject device = input.toObject();
        if (device.value(QLatin1String("type")).toString() != QLatin1String("keyboard"))
            continue;
        const QJsonArray names = device.value(QLatin1String("xkb_layout_names")).toArray();
        if (names.isEmpty())
            continue;
        DesktopLayoutList list;
        for (const QJsonValue &name : names) {
            if (list.layouts.size() == kMaxDesktopLayouts)
                break;
            const QString text = bounded(name.toString());
            DesktopLayout layout;
            layout.languageId = languageIdOfLayout(text);
            layout.symbols = symbolsOfLayoutName(text);
            layout.description = text;
            list.layouts << layout;
        }
        const QJsonValue active = device.value(QLatin1String("xkb_active_layout_index"));
        const double index = active.toDouble(-1);
        if (active.isDouble() && index >= 0 && index < list.layouts.size() && index == int(index))
            list.active = int(index);
        return list;
    }
    return std::nullopt;
}

bool swayCommandSucceeded(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isArray() || document.array().isEmpty())
        return false;
    for (const QJsonValue &result : document.array()) {
        if (!result.toObject().value(QLatin1String("success")).toBool(false))
            return false;
    }
    return true;
}

QByteArray i3IpcMessage(quint32 type, const QByteArray &payload)
{
    QByteArray message(kI3IpcMagic, kI3IpcMagicSize);
    const quint32 length = quint32(payload.size());
    message.append(reinterpret_cast<const char *>(&length), sizeof length);
    message.append(reinterpret_cast<const char *>(&type), sizeof type);
    return message + payload;
}

std::optional<quint32> i3IpcPayloadLength(const QByteArray &header, quint32 type, quint32 maxLength)
{
    if (header.size() < kI3IpcHeaderSize || !header.startsWith(QByteArray(kI3IpcMagic, kI3IpcMagicSize)))
        return std::nullopt;
    // Byte by byte out of the header: GCC cannot see that the size check
    // above keeps a pointer into it from running past an empty array's end.
    char fields[sizeof(quint32) * 2];
    for (std::size_t i = 0; i < sizeof fields; ++i)
        fields[i] = header.at(qsizetype(kI3IpcMagicSize + i));
    quint32 length = 0, replyType = 0;
    std::memcpy(&length, fields, sizeof length);
    std::memcpy(&replyType, fields + sizeof length, sizeof replyType);
    if (replyType != type || length > maxLength)
        return std::nullopt;
    return length;
}

DesktopLayout layoutFromKde(const QString &shortName, const QString &longName)
{
    // Short names may carry the variant the way setxkbmap writes it: "ru(phonetic)".
    const QString symbols = shortName.section(QLatin1Char('('), 0, 0).trimmed();
    QString variant;
    if (shortName.endsWith(QLatin1Char(')')))
        variant = shortName.section(QLatin1Char('('), 1).chopped(1);
    DesktopLayout layout = layoutFromXkbNames(symbols, variant);
    if (layout.languageId == 0)
        layout.languageId = languageIdOfLayout(bounded(longName));
    if (layout.symbols.isEmpty())
        layout.symbols = symbolsOfLayoutName(bounded(longName));
    layout.description = bounded(longName);
    return layout;
}

std::optional<DesktopLayout> layoutFromIbusEngine(const QString &engine)
{
    if (engine.size() > kMaxLayoutNameLength || !engine.startsWith(QLatin1String("xkb:")))
        return std::nullopt;
    const QStringList fields = engine.split(QLatin1Char(':'));
    if (fields.size() < 2 || !isXkbName(fields[1]))
        return std::nullopt;
    DesktopLayout layout = layoutFromXkbNames(fields[1], fields.value(2));
    if (layout.languageId == 0)
        layout.languageId = languageIdOfIsoCode(fields.value(3));
    return layout;
}

IbusLayoutList layoutsFromIbusEngines(const QStringList &preloaded, const QString &globalEngine)
{
    IbusLayoutList result;
    for (const QString &engine : preloaded + QStringList{globalEngine}) {
        if (result.engines.size() == kMaxDesktopLayouts || result.engines.contains(engine))
            continue;
        if (const std::optional<DesktopLayout> layout = layoutFromIbusEngine(engine)) {
            result.engines << engine;
            result.list.layouts << *layout;
        }
    }
    result.list.active = int(result.engines.indexOf(globalEngine));
    return result;
}

bool isLocalSocketAddress(const QByteArray &address)
{
    return address.startsWith("unix:") && !address.contains(';') && address.size() <= kMaxLayoutNameLength * 4;
}

DesktopLayoutList layoutsFromGnomeSources(const QList<InputSource> &sources, const QList<InputSource> &mru)
{
    DesktopLayoutList list;
    const QList<InputSource> kept = sources.mid(0, kMaxDesktopLayouts);
    for (const InputSource &source : kept)
        list.layouts << layoutFromGnomeSource(source);
    for (const InputSource &recent : mru) {
        const int index = int(kept.indexOf(recent));
        if (index >= 0) {
            list.active = index;
            break;
        }
    }
    if (list.active < 0 && !kept.isEmpty())
        list.active = 0;
    return list;
}

QList<KeyboardBackend> keyboardBackendOrder(const QString &currentDesktop)
{
    QList<KeyboardBackend> order;
    for (const QString &name : currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        std::optional<KeyboardBackend> named;
        if (name.compare(QLatin1String("KDE"), Qt::CaseInsensitive) == 0)
            named = KeyboardBackend::Kde;
        else if (name.compare(QLatin1String("sway"), Qt::CaseInsensitive) == 0)
            named = KeyboardBackend::Sway;
        else if (name.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0)
            named = KeyboardBackend::Gnome;
        if (named && !order.contains(*named))
            order << *named;
    }
    for (const KeyboardBackend backend : {KeyboardBackend::Kde, KeyboardBackend::Sway, KeyboardBackend::Ibus}) {
        if (!order.contains(backend))
            order << backend;
    }
    order << KeyboardBackend::Xkb;
    return order;
}

} // namespace platform
