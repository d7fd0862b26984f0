// Save, restore, check, compare and the ordered text of the companion library.

#include "memberlists.h"

#include <model/state/modelstate.h>

#include <QtTest/QtTest>

#include <cstring>
#include <functional>
#include <memory>

using namespace StateCodec;

namespace {

// A failure names the first path where the documents differ.
#define COMPARE_DOCUMENTS(actual, expected)                                                        \
    QVERIFY2((actual) == (expected),                                                               \
             qPrintable(ModelState::compare(expected, actual).value(0).path))

// Random values in every member, driven by the same member lists: containers of zero to three
// elements, null and non-null owned pointers, every integer over its whole range, doubles from
// random bits (NaN, infinities, negative zero and subnormals included), strings of any UTF-16 units
// (lone surrogates included) and bytes of any value.
struct Filler
{
    QRandomGenerator random;

    template<typename T>
    void fill(T &value)
    {
        if constexpr (std::is_integral_v<T>) {
            value = T(random.generate64());
        } else if constexpr (std::is_same_v<T, double>) {
            const double specials[] = {0.0, -0.0, qInf(), -qInf(), qQNaN(), 5e-324, 0.1};
            const quint64 bits = random.generate64();
            std::memcpy(&value, &bits, sizeof value);
            if (bits % 4 == 0)
                value = specials[(bits >> 8) % std::size(specials)];
        } else if constexpr (std::is_same_v<T, QString> || std::is_same_v<T, QByteArray>) {
            value.resize(qsizetype(random.bounded(4)));
            for (auto &c : value)
                c = std::decay_t<decltype(c)>(
                    char16_t(random.bounded(sizeof c == 1 ? 256 : 65536)));
        } else if constexpr (std::is_array_v<T>) {
            for (auto &element : value)
                fill(element);
        } else if constexpr (std::is_pointer_v<T>) {
            Codec<T>::release(value);
            value = random.bounded(4) != 0 ? new std::remove_pointer_t<T>() : nullptr;
            if (value)
                fill(*value);
        } else if constexpr (HasMembers<T>::value) {
            Members<T>::apply([&](const auto &...f) { (fill(value.*(f.member)), ...); });
        } else {
            releaseOwned(value);
            value.clear();
            for (int i = int(random.bounded(4)); i > 0; --i)
                add(value);
        }
    }

    // One more random entry in a container.
    template<typename K, typename V>
    void add(QMap<K, V> &map)
    {
        fill(map[K(random.generate())]);
    }
    template<typename S>
    void add(S &sequence)
    {
        fill(*sequence.insert(sequence.end(), typename S::value_type{}));
    }
};

// The document of an object of class T with random contents.
template<typename T>
QJsonObject randomDocument(quint32 seed)
{
    const auto object = std::make_unique<T>();
    Filler{QRandomGenerator(seed)}.fill(*object);
    return ModelState::save(*object);
}

// Through text as a file would hold it, then into an object of random contents, then saved again:
// the document must come back identical.
template<typename T>
void checkRoundTrip(const QJsonObject &saved, quint32 seed)
{
    const QJsonObject read = QJsonDocument::fromJson(ModelState::toJson(saved)).object();
    COMPARE_DOCUMENTS(read, saved);
    const auto other = std::make_unique<T>();
    Filler{QRandomGenerator(seed)}.fill(*other);
    ModelStateError error;
    QVERIFY2(ModelState::restore(*other, read, &error), qPrintable(error.toString()));
    COMPARE_DOCUMENTS(ModelState::save(*other), saved);
}

// Random trees of each class, saved, and round-tripped into other random trees.
template<typename... T>
void randomRoundTrips()
{
    for (quint32 seed = 1; seed <= 12; ++seed)
        (checkRoundTrip<T>(randomDocument<T>(seed), seed + 100), ...);
}

using Document = std::function<QJsonObject()>;

template<typename T, typename = void>
constexpr bool hasInitParam = false;
template<typename T>
constexpr bool hasInitParam<T, std::void_t<decltype(std::declval<T &>().initParam(0))>> = true;

// A model, new (no code) or built for a device code, saved, and round-tripped.
template<typename T>
Document documentOf(int code = 0)
{
    return [code] {
        const auto model = std::make_unique<T>();
        if constexpr (hasInitParam<T>)
            if (code != 0)
                model->initParam(code);
        const QJsonObject saved = ModelState::save(*model);
        checkRoundTrip<T>(saved, quint32(code) + 1);
        return saved;
    };
}

QJsonObject processorDocument()
{
    const auto model = std::make_unique<ModelCalyth>();
    model->initParam(0x250300);
    model->m_outputRecAList[3].value2 = 42;
    return ModelState::save(*model);
}

// The document with value at path ("m_outputRecAList[3].value2"); an undefined value removes a
// member.
QJsonValue edited(const QJsonValue &node, QStringList path, const QJsonValue &value)
{
    const QString step = path.takeFirst();
    if (node.isArray()) {
        QJsonArray array = node.toArray();
        array[step.toInt()] = path.isEmpty() ? value : edited(node[step.toInt()], path, value);
        return array;
    }
    QJsonObject object = node.toObject();
    object.insert(step, path.isEmpty() ? value : edited(node[step], path, value));
    return object;
}

QJsonObject edited(const QJsonObject &document, const QString &path, const QJsonValue &value)
{
    const QRegularExpression separators(QStringLiteral("[.\\[\\]]+"));
    return edited(document, path.split(separators, Qt::SkipEmptyParts), value).toObject();
}

// An absent value: a member taken out, or the missing side of a difference.
const QJsonValue Absent(QJsonValue::Undefined);

// levels of arrays or objects ({"a": ...}) around leaf, as text read by Qt's parser.
QJsonValue nested(int levels, bool objects, int leaf)
{
    QByteArray text = QByteArray::number(leaf);
    for (int i = 0; i < levels; ++i)
        text = objects ? "{\"a\":" + text + '}' : '[' + text + ']';
    const QJsonDocument document = QJsonDocument::fromJson(text);
    return objects ? QJsonValue(document.object()) : QJsonValue(document.array());
}

// Random JSON for compare() and apply(): keys from an alphabet that holds every character a path
// must quote, numbers of every kind, and a second document that shares most of the first.
struct RandomJson
{
    QRandomGenerator random;

