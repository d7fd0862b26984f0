// restore(), compare() and apply() of the companion library fed documents that are almost right
// and documents that are anything at all. Whatever the document, restore either takes it whole or
// changes nothing: a refused document leaves the object saving exactly as before, a taken one
// saves back to a document that restores into another object identically. compare() of the
// class's saved document and the fuzzed one, applied to the saved one, gives the fuzzed one
// exactly, and the other way round; a damaged list of differences is applied whole or refused
// with the document as it was. Sanitizers watch the owned vectors that a half-read document had
// built.
//
// Input: a class byte (one of the nine classes), a mode byte, then
// - mode even: JSON text, restored as it is;
// - mode odd: up to MaxEdits edits of the class's saved document, each a node number (int), an
//   edit byte and an int argument (little-endian; missing bytes read as 0). Nodes are numbered
//   in pre-order, the document itself 0, modulo the document's node count. Bytes left after the
//   edits damage the differences: a difference number (int), a damage byte and an argument
//   (int).

#include "bytereader.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/keyboard/model_quorparam.h>
#include <model/processor/modelcalyth.h>
#include <model/records/model_api_param.h>
#include <model/records/model_osdparam.h>
#include <model/records/model_protocoldata.h>
#include <model/scene/modelscene.h>
#include <model/state/modelstate.h>
#include <model/topology/model_topology_param.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>

#include <sanitizer/lsan_interface.h>

#include <memory>

namespace {

constexpr int MaxEdits = 8;

// Qt 5.15's JSON parser leaks the earlier value of a repeated key when that value is an array or
// an object, so the parse runs with leak detection off; everything after it stays watched.
QJsonObject parse(const QByteArray &text)
{
    __lsan::ScopedDisabler parserLeaksAreQts;
    return QJsonDocument::fromJson(text).object();
}

// Replaces node number `node` (pre-order, the document itself is 0) by what edit makes of it.
// Counts node down as it walks; only the containers on the way to the edited node are rebuilt.
template<typename Edit>
bool editNode(QJsonValue &value, int &node, const Edit &edit)
{
    if (node-- == 0) {
        value = edit(value);
        return true;
    }
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            QJsonValue element = array.at(i);
            if (editNode(element, node, edit)) {
                array[i] = element;
                value = array;
                return true;
            }
        }
    } else if (value.isObject()) {
        QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            QJsonValue member = it.value();
            if (editNode(member, node, edit)) {
                it.value() = member;
                value = object;
                return true;
            }
        }
    }
    return false;
}

QJsonValue edited(const QJsonValue &value, int kind, int argument)
{
    switch (kind % 10) {
    case 0:
        return QJsonValue(QJsonValue::Null);
    case 1:
        return argument;
    case 2:
        return double(argument) / 3;
    case 3:
        return double(argument) * 65536.0;
    case 4:
        return QString(argument & 0x3F, QChar(char16_t(argument >> 8)));
    case 5:
        return argument & 1;
    case 6: {
        // An array one shorter or longer.
        QJsonArray array = value.toArray();
        if (argument & 1 && !array.isEmpty())
            array.removeLast();
        else
            array.append(array.isEmpty() ? QJsonValue(argument) : array.last());
        return array;
    }
    case 7: {
        // An object without one of its members, or with one more.
        QJsonObject object = value.toObject();
        if (argument & 1 && !object.isEmpty())
            object.erase(object.begin() + (argument >> 1) % object.size());
        else
            object.insert(QStringLiteral("m_unknown"), argument);
        return object;
    }
    case 8:
        return QJsonArray{value};
    default:
        return QJsonObject{{QStringLiteral("value"), value}};
    }
}

int nodeCount(const QJsonValue &value)
{
    int count = 1;
    if (value.isArray()) {
        for (const QJsonValue &element : value.toArray())
            count += nodeCount(element);
    } else if (value.isObject()) {
        for (const QJsonValue &member : value.toObject())
            count += nodeCount(member);
    }
    return count;
}

struct ClassUnderTest
{
    QJsonObject saved; // the document of a default object
    int nodes;         // in saved, the document itself included
    void (*run)(const QJsonObject &document);
};

