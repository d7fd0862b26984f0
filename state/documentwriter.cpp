#include "documentwriter.h"

#include <QtCore/QLocale>

#include <algorithm>
#include <cmath>
#include <vector>

namespace StateCodec {

namespace {

    // Writes with a stack of its own, so that a document nested as deep as a parser allows costs
    // heap, not call stack.
    class Writer
    {
    public:
        explicit Writer(bool compact)
            : m_compact(compact)
        { }

        QByteArray out;

        void document(const QJsonObject &document, const Shape *shape)
        {
            if (!open(QJsonValue(document), shape))
                return;
            while (!m_stack.empty()) {
                if (!step(m_stack.back())) {
                    close(m_stack.back());
                    m_stack.pop_back();
                }
            }
        }

    private:
        // An object or array being written: its members in the order the shape gives, then the
        // members the shape does not know in name order; or its elements.
        struct Frame
        {
            QJsonObject object;
            QJsonArray array;
            bool isArray;
            bool flat; // an array of numbers, strings and nulls: on one line
            const Shape *shape;
            qsizetype next = 0;
            qsizetype written = 0;
            bool inShape = true;
        };

        void indent()
        {
            out += '\n';
            out.append(4 * int(m_stack.size()), ' ');
        }

        // Writes a scalar, or the opening of a container and pushes it; false if it was an
        // empty container, written whole.
        bool open(const QJsonValue &v, const Shape *shape)
        {
            switch (v.type()) {
            case QJsonValue::Object:
                if (v.toObject().isEmpty()) {
                    out += "{}";
                    return false;
                }
                out += '{';
                m_stack.push_back({v.toObject(), QJsonArray(), false, false, shape});
                return true;
            case QJsonValue::Array: {
                const QJsonArray a = v.toArray();
                if (a.isEmpty()) {
                    out += "[]";
                    return false;
                }
                const bool flat = std::none_of(a.begin(), a.end(), [](const QJsonValue &e) {
                    return e.isArray() || e.isObject();
                });
                out += '[';
                m_stack.push_back({QJsonObject(), a, true, flat, shape});
                return true;
            }
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
            return false;
        }

        void separator(const Frame &frame, bool first)
        {
            if (!first)
                out += ',';
            if (m_compact)
                return;
            if (frame.flat)
                out += first ? "" : " ";
            else
                indent();
        }

        // Writes the next member or element; false when the container is done.
        bool step(Frame &frame)
        {
            if (frame.isArray) {
                if (frame.next == frame.array.size())
                    return false;
                separator(frame, frame.next == 0);
                const QJsonValue v = frame.array.at(frame.next++);
                // open() may push onto the stack, which can move the frame: it comes last.
                open(v, frame.shape ? frame.shape->element : nullptr);
                return true;
            }
            if (frame.inShape) {
                const qsizetype known = frame.shape ? frame.shape->members.size() : 0;
                while (frame.next < known) {
                    const auto &m = frame.shape->members.at(frame.next++);
                    const auto it = frame.object.constFind(m.first);
                    if (it != frame.object.constEnd()) {
                        member(frame, m.first, it.value(), m.second);
                        return true;
                    }
                }
                if (frame.written == frame.object.size())
                    return false;
                frame.inShape = false;
                frame.next = 0;
            }
            while (frame.next < frame.object.size()) {
                const auto it = frame.object.constBegin() + int(frame.next++);
                const QString key = it.key();
                if (!frame.shape || !frame.shape->knows(key)) {
                    member(frame, key, it.value(), nullptr);
                    return true;
                }
            }
            return false;
        }

        void member(Frame &frame, const QString &key, const QJsonValue &v, const Shape *shape)
        {
            separator(frame, frame.written++ == 0);
            string(key);
            out += m_compact ? ":" : ": ";
            open(v, shape);
        }

        void close(const Frame &frame)
        {
            if (!m_compact && !frame.flat) {
                out += '\n';
                out.append(4 * int(m_stack.size() - 1), ' ');
            }
            out += frame.isArray ? ']' : '}';
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

        const bool m_compact;
        std::vector<Frame> m_stack;
    };

} // namespace

QByteArray writeDocument(const QJsonObject &document, const Shape *shape, bool compact)
{
    Writer writer(compact);
    writer.document(document, shape);
    if (!compact)
        writer.out += '\n';
    return writer.out;
}

} // namespace StateCodec
