#include <model/state/modelstateitemmodel.h>

#include "codec.h"
#include "documenttype.h"

#include <QtCore/QHash>
#include <QtCore/QJsonArray>
#include <QtCore/QSet>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <utility>
#include <vector>

using StateCodec::ClassKey;
using StateCodec::DocumentType;

namespace {

enum class Kind { Leaf, Array, Object };

Kind kindOf(const QJsonValue &value)
{
    return value.isArray() ? Kind::Array : value.isObject() ? Kind::Object : Kind::Leaf;
}

// A row shows the document's value, or for an entry only the comparison holds, the comparison's.
Kind kindOf(const QJsonValue &value, const QJsonValue &reference)
{
    return kindOf(value.isUndefined() ? reference : value);
}

// The comparison's entries count as rows only where it holds the same kind of container.
QJsonValue sameKind(Kind kind, const QJsonValue &reference)
{
    return kind != Kind::Leaf && kindOf(reference) == kind ? reference
                                                           : QJsonValue(QJsonValue::Undefined);
}

QString memberPath(const QString &path, const QString &key)
{
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

QString entryPath(const QString &path, int index)
{
    return path + QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
}

// The rows of a container without building them.
int entryCount(const QJsonValue &value, const QJsonValue &reference)
{
    const Kind kind = kindOf(value, reference);
    const QJsonValue other = sameKind(kind, reference);
    if (kind == Kind::Array)
        return int(qMax(value.toArray().size(), other.toArray().size()));
    if (kind == Kind::Leaf)
        return 0;
    const QJsonObject object = value.toObject();
    const QJsonObject otherObject = other.toObject();
    int count = int(object.size());
    for (auto it = otherObject.constBegin(); it != otherObject.constEnd(); ++it)
        count += !object.contains(it.key());
    return count;
}

// An object's rows: the members its type declares, in declaration order, then the others in name
// order.
QStringList objectKeys(const QJsonObject &object, const QJsonObject &other,
                       const DocumentType *type)
{
    QStringList keys;
    qsizetype known = 0;
    qsizetype otherKnown = 0;
    if (type) {
        for (const auto &m : type->members) {
            const bool here = object.contains(m.first);
            const bool there = other.contains(m.first);
            if (here || there)
                keys.append(m.first);
            known += here;
            otherKnown += there;
        }
    }
    if (known == object.size() && otherKnown == other.size())
        return keys;
    QStringList unknown;
    const auto addUnknown = [&](const QJsonObject &o, const QJsonObject &skip) {
        for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
            if ((!type || !type->member(it.key())) && !skip.contains(it.key()))
                unknown.append(it.key());
        }
    };
    addUnknown(object, QJsonObject());
    addUnknown(other, object);
    std::sort(unknown.begin(), unknown.end());
    return keys + unknown;
}

QJsonValue entryAt(Kind kind, const QJsonValue &container, const QStringList &keys, int row)
{
    if (kind == Kind::Array) {
        const QJsonArray array = container.toArray();
        return row < array.size() ? array.at(row) : QJsonValue(QJsonValue::Undefined);
    }
    if (kind == Kind::Object && container.isObject())
        return container.toObject().value(keys.at(row));
    return QJsonValue(QJsonValue::Undefined);
}

// Text of a string leaf: a backslash doubled, control characters as \xHH.
QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QLatin1String("\\x")
                + QString::number(c.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

bool unescaped(const QString &text, QString &out, QString &problem)
{
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\\')) {
            out += text.at(i);
            continue;
        }
        if (text.mid(i + 1, 1) == QLatin1String("\\")) {
            out += QLatin1Char('\\');
            ++i;
            continue;
        }
        const QString digits = text.mid(i + 2, 2);
        const bool hex
            = digits.size() == 2 && std::all_of(digits.cbegin(), digits.cend(), [](QChar c) {
                  return c.isDigit()
                      || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
              });
        if (text.mid(i + 1, 1) != QLatin1String("x") || !hex) {
            problem = QStringLiteral("expected \\\\ or \\xHH at character %1").arg(i);
            return false;
        }
        out += QChar(char16_t(digits.toUInt(nullptr, 16)));
        i += 3;
    }
    return true;
}

