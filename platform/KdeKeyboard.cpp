// KDE Plasma's layouts, through the keyboard service on the session bus.
#include "platform/ListedKeyboardLayouts.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariant>

namespace platform {

namespace {

const QString kService = QStringLiteral("org.kde.keyboard");
const QString kPath = QStringLiteral("/Layouts");
const QString kInterface = QStringLiteral("org.kde.KeyboardLayouts");

QDBusMessage call(const QDBusMessage &message)
{
    return QDBusConnection::sessionBus().call(message, QDBus::Block, kDesktopCallTimeoutMs);
}

QDBusMessage callKde(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(arguments);
    return call(message);
}

// Asked first so that a desktop without the service costs one quick question:
// a call to a missing name could make the bus try to start it.
bool kdeServiceRunning()
{
    if (!QDBusConnection::sessionBus().isConnected())
        return false;
    QDBusMessage question = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    question.setArguments({kService});
    const QDBusMessage reply = call(question);
    return reply.type() == QDBusMessage::ReplyMessage && reply.signature() == QLatin1String("b") &&
           reply.arguments().value(0).toBool();
}

std::optional<uint> unsignedReply(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String("u"))
        return std::nullopt;
    return reply.arguments().value(0).toUInt();
}

// getLayoutsList: (short name, display name, long name) of each layout.
std::optional<QList<DesktopLayout>> layoutList()
{
    const QDBusMessage reply = callKde(QStringLiteral("getLayoutsList"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String("a(sss)"))
        return std::nullopt;
    const QDBusArgument array = reply.arguments().value(0).value<QDBusArgument>();
    QList<DesktopLayout> layouts;
    array.beginArray();
    while (!array.atEnd() && layouts.size() < kMaxDesktopLayouts) {
        QString shortName, displayName, longName;
        array.beginStructure();
        array >> shortName >> displayName >> longName;
        array.endStructure();
        layouts << layoutFromKde(shortName, longName);
    }
    return layouts;
}

class KdeKeyboardLayouts : public QObject, public ListedKeyboardLayouts {
    Q_OBJECT
public:
    KdeKeyboardLayouts(QList<DesktopLayout> layouts, int active)
        : ListedKeyboardLayouts(std::move(layouts)), active_(active)
    {
        // The bus offers connections by name only.
        QDBusConnection::sessionBus().connect(kService, kPath, kInterface, QStringLiteral("layoutChanged"), this,
                                              SLOT(layoutChanged(uint)));
    }

    void activate(quint32 handle) override
    {
        const int index = indexOf(handle);
        if (index < 0)
            return;
        const QDBusMessage reply = callKde(QStringLiteral("setLayout"), {QVariant::fromValue(uint(index))});
        if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool())
            active_ = index;
    }

    bool canActivate() override { return true; }
    // Kept from the service's signal: asking costs nothing.
    std::optional<quint32> current() override { return handleAt(active_); }

private Q_SLOTS:
    void layoutChanged(uint index)
    {
        if (index >= uint(count()))
            return;
        active_ = int(index);
        changed();
    }

private:
    int active_;
};

} // namespace

std::unique_ptr<KeyboardLayouts> probeKdeKeyboardLayouts()
{
    if (!kdeServiceRunning())
        return nullptr;
    const std::optional<QList<DesktopLayout>> layouts = layoutList();
    if (!layouts || layouts->isEmpty())
        return nullptr;
    const std::optional<uint> active = unsignedReply(callKde(QStringLiteral("getLayout")));
    const int index = active && *active < uint(layouts->size()) ? int(*active) : -1;
    return std::make_unique<KdeKeyboardLayouts>(*layouts, index);
}

} // namespace platform

#include "KdeKeyboard.moc"
