// ModelState::apply(): the differences of compare() put into a document.
//
// The differences are first sorted into a tree of their paths, which finds paths given twice or
// inside one another before anything is touched. The document is then rebuilt along that tree
// alone, each object or array on the way once, however many differences it holds: every other
// part of the document is shared with the original, never copied.

#include <model/state/modelstate.h>

#include "codec.h"

#include <QtCore/QHash>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>

#include <algorithm>
#include <vector>

using namespace StateCodec;

namespace {

struct Step
{
    bool isIndex;
    qsizetype index;
    QString key;
};

// Reads the text of a JSON string after its opening quote up to the closing one, escapes undone;
// false if it is not one.
bool readQuoted(const QString &text, qsizetype &pos, QString &out)
{
    while (pos < text.size()) {
        const QChar c = text.at(pos++);
        if (c == QLatin1Char('"'))
            return true;
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (pos == text.size())
            return false;
        const char16_t e = text.at(pos++).unicode();
        // clang-format off
        // escape   character
        static const char16_t simple[][2] = {
            {u'"',  u'"'},
            {u'\\', u'\\'},
            {u'/',  u'/'},
            {u'b',  u'\b'},
            {u'f',  u'\f'},
            {u'n',  u'\n'},
            {u'r',  u'\r'},
            {u't',  u'\t'},
        };
        // clang-format on
        const auto found = std::find_if(std::begin(simple), std::end(simple),
                                        [e](const auto &row) { return row[0] == e; });
        if (found != std::end(simple)) {
            out += QChar((*found)[1]);
        } else if (e == u'u' && pos + 4 <= text.size()) {
            bool ok = false;
            const uint code = text.mid(pos, 4).toUInt(&ok, 16);
            if (!ok)
                return false;
            out += QChar(char16_t(code));
            pos += 4;
        } else {
            return false;
        }
    }
    return false;
}

// The steps of a path as pathKey() and compare() write it; false if text is not such a path.
bool readPath(const QString &text, std::vector<Step> &steps)
{
    const auto plain = [](QChar c) {
        return c.unicode() >= 0x20 && c != QLatin1Char('.') && c != QLatin1Char('[')
            && c != QLatin1Char(']') && c != QLatin1Char('"') && c != QLatin1Char('\\');
    };
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text.at(pos) == QLatin1Char('[')) {
            Step step{false, 0, QString()};
            if (++pos < text.size() && text.at(pos) == QLatin1Char('"')) {
                ++pos;
                if (!readQuoted(text, pos, step.key))
                    return false;
            } else {
                const qsizetype start = pos;
                while (pos < text.size() && text.at(pos) >= QLatin1Char('0')
                       && text.at(pos) <= QLatin1Char('9'))
                    ++pos;
                const qsizetype digits = pos - start;
                // No sign, no leading zero, and few enough digits for an index.
                if (digits == 0 || digits > 15
                    || (digits > 1 && text.at(start) == QLatin1Char('0')))
                    return false;
                step.isIndex = true;
                step.index = qsizetype(text.mid(start, digits).toLongLong());
            }
            if (pos == text.size() || text.at(pos) != QLatin1Char(']'))
                return false;
            ++pos;
            steps.push_back(std::move(step));
            continue;
        }
        // A name starts the path or follows a '.'.
        if (pos > 0 && text.at(pos++) != QLatin1Char('.'))
            return false;
        const qsizetype start = pos;
        while (pos < text.size() && plain(text.at(pos)))
            ++pos;
        if (pos == start)
            return false;
        steps.push_back({false, 0, text.mid(start, pos - start)});
    }
    return !steps.empty();
}