QString numberText(const QJsonValue &value)
{
    const QVariant exact = value.toVariant();
    if (exact.userType() == QMetaType::LongLong)
        return QString::number(exact.toLongLong());
    const double d = value.toDouble();
    // Every integer up to 2^53 is exact in a double, and reads best without an exponent.
    if (std::trunc(d) == d && std::fabs(d) <= 9007199254740992.0)
        return QString::number(qint64(d));
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

bool isFixedBytes(const DocumentType *type)
{
    return type && type->leaf == DocumentType::Leaf::Bytes && type->size >= 0;
}

// A leaf as the value column shows it and an edit starts from it. A byte buffer of fixed size
// leaves out the zero bytes that fill it up.
QString leafText(const QJsonValue &value, const DocumentType *type)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return numberText(value);
    case QJsonValue::String: {
        QString text = value.toString();
        if (isFixedBytes(type)) {
            while (text.endsWith(QChar(0)))
                text.chop(1);
        }
        return escaped(text);
    }
    default:
        return {};
    }
}

// What an edit's text stands for in a leaf of type: a number where one belongs, otherwise the
// text itself, for the leaf's check to judge.
QJsonValue leafValue(const QString &text, const DocumentType &type, QString &problem)
{
    bool ok = false;
    switch (type.leaf) {
    case DocumentType::Leaf::Integer: {
        const qint64 integer = text.trimmed().toLongLong(&ok);
        if (ok)
            return QJsonValue(integer);
        const double d = text.trimmed().toDouble(&ok);
        return ok && std::isfinite(d) ? QJsonValue(d) : QJsonValue(text);
    }
    case DocumentType::Leaf::Floating: {
        // The doubles a JSON number cannot hold go by their names, as save() writes them.
        const double d = text.trimmed().toDouble(&ok);
        return ok ? StateCodec::Codec<double>::save(d) : QJsonValue(text);
    }
    case DocumentType::Leaf::Text:
    case DocumentType::Leaf::Bytes: {
        QString out;
        if (!unescaped(text, out, problem))
            return {};
        if (type.size > out.size())
            out.append(QString(type.size - out.size(), QChar(0)));
        return out;
    }
    case DocumentType::Leaf::None:
        break;
    }
    return {};
}

QString jsonTypeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("bool");
    case QJsonValue::Double:
        return QStringLiteral("number");
    case QJsonValue::String:
        return QStringLiteral("string");
    case QJsonValue::Array:
        return QStringLiteral("array");
    case QJsonValue::Object:
        return QStringLiteral("object");
    case QJsonValue::Undefined:
        break;
    }
    return {};
}

bool plainKeys(const QStringList &keys)
{
    return std::none_of(keys.cbegin(), keys.cend(), [](const QString &key) {
        return key.contains(QLatin1Char('.')) || key.contains(QLatin1Char('['));
    });
}

// One row that holds entries, built when it is first asked for its entries (or when an update
// must announce that its entries come or go). Nodes exist only below nodes, so the nodes are a
// tree from the document down to what a view has expanded. An index's internal pointer is the
// node of its parent.
struct Node
{
    Node *parent = nullptr;
    int row = 0;                                 // in parent
    QString path;                                // compare()'s path; empty for the document
    QJsonValue value{QJsonValue::Undefined};     // undefined for a row only the comparison holds
    QJsonValue reference{QJsonValue::Undefined}; // undefined without a comparison
    const DocumentType *type = nullptr;          // null where the document's class says nothing
    Kind kind = Kind::Leaf;
    QStringList keys;  // an object's row names
    bool plain = true; // no key holds a '.' or '[' (that would make paths ambiguous)
    int rows = 0;
    std::vector<std::unique_ptr<Node>> children; // by row; empty until one is built

    // One update's bookkeeping: the node is on the path of a change; its rows (numbered as before
    // the update) that lead to a change or whose own value changed; and whether every row's value
    // may have changed (the node's whole value was replaced).
    bool onPath = false;
    bool replaced = false;
    QSet<int> touched;
    QSet<int> changed;

    void setRows()
    {
        kind = kindOf(value, reference);
        keys = kind == Kind::Object
            ? objectKeys(value.toObject(), sameKind(kind, reference).toObject(), type)
            : QStringList();
        plain = plainKeys(keys);
        rows = kind == Kind::Object ? int(keys.size()) : entryCount(value, reference);
    }

