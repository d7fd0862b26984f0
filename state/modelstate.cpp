#include <model/state/modelstate.h>

#include "documenttype.h"
#include "documentwriter.h"
#include "memberlists.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

using namespace StateCodec;

namespace {

template<typename T>
QJsonObject saveDocument(const T &object)
{
    QJsonObject document;
    document.insert(ClassKey, documentClassName<T>);
    document.insert(FormatKey, ModelState::FormatVersion);
    saveFields(document, fieldTable<T>(), &object);
    return document;
}

// The document's own entries, then every member in declaration order, then the unknown ones.
template<typename T>
bool checkDocument(const QJsonObject &document, LoadError &error)
{
    error.path = ClassKey;
    const auto className = document.constFind(ClassKey);
    if (className == document.constEnd()) {
        error.message = QStringLiteral("missing");
        return false;
    }
    if (className.value().toString() != documentClassName<T>) {
        error.message = QStringLiteral("expected \"%1\", found %2")
                            .arg(documentClassName<T>,
                                 className.value().isString() ? QLatin1Char('"')
                                         + className.value().toString() + QLatin1Char('"')
                                                              : describe(className.value()));
        return false;
    }

    error.path = FormatKey;
    const auto format = document.constFind(FormatKey);
    if (format == document.constEnd()) {
        error.message = QStringLiteral("missing");
        return false;
    }
    if (!Codec<int>::check(format.value(), error) || format.value().toInt() < 1) {
        error.path = FormatKey;
        error.message = QStringLiteral("expected a format version from 1 to %1, found %2")
                            .arg(ModelState::FormatVersion)
                            .arg(describe(format.value()));
        return false;
    }
    const int version = format.value().toInt();
    if (version > ModelState::FormatVersion) {
        error.message = QStringLiteral("format %1 is newer than this library's format %2")
                            .arg(version)
                            .arg(ModelState::FormatVersion);
        return false;
    }

    const FieldTable &fields = fieldTable<T>();
    if (!checkFields(document, fields, error))
        return false;
    if (document.size() != qsizetype(fields.size()) + 2) {
        error.path = pathKey(firstUnknownKey(document, fields, {ClassKey, FormatKey}));
        error.message = QStringLiteral("unknown member");
        return false;
    }
    return true;
}

template<typename T>
bool checkDocument(const QJsonObject &document, ModelStateError *error)
{
    LoadError problem;
    if (checkDocument<T>(document, problem))
        return true;
    if (error)
        *error = {problem.path, problem.message};
    return false;
}

// The whole document is checked before anything is built. It is then loaded into a scratch
// object, swapped into the target member by member, and the scratch object releases what the
// target held.
template<typename T>
bool restoreDocument(T &target, const QJsonObject &document, ModelStateError *error)
{
    if (!checkDocument<T>(document, error))
        return false;
    const auto scratch = std::make_unique<T>();
    const FieldTable &fields = fieldTable<T>();
    loadFields(document, fields, scratch.get());
    swapFields(fields, &target, scratch.get());
    return true;
}

template<typename T>
const Shape *documentShape()
{
    static const Shape shape = [] {
        Shape::Members members = fieldShapes(fieldTable<T>());
        members.prepend({FormatKey, nullptr});
        members.prepend({ClassKey, nullptr});
        return Shape(std::move(members), nullptr);
    }();
    return &shape;
}

// One row per class: its name, its shape, and its check.
struct ClassEntry
{
    QLatin1String name;
    const Shape *(*shape)();
    bool (*check)(const QJsonObject &, ModelStateError *);
};

template<typename T>
constexpr ClassEntry entry()
{
    return {documentClassName<T>, &documentShape<T>, &checkDocument<T>};
}

#define CLASS_ENTRY(T) entry<T>(),
const ClassEntry s_classes[] = {STATE_DOCUMENT_CLASSES(CLASS_ENTRY)};
#undef CLASS_ENTRY

const ClassEntry *classEntry(const QJsonValue &name)
{
    for (const ClassEntry &c : s_classes) {
        if (name.toString() == c.name)
            return &c;
    }
    return nullptr;
}

// compare(): a walk of both documents at once with a stack of its own, so that a document nested
// as deep as a parser allows costs heap, not call stack. Path segments are built only where the
// documents differ, and no path at all for differences beyond the limit, which are only counted.
class Comparison
{
public:
    explicit Comparison(qsizetype limit)
        : m_limit(limit)
    { }