// A value in a message: numbers, strings, booleans and null as JSON writes them.
QString shortText(const QJsonValue &value)
{
    if (value.isObject() || value.isArray())
        return describe(value);
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

class Patch
{
public:
    explicit Patch(const QVector<ModelStateDifference> &differences)
        : m_differences(differences)
    {
        m_nodes.push_back({-1, Step{false, 0, QString()}, -1, -1, {}});
    }

    // Sorts every difference into the tree of paths; false at the first that cannot be there.
    bool sort(LoadError &error)
    {
        for (int d = 0; d < m_differences.size(); ++d) {
            const ModelStateDifference &difference = m_differences.at(d);
            error.path = difference.path;
            const bool before = !difference.before.isUndefined();
            const bool after = !difference.after.isUndefined();
            switch (difference.kind) {
            case ModelStateDifference::Changed:
                if (!before || !after)
                    return problem(error, QStringLiteral("a change needs both values"));
                break;
            case ModelStateDifference::Added:
                if (!after)
                    return problem(error, QStringLiteral("an added entry needs its value"));
                break;
            case ModelStateDifference::Removed:
                if (!before)
                    return problem(error, QStringLiteral("a removed entry needs its value"));
                break;
            default:
                return problem(error, QStringLiteral("unknown kind %1").arg(int(difference.kind)));
            }
            std::vector<Step> steps;
            if (!readPath(difference.path, steps))
                return problem(error, QStringLiteral("not a path"));
            int node = 0;
            for (Step &step : steps) {
                if (m_nodes[size_t(node)].difference >= 0)
                    return problem(error,
                                   QStringLiteral("inside the difference at %1").arg(pathOf(node)));
                node = child(node, std::move(step), d);
            }
            const Node &end = m_nodes[size_t(node)];
            if (end.difference >= 0)
                return problem(error, QStringLiteral("given twice"));
            if (!end.children.empty())
                return problem(error,
                               QStringLiteral("holds the difference at %1")
                                   .arg(m_differences.at(end.first).path));
            m_nodes[size_t(node)].difference = d;
        }
        return true;
    }

    // Rebuilds document along the tree; false at the first difference that does not fit, with
    // document as it was.
    bool apply(QJsonObject &document, LoadError &error)
    {
        m_stack.push_back({0, false, document, QJsonArray()});
        while (!m_stack.empty()) {
            Frame &frame = m_stack.back();
            const Node &node = m_nodes[size_t(frame.node)];
            if (frame.next < node.children.size()) {
                if (!visit(frame, node.children[frame.next++], error))
                    return false;
                continue;
            }
            if (frame.isArray && !finishArray(frame, error))
                return false;
            const QJsonValue result
                = frame.isArray ? QJsonValue(frame.array) : QJsonValue(frame.object);
            const int done = frame.node;
            m_stack.pop_back();
            if (m_stack.empty())
                document = result.toObject();
            else
                put(m_stack.back(), m_nodes[size_t(done)].step, result);
        }
        return true;
    }

private:
    struct Node
    {
        int parent;
        Step step;      // from the parent to here
        int difference; // the difference whose path ends here, or -1
        int first;      // the first difference whose path passes here or ends here
        std::vector<int> children;
    };

    // An object or array on the way to some differences, as rebuilt so far.
    struct Frame
    {
        int node;
        bool isArray;
        QJsonObject object;
        QJsonArray array;
        size_t next = 0;
        std::vector<int> added{};   // nodes of Added elements, put in at the end
        std::vector<int> removed{}; // nodes of Removed elements, taken out at the end
    };

    static bool problem(LoadError &error, const QString &message)
    {
        error.message = message;
        return false;
    }

    bool problemAt(LoadError &error, int node, const QString &message) const
    {
        error.path = pathOf(node);
        return problem(error, message);
    }

    int child(int parent, Step step, int difference)
    {
        int &slot = step.isIndex ? m_indexChildren[qMakePair(parent, step.index)]
                                 : m_keyChildren[qMakePair(parent, step.key)];
        if (slot == 0) {
            slot = int(m_nodes.size());
            m_nodes.push_back({parent, std::move(step), -1, difference, {}});
            m_nodes[size_t(parent)].children.push_back(slot);
        }
        return slot;
    }

    QString pathOf(int node) const
    {
        std::vector<const Step *> steps;
        for (; node > 0; node = m_nodes[size_t(node)].parent)
            steps.push_back(&m_nodes[size_t(node)].step);
        QString path;
        for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
            path = (*it)->isIndex
                ? path + QLatin1Char('[') + QString::number((*it)->index) + QLatin1Char(']')
                : memberPath(path, (*it)->key);
        }
        return path;
    }

    static void put(Frame &frame, const Step &step, const QJsonValue &value)
    {
        if (frame.isArray)
            frame.array.replace(int(step.index), value);
        else
            frame.object.insert(step.key, value);
    }

    // The child of frame's node at node: a difference that ends there, or an object or array on
    // the way to others.
    bool visit(Frame &frame, int node, LoadError &error)
    {
        const Node &n = m_nodes[size_t(node)];
        if (n.step.isIndex != frame.isArray) {
            return problemAt(
                error, frame.node,
                QStringLiteral("expected %1, found %2")
                    .arg(n.step.isIndex ? QStringLiteral("an array") : QStringLiteral("an object"),
                         describe(frame.isArray ? QJsonValue(frame.array)
                                                : QJsonValue(frame.object))));
        }
        const bool present
            = frame.isArray ? n.step.index < frame.array.size() : frame.object.contains(n.step.key);
        const QJsonValue current = !present ? QJsonValue(QJsonValue::Undefined)
            : frame.isArray                 ? frame.array.at(int(n.step.index))
                                            : frame.object.value(n.step.key);
        if (n.difference < 0) {
            if (!present)
                return problemAt(error, node, QStringLiteral("missing"));
            const bool wantsArray = m_nodes[size_t(n.children.front())].step.isIndex;
            if (!current.isObject() && !current.isArray())
                return problemAt(
                    error, node,
                    QStringLiteral("expected %1, found %2")
                        .arg(wantsArray ? QStringLiteral("an array") : QStringLiteral("an object"),
                             describe(current)));
            // May move frame: nothing may use it after this.
            m_stack.push_back({node, current.isArray(), current.toObject(), current.toArray()});
            return true;
        }

        const ModelStateDifference &d = m_differences.at(n.difference);
        if (d.kind == ModelStateDifference::Added) {
            if (frame.isArray) {
                frame.added.push_back(node);
                return true;
            }
            if (present)
                return problemAt(error, node, QStringLiteral("present already"));
            frame.object.insert(n.step.key, d.after);
            return true;
        }
        if (!present)
            return problemAt(error, node, QStringLiteral("missing"));
        if (current != d.before)
            return problemAt(error, node,
                             QStringLiteral("expected %1, found %2")
                                 .arg(shortText(d.before), shortText(current)));
        if (d.kind == ModelStateDifference::Changed)
            put(frame, n.step, d.after);
        else if (frame.isArray)
            frame.removed.push_back(node);
        else
            frame.object.remove(n.step.key);
        return true;
    }

    // Takes the removed elements off the end of the array, then adds the added ones to it.
    bool finishArray(Frame &frame, LoadError &error)
    {
        const auto index = [this](int node) { return m_nodes[size_t(node)].step.index; };
        std::sort(frame.removed.begin(), frame.removed.end(),
                  [&](int a, int b) { return index(a) > index(b); });
        for (int node : frame.removed) {
            if (index(node) != frame.array.size() - 1) {
                return problemAt(error, node,
                                 QStringLiteral("not the last element of an array of %1: only "
                                                "the last ones can be removed")
                                     .arg(frame.array.size()));
            }
            frame.array.removeLast();
        }
        std::sort(frame.added.begin(), frame.added.end(),
                  [&](int a, int b) { return index(a) < index(b); });
        for (int node : frame.added) {
            if (index(node) != frame.array.size()) {
                return problemAt(error, node,
                                 QStringLiteral("an array of %1 takes a new element at [%1] "
                                                "only")
                                     .arg(frame.array.size()));
            }
            frame.array.append(m_differences.at(m_nodes[size_t(node)].difference).after);
        }
        return true;
    }

    const QVector<ModelStateDifference> &m_differences;
    std::vector<Node> m_nodes;
    QHash<QPair<int, QString>, int> m_keyChildren;
    QHash<QPair<int, qsizetype>, int> m_indexChildren;
    std::vector<Frame> m_stack;
};

} // namespace

bool ModelState::apply(QJsonObject &document, const QVector<ModelStateDifference> &differences,
                       ModelStateError *error)
{
    Patch patch(differences);
    LoadError problem;
    if (patch.sort(problem) && patch.apply(document, problem))
        return true;
    if (error)
        *error = {problem.path, problem.message};
    return false;
}
