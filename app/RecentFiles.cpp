#include "app/RecentFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <climits>
#include <vector>

namespace recentfiles {

namespace {

const QString kBookmarkNamespace = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNamespace = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kMetadataOwner = QStringLiteral("http://freedesktop.org");
const QString kApplicationName = QStringLiteral("veltrix");
const QString kApplicationExec = QStringLiteral("veltrix %u");
// GLib's own lists stay far below this; a larger one is not ours to rewrite.
constexpr qint64 kMaxListBytes = 16 * 1024 * 1024;
// Bookmarks nest four deep; this keeps the writer's recursion small.
constexpr int kMaxDepth = 64;
constexpr int kIndentSpaces = 2;

// The file as read, every node kept in order, names as written (no namespace
// processing), so that writing it back changes nothing we did not touch.
struct Node {
    enum class Kind { Element, Text, CData, Comment, Instruction };
    Kind kind = Kind::Element;
    QString name; // element's qualified name, instruction's target
    QString text; // text, comment, instruction's data
    std::vector<std::pair<QString, QString>> attributes;
    std::vector<Node> children;

    bool isElement(const QString &elementName) const { return kind == Kind::Element && name == elementName; }
    bool isBlank() const { return kind == Kind::Text && text.trimmed().isEmpty(); }

    QString attribute(const QString &attributeName) const
    {
        for (const auto &[key, value] : attributes) {
            if (key == attributeName)
                return value;
        }
        return {};
    }
    void setAttribute(const QString &attributeName, const QString &value)
    {
        for (auto &[key, old] : attributes) {
            if (key == attributeName) {
                old = value;
                return;
            }
        }
        attributes.emplace_back(attributeName, value);
    }
};

Node element(const QString &name) { return Node{Node::Kind::Element, name, {}, {}, {}}; }
Node text(const QString &content) { return Node{Node::Kind::Text, {}, content, {}, {}}; }

QString indentAt(int depth) { return QLatin1Char('\n') + QString(depth * kIndentSpaces, QLatin1Char(' ')); }

// Adds `child` after the parent's last element, laid out as its first one is.
Node &appendChild(Node &parent, Node child, int parentDepth)
{
    QString indent = indentAt(parentDepth + 1);
    for (std::size_t i = 0; i + 1 < parent.children.size(); ++i) {
        if (parent.children[i + 1].kind == Node::Kind::Element) {
            if (parent.children[i].isBlank())
                indent = parent.children[i].text;
            break;
        }
    }
    auto &children = parent.children;
    if (children.empty())
        children.push_back(text(indentAt(parentDepth)));
    auto at = children.end();
    if (children.back().isBlank())
        --at;
    at = children.insert(at, text(indent));
    return *children.insert(at + 1, std::move(child));
}

Node *childElement(Node &parent, const QString &name, const QString &attributeName = {},
                   const QString &attributeValue = {})
{
    for (Node &child : parent.children) {
        if (child.isElement(name) && (attributeName.isEmpty() || child.attribute(attributeName) == attributeValue))
            return &child;
    }
    return nullptr;
}

Node &childElementOrNew(Node &parent, const QString &name, int parentDepth, const QString &attributeName = {},
                        const QString &attributeValue = {})
{
    if (Node *found = childElement(parent, name, attributeName, attributeValue))
        return *found;
    Node made = element(name);
    if (!attributeName.isEmpty())
        made.setAttribute(attributeName, attributeValue);
    return appendChild(parent, std::move(made), parentDepth);
}

struct Document {
    std::vector<Node> nodes; // around the root too: comments, instructions, spaces
    std::size_t root = 0;
};

std::optional<Document> read(const QByteArray &bytes)
{
    QXmlStreamReader reader(bytes);
    reader.setNamespaceProcessing(false);
    Document document;
    std::vector<Node *> open; // the elements being read, innermost last
    bool haveRoot = false;
    const auto add = [&](Node node) -> Node & {
        std::vector<Node> &into = open.empty() ? document.nodes : open.back()->children;
        into.push_back(std::move(node));
        return into.back();
    };
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (open.empty() && haveRoot)
                return std::nullopt;
            if (int(open.size()) >= kMaxDepth)
                return std::nullopt;
            Node node = element(reader.qualifiedName().toString());
            for (const QXmlStreamAttribute &attribute : reader.attributes())
                node.attributes.emplace_back(attribute.qualifiedName().toString(), attribute.value().toString());
            if (open.empty()) {
                haveRoot = true;
                document.root = document.nodes.size();
            }
            open.push_back(&add(std::move(node)));
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty())
                add(Node{reader.isCDATA() ? Node::Kind::CData : Node::Kind::Text, {}, reader.text().toString(), {}, {}});
            break;
        case QXmlStreamReader::Comment:
            add(Node{Node::Kind::Comment, {}, reader.text().toString(), {}, {}});
            break;
        case QXmlStreamReader::ProcessingInstruction:
            add(Node{Node::Kind::Instruction, reader.processingInstructionTarget().toString(),
                     reader.processingInstructionData().toString(), {}, {}});
            break;
        case QXmlStreamReader::DTD:           // entities of its own: GLib reads none either
        case QXmlStreamReader::EntityReference: // one the reader could not resolve
            return std::nullopt;
        default:
            break;
        }
    }
    if (reader.hasError() || !haveRoot || !document.nodes[document.root].isElement(QStringLiteral("xbel")))
        return std::nullopt;
    return document;
}