    QJsonValue childValue(int r) const { return entryAt(kind, value, keys, r); }
    QJsonValue childReference(int r) const
    {
        return entryAt(kind, sameKind(kind, reference), keys, r);
    }
    const DocumentType *childType(int r) const
    {
        if (!type)
            return nullptr;
        return kind == Kind::Array ? type->element : type->member(keys.at(r), r);
    }
    QString childPath(int r) const
    {
        return kind == Kind::Array ? entryPath(path, r) : memberPath(path, keys.at(r));
    }
    Node *existingChild(int r) const
    {
        return size_t(r) < children.size() ? children[size_t(r)].get() : nullptr;
    }
    Node *child(int r)
    {
        if (children.empty())
            children.resize(size_t(rows));
        std::unique_ptr<Node> &c = children[size_t(r)];
        if (!c) {
            c = std::make_unique<Node>();
            c->parent = this;
            c->row = r;
            c->path = childPath(r);
            c->value = childValue(r);
            c->reference = childReference(r);
            c->type = childType(r);
            c->setRows();
        }
        return c.get();
    }
    void renumber(int from)
    {
        for (size_t r = size_t(from); r < children.size(); ++r) {
            if (children[r])
                children[r]->row = int(r);
        }
    }

    enum class Step {
        Found,     // row is the row the step names, next where the following step starts
        Absent,    // the rows hold nothing there (an entry to come, or a path into a leaf)
        Ambiguous, // a key with '.' or '[' makes the path ambiguous here
    };

    // Reads the step of path p at pos.
    Step step(const QString &p, qsizetype pos, int &row, qsizetype &next) const
    {
        if (kind == Kind::Array) {
            const qsizetype close = p.indexOf(QLatin1Char(']'), pos);
            bool ok = false;
            row = close < 0 ? -1 : p.mid(pos + 1, close - pos - 1).toInt(&ok);
            next = close + 1;
            return p.mid(pos, 1) == QLatin1String("[") && ok && row >= 0 && row < rows
                ? Step::Found
                : Step::Absent;
        }
        if (kind != Kind::Object || (!path.isEmpty() && p.mid(pos, 1) != QLatin1String(".")))
            return Step::Absent;
        if (!plain)
            return Step::Ambiguous;
        pos += path.isEmpty() ? 0 : 1;
        next = pos;
        while (next < p.size() && p.at(next) != QLatin1Char('.') && p.at(next) != QLatin1Char('['))
            ++next;
        row = int(keys.indexOf(p.mid(pos, next - pos)));
        return row >= 0 ? Step::Found : Step::Absent;
    }
};

} // namespace

class ModelStateItemModel::Private
{
public:
    explicit Private(ModelStateItemModel *model)
        : q(model)
    { }

    ModelStateItemModel *q;
    QJsonObject document;
    QJsonObject comparison;
    std::unique_ptr<Node> root;
    // From compare(comparison, document): the mark of each path that differs, and the paths of
    // the rows above them.
    QVector<ModelStateDifference> differences;
    QHash<QString, Difference> marks;
    QSet<QString> changedBelow;
    ModelStateError editError;

    QJsonValue rootReference() const
    {
        return comparison.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(comparison);
    }

    void reset(const QJsonObject &next)
    {
        q->beginResetModel();
        document = next;
        root = std::make_unique<Node>();
        root->value = document;
        root->reference = rootReference();
        root->type = StateCodec::documentType(document.value(ClassKey).toString());
        root->setRows();
        computeMarks();
        q->endResetModel();
    }

    void computeMarks()
    {
        differences.clear();
        marks.clear();
        changedBelow.clear();
        if (comparison.isEmpty())
            return;
        differences = ModelState::compare(comparison, document);
        for (const ModelStateDifference &d : std::as_const(differences)) {
            marks.insert(d.path,
                         d.kind == ModelStateDifference::Added         ? Added
                             : d.kind == ModelStateDifference::Removed ? Removed
                                                                       : Changed);
            // The rows above, deepest first, up to one that an earlier difference marked.
            for (qsizetype i = d.path.size() - 1; i > 0; --i) {
                const QChar c = d.path.at(i);
                if (c != QLatin1Char('.') && c != QLatin1Char('['))
                    continue;
                const QString above = d.path.left(i);
                if (changedBelow.contains(above))
                    break;
                changedBelow.insert(above);
            }
        }
    }

    Difference mark(const Node *n, int row) const
    {
        if (comparison.isEmpty())
            return NoDifference;
        const QString path = n->childPath(row);
        const auto it = marks.constFind(path);
        if (it != marks.constEnd())
            return *it;
        for (const Node *above = n; above->parent; above = above->parent) {
            const Difference m = marks.value(above->path, NoDifference);
            if (m == Added || m == Removed)
                return m;
        }
        return changedBelow.contains(path) ? ChangedBelow : NoDifference;
    }

