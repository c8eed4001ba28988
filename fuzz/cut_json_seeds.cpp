// Cuts large JSON documents into small ones of the same shape, as fuzz seeds: a fuzzer runs a
// few hundred times a second on a megabyte catalog and tens of thousands of times on one entry.
// The collection that holds most of a document (Data Dragon's "data" object, a top-level array)
// is cut into one document per member, everything around it kept.
//   cut_json_seeds <output folder> <file> ...

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cstdio>

namespace {

// Enough members for the shapes of entry a catalog has, few enough to load in seconds.
constexpr qsizetype maxPieces = 100;

qsizetype sizeOf(const QJsonValue& value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact).size();
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact).size();
    return 8;
}

QList<QJsonValue> membersOf(const QJsonValue& value)
{
    QList<QJsonValue> out;
    if (value.isObject())
        for (const QJsonValue& member : value.toObject())
            out.append(member);
    if (value.isArray())
        for (const QJsonValue& member : value.toArray())
            out.append(member);
    return out;
}

// The path (member indexes) to the collection that holds most of the document.
QList<qsizetype> dominantCollection(QJsonValue node)
{
    QList<qsizetype> path;
    for (;;) {
        const QList<QJsonValue> members = membersOf(node);
        const qsizetype total = sizeOf(node);
        qsizetype next = -1;
        for (qsizetype i = 0; i < members.size(); ++i)
            if ((members[i].isObject() || members[i].isArray()) && sizeOf(members[i]) > total / 2)
                next = i;
        if (next < 0)
            return path;
        path.append(next);
        node = members[next];
    }
}

// The node with the collection at path cut down to its member keep.
QJsonValue cut(const QJsonValue& node, const QList<qsizetype>& path, qsizetype depth, qsizetype keep)
{
    const bool last = depth == path.size();
    const qsizetype wanted = last ? keep : path[depth];
    if (node.isArray()) {
        QJsonArray array = node.toArray();
        if (last)
            return QJsonArray {array.at(keep)};
        array[wanted] = cut(array.at(wanted), path, depth + 1, keep);
        return array;
    }
    QJsonObject object = node.toObject();
    const QString key = object.keys().at(wanted);
    if (last)
        return QJsonObject {{key, object.value(key)}};
    object[key] = cut(object.value(key), path, depth + 1, keep);
    return object;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool cutFile(const QString& fileName, const QDir& out)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (document.isNull())
        return false;
    const QJsonValue root = document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
    const QList<qsizetype> path = dominantCollection(root);
    QJsonValue collection = root;
    for (qsizetype index : path)
        collection = membersOf(collection).at(index);
    const qsizetype pieces = std::min(membersOf(collection).size(), maxPieces);
    // Named after the whole path: catalogs of different versions share their file names.
    const QString stem = QFileInfo(fileName).absoluteFilePath().replace(QLatin1Char('/'), QLatin1Char('_'));
    for (qsizetype i = 0; i < pieces; ++i) {
        const QJsonValue piece = cut(root, path, 0, i);
        const QByteArray bytes = piece.isObject() ? QJsonDocument(piece.toObject()).toJson(QJsonDocument::Compact)
                                                  : QJsonDocument(piece.toArray()).toJson(QJsonDocument::Compact);
        if (!write(out.filePath(QStringLiteral("%1-%2").arg(stem).arg(i)), bytes))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: cut_json_seeds <output folder> <file> ...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        if (!cutFile(QString::fromLocal8Bit(argv[i]), out)) {
            std::fprintf(stderr, "cut_json_seeds: cannot cut %s\n", argv[i]);
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