// The promise of restore() on one object of T that holds the state of a default object.
template<typename T>
void restoreInto(const QJsonObject &document)
{
    const auto object = std::make_unique<T>();
    const QJsonObject before = ModelState::save(*object);
    ModelStateError error;
    if (!ModelState::restore(*object, document, &error)) {
        FUZZ_CHECK(!error.message.isEmpty());
        FUZZ_CHECK(ModelState::save(*object) == before);
        // A valid document of another class is refused here only.
        FUZZ_CHECK(!ModelState::check(document)
                   || document.value("class") != before.value("class"));
        return;
    }
    FUZZ_CHECK(ModelState::check(document));
    const QJsonObject after = ModelState::save(*object);
    const auto other = std::make_unique<T>();
    FUZZ_CHECK(
        ModelState::restore(*other, QJsonDocument::fromJson(ModelState::toJson(after)).object()));
    FUZZ_CHECK(ModelState::save(*other) == after);
}

// compare() then apply() gives the later document's text exactly; a limit keeps the first
// differences and counts them all.
QVector<ModelStateDifference> compareAndApply(const QJsonObject &before, const QJsonObject &after)
{
    const auto differences = ModelState::compare(before, after);
    QJsonObject patched = before;
    FUZZ_CHECK(ModelState::apply(patched, differences));
    // The same text rather than ==: Qt 5 keeps an integer beyond 2^53 that it parsed apart from
    // the double of the same value that any other way of putting it into an object stores.
    FUZZ_CHECK(ModelState::toJson(patched, ModelState::Compact)
               == ModelState::toJson(after, ModelState::Compact));
    qsizetype total = -1;
    const auto first = ModelState::compare(before, after, 2, &total);
    FUZZ_CHECK(total == differences.size() && first.size() == qMin<qsizetype>(2, total));
    return differences;
}

// One difference of the list with another kind, a path cut short, another earlier value, or given
// twice: apply() takes the list whole or leaves the document as it was.
void applyDamaged(const QJsonObject &before, QVector<ModelStateDifference> differences,
                  ByteReader &input)
{
    if (differences.isEmpty())
        return;
    ModelStateDifference &d
        = differences[int(unsigned(input.integer()) % unsigned(differences.size()))];
    const int damage = input.byte();
    const int argument = input.integer();
    switch (damage % 4) {
    case 0:
        d.kind = ModelStateDifference::Kind(unsigned(argument) % 3);
        break;
    case 1:
        d.path.truncate(int(unsigned(argument) % unsigned(d.path.size() + 1)));
        break;
    case 2:
        d.before = argument;
        break;
    default:
        differences.append(d);
        break;
    }
    QJsonObject document = before;
    ModelStateError error;
    if (!ModelState::apply(document, differences, &error)) {
        FUZZ_CHECK(document == before);
        FUZZ_CHECK(!error.message.isEmpty());
    }
}

// The device models at their smallest trees, so that an edit reaches every kind of member.
template<typename T>
ClassUnderTest entry(int code = 0)
{
    const auto object = std::make_unique<T>();
    if constexpr (
        std::is_same_v<
            T,
            ModelCalyth> || std::is_same_v<T, ModelScene> || std::is_same_v<T, ModelBankPlayer> || std::is_same_v<T, ModelIC>)
        object->initParam(code);
    const QJsonObject saved = ModelState::save(*object);
    return {saved, nodeCount(saved), &restoreInto<T>};
}

const ClassUnderTest &classUnderTest(int index)
{
    static const ClassUnderTest classes[] = {
        entry<ModelCalyth>(0x2C0200), entry<ModelScene>(0x2C0200), entry<ModelBankPlayer>(0x2C0200),
        entry<ModelIC>(0x2D0000),     entry<Model_QuorParam>(),    entry<model_topology_param>(),
        entry<model_API_param>(),     entry<model_Protocoldata>(), entry<model_OsdParam>(),
    };
    return classes[index % 9];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ByteReader input(data, size);
    const ClassUnderTest &c = classUnderTest(input.byte());
    if (input.byte() % 2 == 0) {
        const auto text = reinterpret_cast<const char *>(data);
        const QJsonObject document = parse(QByteArray(text + 2, size < 2 ? 0 : int(size - 2)));
        c.run(document);
        compareAndApply(c.saved, document);
        compareAndApply(document, c.saved);
        return 0;
    }
    QJsonValue document = c.saved;
    for (int i = 0; i < MaxEdits && !input.atEnd(); ++i) {
        int node = int(unsigned(input.integer()) % unsigned(c.nodes));
        const int kind = input.byte();
        const int argument = input.integer();
        editNode(document, node,
                 [&](const QJsonValue &value) { return edited(value, kind, argument); });
    }
    c.run(document.toObject());
    applyDamaged(c.saved, compareAndApply(c.saved, document.toObject()), input);
    compareAndApply(document.toObject(), c.saved);
    return 0;
}