    static Node *parentNode(const QModelIndex &index)
    {
        return static_cast<Node *>(index.internalPointer());
    }

    QModelIndex indexOf(const Node *n, int column = 0) const
    {
        return n->parent ? q->createIndex(n->row, column, n->parent) : QModelIndex();
    }

    // Marks the rows on the way to path for the next reconcile(). replace: the value at path
    // changed, so everything built below it shows new values. False if the path is ambiguous in
    // the rows as they are.
    bool touch(const QString &path, bool replace)
    {
        Node *n = root.get();
        qsizetype pos = 0;
        for (;;) {
            n->onPath = true;
            int row = -1;
            qsizetype next = 0;
            const Node::Step step = n->step(path, pos, row, next);
            if (step != Node::Step::Found)
                return step == Node::Step::Absent; // reconcile() adds what is to come
            n->touched.insert(row);
            Node *c = n->existingChild(row);
            if (next == path.size()) {
                n->changed.insert(row);
                if (c && replace) {
                    c->onPath = true;
                    c->replaced = true;
                }
                return true;
            }
            if (!c)
                return true;
            n = c;
            pos = next;
        }
    }

    void removeRows(Node *n, int first, int last)
    {
        q->beginRemoveRows(indexOf(n), first, last);
        if (!n->children.empty()) {
            n->children.erase(n->children.begin() + first, n->children.begin() + last + 1);
            n->renumber(first);
        }
        if (n->kind == Kind::Object)
            n->keys.erase(n->keys.begin() + first, n->keys.begin() + last + 1);
        n->rows -= last - first + 1;
        q->endRemoveRows();
    }

    void insertRows(Node *n, int first, const QStringList &keys, int count)
    {
        q->beginInsertRows(indexOf(n), first, first + count - 1);
        if (!n->children.empty()) {
            std::vector<std::unique_ptr<Node>> fresh(static_cast<size_t>(count));
            n->children.insert(n->children.begin() + first, std::make_move_iterator(fresh.begin()),
                               std::make_move_iterator(fresh.end()));
            n->renumber(first + count);
        }
        for (int i = 0; i < keys.size(); ++i)
            n->keys.insert(first + i, keys.at(i));
        n->rows += count;
        q->endInsertRows();
    }

    void changedRows(Node *n, QVector<int> rows)
    {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        for (int i = 0; i < rows.size();) {
            int j = i;
            while (j + 1 < rows.size() && rows.at(j + 1) == rows.at(j) + 1)
                ++j;
            emit q->dataChanged(q->createIndex(rows.at(i), 0, n),
                                q->createIndex(rows.at(j), ColumnCount - 1, n));
            i = j + 1;
        }
    }

    static void clearMarks(Node *n)
    {
        n->onPath = false;
        n->replaced = false;
        n->touched.clear();
        n->changed.clear();
    }

