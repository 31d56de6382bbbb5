// GNOME's input sources, read from its settings. GNOME 43 lets no program
// switch them: the Shell's Eval is closed to programs and the settings'
// `current` key is ignored; only the Shell itself, or an extension, switches.
#include "platform/ListedKeyboardLayouts.h"

// GLib's headers come last: they use names Qt's macros would change.
#include <gio/gio.h>

namespace platform {

namespace {

constexpr char kSchema[] = "org.gnome.desktop.input-sources";
constexpr char kSourcesKey[] = "sources";
constexpr char kMruKey[] = "mru-sources";

QList<InputSource> sourcesAt(GSettings *settings, const char *key)
{
    QList<InputSource> sources;
    GVariant *value = g_settings_get_value(settings, key);
    if (!value)
        return sources;
    if (g_variant_is_of_type(value, G_VARIANT_TYPE("a(ss)"))) {
        GVariantIter iter;
        g_variant_iter_init(&iter, value);
        const gchar *type = nullptr;
        const gchar *id = nullptr;
        while (sources.size() < kMaxDesktopLayouts && g_variant_iter_next(&iter, "(&s&s)", &type, &id))
            sources << InputSource(QString::fromUtf8(type).left(kMaxLayoutNameLength),
                                   QString::fromUtf8(id).left(kMaxLayoutNameLength));
    }
    g_variant_unref(value);
    return sources;
}

// The schema is looked up first: GSettings ends the program when asked for
// one that is not installed.
GSettings *inputSourceSettings()
{
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema *schema = g_settings_schema_source_lookup(source, kSchema, TRUE);
    if (!schema)
        return nullptr;
    const bool complete = g_settings_schema_has_key(schema, kSourcesKey) && g_settings_schema_has_key(schema, kMruKey);
    g_settings_schema_unref(schema);
    return complete ? g_settings_new(kSchema) : nullptr;
}

class GnomeKeyboardLayouts : public ListedKeyboardLayouts {
public:
    GnomeKeyboardLayouts(GSettings *settings, QList<InputSource> sources, QList<DesktopLayout> layouts)
        : ListedKeyboardLayouts(std::move(layouts)), settings_(settings), sources_(std::move(sources))
    {
        // The Shell writes the most recent source first at every switch.
        handler_ = g_signal_connect(settings_, "changed::mru-sources", G_CALLBACK(&GnomeKeyboardLayouts::mruChanged),
                                    this);
    }

    ~GnomeKeyboardLayouts() override
    {
        g_signal_handler_disconnect(settings_, handler_);
        g_object_unref(settings_);
    }

    GnomeKeyboardLayouts(const GnomeKeyboardLayouts &) = delete;
    GnomeKeyboardLayouts &operator=(const GnomeKeyboardLayouts &) = delete;

    void activate(quint32) override {}
    bool canActivate() override { return false; }

    // The settings are held in memory and kept current by GSettings itself.
    std::optional<quint32> current() override
    {
        const QList<InputSource> sources = sourcesAt(settings_, kSourcesKey);
        const DesktopLayoutList now = layoutsFromGnomeSources(sources, sourcesAt(settings_, kMruKey));
        if (now.active < 0)
            return std::nullopt;
        return handleAt(int(sources_.indexOf(sources[now.active])));
    }

private:
    static void mruChanged(GSettings *, const gchar *, gpointer self)
    {
        static_cast<GnomeKeyboardLayouts *>(self)->changed();
    }

    GSettings *settings_;
    QList<InputSource> sources_; // as they were at start, which the handles index
    gulong handler_ = 0;
};

} // namespace

std::unique_ptr<KeyboardLayouts> probeGnomeKeyboardLayouts()
{
    GSettings *settings = inputSourceSettings();
    if (!settings)
        return nullptr;
    const QList<InputSource> sources = sourcesAt(settings, kSourcesKey);
    const DesktopLayoutList list = layoutsFromGnomeSources(sources, {});
    if (list.layouts.isEmpty()) {
        g_object_unref(settings);
        return nullptr;
    }
    return std::make_unique<GnomeKeyboardLayouts>(settings, sources, list.layouts);
}

} // namespace platform
