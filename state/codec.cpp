#include "codec.h"

#include <algorithm>

namespace StateCodec {

QString describe(const QJsonValue &json)
{
    switch (json.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return json.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(json.toDouble(), 'g', 17);
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

namespace {

    // The doubles a JSON number cannot hold. Qt keeps a negative zero as the integer 0, so it needs
    // a name of its own as well.
    const QLatin1String NotANumber("NaN");
    const QLatin1String Infinity("Infinity");
    const QLatin1String MinusInfinity("-Infinity");
    const QLatin1String MinusZero("-0");

} // namespace

QJsonValue Codec<double>::save(double value)
{
    if (std::isnan(value))
        return NotANumber;
    if (std::isinf(value))
        return value > 0 ? Infinity : MinusInfinity;
    if (value == 0 && std::signbit(value))
        return MinusZero;
    return value;
}

bool Codec<double>::check(const QJsonValue &json, LoadError &error)
{
    if (json.isDouble())
        return true;
    const QString text = json.toString();
    if (json.isString()
        && (text == NotANumber || text == Infinity || text == MinusInfinity || text == MinusZero))
        return true;
    return fail(
        error, QStringLiteral("a number, or \"NaN\", \"Infinity\", \"-Infinity\" or \"-0\""), json);
}

void Codec<double>::load(const QJsonValue &json, double &out)
{
    if (json.isDouble()) {
        out = json.toDouble();
        return;
    }
    const QString text = json.toString();
    if (text == NotANumber)
        out = std::numeric_limits<double>::quiet_NaN();
    else if (text == Infinity)
        out = std::numeric_limits<double>::infinity();
    else if (text == MinusInfinity)
        out = -std::numeric_limits<double>::infinity();
    else
        out = -0.0;
}

QString pathKey(const QString &key)
{
    const auto special = [](QChar c) {
        return c.unicode() < 0x20 || c == QLatin1Char('.') || c == QLatin1Char('[')
            || c == QLatin1Char(']') || c == QLatin1Char('"') || c == QLatin1Char('\\');
    };
    if (!key.isEmpty() && std::none_of(key.cbegin(), key.cend(), special))
        return key;
    // The escapes of a JSON string, which the path reader of apply() undoes.
    QString quoted = QStringLiteral("[\"");
    for (const QChar c : key) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + QStringLiteral("\"]");
}

QString memberPath(const QString &path, const QString &key)
{
    const QString step = pathKey(key);
    if (path.isEmpty() || step.startsWith(QLatin1Char('[')))
        return path + step;
    return path + QLatin1Char('.') + step;
}

QJsonValue saveBytes(const char *data, qsizetype size)
{
    return QString::fromLatin1(data, size);
}

bool checkBytes(const QJsonValue &json, qsizetype size, LoadError &error)
{
    const QString expected = size < 0
        ? QStringLiteral("a string of bytes (U+0000 to U+00FF)")
        : QStringLiteral("a string of %1 bytes (U+0000 to U+00FF)").arg(size);
    if (!json.isString())
        return fail(error, expected, json);
    const QString text = json.toString();
    if (size >= 0 && text.size() != size) {
        error.path.clear();
        error.message
            = QStringLiteral("expected %1, found %2 characters").arg(expected).arg(text.size());
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() > 0xFF) {
            error.path.clear();
            error.message = QStringLiteral("expected %1, found U+%2 at character %3")
                                .arg(expected)
                                .arg(text.at(i).unicode(), 4, 16, QLatin1Char('0'))
                                .arg(i);
            return false;
        }
    }
    return true;
}

QString firstUnknownKey(const QJsonObject &object, const FieldTable &fields,
                        std::initializer_list<QLatin1String> extra)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        QString key = it.key();
        const auto named = [&](QLatin1String name) { return key == name; };
        if (std::none_of(fields.cbegin(), fields.cend(),
                         [&](const FieldSlot &f) { return named(f.name); })
            && std::none_of(extra.begin(), extra.end(), named))
            return key;
    }
    return {};
}

bool checkFields(const QJsonObject &object, const FieldTable &fields, LoadError &error)
{
    for (const FieldSlot &f : fields) {
        const auto it = object.constFind(f.name);
        if (it == object.constEnd()) {
            error.path.clear();
            error.message = QStringLiteral("missing");
            return inMember(error, f.name);
        }
        if (!f.ops->check(it.value(), error))
            return inMember(error, f.name);
    }
    return true;
}

void loadFields(const QJsonObject &object, const FieldTable &fields, void *out)
{
    for (const FieldSlot &f : fields)
        f.ops->load(object.value(f.name), static_cast<char *>(out) + f.offset);
}

void saveFields(QJsonObject &object, const FieldTable &fields, const void *value)
{
    for (const FieldSlot &f : fields)
        object.insert(f.name, f.ops->save(static_cast<const char *>(value) + f.offset));
}

void swapFields(const FieldTable &fields, void *a, void *b)
{
    for (const FieldSlot &f : fields)
        f.ops->swap(static_cast<char *>(a) + f.offset, static_cast<char *>(b) + f.offset);
}

Shape::Members fieldShapes(const FieldTable &fields)
{
    Shape::Members shapes;
    shapes.reserve(qsizetype(fields.size()));
    for (const FieldSlot &f : fields)
        shapes.append({f.name, f.ops->shape()});
    return shapes;
}

} // namespace StateCodec