    // Brings the rows of n from its old value to value, with the signals of each step: rows
    // removed, the new values, rows inserted, values changed, then the same below. Every node
    // changes only with its own signals, so a view sees a consistent model at each of them.
    void reconcile(Node *n, const QJsonValue &value, const QJsonValue &reference)
    {
        const Kind kind = kindOf(value, reference);
        if (kind != n->kind) {
            // Another kind of container, or none: every row goes, then the new ones come.
            if (n->rows > 0)
                removeRows(n, 0, n->rows - 1);
            n->children.clear();
            n->value = value;
            n->reference = reference;
            Node next;
            next.value = value;
            next.reference = reference;
            next.type = n->type;
            next.setRows();
            n->kind = kind;
            n->plain = next.plain;
            if (next.rows > 0)
                insertRows(n, 0, next.keys, next.rows);
            clearMarks(n);
            return;
        }

        const QJsonValue other = sameKind(kind, reference);
        const QStringList oldKeys = n->keys;
        const QStringList newKeys = kind == Kind::Object
            ? objectKeys(value.toObject(), other.toObject(), n->type)
            : QStringList();
        const int newRows
            = kind == Kind::Object ? int(newKeys.size()) : entryCount(value, reference);
        const auto newRowOf = [&](int oldRow) {
            if (kind == Kind::Array)
                return oldRow < newRows ? oldRow : -1;
            return int(newKeys.indexOf(oldKeys.at(oldRow)));
        };

        // Rows whose own value changed, and rows whose entries change in number: those show
        // another count, and if no node holds them yet, one is built from the old value now, so
        // that its entries come and go with signals.
        QVector<int> display;
        for (int r : std::as_const(n->changed)) {
            if (newRowOf(r) >= 0)
                display.append(newRowOf(r));
        }
        const auto countChanges = [&](int r) {
            const int to = newRowOf(r);
            if (to < 0)
                return;
            const QJsonValue before = n->childValue(r);
            const QJsonValue beforeReference = n->childReference(r);
            const QJsonValue after = entryAt(kind, value, newKeys, to);
            const QJsonValue afterReference = entryAt(kind, other, newKeys, to);
            if (entryCount(before, beforeReference) == entryCount(after, afterReference)
                && kindOf(before, beforeReference) == kindOf(after, afterReference))
                return;
            display.append(to);
            n->child(r)->onPath = true;
        };
        if (n->replaced) {
            for (int r = 0; r < n->rows; ++r)
                countChanges(r);
        } else {
            for (int r : std::as_const(n->touched))
                countChanges(r);
        }

        if (kind == Kind::Array && newRows < n->rows)
            removeRows(n, newRows, n->rows - 1);
        for (int r = n->rows - 1; kind == Kind::Object && r >= 0; --r) {
            if (newKeys.contains(n->keys.at(r)))
                continue;
            int first = r;
            while (first > 0 && !newKeys.contains(n->keys.at(first - 1)))
                --first;
            removeRows(n, first, r);
            r = first;
        }
        n->value = value;
        n->reference = reference;
        if (kind == Kind::Array && newRows > n->rows)
            insertRows(n, n->rows, {}, newRows - n->rows);
        for (int i = 0; kind == Kind::Object && i < newKeys.size();) {
            int end = i;
            while (end < newKeys.size()
                   && (i >= n->keys.size() || newKeys.at(end) != n->keys.at(i)))
                ++end;
            if (end > i)
                insertRows(n, i, newKeys.mid(i, end - i), end - i);
            i = end + 1;
        }
        n->plain = plainKeys(n->keys);

        if (n->replaced) {
            display.resize(n->rows);
            std::iota(display.begin(), display.end(), 0);
        }
        changedRows(n, display);

        for (size_t r = 0; r < n->children.size(); ++r) {
            Node *c = n->children[r].get();
            if (!c)
                continue;
            c->replaced = c->replaced || n->replaced;
            if (c->onPath || c->replaced)
                reconcile(c, n->childValue(int(r)), n->childReference(int(r)));
            else
                refresh(c, n->childValue(int(r)), n->childReference(int(r)));
        }
        clearMarks(n);
    }

    // A node below which nothing changed takes its values from the new document all the same, so
    // that the old document is released.
    static void refresh(Node *n, const QJsonValue &value, const QJsonValue &reference)
    {
        n->value = value;
        n->reference = reference;
        for (size_t r = 0; r < n->children.size(); ++r) {
            if (Node *c = n->children[r].get())
                refresh(c, n->childValue(int(r)), n->childReference(int(r)));
        }
    }

    // The rows on the way to the changes, then to the rows whose mark changes, then one pass over
    // the built nodes. A path that the rows cannot follow (a key with '.' or '[') resets the model.
    void update(const QJsonObject &nextDocument, const QJsonObject &nextComparison,
                const QVector<ModelStateDifference> &changes)
    {
        const QHash<QString, Difference> oldMarks = marks;
        const QSet<QString> oldBelow = changedBelow;
        document = nextDocument;
        comparison = nextComparison;
        computeMarks();
        bool followed = true;
        for (const ModelStateDifference &c : changes)
            followed = followed && touch(c.path, true);
        for (auto it = marks.constBegin(); it != marks.constEnd(); ++it) {
            if (oldMarks.value(it.key(), NoDifference) != it.value())
                followed = followed && touch(it.key(), false);
        }
        for (auto it = oldMarks.constBegin(); it != oldMarks.constEnd(); ++it) {
            if (!marks.contains(it.key()))
                followed = followed && touch(it.key(), false);
        }
        const auto touchMissing = [&](const QSet<QString> &paths, const QSet<QString> &other) {
            for (const QString &path : paths) {
                if (!other.contains(path))
                    followed = followed && touch(path, false);
            }
        };
        touchMissing(changedBelow, oldBelow);
        touchMissing(oldBelow, changedBelow);
        if (!followed)
            return reset(document);
        reconcile(root.get(), document, rootReference());
    }

