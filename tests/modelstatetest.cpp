// Save, restore, check, compare and the ordered text of the companion library.

#include "memberlists.h"

#include <model/processor/capacitytable.h>
#include <model/state/modelstate.h>

#include <QtCore/QJsonDocument>
#include <QtCore/QRandomGenerator>
#include <QtTest/QtTest>

#include <cstring>
#include <functional>
#include <memory>

using namespace StateCodec;

namespace {

// The first difference of two documents, for failure messages.
QByteArray firstDifference(const QJsonObject &before, const QJsonObject &after)
{
    const auto differences = ModelState::compare(before, after);
    if (differences.isEmpty())
        return "none";
    const ModelStateDifference &d = differences.first();
    return (d.path + QLatin1String(": ")
            + QString::fromUtf8(
                QJsonDocument(QJsonArray{d.before, d.after}).toJson(QJsonDocument::Compact)))
        .toUtf8();
}

#define COMPARE_DOCUMENTS(actual, expected)                                                        \
    QVERIFY2((actual) == (expected), firstDifference(expected, actual).constData())

// Through text as a file would hold it, then into an object that holds something else, then
// saved again: the document must come back identical.
template<typename T>
void checkRoundTrip(const QJsonObject &saved, T &other)
{
    QJsonParseError parse{};
    const QJsonDocument text = QJsonDocument::fromJson(ModelState::toJson(saved), &parse);
    QCOMPARE(parse.errorString(), QJsonParseError{}.errorString());
    COMPARE_DOCUMENTS(text.object(), saved);
    ModelStateError error;
    QVERIFY2(ModelState::restore(other, text.object(), &error), qPrintable(error.toString()));
    COMPARE_DOCUMENTS(ModelState::save(other), saved);
}

// Random values in every member, driven by the same member lists: containers of zero to three
// elements, null and non-null owned pointers, every integer over its whole range, doubles from
// random bits (NaN, infinities, negative zero and subnormals included), strings of any UTF-16
// units (lone surrogates included) and bytes of any value.
class Filler
{
public:
    explicit Filler(quint32 seed)
        : m_random(seed)
    { }

    template<typename T>
    void fill(T &value)
    {
        if constexpr (std::is_integral_v<T>) {
            value = T(m_random.generate64());
        } else if constexpr (std::is_same_v<T, double>) {
            const double specials[] = {0.0, -0.0, qInf(), -qInf(), qQNaN(), 5e-324, 0.1};
            const quint64 bits = m_random.generate64();
            if (bits % 4 == 0) {
                value = specials[(bits >> 8) % std::size(specials)];
            } else {
                std::memcpy(&value, &bits, sizeof value);
            }
        } else if constexpr (std::is_same_v<T, QString>) {
            value.resize(qsizetype(m_random.bounded(4)));
            for (QChar &c : value)
                c = QChar(char16_t(m_random.bounded(0x10000)));
        } else if constexpr (std::is_same_v<T, QByteArray>) {
            value.resize(qsizetype(m_random.bounded(4)));
            for (char &c : value)
                c = char(m_random.bounded(256));
        } else if constexpr (std::is_array_v<T>) {
            for (auto &element : value)
                fill(element);
        } else if constexpr (std::is_pointer_v<T>) {
            Codec<T>::release(value);
            value = nullptr;
            if (m_random.bounded(4) != 0) {
                value = new std::remove_pointer_t<T>();
                fill(*value);
            }
        } else if constexpr (HasMembers<T>::value) {
            std::apply([&](const auto &...f) { (fillField(value, f), ...); }, Members<T>::list);
        } else {
            fillContainer(value);
        }
    }

private:
    template<typename C, typename F>
    void fillField(C &object, const F &f)
    {
        using K = typename F::Kind;
        if constexpr (std::is_same_v<K, ByteText<typename F::Type>>) {
            for (auto &byte : object.*(f.member))
                byte = std::decay_t<decltype(byte)>(m_random.bounded(256));
        } else {
            fill(object.*(f.member));
        }
    }

    template<typename K, typename V>
    void fillContainer(QMap<K, V> &map)
    {
        map.clear();
        for (int i = int(m_random.bounded(4)); i > 0; --i)
            fill(map[K(m_random.generate())]);
    }

    template<typename Sequence>
    void fillContainer(Sequence &sequence)
    {
        releaseOwned(sequence);
        sequence.clear();
        for (int i = int(m_random.bounded(4)); i > 0; --i) {
            typename Sequence::value_type element{};
            fill(element);
            sequence.append(element);
        }
    }