    QString key()
    {
        static const QString alphabet = QStringLiteral("ab.[]\"\\\n\u0000 \u00e9");
        QString text;
        for (int i = random.bounded(3); i > 0; --i)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        return text;
    }

    QJsonValue value(int depth)
    {
        const double numbers[] = {0, -1, 0.1, 1e300, -2.5e-300, 9007199254740993.0, 4294967296};
        const quint32 kind = random.bounded(depth > 0 ? 8 : 5);
        if (kind < 2)
            return kind == 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(random.bounded(2) == 1);
        if (kind == 2)
            return numbers[random.bounded(int(std::size(numbers)))] * random.bounded(1, 4);
        if (kind < 5)
            return key();
        QJsonArray array;
        QJsonObject object;
        for (int i = random.bounded(5); i > 0; --i)
            kind == 7 ? array.append(value(depth - 1))
                      : void(object.insert(key(), value(depth - 1)));
        return kind == 7 ? QJsonValue(array) : QJsonValue(object);
    }

    QJsonObject document(int depth)
    {
        QJsonObject object;
        for (int i = random.bounded(1, 8); i > 0; --i)
            object.insert(key(), value(depth - 1));
        return object;
    }

    // v with a few changes: values replaced, members added and removed, arrays longer or shorter.
    QJsonValue edited(const QJsonValue &v, int depth)
    {
        if (random.bounded(8) == 0)
            return value(depth);
        if (v.isObject()) {
            QJsonObject object = v.toObject();
            for (const QString &k : object.keys())
                object.insert(k,
                              random.bounded(6) == 0 ? Absent : edited(object.value(k), depth - 1));
            if (random.bounded(3) == 0)
                object.insert(key(), value(depth - 1));
            return object;
        }
        if (!v.isArray())
            return v;
        QJsonArray array;
        for (const QJsonValue &element : v.toArray())
            array.append(edited(element, depth - 1));
        for (int i = random.bounded(3); i > 0 && !array.isEmpty(); --i)
            array.removeLast();
        for (int i = random.bounded(3); i > 0; --i)
            array.append(value(depth - 1));
        return array;
    }
};

using PairMaker = std::function<QPair<QJsonObject, QJsonObject>(quint32)>;

} // namespace

Q_DECLARE_METATYPE(Document)
Q_DECLARE_METATYPE(PairMaker)
Q_DECLARE_METATYPE(ModelStateDifference)

class ModelStateTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The documents of new models and of the device models at their extreme codes. The text's
    // fingerprint pins every default, every tree size and the member order; a deliberate change of
    // them comes with its new fingerprint, which the failure shows.
    void documents_data()
    {
        QTest::addColumn<Document>("document");
        QTest::addColumn<QString>("fingerprint");
        // clang-format off
        QTest::newRow("processor, smallest")     << documentOf<ModelCalyth>(0x2C0200)     << "0df98c49ff7fe41a";
        QTest::newRow("processor, most outputs") << documentOf<ModelCalyth>(0x900000)     << "65b1f70258d89c02";
        QTest::newRow("processor, most layers")  << documentOf<ModelCalyth>(0x250301)     << "85a2c8ed77b6f91e";
        QTest::newRow("processor, unknown")      << documentOf<ModelCalyth>(0x123456)     << "b1bc4977d81fa5c1";
        QTest::newRow("scene, smallest")         << documentOf<ModelScene>(0x2C0200)      << "873f17f4fd04a4bb";
        QTest::newRow("scene, most layers")      << documentOf<ModelScene>(0x250301)      << "18d5043f1ef7eab7";
        QTest::newRow("bank player, largest")    << documentOf<ModelBankPlayer>(0x900000) << "66efa625d62c123a";
        QTest::newRow("processor, new")          << documentOf<ModelCalyth>()             << "841ce39f73427b26";
        QTest::newRow("scene, new")              << documentOf<ModelScene>()              << "5cf969e5b263cddd";
        QTest::newRow("bank player, new")        << documentOf<ModelBankPlayer>()         << "5c959b2db33fe513";
        QTest::newRow("ic, new")                 << documentOf<ModelIC>()                 << "0c16083bd4f41d58";
        QTest::newRow("ic")                      << documentOf<ModelIC>(0x2D0000)         << "f31adda6df1efd65";
        QTest::newRow("ic, unknown")             << documentOf<ModelIC>(0x123456)         << "f6a0540f4374ccac";
        QTest::newRow("keyboard")                << documentOf<Model_QuorParam>()         << "b0c198289de4a8d0";
        QTest::newRow("topology")                << documentOf<model_topology_param>()    << "8d447dade52005b3";
        QTest::newRow("api")                     << documentOf<model_API_param>()         << "a69e50a7cda8d236";
        QTest::newRow("protocol")                << documentOf<model_Protocoldata>()      << "ad871728f5d098f8";
        QTest::newRow("osd")                     << documentOf<model_OsdParam>()          << "3db699986bdeee36";
        // clang-format on
    }
    void documents()
    {
        QFETCH(Document, document);
        QFETCH(QString, fingerprint);
        const QByteArray text = ModelState::toJson(document(), ModelState::Compact);
        QCOMPARE(QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex().left(16),
                 fingerprint.toLatin1());
    }

    void randomTrees()
    {
        randomRoundTrips<ModelCalyth, ModelScene, ModelBankPlayer, ModelIC, Model_QuorParam,
                         model_topology_param, model_API_param, model_Protocoldata,
                         model_OsdParam>();
    }

    // The path edited, its new value (Absent takes it out), the start of the expected message. The
    // processor's rows restore as well; the other classes' trees are checked deep inside.
    void badDocuments_data()
    {
        QTest::addColumn<QJsonObject>("document");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("message"); // empty: check() alone
        const auto row
            = [](const char *name, const char *path, const QJsonValue &value, const char *message,
                 const QJsonObject &document = processorDocument()) {
                  QTest::newRow(name) << document << path << value << message;
              };
        Model_QuorParam keyboard;
        keyboard.m_map = {{1, 2}, {3, 4}};
        const QJsonObject s = documentOf<ModelScene>(0x250300)(), k = ModelState::save(keyboard);
        // clang-format off
        row("wrong class",            "class",                          "ModelScene",   "expected \"ModelCalyth\"");
        row("no class",               "class",                          Absent,         "missing");
        row("newer format",           "format",                         2,              "format 2 is newer");
        row("format zero",            "format",                         0,              "expected a format version");
        row("missing member",         "m_value3",                       Absent,         "missing");
        row("unknown member",         "m_value99",                      1,              "unknown member");
        row("string for int",         "m_value2",                       "2",            "expected an integer");
        row("int for string",         "m_text1",                        5,              "expected a string, found 5");
        row("byte of 300",            "m_byte1",                        300,            "expected an integer from 0 to 255, found 300");
        row("int beyond 32 bits",     "m_value2",                       2147483648.0,   "expected an integer from -2147483648 to 2147483647");
        row("short beyond 16 bits",   "m_shortBlock[6]",                -32769,         "expected an integer from -32768 to 32767");
        row("fraction for int",       "m_outputRecAList[3].value2",     1.5,            "expected an integer");
        row("fixed array too short",  "m_intBlock1",                    QJsonArray{1, 2}, "expected an array of 8, found 2 elements");
        row("fixed array as object",  "m_textBlock1",                   QJsonObject{},  "expected an array of 5, found an object");
        row("record field missing",   "m_sourceWindowList[1].x2",       Absent,         "missing");
        row("record field unknown",   "m_outputRecAList[0].value9",     0,              "unknown member");
        row("record as array",        "m_outputRecBList[2]",            QJsonArray{},   "expected an object, found an array");
        row("name too short",         "m_containerList[1].name",        "abc",          "expected a string of 40 bytes");
        row("name beyond a byte",     "m_containerList[1].name",        QString(40, QChar(0x100)), "expected a string of 40 bytes (U+0000 to U+00FF), found U+0100");
        row("owned vector as string", "m_pOutputVecA",                  "x",            "expected an array");
        row("owned vector element",   "m_pLayerVec[5].value3",          true,           "expected an integer");
        row("nested list element",    "m_inputPortList[7].portValues6[3]", QJsonValue::Null, "expected an integer");
        row("double as text",         "m_doubleValue",                  "1.5",          "expected a number");
        row("scene bank layer",       "m_pBankVec[3].pLayerVec[200].flag1", 256,        "", s);
        row("scene bank flags",       "m_pBankVec[15].pOutputFlagVec",  1,              "", s);
        row("scene bank outputs",     "m_pBankOutputVec[2][31].value30", "",            "", s);
        row("bank player item",       "m_items2[254].text5",            QJsonValue::Null,    "", ModelState::save(ModelBankPlayer()));
        row("ic user",                "m_userList[39].value4",          Absent,         "", ModelState::save(ModelIC()));
        row("key text",               "m_commonKeys[5][99].thirdString", QString(32, QLatin1Char('x')), "", k);
        row("map key twice",          "m_map[1].key",                   1,              "", k);
        row("slot text",              "m_slotTextsB[255]",              0,              "", ModelState::save(model_topology_param()));
        row("protocol word",          "m_protoWord5",                   65536,          "", ModelState::save(model_Protocoldata()));
        row("osd data",               "m_osdData",                      QStringLiteral("\u20AC"), "", ModelState::save(model_OsdParam()));
        row("api number",             "m_apiNumber8",                   1e10,           "", ModelState::save(model_API_param()));
        // clang-format on
    }
    // A bad document changes nothing: the model saves as it did before the attempt. Failures deep
    // inside owned trees release what was built so far (the sanitizer build sees leaks).
    void badDocuments()
    {
        QFETCH(QJsonObject, document);
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(QString, message);
        const QJsonObject bad = edited(document, path, value);
        // check() goes by the class the document names, so only a document of this class gives
        // restore()'s error.
        const bool otherClass = path == QLatin1String("class") && value.isString();
        ModelStateError checked;
        QVERIFY(ModelState::check(document) && !ModelState::check(bad, &checked));
        if (!otherClass)
            QCOMPARE(checked.path, path);
        if (message.isEmpty())
            return;
        const auto model = std::make_unique<ModelCalyth>();
        Filler{QRandomGenerator(1)}.fill(*model);
        const QJsonObject before = ModelState::save(*model);
        ModelStateError error;
        QVERIFY(!ModelState::restore(*model, bad, &error));
        QCOMPARE(error.path, path);
        QVERIFY2(error.message.startsWith(message), qPrintable(error.message));
        COMPARE_DOCUMENTS(ModelState::save(*model), before);
        if (!otherClass)
            QCOMPARE(checked.message, error.message);
    }

    // An unknown class is refused with the known ones (a missing class is a bad document above).
    void check()
    {
        ModelStateError error;
        QVERIFY(!ModelState::check({{"class", "QObject"}}, &error));
        QCOMPARE(error.toString(),
                 "class: unknown class \"QObject\"; known: "
                     + ModelState::classNames().join(QLatin1String(", ")));
        QCOMPARE(ModelState::classNames().size(), 9);
    }

    // A model's state restored whole: the model works on with it (the owned vectors are its own).
    void restoredModelLivesOn()
    {
        const auto source = std::make_unique<ModelScene>(), target = std::make_unique<ModelScene>();
        source->initParam(0x250301);
        QVERIFY(ModelState::restore(*target, ModelState::save(*source)));
        target->initParam(0x2C0200);
        QCOMPARE(target->m_pBankVec->size(), 16);
    }

    void deepDocuments_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<bool>("objects");
        QTest::newRow("arrays in an owned vector") << "m_pOutputVecA" << false;
        QTest::newRow("objects in a record list") << "m_outputRecAList" << true;
        QTest::newRow("arrays in an unknown member") << "m_unknown" << false;
        QTest::newRow("objects in an unknown member") << "m_unknown" << true;
    }
    // Two documents nested as deep as Qt's parser reads (1,024 levels, the document's own
    // included), differing in their deepest leaf: every function runs on a small stack.
    void deepDocuments()
    {
        QFETCH(QString, member);
        QFETCH(bool, objects);
        const QJsonObject before = edited(processorDocument(), member, nested(1023, objects, 1));
        const QJsonObject after = edited(before, member, nested(1023, objects, 2));
        QVERIFY(!before.value(member).toVariant().isNull());
        QStringList failures;
        QByteArrayList texts;
        QJsonObject patched = before;
        // On a stack of 256 KiB, where a function that recursed along such a document would
        // overflow.
        const std::unique_ptr<QThread> thread(QThread::create([&] {
            const auto model = std::make_unique<ModelCalyth>();
            const QJsonObject saved = ModelState::save(*model);
            if (ModelState::restore(*model, after) || ModelState::check(before))
                failures << "restore or check took a document with a nested member";
            if (ModelState::save(*model) != saved)
                failures << "restore changed the model";
            const auto differences = ModelState::compare(before, after);
            if (differences.size() != 1 || differences[0].kind != ModelStateDifference::Changed
                || differences[0].path.size() < 1022 * 2
                || !ModelState::apply(patched, differences))
                failures << "compare or apply";
            if (ModelState::compare(after, before).size() != 1)
                failures << "compare back";
            texts << ModelState::toJson(after) << ModelState::toJson(after, ModelState::Compact);
        }));
        thread->setStackSize(256 * 1024);
        thread->start();
        thread->wait();
        QCOMPARE(failures, QStringList());
        QVERIFY(patched == after);
        for (const QByteArray &text : texts)
            QVERIFY(QJsonDocument::fromJson(text).object() == after);
    }

    // A container of millions of entries is checked before anything is reserved for it: its first
    // bad entry is refused without building the others (the benchmarks count the cost).
    void largeContainers_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("lastBad"); // all entries good but the last; else all are {}
        QTest::addColumn<QString>("path");
        // clang-format off
        QTest::newRow("two million empty records")   << 2000000 << false << "m_pBankOutputVec[0][0].value1";
        QTest::newRow("last of 100,000 records bad") << 100000  << true  << "m_pBankOutputVec[0][99999].value30";
        // clang-format on
    }
    void largeContainers()
    {
        QFETCH(int, size);
        QFETCH(bool, lastBad);
        QFETCH(QString, path);
        ModelScene scene;
        const QJsonObject document = ModelState::save(scene);
        const QJsonValue record = lastBad ? document["m_pBankOutputVec"][0][0] : QJsonObject();
        QJsonArray bank;
        for (int i = 0; i < size; ++i)
            bank.append(record);
        if (lastBad)
            bank[size - 1] = edited(record.toObject(), QStringLiteral("value30"), QString());
        const QJsonObject bad = edited(document, QStringLiteral("m_pBankOutputVec[0]"), bank);
        ModelStateError error;
        QVERIFY(!ModelState::restore(scene, bad, &error));
        QCOMPARE(error.path, path);
        QVERIFY(!ModelState::check(bad, &error));
        QCOMPARE(error.path, path);
    }

    // Keys that no member has are written so that a path names one place, in errors and in
    // differences alike.
    void oddKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("path");
        // clang-format off
        QTest::newRow("plain")               << "m_extra"                       << "m_extra";
        QTest::newRow("letters and a space") << "gr\u00f6\u00dfe 2"             << "gr\u00f6\u00dfe 2";
        QTest::newRow("dot")                 << "a.b"                           << "[\"a.b\"]";
        QTest::newRow("empty")               << ""                              << "[\"\"]";
        QTest::newRow("brackets")            << "[0]"                           << "[\"[0]\"]";
        QTest::newRow("quote and backslash") << "x\"\\"                        << "[\"x\\\"\\\\\"]";
        QTest::newRow("line break and NUL")  << QString::fromUtf16(u"a\nb\0c", 5) << "[\"a\\u000ab\\u0000c\"]";
        // clang-format on
    }
    void oddKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, path);
        const QJsonObject document = processorDocument();
        QJsonObject top = document, record = document["m_outputRecAList"][0].toObject();
        top.insert(key, 1);
        record.insert(key, 1);
        const QString inRecord = path.startsWith(QLatin1Char('[')) ? path : QLatin1Char('.') + path;
        for (const auto &[changed, expected] :
             {qMakePair(top, path),
              qMakePair(edited(document, "m_outputRecAList[0]", record),
                        "m_outputRecAList[0]" + inRecord)}) {
            ModelStateError error;
            QVERIFY(!ModelState::check(changed, &error));
            QCOMPARE(error.path, expected);
            const auto differences = ModelState::compare(document, changed);
            QCOMPARE(differences.size(), 1);
            QCOMPARE(differences[0].path, expected);
            QJsonObject patched = document;
            QVERIFY(ModelState::apply(patched, differences) && patched == changed);
        }
    }

    void compareThenApply_data()
    {
        QTest::addColumn<PairMaker>("pair");
        QTest::addColumn<quint32>("seeds");
        QTest::newRow("random JSON") << PairMaker([](quint32 seed) {
            RandomJson random{QRandomGenerator(seed)};
            const QJsonObject before = random.document(5);
            const QJsonValue after = random.edited(before, 5);
            return qMakePair(before, after.isObject() ? after.toObject() : random.document(5));
        }) << 200u;
        QTest::newRow("random JSON in a class's order") << PairMaker([](quint32 seed) {
            RandomJson random{QRandomGenerator(seed)};
            QJsonObject before = processorDocument();
            before.insert(QStringLiteral("m_pOutputVecA"), random.value(4));
            before.insert(QStringLiteral("m_x"), random.value(4));
            QJsonObject after = random.edited(before, 6).toObject();
            after.insert(QStringLiteral("class"), QStringLiteral("ModelCalyth"));
            return qMakePair(before, after);
        }) << 10u;
        // Every leaf differs in these.
#define ROW(T, seeds)                                                                              \
    QTest::newRow(#T) << PairMaker([](quint32 seed) {                                              \
        return qMakePair(randomDocument<T>(seed), randomDocument<T>(seed + 1));                    \
    }) << seeds##u;
        ROW(ModelScene, 3) ROW(ModelIC, 3) ROW(Model_QuorParam, 1)
