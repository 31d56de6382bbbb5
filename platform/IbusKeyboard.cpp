// IBus's xkb engines, where IBus owns the layouts: asked on IBus's own bus.
// libibus only finds that bus (its address file, whose daemon must be alive);
// the calls go through GDBus, as libibus's own wait up to the bus's 25 s.
#include "platform/ListedKeyboardLayouts.h"

#include <memory>

// GLib's headers come last: they use names Qt's macros would change.
#include <gio/gio.h>
#include <ibus.h>

namespace platform {

namespace {

constexpr char kIbusService[] = "org.freedesktop.IBus";
constexpr char kIbusPath[] = "/org/freedesktop/IBus";
constexpr char kIbusInterface[] = "org.freedesktop.IBus";
constexpr char kGeneralSchema[] = "org.freedesktop.ibus.general";
constexpr char kPreloadKey[] = "preload-engines";

struct Connecting {
    GDBusConnection *connection = nullptr;
    bool done = false;
    bool expired = false;
};

void connected(GObject *, GAsyncResult *result, gpointer data)
{
    auto *connecting = static_cast<Connecting *>(data);
    connecting->connection = g_dbus_connection_new_for_address_finish(result, nullptr);
    connecting->done = true;
}

gboolean expire(gpointer data)
{
    static_cast<Connecting *>(data)->expired = true;
    return G_SOURCE_REMOVE;
}

// A daemon that is alive but does not answer must not hold the start-up: the
// handshake runs on a private context, given up after the call timeout. GDBus
// cannot cancel every step of it (it waits for the bus's Hello unbounded), so
// an unanswered one is left behind: its context is never run again and what
// it holds is not freed, once, rather than the window waiting.
GDBusConnection *connectToIbus()
{
    const gchar *address = ibus_get_address();
    if (!address || !isLocalSocketAddress(QByteArray(address)))
        return nullptr;
    GMainContext *context = g_main_context_new();
    auto connecting = std::make_unique<Connecting>();
    GSource *timeout = g_timeout_source_new(kDesktopCallTimeoutMs);
    g_source_set_callback(timeout, &expire, connecting.get(), nullptr);
    g_source_attach(timeout, context);
    g_main_context_push_thread_default(context);
    g_dbus_connection_new_for_address(
        address,
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &connected, connecting.get());
    g_main_context_pop_thread_default(context);
    while (!connecting->done && !connecting->expired)
        g_main_context_iteration(context, TRUE);
    g_source_destroy(timeout);
    g_source_unref(timeout);
    if (!connecting->done) {
        static_cast<void>(connecting.release());
        return nullptr;
    }
    g_main_context_unref(context);
    return connecting->connection;
}

GVariant *callIbus(GDBusConnection *connection, const char *method, GVariant *arguments, const char *replyType)
{
    return g_dbus_connection_call_sync(connection, kIbusService, kIbusPath, kIbusInterface, method, arguments,
                                       G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NO_AUTO_START,
                                       kDesktopCallTimeoutMs, nullptr, nullptr);
}

// GetGlobalEngine gives the engine's description serialized: a variant
// holding ("IBusEngineDesc", attachments, name, ...).
QString globalEngine(GDBusConnection *connection)
{
    GVariant *reply = callIbus(connection, "GetGlobalEngine", nullptr, "(v)");
    if (!reply)
        return {};
    QString name;
    GVariant *description = nullptr;
    g_variant_get(reply, "(v)", &description);
    if (g_variant_is_of_type(description, G_VARIANT_TYPE_TUPLE) && g_variant_n_children(description) > 2) {
        GVariant *type = g_variant_get_child_value(description, 0);
        GVariant *field = g_variant_get_child_value(description, 2);
        if (g_variant_is_of_type(type, G_VARIANT_TYPE_STRING) &&
            g_strcmp0(g_variant_get_string(type, nullptr), "IBusEngineDesc") == 0 &&
            g_variant_is_of_type(field, G_VARIANT_TYPE_STRING))
            name = QString::fromUtf8(g_variant_get_string(field, nullptr)).left(kMaxLayoutNameLength + 1);
        g_variant_unref(field);
        g_variant_unref(type);
    }
    g_variant_unref(description);
    g_variant_unref(reply);
    return name;
}

// The schema is looked up first: GSettings ends the program when asked for
// one that is not installed.
QStringList preloadedEngines()
{
    QStringList engines;
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    GSettingsSchema *schema = source ? g_settings_schema_source_lookup(source, kGeneralSchema, TRUE) : nullptr;
    if (!schema)
        return engines;
    const bool hasKey = g_settings_schema_has_key(schema, kPreloadKey);
    g_settings_schema_unref(schema);
    if (!hasKey)
        return engines;
    GSettings *settings = g_settings_new(kGeneralSchema);
    GVariant *value = g_settings_get_value(settings, kPreloadKey);
    if (value && g_variant_is_of_type(value, G_VARIANT_TYPE_STRING_ARRAY)) {
        GVariantIter iter;
        g_variant_iter_init(&iter, value);
        const gchar *engine = nullptr;
        while (engines.size() < kMaxDesktopLayouts && g_variant_iter_next(&iter, "&s", &engine))
            engines << QString::fromUtf8(engine).left(kMaxLayoutNameLength + 1);
    }
    if (value)
        g_variant_unref(value);
    g_object_unref(settings);
    return engines;
}

class IbusKeyboardLayouts : public ListedKeyboardLayouts {
public:
    IbusKeyboardLayouts(GDBusConnection *connection, IbusLayoutList list)
        : ListedKeyboardLayouts(list.list.layouts), connection_(connection), engines_(std::move(list.engines)),
          active_(list.list.active)
    {
        // Delivered through the GLib loop Qt's own events run on.
        subscription_ = g_dbus_connection_signal_subscribe(connection_, nullptr, kIbusInterface,
                                                           "GlobalEngineChanged", kIbusPath, nullptr,
                                                           G_DBUS_SIGNAL_FLAGS_NONE,
                                                           &IbusKeyboardLayouts::engineChanged, this, nullptr);
    }

