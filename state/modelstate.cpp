#include <model/state/modelstate.h>

#include "documentwriter.h"
#include "memberlists.h"

#include <algorithm>
#include <memory>

using namespace StateCodec;

namespace {

const QLatin1String ClassKey("class");
const QLatin1String FormatKey("format");

template<typename T>
constexpr qsizetype memberCount()
{
    return qsizetype(std::tuple_size_v<std::decay_t<decltype(Members<T>::list)>>);
}

template<typename T>
QJsonObject saveDocument(const T &object)
{
    QJsonObject document;
    document.insert(ClassKey, Members<T>::className);
    document.insert(FormatKey, ModelState::FormatVersion);
    saveFields(document, Members<T>::list, object);
    return document;
}

// The document's own entries, then every member in declaration order, then the unknown ones.
template<typename T>
bool loadDocument(const QJsonObject &document, T &out, LoadError &error)
{
    error.path = ClassKey;
    const auto className = document.constFind(ClassKey);
    if (className == document.constEnd()) {
        error.message = QStringLiteral("missing");
        return false;
    }
    if (className.value().toString() != Members<T>::className) {
        error.message = QStringLiteral("expected \"%1\", found %2")
                            .arg(Members<T>::className,
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
    int version = 0;
    if (!Codec<int>::load(format.value(), version, error) || version < 1) {
        error.path = FormatKey;
        error.message = QStringLiteral("expected a format version from 1 to %1, found %2")
                            .arg(ModelState::FormatVersion)
                            .arg(describe(format.value()));
        return false;
    }
    if (version > ModelState::FormatVersion) {
        error.message = QStringLiteral("format %1 is newer than this library's format %2")
                            .arg(version)
                            .arg(ModelState::FormatVersion);
        return false;
    }

    if (!loadFields(document, Members<T>::list, out, error))
        return false;
    if (document.size() != memberCount<T>() + 2) {
        error.path = firstUnknownKey(document, Members<T>::list, {ClassKey, FormatKey});
        error.message = QStringLiteral("unknown member");
        return false;
    }
    return true;
}

template<typename T>
void swapFields(T &a, T &b)
{
    const auto swapOne = [](auto &x, auto &y) {
        using std::swap;
        swap(x, y);
    };
    std::apply([&](const auto &...f) { (swapOne(a.*(f.member), b.*(f.member)), ...); },
               Members<T>::list);
}

// The document is loaded into a scratch object first; only a complete load is swapped into the
// target, member by member, and the scratch object then releases what the target held.
template<typename T>
bool restoreDocument(T &target, const QJsonObject &document, ModelStateError *error)
{
    const auto scratch = std::make_unique<T>();
    LoadError problem;
    if (!loadDocument(document, *scratch, problem)) {
        if (error)
            *error = {problem.path, problem.message};
        return false;
    }
    swapFields(target, *scratch);
    return true;
}

template<typename T>
const Shape *documentShape()
{
    static const Shape shape = [] {
        Shape s{fieldShapes(Members<T>::list), nullptr};
        s.members.prepend({FormatKey, nullptr});
        s.members.prepend({ClassKey, nullptr});
        return s;
    }();
    return &shape;
}

// One row per class: its name, its shape, and a check that restores into a scratch object.
struct ClassEntry
{
    QLatin1String name;
    const Shape *(*shape)();
    bool (*check)(const QJsonObject &, ModelStateError *);
};

template<typename T>
constexpr ClassEntry entry()
{
    return {Members<T>::className, &documentShape<T>,
            [](const QJsonObject &document, ModelStateError *error) {
                const auto scratch = std::make_unique<T>();
                return restoreDocument(*scratch, document, error);
            }};
}

const ClassEntry s_classes[] = {
    entry<ModelCalyth>(),     entry<ModelScene>(),         entry<ModelBankPlayer>(),
    entry<ModelIC>(),         entry<Model_QuorParam>(),    entry<model_topology_param>(),
    entry<model_API_param>(), entry<model_Protocoldata>(), entry<model_OsdParam>(),
};

const ClassEntry *classEntry(const QJsonValue &name)
{
    for (const ClassEntry &c : s_classes) {
        if (name.toString() == c.name)
            return &c;
    }
    return nullptr;
}

// compare(): path segments are built only where the documents differ.
class Comparison
{
public:
    QVector<ModelStateDifference> differences;

    void values(const QJsonValue &before, const QJsonValue &after, const Shape *shape,
                const QString &path)
    {
        if (before.isObject() && after.isObject())
            objects(before.toObject(), after.toObject(), shape, path);
        else if (before.isArray() && after.isArray())
            arrays(before.toArray(), after.toArray(), shape, path);
        else if (before != after)
            differences.append({ModelStateDifference::Changed, path, before, after});
    }

private:
    static QString memberPath(const QString &path, const QString &key)
    {
        return path.isEmpty() ? key : path + QLatin1Char('.') + key;
    }

    // Counts the key in each document that holds it.
    void member(const QJsonObject &before, const QJsonObject &after, const QString &key,
                const Shape *shape, const QString &path, qsizetype &inBefore, qsizetype &inAfter)
    {
        const auto b = before.constFind(key);
        const auto a = after.constFind(key);
        inBefore += b != before.constEnd();
        inAfter += a != after.constEnd();
        if (b == before.constEnd() && a == after.constEnd())
            return;
        if (a == after.constEnd())
            differences.append({ModelStateDifference::Removed, memberPath(path, key), b.value(),
                                QJsonValue(QJsonValue::Undefined)});
        else if (b == before.constEnd())
            differences.append({ModelStateDifference::Added, memberPath(path, key),
                                QJsonValue(QJsonValue::Undefined), a.value()});
        else if (b.value() != a.value())
            values(b.value(), a.value(), shape, memberPath(path, key));
    }

    void objects(const QJsonObject &before, const QJsonObject &after, const Shape *shape,
                 const QString &path)
    {
        qsizetype inBefore = 0;
        qsizetype inAfter = 0;
        if (shape) {
            for (const auto &m : shape->members)
                member(before, after, m.first, m.second, path, inBefore, inAfter);
        }
        if (inBefore == before.size() && inAfter == after.size())
            return;
        const auto known = [shape](const QString &key) {
            return shape
                && std::any_of(shape->members.cbegin(), shape->members.cend(),
                               [&key](const auto &m) { return m.first == key; });
        };
        // The keys the shape does not order, in name order: QJsonObject keeps its keys sorted.
        auto b = before.constBegin();
        auto a = after.constBegin();
        while (b != before.constEnd() || a != after.constEnd()) {
            QString key;
            if (a == after.constEnd() || (b != before.constEnd() && b.key() <= a.key()))
                key = b.key();
            else
                key = a.key();
            if (b != before.constEnd() && b.key() == key)
                ++b;
            if (a != after.constEnd() && a.key() == key)
                ++a;
            if (!known(key))
                member(before, after, key, nullptr, path, inBefore, inAfter);
        }
    }

    void arrays(const QJsonArray &before, const QJsonArray &after, const Shape *shape,
                const QString &path)
    {
        const Shape *element = shape ? shape->element : nullptr;
        const auto at = [&path](qsizetype i) {
            return path + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
        };
        const qsizetype common = qMin(before.size(), after.size());
        for (qsizetype i = 0; i < common; ++i) {
            const QJsonValue b = before.at(i);
            const QJsonValue a = after.at(i);
            if (b != a)
                values(b, a, element, at(i));
        }
        for (qsizetype i = common; i < before.size(); ++i)
            differences.append({ModelStateDifference::Removed, at(i), before.at(i),
                                QJsonValue(QJsonValue::Undefined)});
        for (qsizetype i = common; i < after.size(); ++i)
            differences.append({ModelStateDifference::Added, at(i),
                                QJsonValue(QJsonValue::Undefined), after.at(i)});
    }
};

} // namespace

QJsonObject ModelState::save(const ModelCalyth &model)
{
    return saveDocument(model);
}
QJsonObject ModelState::save(const ModelScene &model)
{
    return saveDocument(model);
}
QJsonObject ModelState::save(const ModelBankPlayer &model)
{
    return saveDocument(model);
}
QJsonObject ModelState::save(const ModelIC &model)
{
    return saveDocument(model);
}
QJsonObject ModelState::save(const Model_QuorParam &model)
{
    return saveDocument(model);
}
QJsonObject ModelState::save(const model_topology_param &record)
{
    return saveDocument(record);
}
QJsonObject ModelState::save(const model_API_param &record)
{
    return saveDocument(record);
}
QJsonObject ModelState::save(const model_Protocoldata &record)
{
    return saveDocument(record);
}
QJsonObject ModelState::save(const model_OsdParam &record)
{
    return saveDocument(record);
}

bool ModelState::restore(ModelCalyth &model, const QJsonObject &document, ModelStateError *error)
{
    return restoreDocument(model, document, error);
}
bool ModelState::restore(ModelScene &model, const QJsonObject &document, ModelStateError *error)
{
    return restoreDocument(model, document, error);
}
bool ModelState::restore(ModelBankPlayer &model, const QJsonObject &document,
                         ModelStateError *error)
{
    return restoreDocument(model, document, error);
}
bool ModelState::restore(ModelIC &model, const QJsonObject &document, ModelStateError *error)
{
    return restoreDocument(model, document, error);
}
bool ModelState::restore(Model_QuorParam &model, const QJsonObject &document,
                         ModelStateError *error)
{
    return restoreDocument(model, document, error);
}
bool ModelState::restore(model_topology_param &record, const QJsonObject &document,
                         ModelStateError *error)
{
    return restoreDocument(record, document, error);
}
bool ModelState::restore(model_API_param &record, const QJsonObject &document,
                         ModelStateError *error)
{
    return restoreDocument(record, document, error);
}
bool ModelState::restore(model_Protocoldata &record, const QJsonObject &document,
                         ModelStateError *error)
{
    return restoreDocument(record, document, error);
}
bool ModelState::restore(model_OsdParam &record, const QJsonObject &document,
                         ModelStateError *error)
{
    return restoreDocument(record, document, error);
}

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
    const ClassEntry *c = classEntry(before.value(ClassKey));
    Comparison comparison;
    comparison.values(before, after, c ? c->shape() : nullptr, QString());
    return comparison.differences;
}

QByteArray ModelState::toJson(const QJsonObject &document)
{
    const ClassEntry *c = classEntry(document.value(ClassKey));
    return writeDocument(document, c ? c->shape() : nullptr);
}
