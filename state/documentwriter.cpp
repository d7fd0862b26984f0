#include "documentwriter.h"

#include <QtCore/QLocale>

#include <algorithm>
#include <cmath>

namespace StateCodec {

namespace {

    class Writer
    {
    public:
        QByteArray out;

        void value(const QJsonValue &v, const Shape *shape, int level)
        {
            switch (v.type()) {
            case QJsonValue::Object:
                object(v.toObject(), shape, level);
                break;
            case QJsonValue::Array:
                array(v.toArray(), shape, level);
                break;
            case QJsonValue::String:
                string(v.toString());
                break;
            case QJsonValue::Double:
                number(v.toDouble());
                break;
            case QJsonValue::Bool:
                out += v.toBool() ? "true" : "false";
                break;
            case QJsonValue::Null:
            case QJsonValue::Undefined:
                out += "null";
                break;
            }
        }

    private:
        void indent(int level) { out.append(4 * level, ' '); }

        void member(const QString &key, const QJsonValue &v, const Shape *shape, int level,
                    bool &first)
        {
            out += first ? "\n" : ",\n";
            first = false;
            indent(level);
            string(key);
            out += ": ";
            value(v, shape, level);
        }

        void object(const QJsonObject &o, const Shape *shape, int level)
        {
            if (o.isEmpty()) {
                out += "{}";
                return;
            }
            out += '{';
            bool first = true;
            qsizetype written = 0;
            if (shape) {
                for (const auto &m : shape->members) {
                    const auto it = o.constFind(m.first);
                    if (it != o.constEnd()) {
                        member(m.first, it.value(), m.second, level + 1, first);
                        ++written;
                    }
                }
            }
            if (written < o.size()) {
                for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
                    const QString key = it.key();
                    const bool known = shape
                        && std::any_of(shape->members.cbegin(), shape->members.cend(),
                                       [&key](const auto &m) { return m.first == key; });
                    if (!known)
                        member(key, it.value(), nullptr, level + 1, first);
                }
            }
            out += '\n';
            indent(level);
            out += '}';
        }

        void array(const QJsonArray &a, const Shape *shape, int level)
        {
            if (a.isEmpty()) {
                out += "[]";
                return;
            }
            const bool flat = std::none_of(a.begin(), a.end(), [](const QJsonValue &v) {
                return v.isArray() || v.isObject();
            });
            const Shape *element = shape ? shape->element : nullptr;
            out += '[';
            bool first = true;
            for (const QJsonValue &v : a) {
                if (flat) {
                    out += first ? "" : ", ";
                } else {
                    out += first ? "\n" : ",\n";
                    indent(level + 1);
                }
                first = false;
                value(v, element, level + 1);
            }
            if (!flat) {
                out += '\n';
                indent(level);
            }
            out += ']';
        }

        // As QJsonDocument writes numbers: integers below 2^53 without a fraction or exponent,
        // everything else in the shortest form that reads back to the same double.
        void number(double d)
        {
            if (!std::isfinite(d)) {
                out += "null";
            } else if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) {
                out += QByteArray::number(qint64(d));
            } else {
                out += QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
            }
        }

        void string(const QString &s)
        {
            static const char hex[] = "0123456789abcdef";
            const auto escape = [this](char16_t u) {
                out += "\\u";
                out += hex[(u >> 12) & 0xF];
                out += hex[(u >> 8) & 0xF];
                out += hex[(u >> 4) & 0xF];
                out += hex[u & 0xF];
            };
            out += '"';
            const QChar *c = s.constData();
            const QChar *end = c + s.size();
            for (; c != end; ++c) {
                const char16_t u = c->unicode();
                if (u < 0x80) {
                    switch (u) {
                    case '"':
                        out += "\\\"";
                        break;
                    case '\\':
                        out += "\\\\";
                        break;
                    case '\b':
                        out += "\\b";
                        break;
                    case '\f':
                        out += "\\f";
                        break;
                    case '\n':
                        out += "\\n";
                        break;
                    case '\r':
                        out += "\\r";
                        break;
                    case '\t':
                        out += "\\t";
                        break;
                    default:
                        if (u < 0x20)
                            escape(u);
                        else
                            out += char(u);
                    }
                } else if (u < 0x800) {
                    out += char(0xC0 | (u >> 6));
                    out += char(0x80 | (u & 0x3F));
                } else if (QChar::isSurrogate(u)) {
                    // A pair is one character in UTF-8; half a pair has no UTF-8 form, so it goes
                    // out escaped, and the parser gives back the same unit.
                    if (QChar::isHighSurrogate(u) && c + 1 != end && c[1].isLowSurrogate()) {
                        const char32_t code = QChar::surrogateToUcs4(u, c[1].unicode());
                        ++c;
                        out += char(0xF0 | (code >> 18));
                        out += char(0x80 | ((code >> 12) & 0x3F));
                        out += char(0x80 | ((code >> 6) & 0x3F));
                        out += char(0x80 | (code & 0x3F));
                    } else {
                        escape(u);
                    }
                } else if (u == 0xFEFF || u >= 0xFFFE) {
                    // Qt's parser drops a byte order mark that starts a string, and the two
                    // non-characters need not survive a UTF-8 decoder: escaped, all three come
                    // back.
                    escape(u);
                } else {
                    out += char(0xE0 | (u >> 12));
                    out += char(0x80 | ((u >> 6) & 0x3F));
                    out += char(0x80 | (u & 0x3F));
                }
            }
            out += '"';
        }
    };

} // namespace

QByteArray writeDocument(const QJsonObject &document, const Shape *shape)
{
    Writer writer;
    writer.value(document, shape, 0);
    writer.out += '\n';
    return writer.out;
}

} // namespace StateCodec