    // The document with value in place of row of n.
    QJsonObject edited(const Node *n, int row, const QJsonValue &value) const
    {
        QJsonValue v = value;
        for (; n; row = n->row, n = n->parent) {
            if (n->kind == Kind::Array) {
                QJsonArray array = n->value.toArray();
                array.replace(row, v);
                v = array;
            } else {
                QJsonObject object = n->value.toObject();
                object.insert(n->keys.at(row), v);
                v = object;
            }
        }
        return v.toObject();
    }

    // restore() refuses a map whose entries give one key twice.
    static bool keyGivenTwice(const Node *entry, int row, const QJsonValue &value)
    {
        const Node *map = entry->parent;
        if (!map || !map->type || !map->type->uniqueKeys || entry->kind != Kind::Object
            || entry->keys.at(row) != QLatin1String("key"))
            return false;
        const QJsonArray entries = map->value.toArray();
        for (int i = 0; i < entries.size(); ++i) {
            if (i != entry->row && entries.at(i).toObject().value(QLatin1String("key")) == value)
                return true;
        }
        return false;
    }

    // path is one buffer for the whole walk: each entry appends its step and takes it off again.
    static void find(const QJsonValue &value, const DocumentType *type, QString &path,
                     const QString &text, Qt::CaseSensitivity cs, QStringList &found)
    {
        const Kind kind = kindOf(value);
        if (!path.isEmpty()
            && (path.contains(text, cs)
                || (kind == Kind::Leaf && leafText(value, type).contains(text, cs))))
            found.append(path);
        const qsizetype length = path.size();
        if (kind == Kind::Array) {
            const QJsonArray array = value.toArray();
            for (int i = 0; i < array.size(); ++i) {
                path += QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
                find(array.at(i), type ? type->element : nullptr, path, text, cs, found);
                path.truncate(length);
            }
        } else if (kind == Kind::Object) {
            const QJsonObject object = value.toObject();
            const QStringList keys = objectKeys(object, QJsonObject(), type);
            for (int i = 0; i < keys.size(); ++i) {
                if (length > 0)
                    path += QLatin1Char('.');
                path += keys.at(i);
                find(object.value(keys.at(i)), type ? type->member(keys.at(i), i) : nullptr, path,
                     text, cs, found);
                path.truncate(length);
            }
        }
    }
};

ModelStateItemModel::ModelStateItemModel(QObject *parent)
    : ModelStateItemModel(QJsonObject(), parent)
{ }

ModelStateItemModel::ModelStateItemModel(const QJsonObject &document, QObject *parent)
    : QAbstractItemModel(parent)
    , d(std::make_unique<Private>(this))
{
    d->reset(document);
}

ModelStateItemModel::~ModelStateItemModel() = default;

QJsonObject ModelStateItemModel::document() const
{
    return d->document;
}

void ModelStateItemModel::setDocument(const QJsonObject &document)
{
    if (document.value(ClassKey) != d->document.value(ClassKey))
        return d->reset(document);
    d->update(document, d->comparison, ModelState::compare(d->document, document));
}

QJsonObject ModelStateItemModel::comparisonDocument() const
{
    return d->comparison;
}

void ModelStateItemModel::setComparisonDocument(const QJsonObject &document)
{
    // The rows are those of both documents; without a comparison, of the document alone, which is
    // the same as comparing it with itself.
    const QJsonObject before = d->comparison.isEmpty() ? d->document : d->comparison;
    const QJsonObject after = document.isEmpty() ? d->document : document;
    d->update(d->document, document, ModelState::compare(before, after));
}

QVector<ModelStateDifference> ModelStateItemModel::differences() const
{
    return d->differences;
}

QModelIndex ModelStateItemModel::indexOfPath(const QString &path, int column) const
{
    Node *n = d->root.get();
    qsizetype pos = 0;
    while (column >= 0 && column < ColumnCount) {
        int row = -1;
        qsizetype next = 0;
        if (n->step(path, pos, row, next) != Node::Step::Found)
            break;
        if (next == path.size())
            return createIndex(row, column, n);
        n = n->child(row);
        pos = next;
    }
    return {};
}