    QVector<ModelStateDifference> differences;
    qsizetype total = 0;

    void run(const QJsonObject &before, const QJsonObject &after, const Shape *shape)
    {
        push(before, after, shape, QString());
        while (!m_stack.empty()) {
            Frame &top = m_stack.back();
            if (!(top.isArray ? arrayStep(top) : objectStep(top)))
                m_stack.pop_back();
        }
    }

private:
    // A pair of objects or of arrays that differ, with how far the walk has got in them.
    struct Frame
    {
        bool isArray;
        QJsonObject beforeObject;
        QJsonObject afterObject;
        QJsonArray beforeArray;
        QJsonArray afterArray;
        const Shape *shape;
        QString path;
        // Objects: the shape's members first, then every key in name order (QJsonObject keeps
        // its keys sorted), those of before at beforeKey and those of after at afterKey.
        // Arrays: the next element.
        qsizetype next = 0;
        qsizetype beforeKey = 0;
        qsizetype afterKey = 0;
        // Objects: how many keys of each side the shape's members have covered.
        qsizetype inBefore = 0;
        qsizetype inAfter = 0;
    };

    template<typename Path>
    void add(ModelStateDifference::Kind kind, const Path &path, const QJsonValue &before,
             const QJsonValue &after)
    {
        ++total;
        if (differences.size() < m_limit)
            differences.append({kind, path(), before, after});
    }

    void push(const QJsonValue &before, const QJsonValue &after, const Shape *shape,
              const QString &path)
    {
        Frame frame{before.isArray(),
                    before.toObject(),
                    after.toObject(),
                    before.toArray(),
                    after.toArray(),
                    shape,
                    path};
        m_stack.push_back(std::move(frame));
    }

    // Two values at one path, both present and different.
    template<typename Path>
    void values(const QJsonValue &before, const QJsonValue &after, const Shape *shape,
                const Path &path)
    {
        if ((before.isObject() && after.isObject()) || (before.isArray() && after.isArray()))
            push(before, after, shape, path());
        else
            add(ModelStateDifference::Changed, path, before, after);
    }

    void member(Frame &frame, const QString &key, const Shape *shape)
    {
        const auto b = frame.beforeObject.constFind(key);
        const auto a = frame.afterObject.constFind(key);
        const bool inBefore = b != frame.beforeObject.constEnd();
        const bool inAfter = a != frame.afterObject.constEnd();
        const auto path = [&frame, &key] { return memberPath(frame.path, key); };
        if (inBefore && inAfter) {
            const QJsonValue before = b.value();
            const QJsonValue after = a.value();
            // values() may push onto the stack, which can move the frame: it comes last.
            if (before != after)
                values(before, after, shape, path);
        } else if (inBefore) {
            add(ModelStateDifference::Removed, path, b.value(), QJsonValue(QJsonValue::Undefined));
        } else if (inAfter) {
            add(ModelStateDifference::Added, path, QJsonValue(QJsonValue::Undefined), a.value());
        }
    }

    // Compares the next member; false when the object is done.
    bool objectStep(Frame &frame)
    {
        const qsizetype known = frame.shape ? frame.shape->members.size() : 0;
        if (frame.next < known) {
            const auto &m = frame.shape->members.at(frame.next++);
            frame.inBefore += frame.beforeObject.contains(m.first);
            frame.inAfter += frame.afterObject.contains(m.first);
            member(frame, m.first, m.second);
            return true;
        }
        if (frame.inBefore == frame.beforeObject.size()
            && frame.inAfter == frame.afterObject.size())
            return false;
        while (frame.beforeKey < frame.beforeObject.size()
               || frame.afterKey < frame.afterObject.size()) {
            const bool beforeDone = frame.beforeKey == frame.beforeObject.size();
            const bool afterDone = frame.afterKey == frame.afterObject.size();
            const QString b = beforeDone ? QString() : keyAt(frame.beforeObject, frame.beforeKey);
            const QString a = afterDone ? QString() : keyAt(frame.afterObject, frame.afterKey);
            const QString key = afterDone || (!beforeDone && b <= a) ? b : a;
            frame.beforeKey += !beforeDone && b == key;
            frame.afterKey += !afterDone && a == key;
            if (!frame.shape || !frame.shape->knows(key)) {
                member(frame, key, nullptr);
                return true;
            }
        }
        return false;
    }