void write(QXmlStreamWriter &writer, const Node &node)
{
    switch (node.kind) {
    case Node::Kind::Element:
        if (node.children.empty())
            writer.writeEmptyElement(node.name);
        else
            writer.writeStartElement(node.name);
        for (const auto &[key, value] : node.attributes)
            writer.writeAttribute(key, value);
        for (const Node &child : node.children)
            write(writer, child);
        if (!node.children.empty())
            writer.writeEndElement();
        break;
    case Node::Kind::Text:
        writer.writeCharacters(node.text);
        break;
    case Node::Kind::CData:
        writer.writeCDATA(node.text);
        break;
    case Node::Kind::Comment:
        writer.writeComment(node.text);
        break;
    case Node::Kind::Instruction:
        writer.writeProcessingInstruction(node.name, node.text);
        break;
    }
}

QByteArray written(const Document &document)
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.writeStartDocument();
    for (const Node &node : document.nodes) {
        writer.writeCharacters(QStringLiteral("\n"));
        write(writer, node);
    }
    writer.writeEndDocument();
    bytes.append('\n');
    return bytes;
}

Document freshDocument()
{
    Document document;
    Node root = element(QStringLiteral("xbel"));
    root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    document.nodes.push_back(std::move(root));
    return document;
}

// The prefix the root binds to `uri`; one bound to it by us when there is none.
QString prefixFor(Node &root, const QString &uri, const QString &wanted)
{
    const QString declaration = QStringLiteral("xmlns:");
    for (const auto &[key, value] : root.attributes) {
        if (key.startsWith(declaration) && value == uri)
            return key.mid(declaration.size());
    }
    QString prefix = wanted;
    while (!root.attribute(declaration + prefix).isEmpty())
        prefix += QLatin1Char('x');
    root.setAttribute(declaration + prefix, uri);
    return prefix;
}

QString isoTime(const QDateTime &time) { return time.toUTC().toString(Qt::ISODateWithMs); }

// The href, decoded, that names `path`: other programs may encode other bytes.
bool names(const QString &href, const QByteArray &decodedUri)
{
    return QByteArray::fromPercentEncoding(href.toUtf8()) == decodedUri;
}