QStringList ModelStateItemModel::findPaths(const QString &text, Qt::CaseSensitivity cs) const
{
    QStringList found;
    QString path;
    Private::find(d->document, d->root->type, path, text, cs, found);
    return found;
}

ModelStateError ModelStateItemModel::editError() const
{
    return d->editError;
}

QModelIndex ModelStateItemModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || parent.column() > 0)
        return {};
    Node *n = parent.isValid() ? Private::parentNode(parent)->child(parent.row()) : d->root.get();
    return row < n->rows ? createIndex(row, column, n) : QModelIndex();
}

QModelIndex ModelStateItemModel::parent(const QModelIndex &child) const
{
    return child.isValid() ? d->indexOf(Private::parentNode(child)) : QModelIndex();
}

int ModelStateItemModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return d->root->rows;
    if (parent.column() > 0)
        return 0;
    const Node *n = Private::parentNode(parent);
    if (const Node *c = n->existingChild(parent.row()))
        return c->rows;
    return entryCount(n->childValue(parent.row()), n->childReference(parent.row()));
}

int ModelStateItemModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

bool ModelStateItemModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant ModelStateItemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Node *n = Private::parentNode(index);
    const int row = index.row();
    const QJsonValue value = n->childValue(row);
    const QJsonValue reference = n->childReference(row);
    const QJsonValue shown = value.isUndefined() ? reference : value;
    const DocumentType *type = n->childType(row);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == NameColumn)
            return n->kind == Kind::Array ? QStringLiteral("[%1]").arg(row) : n->keys.at(row);
        if (index.column() == TypeColumn)
            return type ? type->name : jsonTypeName(shown);
        if (kindOf(shown) == Kind::Array) {
            const int count = entryCount(value, reference);
            return count == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(count);
        }
        return leafText(shown, type);
    case Qt::EditRole:
        if (index.column() == ValueColumn && (flags(index) & Qt::ItemIsEditable))
            return leafText(value, type);
        return {};
    case PathRole:
        return n->childPath(row);
    case ValueRole:
        return value.isUndefined() ? QVariant() : QVariant::fromValue(value);
    case DifferenceRole:
        return int(d->mark(n, row));
    case ComparisonValueRole:
        return reference.isUndefined() ? QVariant() : QVariant::fromValue(reference);
    default:
        return {};
    }
}

QVariant ModelStateItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return QStringLiteral("Name");
    case ValueColumn:
        return QStringLiteral("Value");
    case TypeColumn:
        return QStringLiteral("Type");
    default:
        return {};
    }
}

Qt::ItemFlags ModelStateItemModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Node *n = Private::parentNode(index);
    const DocumentType *type = n->childType(index.row());
    if (index.column() == ValueColumn && type && type->check
        && !n->childValue(index.row()).isUndefined())
        flags |= Qt::ItemIsEditable;
    return flags;
}

QHash<int, QByteArray> ModelStateItemModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractItemModel::roleNames();
    names.insert(PathRole, "path");
    names.insert(ValueRole, "value");
    names.insert(DifferenceRole, "difference");
    names.insert(ComparisonValueRole, "comparisonValue");
    return names;
}

bool ModelStateItemModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!(flags(index) & Qt::ItemIsEditable) || (role != Qt::EditRole && role != ValueRole))
        return false;
    Node *n = Private::parentNode(index);
    const int row = index.row();
    const DocumentType *type = n->childType(row);
    const QString path = n->childPath(row);

    QString problem;
    QJsonValue candidate;
    if (role == ValueRole)
        candidate = value.userType() == QMetaType::QJsonValue ? value.toJsonValue()
                                                              : QJsonValue::fromVariant(value);
    else
        candidate = leafValue(value.toString(), *type, problem);
    StateCodec::LoadError error;
    if (problem.isEmpty() && !type->check(candidate, error))
        problem = error.message;
    if (problem.isEmpty() && Private::keyGivenTwice(n, row, candidate))
        problem = QStringLiteral("key %1 given twice").arg(leafText(candidate, type));
    if (!problem.isEmpty()) {
        d->editError = {path, problem};
        emit editRefused(path, problem);
        return false;
    }
    d->editError = {};
    const QJsonValue current = n->childValue(row);
    if (candidate == current)
        return true;
    d->update(d->edited(n, row, candidate), d->comparison,
              {{ModelStateDifference::Changed, path, current, candidate}});
    emit documentEdited(path);
    return true;
}