    QRandomGenerator m_random;
};

// A device model at its code, saved; restored into the same model at another code.
template<typename T>
void roundTripAtCode(int code, int otherCode)
{
    const auto model = std::make_unique<T>();
    model->initParam(code);
    const QJsonObject saved = ModelState::save(*model);
    QCOMPARE(saved.value(QLatin1String("m_deviceCode")).toInt(), code);
    const auto other = std::make_unique<T>();
    other->initParam(otherCode);
    checkRoundTrip(saved, *other);
}

template<typename T>
void randomRoundTrips()
{
    for (quint32 seed = 1; seed <= 12; ++seed) {
        const auto object = std::make_unique<T>();
        Filler(seed).fill(*object);
        const auto other = std::make_unique<T>();
        checkRoundTrip(ModelState::save(*object), *other);
        if (QTest::currentTestFailed())
            qWarning("seed %u", seed);
    }
}

QJsonObject processorDocument()
{
    const auto model = std::make_unique<ModelCalyth>();
    model->initParam(0x250300);
    model->m_outputRecAList[3].value2 = 42;
    return ModelState::save(*model);
}

// Sets the value at path ("m_outputRecAList[3].value2") inside document, or removes it when
// value is undefined.
QJsonValue edited(const QJsonValue &node, QStringList path, const QJsonValue &value)
{
    const QString step = path.takeFirst();
    if (step.startsWith(QLatin1Char('['))) {
        QJsonArray array = node.toArray();
        const int index = step.mid(1, step.size() - 2).toInt();
        if (path.isEmpty() && value.isUndefined())
            array.removeAt(index);
        else
            array[index] = path.isEmpty() ? value : edited(array.at(index), path, value);
        return array;
    }
    QJsonObject object = node.toObject();
    if (path.isEmpty() && value.isUndefined())
        object.remove(step);
    else
        object[step] = path.isEmpty() ? value : edited(object.value(step), path, value);
    return object;
}

QJsonObject edited(const QJsonObject &document, const QString &path, const QJsonValue &value)
{
    QStringList steps;
    static const QRegularExpression step(QStringLiteral("\\[\\d+\\]|[^.\\[]+"));
    for (auto it = step.globalMatch(path); it.hasNext();)
        steps << it.next().captured();
    return edited(QJsonValue(document), steps, value).toObject();
}

const QJsonValue Remove(QJsonValue::Undefined);

using Operation = std::function<void(Model_QuorParam &)>;
using RoundTrips = std::function<void()>;

} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(RoundTrips)

class ModelStateTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void knownCodes_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("code");
        for (auto row = DeviceCapacities::begin(); row != DeviceCapacities::end(); ++row) {
            for (int code : row->codes) {
                QTest::addRow("processor %x", code) << "processor" << code;
                if (DeviceCapacities::sceneRow(code)) {
                    QTest::addRow("scene %x", code) << "scene" << code;
                    QTest::addRow("bankplayer %x", code) << "bankplayer" << code;
                }
            }
        }
        QTest::newRow("ic 2d0000") << "ic" << 0x2D0000;
        QTest::newRow("ic 2d0001") << "ic" << 0x2D0001;
        QTest::newRow("processor unknown") << "processor" << 0x123456;
        QTest::newRow("ic unknown") << "ic" << 0x123456;
    }
    // Every known code of every device model, restored into the model of another code.
    void knownCodes()
    {
        QFETCH(QString, model);
        QFETCH(int, code);
        if (model == QLatin1String("processor"))
            roundTripAtCode<ModelCalyth>(code, 0x2C0200);
        else if (model == QLatin1String("scene"))
            roundTripAtCode<ModelScene>(code, 0x2C0200);
        else if (model == QLatin1String("bankplayer"))
            roundTripAtCode<ModelBankPlayer>(code, 0x2C0200);
        else
            roundTripAtCode<ModelIC>(code, code == 0x2D0000 ? 0x2D0001 : 0x2D0000);
    }

    void randomTrees_data()
    {
        QTest::addColumn<RoundTrips>("run");
        QTest::newRow("ModelCalyth") << RoundTrips(randomRoundTrips<ModelCalyth>);
        QTest::newRow("ModelScene") << RoundTrips(randomRoundTrips<ModelScene>);
        QTest::newRow("ModelBankPlayer") << RoundTrips(randomRoundTrips<ModelBankPlayer>);
        QTest::newRow("ModelIC") << RoundTrips(randomRoundTrips<ModelIC>);
        QTest::newRow("Model_QuorParam") << RoundTrips(randomRoundTrips<Model_QuorParam>);
        QTest::newRow("model_topology_param") << RoundTrips(randomRoundTrips<model_topology_param>);
        QTest::newRow("model_API_param") << RoundTrips(randomRoundTrips<model_API_param>);
        QTest::newRow("model_Protocoldata") << RoundTrips(randomRoundTrips<model_Protocoldata>);
        QTest::newRow("model_OsdParam") << RoundTrips(randomRoundTrips<model_OsdParam>);
    }
    void randomTrees()
    {
        QFETCH(RoundTrips, run);
        run();
    }

    void keyboardOperations_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::newRow("construction") << Operation([](Model_QuorParam &) {});
        QTest::newRow("initKeyBoradData")
            << Operation([](Model_QuorParam &k) { k.initKeyBoradData(); });
        QTest::newRow("initShortcuts(false)")
            << Operation([](Model_QuorParam &k) { k.initShortcuts(false); });
        QTest::newRow("initShortcuts(true)")
            << Operation([](Model_QuorParam &k) { k.initShortcuts(true); });
        QTest::newRow("resetShortcutOled") << Operation([](Model_QuorParam &k) {
            k.initShortcuts(true);
            k.resetShortcutOled(0, 5);
        });
        QTest::newRow("initOLEDTest") << Operation([](Model_QuorParam &k) { k.initOLEDTest(); });
        QTest::newRow("initOLEDIconTest")
            << Operation([](Model_QuorParam &k) { k.initOLEDIconTest(); });
        QTest::newRow("client's map") << Operation([](Model_QuorParam &k) {
            k.m_map.insert(-7, 3);
            k.m_map.insert(12, INT_MIN);
        });
    }
    void keyboardOperations()
    {
        QFETCH(Operation, operation);
        const auto keyboard = std::make_unique<Model_QuorParam>();
        operation(*keyboard);
        const auto other = std::make_unique<Model_QuorParam>();
        other->initOLEDTest();
        checkRoundTrip(ModelState::save(*keyboard), *other);
        // The text fields keep every byte, the zeros after a label included.
        QCOMPARE(
            std::memcmp(other->m_presetKeys, keyboard->m_presetKeys, sizeof keyboard->m_presetKeys),
            0);
    }

    void documentShape()
    {
        const QJsonObject document = processorDocument();
        QCOMPARE(document.value(QLatin1String("class")).toString(), QStringLiteral("ModelCalyth"));
        QCOMPARE(document.value(QLatin1String("format")).toInt(), ModelState::FormatVersion);
        QCOMPARE(
            document.value(QLatin1String("m_outputRecAList"))[3][QLatin1String("value2")].toInt(),
            42);
        // A container name is 40 bytes, every one of them.
        QCOMPARE(document.value(QLatin1String("m_containerList"))[0][QLatin1String("name")]
                     .toString()
                     .size(),
                 40);

        // The text holds the members in declaration order, records' fields included.
        const QByteArray text = ModelState::toJson(document);
        qsizetype at = 0;
        for (const char *key :
             {"\"class\"", "\"format\"", "\"m_deviceCode\"", "\"m_initConstant\"",
              "\"m_pOutputVecA\"", "\"m_intBlock1\"", "\"m_outputRecAList\"", "\"value1\"",
              "\"value2\"", "\"value3\"", "\"value10\"", "\"m_maxPvwBoardCount\""}) {
            const qsizetype next = text.indexOf(key, at);
            QVERIFY2(next > at, key);
            at = next;
        }
        ModelScene scene;
        QCOMPARE(ModelState::save(scene)
                     .value(QLatin1String("m_pBankVec"))[0][QLatin1String("pOutputFlagVec")]
                     .toArray()
                     .size(),
                 scene.m_maxOutputCount);
    }

    void badDocuments_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("message");
        // path to edit, new value (Remove takes it out), and the start of the expected message;
        // the error names the same path.
        QTest::newRow("wrong class")
            << "class" << QJsonValue("ModelScene") << "expected \"ModelCalyth\"";
        QTest::newRow("no class") << "class" << Remove << "missing";
        QTest::newRow("newer format") << "format" << QJsonValue(2) << "format 2 is newer";
        QTest::newRow("format zero") << "format" << QJsonValue(0) << "expected a format version";
        QTest::newRow("missing member") << "m_value3" << Remove << "missing";
        QTest::newRow("unknown member") << "m_value99" << QJsonValue(1) << "unknown member";
        QTest::newRow("string for int") << "m_value2" << QJsonValue("2") << "expected an integer";
        QTest::newRow("int for string")
            << "m_text1" << QJsonValue(5) << "expected a string, found 5";
        QTest::newRow("byte of 300")
            << "m_byte1" << QJsonValue(300) << "expected an integer from 0 to 255, found 300";
        QTest::newRow("byte of -1")
            << "m_byteBlock[2]" << QJsonValue(-1) << "expected an integer from 0 to 255";
        QTest::newRow("int beyond 32 bits") << "m_value2" << QJsonValue(2147483648.0)
                                            << "expected an integer from -2147483648 to 2147483647";
        QTest::newRow("short beyond 16 bits") << "m_shortBlock[6]" << QJsonValue(-32769)
                                              << "expected an integer from -32768 to 32767";
        QTest::newRow("fraction for int")
            << "m_outputRecAList[3].value2" << QJsonValue(1.5) << "expected an integer";
        QTest::newRow("fixed array too short") << "m_intBlock1" << QJsonValue(QJsonArray{1, 2})
                                               << "expected an array of 8, found 2 elements";
        QTest::newRow("fixed array as object") << "m_textBlock1" << QJsonValue(QJsonObject{})
                                               << "expected an array of 5, found an object";
        QTest::newRow("record field missing") << "m_sourceWindowList[1].x2" << Remove << "missing";
        QTest::newRow("record field unknown")
            << "m_outputRecAList[0].value9" << QJsonValue(0) << "unknown member";
        QTest::newRow("record as array") << "m_outputRecBList[2]" << QJsonValue(QJsonArray{})
                                         << "expected an object, found an array";
        QTest::newRow("name too short")
            << "m_containerList[1].name" << QJsonValue("abc") << "expected a string of 40 bytes";
        QTest::newRow("name beyond a byte")
            << "m_containerList[1].name" << QJsonValue(QString(40, QChar(0x100)))
            << "expected a string of 40 bytes (U+0000 to U+00FF), found U+0100";
        QTest::newRow("owned vector as string")
            << "m_pOutputVecA" << QJsonValue("x") << "expected an array";
        QTest::newRow("owned vector element")
            << "m_pLayerVec[5].value3" << QJsonValue(true) << "expected an integer";
        QTest::newRow("nested list element")
            << "m_inputPortList[7].portValues6[3]" << QJsonValue(QJsonValue::Null)
            << "expected an integer";
        QTest::newRow("double as text")
            << "m_doubleValue" << QJsonValue("1.5") << "expected a number";
        QTest::newRow("last member")
            << "m_maxPvwBoardCount" << QJsonValue(-0.5) << "expected an integer";
    }
    // A bad document changes nothing: the model saves as it did before the attempt.
    void badDocuments()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(QString, message);
        const QJsonObject bad = edited(processorDocument(), path, value);

        const auto model = std::make_unique<ModelCalyth>();
        model->initParam(0x2D0000);
        model->m_text1 = QStringLiteral("kept");
        (*model->m_pOutputVecF)[1] = 7;
        const QJsonObject before = ModelState::save(*model);
        ModelStateError error;
        QVERIFY(!ModelState::restore(*model, bad, &error));
        QCOMPARE(error.path, path);
        QVERIFY2(error.message.startsWith(message), qPrintable(error.message));
        COMPARE_DOCUMENTS(ModelState::save(*model), before);

        // check() goes by the class the document names, so only a document of this class
        // gives the same error.
        ModelStateError checked;
        QVERIFY(!ModelState::check(bad, &checked));
        if (path != QLatin1String("class"))
            QCOMPARE(checked.toString(), error.toString());
    }

    // Failures deep inside the owned trees of the other classes release what was built so far
    // (the sanitizer build sees leaks) and leave the object as it was.
    void badDocumentsOfOtherClasses_data()
    {
        QTest::addColumn<QJsonObject>("document");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        ModelScene scene;
        scene.initParam(0x250300);
        QTest::newRow("scene bank layer")
            << ModelState::save(scene) << "m_pBankVec[3].pLayerVec[200].flag1" << QJsonValue(256);
        QTest::newRow("scene bank flags")
            << ModelState::save(scene) << "m_pBankVec[15].pOutputFlagVec" << QJsonValue(1);
        QTest::newRow("scene bank outputs")
            << ModelState::save(scene) << "m_pBankOutputVec[2][31].value30" << QJsonValue("");
        ModelBankPlayer player;
        QTest::newRow("bank player item")
            << ModelState::save(player) << "m_items2[254].text5" << QJsonValue(QJsonValue::Null);
        ModelIC ic;
        QTest::newRow("ic user") << ModelState::save(ic) << "m_userList[39].value4" << Remove;
        Model_QuorParam keyboard;
        QTest::newRow("key text") << ModelState::save(keyboard) << "m_commonKeys[5][99].thirdString"
                                  << QJsonValue(QString(32, QLatin1Char('x')));
        keyboard.m_map.insert(1, 2);
        keyboard.m_map.insert(3, 4);
        QTest::newRow("map key twice")
            << ModelState::save(keyboard) << "m_map[1].key" << QJsonValue(1);
        model_topology_param topology;
        QTest::newRow("slot text")
            << ModelState::save(topology) << "m_slotTextsB[255]" << QJsonValue(0);
        model_Protocoldata protocol;
        QTest::newRow("protocol word")
            << ModelState::save(protocol) << "m_protoWord5" << QJsonValue(65536);
        model_OsdParam osd;
        QTest::newRow("osd data") << ModelState::save(osd) << "m_osdData"
                                  << QJsonValue(QStringLiteral("\u20AC"));
        model_API_param api;
        QTest::newRow("api number") << ModelState::save(api) << "m_apiNumber8" << QJsonValue(1e10);
    }
    void badDocumentsOfOtherClasses()
    {
        QFETCH(QJsonObject, document);
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        ModelStateError error;
        QVERIFY(ModelState::check(document, &error));
        QVERIFY(!ModelState::check(edited(document, path, value), &error));
        QCOMPARE(error.path, path);
    }

    void check()
    {
        ModelStateError error;
        QVERIFY(!ModelState::check(
            QJsonObject{{QStringLiteral("class"), QStringLiteral("QObject")}}, &error));
        QCOMPARE(error.path, QStringLiteral("class"));
        QVERIFY(error.message.startsWith(QLatin1String("unknown class \"QObject\"")));
        QVERIFY(!ModelState::check(QJsonObject{}, &error));
        QCOMPARE(error.toString(), QStringLiteral("class: missing"));
        QCOMPARE(ModelState::classNames().size(), 9);
    }

    void compare()
    {
        const QJsonObject before = processorDocument();
        QJsonObject after = edited(before, QStringLiteral("m_outputRecAList[3].value2"), 7);
        after = edited(after, QStringLiteral("m_pOutputVecA"), QJsonValue(QJsonValue::Null));
        after = edited(after, QStringLiteral("m_spareValueList"), QJsonArray{5});
        after = edited(after, QStringLiteral("m_containerList[3]"), Remove);
        after = edited(after, QStringLiteral("m_containerList[0].name"),
                       QString(40, QLatin1Char('a')));

        const auto differences = ModelState::compare(before, after);
        QStringList found;
        for (const ModelStateDifference &d : differences)
            found << QStringLiteral("%1 %2").arg(d.kind).arg(d.path);
        // In declaration order; the pointer that became null is one leaf.
        QCOMPARE(
            found,
            (QStringList{"0 m_pOutputVecA", "1 m_spareValueList[0]", "0 m_outputRecAList[3].value2",
                         "0 m_containerList[0].name", "2 m_containerList[3]"}));
        QCOMPARE(differences[2].before, QJsonValue(42));
        QCOMPARE(differences[2].after, QJsonValue(7));
        QVERIFY(differences[1].before.isUndefined());
        QCOMPARE(differences[1].after, QJsonValue(5));
        QVERIFY(differences[4].after.isUndefined());
        QVERIFY(differences[4].before.isObject());
        QVERIFY(ModelState::compare(before, before).isEmpty());
    }

    // A model's state restored whole: the model works on with it (the owned vectors are its own).
    void restoredModelLivesOn()
    {
        const auto source = std::make_unique<ModelScene>();
        source->initParam(0x250301);
        (*(*source->m_pBankVec)[15].pLayerVec)[767].text = QStringLiteral("last");
        const auto target = std::make_unique<ModelScene>();
        QVERIFY(ModelState::restore(*target, ModelState::save(*source)));
        QCOMPARE((*(*target->m_pBankVec)[15].pLayerVec)[767].text, QStringLiteral("last"));
        QVERIFY((*target->m_pBankVec)[15].pLayerVec != (*source->m_pBankVec)[15].pLayerVec);
        target->initParam(0x2C0200);
        QCOMPARE(target->m_pBankVec->size(), 16);
    }
};

QTEST_GUILESS_MAIN(ModelStateTest)
#include "modelstatetest.moc"