void merge(Document &document, const Use &use)
{
    Node &root = document.nodes[document.root];
    const QString bookmarkPrefix = prefixFor(root, kBookmarkNamespace, QStringLiteral("bookmark")) + QLatin1Char(':');
    const QString mimePrefix = prefixFor(root, kMimeNamespace, QStringLiteral("mime")) + QLatin1Char(':');
    const QString href = uriFor(use.path);
    const QByteArray decoded = QByteArray::fromPercentEncoding(href.toUtf8());
    const QString now = isoTime(use.time);

    Node *bookmark = nullptr;
    for (Node &child : root.children) {
        if (child.isElement(QStringLiteral("bookmark")) && names(child.attribute(QStringLiteral("href")), decoded)) {
            bookmark = &child;
            break;
        }
    }
    if (!bookmark) {
        Node made = element(QStringLiteral("bookmark"));
        made.setAttribute(QStringLiteral("href"), href);
        made.setAttribute(QStringLiteral("added"), now);
        bookmark = &appendChild(root, std::move(made), 0);
    }
    bookmark->setAttribute(QStringLiteral("modified"), now);
    bookmark->setAttribute(QStringLiteral("visited"), now);

    Node &info = childElementOrNew(*bookmark, QStringLiteral("info"), 1);
    Node &metadata = childElementOrNew(info, QStringLiteral("metadata"), 2, QStringLiteral("owner"), kMetadataOwner);
    if (!childElement(metadata, mimePrefix + QStringLiteral("mime-type"))) {
        Node mimeType = element(mimePrefix + QStringLiteral("mime-type"));
        mimeType.setAttribute(QStringLiteral("type"), use.mimeType);
        appendChild(metadata, std::move(mimeType), 3);
    }
    Node &applications = childElementOrNew(metadata, bookmarkPrefix + QStringLiteral("applications"), 3);
    Node &application = childElementOrNew(applications, bookmarkPrefix + QStringLiteral("application"), 4,
                                          QStringLiteral("name"), kApplicationName);
    bool counted = false;
    const int count = application.attribute(QStringLiteral("count")).toInt(&counted);
    application.setAttribute(QStringLiteral("exec"), kApplicationExec);
    application.setAttribute(QStringLiteral("modified"), now);
    application.setAttribute(QStringLiteral("count"),
                             QString::number(counted && count > 0 ? (count < INT_MAX ? count + 1 : count) : 1));
}

} // namespace

QString defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("recently-used.xbel"));
}

QString uriFor(const QString &path)
{
    // GLib leaves these unescaped in a file's path; everything else is %XX.
    static const QByteArray kPathSafe = QByteArrayLiteral("!$&'()*+,/:=@");
    return QStringLiteral("file://") + QString::fromLatin1(QFile::encodeName(path).toPercentEncoding(kPathSafe));
}

std::optional<QByteArray> merged(const QByteArray &existing, const Use &use)
{
    std::optional<Document> document;
    if (existing.trimmed().isEmpty())
        document = freshDocument();
    else
        document = read(existing);
    if (!document)
        return std::nullopt;
    merge(*document, use);
    // Qt's reader takes some names its writer then writes unreadably (NUL
    // bytes); such a list is not one to write back.
    QByteArray bytes = written(*document);
    if (!read(bytes))
        return std::nullopt;
    return bytes;
}

Result record(const QString &xbelPath, const QString &path, const QDateTime &time)
{
    const QFileInfo list(xbelPath);
    QByteArray existing;
    const bool exists = list.exists();
    if (exists) {
        // A pipe or a device in its place would never end reading.
        if (!list.isFile() || list.size() > kMaxListBytes)
            return Result::LeftAlone;
        QFile file(xbelPath);
        if (!file.open(QIODevice::ReadOnly))
            return Result::LeftAlone;
        existing = file.read(kMaxListBytes + 1);
        if (existing.size() > kMaxListBytes)
            return Result::LeftAlone;
    }
    const Use use{path, QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name(), time};
    const std::optional<QByteArray> bytes = merged(existing, use);
    if (!bytes)
        return Result::LeftAlone;
    if (!QDir().mkpath(list.absolutePath()))
        return Result::NotWritten;
    QSaveFile file(xbelPath);
    if (!file.open(QIODevice::WriteOnly))
        return Result::NotWritten;
    // The names of the user's files are nobody else's business.
    if (!exists)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(*bytes) != bytes->size() || !file.commit())
        return Result::NotWritten;
    return Result::Recorded;
}

} // namespace recentfiles
