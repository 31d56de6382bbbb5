#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// What the desktops say about their keyboard layouts, read from their own
// formats. Nothing here talks to a desktop: every reply is taken as a
// stranger's text and anything odd in it is dropped, never trusted.
namespace platform {

// One layout of a desktop's list.
struct DesktopLayout {
    QString symbols;     // XKB symbols name, "us", "ru"; empty when not told
    QString variant;     // XKB variant, "phonetic"; empty for the basic one
    QString description; // "Russian (phonetic)", where the desktop gives one
    quint16 languageId = 0; // Windows language identifier; 0 when unknown
};

// A desktop's layouts in its own order, and the index of the active one
// (-1 when it does not say).
struct DesktopLayoutList {
    QList<DesktopLayout> layouts;
    int active = -1;
};

// The most layouts, and the longest name, taken from any one reply.
constexpr int kMaxDesktopLayouts = 64;
constexpr int kMaxLayoutNameLength = 256;

// sway: the reply to GET_INPUTS, a JSON array of input devices. The first
// keyboard that lists layouts (xkb_layout_names, descriptive names such as
// "English (US)") gives them and xkb_active_layout_index. nullopt: no such
// keyboard, or not JSON.
std::optional<DesktopLayoutList> layoutsFromSwayInputs(const QByteArray &json);

// Whether a RUN_COMMAND reply says every command succeeded.
bool swayCommandSucceeded(const QByteArray &json);

// The i3 IPC framing sway speaks: "i3-ipc", the payload's length and the
// message type (both 32-bit, the machine's byte order), then the payload.
constexpr int kI3IpcHeaderSize = 14;
constexpr quint32 kSwayRunCommand = 0;
constexpr quint32 kSwayGetInputs = 100;
QByteArray i3IpcMessage(quint32 type, const QByteArray &payload);
// The payload length a reply header announces; nullopt for a header that is
// not one, of another message type, or announcing more than maxLength.
std::optional<quint32> i3IpcPayloadLength(const QByteArray &header, quint32 type, quint32 maxLength);

// KDE: one entry of org.kde.KeyboardLayouts.getLayoutsList, whose short name
// is the symbols name ("us", "ru") and long name the descriptive one
// ("Russian (phonetic)").
DesktopLayout layoutFromKde(const QString &shortName, const QString &longName);

// IBus: an engine name. Its xkb engines are "xkb:LAYOUT:VARIANT:LANGUAGES"
// ("xkb:us::eng", "xkb:ru:phonetic:rus"); nullopt for any other engine.
std::optional<DesktopLayout> layoutFromIbusEngine(const QString &engine);

// IBus on its own bus: the preloaded engines whose xkb ones are the layouts
// (input methods and repeats left out), `engines` their names in the same
// order. The global engine, when an xkb one not preloaded, is added last so
// that it can be shown; active is its index, -1 when it is no layout.
struct IbusLayoutList {
    QStringList engines;
    DesktopLayoutList list;
};
IbusLayoutList layoutsFromIbusEngines(const QStringList &preloaded, const QString &globalEngine);

// Whether a bus address (IBus's, from its file or IBUS_ADDRESS) is one local
// socket: other transports may start a program ("autolaunch:"), read a file
// ("nonce-tcp:") or reach another machine.
bool isLocalSocketAddress(const QByteArray &address);

// GNOME: org.gnome.desktop.input-sources. `sources` lists (type, id) pairs:
// ("xkb", "ru+phonetic") or ("ibus", "xkb:us::eng"); sources of other kinds
// (input methods) are kept, with no language, so indices stay GNOME's. The
// active one is the first of `mru-sources` that is among the sources, else
// the first source (GNOME's own rule when that list is empty or stale).
using InputSource = QPair<QString, QString>;
DesktopLayoutList layoutsFromGnomeSources(const QList<InputSource> &sources, const QList<InputSource> &mru);

// The keyboard backends, and the order to try them in for the desktop that
// XDG_CURRENT_DESKTOP names (a colon-separated list, "ubuntu:GNOME"): the
// named desktop's own first, then KDE, sway, IBus and XKB. GNOME is tried
// only where it is named, since its settings exist on every desktop that has
// them installed.
enum class KeyboardBackend { Kde, Sway, Gnome, Ibus, Xkb };
QList<KeyboardBackend> keyboardBackendOrder(const QString &currentDesktop);

} // namespace platform