#undef ROW
    }
    // compare() then apply() gives the later document exactly; part of the differences gives a
    // document that differs from the later one in the rest; a limit keeps the first ones.
    void compareThenApply()
    {
        QFETCH(PairMaker, pair);
        QFETCH(quint32, seeds);
        for (quint32 seed = 1; seed <= seeds && !QTest::currentTestFailed(); ++seed) {
            const auto [before, after] = pair(seed);
            const auto differences = ModelState::compare(before, after);
            QJsonObject patched = before;
            ModelStateError error;
            QVERIFY2(ModelState::apply(patched, differences, &error), qPrintable(error.toString()));
            QCOMPARE(ModelState::toJson(patched), ModelState::toJson(after));

            // Every other change, then the rest.
            QVector<ModelStateDifference> part;
            QStringList rest, left;
            for (const ModelStateDifference &d : differences) {
                if (d.kind == ModelStateDifference::Changed && part.size() <= rest.size())
                    part << d;
                else
                    rest << d.path;
            }
            patched = before;
            QVERIFY(ModelState::apply(patched, part));
            for (const ModelStateDifference &d : ModelState::compare(patched, after))
                left << d.path;
            QCOMPARE(left, rest);

            qsizetype total = -1;
            const auto first = ModelState::compare(before, after, 3, &total);
            QCOMPARE(total, differences.size());
            QCOMPARE(first.size(), qMin<qsizetype>(3, total));
            for (qsizetype i = 0; i < first.size(); ++i)
                QCOMPARE(first[i].path, differences[i].path);
        }
    }

    void applyRefusals_data()
    {
        QTest::addColumn<QVector<ModelStateDifference>>("differences");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        using D = ModelStateDifference;
        // The processor document holds m_value2 2, m_outputRecAList[3].value2 42 and an m_intBlock1
        // of 8 zeros. No path given: the last difference's.
        const auto row = [](const char *name, const char *message, const QVector<D> &ds,
                            const char *path = nullptr) {
            QTest::newRow(name) << ds << (path ? QString::fromUtf8(path) : ds.last().path)
                                << message;
        };
        // clang-format off
        row("other earlier value",        "expected 5, found 2",   {{D::Changed, "m_value2", 5, 6}});
        row("changed missing",            "missing",               {{D::Changed, "m_nothing", 5, 6}});
        row("added present",              "present already",       {{D::Added, "m_value2", Absent, 6}});
        row("removed other value",        "expected 41, found 42", {{D::Removed, "m_outputRecAList[3].value2", 41, Absent}});
        row("removed not last",           "not the last element of an array of 8", {{D::Removed, "m_intBlock1[6]", 0, Absent}});
        row("added after a gap",          "an array of 8 takes",   {{D::Added, "m_intBlock1[9]", Absent, 1}});
        row("inside another",             "inside the difference at m_intBlock1", {{D::Changed, "m_intBlock1", QJsonArray(), 1}, {D::Changed, "m_intBlock1[0]", 0, 1}});
        row("holds another",              "holds the difference at m_intBlock1[0]", {{D::Changed, "m_intBlock1[0]", 0, 1}, {D::Changed, "m_intBlock1", QJsonArray(), 1}});
        row("given twice",                "given twice",           QVector<D>(2, {D::Changed, "m_value2", 0, 1}));
        row("key of an array",            "expected an object, found an array", {{D::Changed, "m_intBlock1.x", 0, 1}}, "m_intBlock1");
        row("index of a number",          "expected an array, found 2", {{D::Changed, "m_value2[0][1]", 0, 1}}, "m_value2");
        row("inside a missing member",    "missing",               {{D::Added, "m_nothing.x", Absent, 1}}, "m_nothing");
        row("change without later value", "a change needs both values", {{D::Changed, "m_value2", 0, Absent}});
        // clang-format on
        for (const char *bad :
             {"", "a..b", ".a", "a.", "a[01]", "a[-1]", "a[", "a[\"x]", "a]", "a\"b", "a[\"\\q\"]"})
            QTest::addRow("not a path: %s", bad)
                << QVector<D>{{D::Changed, bad, 0, 1}} << QString::fromUtf8(bad) << "not a path";
    }
    // A difference that does not fit is refused with its path, and the document stays as it was.
    void applyRefusals()
    {
        QFETCH(QVector<ModelStateDifference>, differences);
        QFETCH(QString, path);
        QFETCH(QString, message);
        const QJsonObject original = processorDocument();
        QJsonObject document = original;
        // A fitting change first, so that a refusal has something to leave undone.
        differences.prepend({ModelStateDifference::Changed, "m_value3", 0, 9});
        ModelStateError error;
        QVERIFY(!ModelState::apply(document, differences, &error));
        QCOMPARE(error.path, path);
        QVERIFY2(error.message.startsWith(message), qPrintable(error.message));
        QVERIFY(document == original);
    }

    // Compact text is the indented text without its layout (the fingerprints pin it): for a
    // document without a class, whose members are in name order, it is what Qt writes.
    void compactText()
    {
        for (quint32 seed = 1; seed <= 50; ++seed) {
            const QJsonObject document = RandomJson{QRandomGenerator(seed)}.document(6);
            QCOMPARE(ModelState::toJson(document, ModelState::Compact),
                     QJsonDocument(document).toJson(QJsonDocument::Compact));
        }
        QByteArray indented = ModelState::toJson(processorDocument());
        indented.replace(": ", ":").replace(", ", ",").replace(' ', "").replace('\n', "");
        QCOMPARE(ModelState::toJson(processorDocument(), ModelState::Compact), indented);
    }
};

QTEST_GUILESS_MAIN(ModelStateTest)
#include "modelstatetest.moc"