    ~IbusKeyboardLayouts() override
    {
        g_dbus_connection_signal_unsubscribe(connection_, subscription_);
        g_object_unref(connection_);
    }

    IbusKeyboardLayouts(const IbusKeyboardLayouts &) = delete;
    IbusKeyboardLayouts &operator=(const IbusKeyboardLayouts &) = delete;

    void activate(quint32 handle) override
    {
        const int index = indexOf(handle);
        if (index < 0)
            return;
        GVariant *reply = callIbus(connection_, "SetGlobalEngine",
                                   g_variant_new("(s)", engines_[index].toUtf8().constData()), "()");
        if (!reply)
            return;
        g_variant_unref(reply);
        active_ = index;
    }

    bool canActivate() override { return true; }
    // Kept from the daemon's signal: asking costs nothing.
    std::optional<quint32> current() override { return handleAt(active_); }

private:
    static void engineChanged(GDBusConnection *, const gchar *, const gchar *, const gchar *, const gchar *,
                              GVariant *parameters, gpointer self)
    {
        if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(s)")))
            return;
        const gchar *engine = nullptr;
        g_variant_get(parameters, "(&s)", &engine);
        auto *layouts = static_cast<IbusKeyboardLayouts *>(self);
        // An input method, or an engine not listed at start, is no layout we know.
        layouts->active_ = int(layouts->engines_.indexOf(QString::fromUtf8(engine)));
        layouts->changed();
    }

    GDBusConnection *connection_;
    QStringList engines_; // the handles index them
    guint subscription_ = 0;
    int active_;
};

} // namespace

std::unique_ptr<KeyboardLayouts> probeIbusKeyboardLayouts()
{
    GDBusConnection *connection = connectToIbus();
    if (!connection)
        return nullptr;
    IbusLayoutList list = layoutsFromIbusEngines(preloadedEngines(), globalEngine(connection));
    if (list.engines.isEmpty()) {
        g_object_unref(connection);
        return nullptr;
    }
    return std::make_unique<IbusKeyboardLayouts>(connection, std::move(list));
}

} // namespace platform