    static QString keyAt(const QJsonObject &object, qsizetype index)
    {
        return (object.constBegin() + int(index)).key();
    }

    // Compares the next pair of elements, or lists the elements only one side holds; false when
    // the array is done.
    bool arrayStep(Frame &frame)
    {
        const qsizetype common = qMin(frame.beforeArray.size(), frame.afterArray.size());
        const auto at = [&frame](qsizetype i) {
            return [&frame, i] {
                return frame.path + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
            };
        };
        while (frame.next < common) {
            const qsizetype i = frame.next++;
            const QJsonValue before = frame.beforeArray.at(i);
            const QJsonValue after = frame.afterArray.at(i);
            if (before != after) {
                values(before, after, frame.shape ? frame.shape->element : nullptr, at(i));
                return true;
            }
        }
        const qsizetype removed = frame.beforeArray.size() - common;
        const qsizetype added = frame.afterArray.size() - common;
        for (qsizetype i = common; i < common + removed; ++i) {
            if (differences.size() >= m_limit) {
                total += common + removed - i;
                break;
            }
            add(ModelStateDifference::Removed, at(i), frame.beforeArray.at(i),
                QJsonValue(QJsonValue::Undefined));
        }
        for (qsizetype i = common; i < common + added; ++i) {
            if (differences.size() >= m_limit) {
                total += common + added - i;
                break;
            }
            add(ModelStateDifference::Added, at(i), QJsonValue(QJsonValue::Undefined),
                frame.afterArray.at(i));
        }
        return false;
    }

    const qsizetype m_limit;
    std::vector<Frame> m_stack;
};

} // namespace

#define SAVE_AND_RESTORE(T)                                                                        \
    QJsonObject ModelState::save(const T &object)                                                  \
    {                                                                                              \
        return saveDocument(object);                                                               \
    }                                                                                              \
    /* NOLINTNEXTLINE(bugprone-macro-parentheses): T names a class */                              \
    bool ModelState::restore(T &target, const QJsonObject &document, ModelStateError *error)       \
    {                                                                                              \
        return restoreDocument(target, document, error);                                           \
    }
STATE_DOCUMENT_CLASSES(SAVE_AND_RESTORE)
#undef SAVE_AND_RESTORE

QStringList ModelState::classNames()
{
    QStringList names;
    for (const ClassEntry &c : s_classes)
        names << c.name;
    return names;
}

bool ModelState::check(const QJsonObject &document, ModelStateError *error)
{
    const QJsonValue name = document.value(ClassKey);
    const ClassEntry *c = classEntry(name);
    if (c)
        return c->check(document, error);
    if (error) {
        error->path = ClassKey;
        error->message = name.isUndefined() ? QStringLiteral("missing")
            : name.isString()
            ? QStringLiteral("unknown class \"%1\"; known: %2")
                  .arg(name.toString(), classNames().join(QLatin1String(", ")))
            : QStringLiteral("expected a class name, found %1").arg(describe(name));
    }
    return false;
}

QVector<ModelStateDifference> ModelState::compare(const QJsonObject &before,
                                                  const QJsonObject &after)
{
    return compare(before, after, std::numeric_limits<qsizetype>::max());
}

QVector<ModelStateDifference> ModelState::compare(const QJsonObject &before,
                                                  const QJsonObject &after, qsizetype maximum,
                                                  qsizetype *total)
{
    const ClassEntry *c = classEntry(before.value(ClassKey));
    Comparison comparison(qMax<qsizetype>(maximum, 0));
    if (before != after)
        comparison.run(before, after, c ? c->shape() : nullptr);
    if (total)
        *total = comparison.total;
    return comparison.differences;
}

QByteArray ModelState::toJson(const QJsonObject &document)
{
    return toJson(document, Indented);
}

QByteArray ModelState::toJson(const QJsonObject &document, TextLayout layout)
{
    const ClassEntry *c = classEntry(document.value(ClassKey));
    return writeDocument(document, c ? c->shape() : nullptr, layout == Compact);
}
