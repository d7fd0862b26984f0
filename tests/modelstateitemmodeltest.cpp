// The item model over state documents: its rows against Qt's model checks, incremental updates
// against a fresh model, edits against restore(), and the comparison marks.

#include "memberlists.h"

#include <model/state/modelstateitemmodel.h>

#include <QtTest/QtTest>

#include <memory>

using Model = ModelStateItemModel;
using D = ModelStateDifference;
using Tester = QAbstractItemModelTester;

namespace {

// The smallest tree of each model that has one, so that the model checks visit every row.
template<typename T>
QJsonObject saved(int code = 0x2C0200)
{
    const auto object = std::make_unique<T>();
    if constexpr (std::is_same_v<T, Model_QuorParam>)
        object->m_map = {{1, 10}, {3, 30}};
    else if constexpr (std::is_same_v<T, ModelCalyth> || std::is_same_v<T, ModelScene>)
        object->initParam(code);
    return ModelState::save(*object);
}

// Calls f on every row's value cell, depth first, and goes below the rows for which it says so.
template<typename F>
void forEachRow(const QAbstractItemModel &model, F f, const QModelIndex &parent = {})
{
    for (int r = 0; r < model.rowCount(parent); ++r) {
        const QModelIndex i = model.index(r, Model::ValueColumn, parent);
        if (f(i))
            forEachRow(model, f, i.siblingAtColumn(0));
    }
}

// Every row, depth first, with what each column and role shows: two models are alike if these are.
QStringList rows(const QAbstractItemModel &model)
{
    QStringList all;
    forEachRow(model, [&](const QModelIndex &i) {
        QStringList row{i.data(Model::PathRole).toString(),
                        QString::number(i.data(Model::DifferenceRole).toInt())};
        for (int c = 0; c < Model::ColumnCount; ++c)
            row << i.siblingAtColumn(c).data().toString();
        all << row.join(QLatin1Char('|'));
        return true;
    });
    return all;
}

// Whether a row at path lies on the way to, at, or below one of the paths.
bool related(const QString &path, const QStringList &paths)
{
    return std::any_of(paths.cbegin(), paths.cend(), [&](const QString &p) {
        const QString &shorter = p.size() < path.size() ? p : path;
        const QString &longer = p.size() < path.size() ? path : p;
        // Equal, or the longer one goes on with a member or an element.
        return longer.startsWith(shorter)
            && QStringLiteral(".[").contains(longer.mid(shorter.size(), 1));
    });
}

// count random changes somewhere below value: a leaf changed, an entry appended or dropped, an
// array become null or a null become an array.
QJsonValue changed(const QJsonValue &value, QRandomGenerator &random, int count = 1)
{
    if (count > 1)
        return changed(changed(value, random, count - 1), random);
    if (value.isObject()) {
        QJsonObject object = value.toObject();
        const QString key = object.keys().at(int(random.bounded(object.size())));
        if (key != QLatin1String("class"))
            object[key] = changed(object.value(key), random);
        return object;
    }
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        const quint32 what = random.bounded(8);
        if (array.isEmpty() || what == 0)
            array.append(array.isEmpty() ? QJsonValue(7) : array.last());
        else if (what == 1)
            array.removeLast();
        else if (what == 2)
            return QJsonValue::Null;
        else {
            const int i = int(random.bounded(array.size()));
            array[i] = changed(array.at(i), random);
        }
        return array;
    }
    if (value.isString())
        return value.toString() + QLatin1Char('x');
    return value.isNull() ? QJsonValue(QJsonArray{1, 2}) : QJsonValue(value.toDouble() + 1);
}

} // namespace

class ModelStateItemModelTest : public QObject
{
    Q_OBJECT

private slots:
    void modelChecks_data()
    {
        QTest::addColumn<QJsonObject>("document");
        for (const QJsonObject &document :
             {saved<ModelCalyth>(), saved<ModelScene>(), saved<ModelBankPlayer>(), saved<ModelIC>(),
              saved<Model_QuorParam>(), saved<model_topology_param>(), saved<model_API_param>(),
              saved<model_Protocoldata>(), saved<model_OsdParam>()})
            QTest::newRow(qPrintable(document["class"].toString())) << document;
    }

    // Qt's checks on every row, alone and against a comparison that differs in every way; every
    // leaf but the document's own entries is editable, which needs the class's types.
    void modelChecks()
    {
        QFETCH(QJsonObject, document);
        Model model;
        Tester tester(&model, Tester::FailureReportingMode::Fatal);
        model.setDocument(document);
        QVERIFY(ModelState::classNames().contains(document[QLatin1String("class")].toString()));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QString last;
        QStringList wrong;
        forEachRow(model, [&](const QModelIndex &i) {
            const QJsonValue v = i.data(Model::ValueRole).toJsonValue();
            const bool leaf = !v.isArray() && !v.isObject() && !v.isNull();
            last = i.data(Model::PathRole).toString();
            if (bool(i.flags() & Qt::ItemIsEditable)
                != (leaf && (i.parent().isValid() || i.row() > 1)))
                wrong << last;
            return true;
        });
        QCOMPARE(wrong, QStringList());
        QCOMPARE(model.indexOfPath(last).data(Model::PathRole).toString(), last);

        QRandomGenerator random(1);
        const QJsonObject other = changed(document, random, 12).toObject();
        model.setComparisonDocument(other);
        QCOMPARE(model.differences().size(), ModelState::compare(other, document).size());
        model.setDocument(other);
        QVERIFY(model.differences().isEmpty());
    }

    void update_data()
    {
        QTest::addColumn<QJsonObject>("document");
        QTest::addColumn<QJsonObject>("next");
        QTest::addColumn<QJsonObject>("compared"); // empty: no comparison
        QTest::addColumn<quint32>("built");        // how many rows of three the test builds
        QRandomGenerator random(3);
        for (const QJsonObject &document :
             {saved<ModelCalyth>(), saved<ModelScene>(), saved<Model_QuorParam>()}) {
            for (int seed = 1; seed <= (document.contains("m_map") ? 2 : 6); ++seed) {
                QJsonObject next = document, compared = seed % 2 ? document : QJsonObject();
                for (int i = 0; i < 8; ++i) {
                    next = changed(next, random).toObject();
                    compared = compared.isEmpty() ? compared : changed(compared, random).toObject();
                }
                QTest::addRow("%s %d", qPrintable(document["class"].toString()), seed)
                    << document << next << compared << 2u;
            }
        }
        // An entry that only the comparison keeps, and one that comes back: its rows below switch
        // between the two documents' values and marks.
        QJsonObject two = saved<ModelCalyth>();
        const QJsonValue container = two.value(QLatin1String("m_containerList"))[0];
        QVERIFY(ModelState::apply(two, {{D::Added, "m_containerList[1]", {}, container}}));
        QTest::newRow("entry left to the comparison") << two << saved<ModelCalyth>() << two << 3u;
        QTest::newRow("entry back from the comparison") << saved<ModelCalyth>() << two << two << 3u;
    }

    // Random changes, then setDocument(), with some rows built as a view would: the rows equal a
    // fresh model's; nothing was reset; every signal and every lost index lies on the way to a
    // change, at it, or below it; every row kept that shows another value or mark was signalled;
    // the insertions and removals account for every row count.
    void update()
    {
        QFETCH(QJsonObject, document);
        QFETCH(QJsonObject, next);
        QFETCH(QJsonObject, compared);
        QFETCH(quint32, built);
        QStringList paths;
        for (const ModelStateDifference &d : ModelState::compare(document, next))
            paths << d.path;

        Model model(document);
        // Qt's checks from here on: modelChecks watches setComparisonDocument() with them.
        model.setComparisonDocument(compared);
        Tester tester(&model, Tester::FailureReportingMode::Fatal);
        QRandomGenerator random(7);
        QVector<std::tuple<QString, QString, QPersistentModelIndex>> indexes;
        QHash<QString, int> counts{{QString(), model.rowCount()}};
        const auto shown = [](const QModelIndex &i) {
            return i.data().toString() + QString::number(i.data(Model::DifferenceRole).toInt());
        };
        forEachRow(model, [&](const QModelIndex &i) {
            const QString path = i.data(Model::PathRole).toString();
            indexes.append({path, shown(i), i});
            counts.insert(path, model.rowCount(i.siblingAtColumn(0)));
            return random.bounded(3u) < built;
        });
        QStringList signalled;
        const auto note = [&](const QModelIndex &i, int rows) {
            signalled << i.data(Model::PathRole).toString();
            counts[signalled.last()] += rows;
        };
        connect(&model, &QAbstractItemModel::dataChanged, this,
                [&](const QModelIndex &a, const QModelIndex &b) {
                    for (int r = a.row(); r <= b.row(); ++r)
                        note(a.siblingAtRow(r), 0);
                });
        const auto rowsNoted = [&](int sign) {
            return [&, sign](const QModelIndex &parent, int first, int last) {
                note(parent, sign * (last - first + 1));
            };
        };
        connect(&model, &QAbstractItemModel::rowsInserted, this, rowsNoted(1));
        connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this, rowsNoted(-1));
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

        model.setDocument(next);
        Model fresh(next);
        fresh.setComparisonDocument(compared);
        QCOMPARE(rows(model), rows(fresh));
        QCOMPARE(resets.count(), 0);
        for (const QString &s : std::as_const(signalled))
            QVERIFY2(related(s, paths) || s.isEmpty(), qPrintable(s));
        QCOMPARE(model.rowCount(), counts.value(QString()));
        for (const auto &[path, before, index] : std::as_const(indexes)) {
            if (!related(path, paths))
                QCOMPARE(index.data(Model::PathRole).toString(), path);
            if (!index.isValid())
                continue;
            QVERIFY2(shown(index) == before || signalled.contains(path), qPrintable(path));
            QCOMPARE(model.rowCount(model.index(index.row(), 0, index.parent())),
                     counts.value(path));
        }
    }

    void edit_data()
    {
        QTest::addColumn<QJsonObject>("document");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QJsonValue>("stored"); // undefined: refused
        QTest::addColumn<QString>("message");
        const QJsonObject p = saved<ModelCalyth>(), k = saved<Model_QuorParam>();
        QJsonObject m = p; // its rows no longer line up with the declared members
        m.remove(QLatin1String("m_text1"));
        const QString name = QStringLiteral("m_containerList[0].name");
        const QJsonValue no(QJsonValue::Undefined);
        const QString int32 = QStringLiteral("expected an integer from -2147483648 to 2147483647");
        const QString bytes40 = QStringLiteral("expected a string of 40 bytes (U+0000 to U+00FF)");
        // clang-format off
        //                                    document path            text           stored             message
        QTest::newRow("uint8")             << p << "m_byte1"        << " 255"       << QJsonValue(255)  << "";
        QTest::newRow("uint8 above")       << p << "m_byte1"        << "256"        << no               << "expected an integer from 0 to 255, found 256";
        QTest::newRow("after a missing")   << m << "m_byte1"        << "256"        << no               << "expected an integer from 0 to 255, found 256";
        QTest::newRow("int fraction")      << p << "m_deviceCode"   << "1.5"        << no               << int32 + ", found 1.5";
        QTest::newRow("int exponent")      << p << "m_deviceCode"   << "1e3"        << QJsonValue(1000) << "";
        QTest::newRow("int text")          << p << "m_deviceCode"   << "x"          << no               << int32 + ", found a string";
        QTest::newRow("double")            << p << "m_doubleValue"  << "0.1"        << QJsonValue(0.1)  << "";
        QTest::newRow("double NaN")        << p << "m_doubleValue"  << "NaN"        << QJsonValue("NaN") << "";
        QTest::newRow("double -0")         << p << "m_doubleValue"  << "-0"         << QJsonValue("-0") << "";
        QTest::newRow("double text")       << p << "m_doubleValue"  << "nine"       << no               << "expected a number, or \"NaN\", \"Infinity\", \"-Infinity\" or \"-0\", found a string";
        QTest::newRow("string escapes")    << p << "m_text1"        << "a\\x0a\\\\" << QJsonValue("a\n\\") << "";
        QTest::newRow("string bad escape") << p << "m_text1"        << "a\\n"       << no               << "expected \\\\ or \\xHH at character 1";
        QTest::newRow("bytes filled up")   << p << name             << "Wall"       << QJsonValue("Wall" + QString(36, QChar(0))) << "";
        QTest::newRow("bytes too long")    << p << name             << QString(41, 'a') << no           << bytes40 + ", found 41 characters";
        QTest::newRow("bytes beyond U+FF") << p << name             << "\u20ac"     << no               << bytes40 + ", found U+20ac at character 0";
        QTest::newRow("map key")           << k << "m_map[1].key"   << "2"          << QJsonValue(2)    << "";
        QTest::newRow("map key twice")     << k << "m_map[1].key"   << "1"          << no               << "key 1 given twice";
        QTest::newRow("class")             << p << "class"          << "ModelIC"    << no               << "";
        QTest::newRow("array")             << p << "m_intBlock1"    << "1"          << no               << "";
        // clang-format on
    }

    // A text typed into a value cell: stored as the class's type, or refused with the reason.
    void edit()
    {
        QFETCH(QJsonObject, document);
        QFETCH(QString, path);
        QFETCH(QString, text);
        QFETCH(QJsonValue, stored);
        QFETCH(QString, message);
        Model model(document);
        QSignalSpy refused(&model, &Model::editRefused);
        QSignalSpy edited(&model, &Model::documentEdited);
        const QModelIndex index = model.indexOfPath(path, Model::ValueColumn);
        QVERIFY(index.isValid());
        QCOMPARE(model.setData(index, text), !stored.isUndefined());
        QCOMPARE(model.editError().message, message);
        QCOMPARE(refused.count(), message.isEmpty() ? 0 : 1);
        QCOMPARE(edited.count(), stored.isUndefined() ? 0 : 1);
        // Taken: the one difference is the value stored, which the row shows.
        const auto differences = ModelState::compare(document, model.document());
        QCOMPARE(differences.size(), stored.isUndefined() ? 0 : 1);
        if (!stored.isUndefined())
            QVERIFY(differences[0].path == path && differences[0].after == stored
                    && index.data(Model::ValueRole).toJsonValue() == stored);
    }

    // Any JSON value in any leaf: the model takes it exactly when restore() takes the document.
    void editsAgreeWithRestore()
    {
        // clang-format off
        const QJsonValue values[] = {0, -1, 255, 256, 65536, 2147483648.0, -2147483649.0, 1.5, "NaN",
                                     "-0", QString(), QString(31, QLatin1Char('a')), "\u0100",
                                     QJsonValue::Null, true, QJsonArray{}, QJsonObject{}};
        // clang-format on
        QRandomGenerator random(7);
        for (const QJsonObject &document : {saved<ModelCalyth>(), saved<Model_QuorParam>()}) {
            Model model(document);
            QVector<QModelIndex> leaves;
            forEachRow(model, [&](const QModelIndex &i) {
                if (i.flags() & Qt::ItemIsEditable)
                    leaves << i;
                return true;
            });
            for (int n = 0; n < 400; ++n) {
                const QModelIndex leaf = leaves.at(int(random.bounded(leaves.size())));
                const QJsonValue value = values[random.bounded(int(std::size(values)))];
                const QString path = leaf.data(Model::PathRole).toString();
                QJsonObject before = model.document(), edited = before;
                const QJsonValue old = leaf.data(Model::ValueRole).toJsonValue();
                QVERIFY(ModelState::apply(edited, {{D::Changed, path, old, value}}));
                const bool taken
                    = model.setData(leaf, QVariant::fromValue(value), Model::ValueRole);
                ModelStateError error;
                QVERIFY2(ModelState::check(edited, &error) == taken,
                         qPrintable(path + QLatin1String(": ") + error.toString()));
                QCOMPARE(model.document(), taken ? edited : before);
            }
        }
    }

    void comparison_data()
    {
        QTest::addColumn<QString>("path");
        // The comparison's value at path (undefined: none), and path=Difference for the rows the
        // change marks.
        QTest::addColumn<QJsonValue>("reference");
        QTest::addColumn<QString>("marked");
        const auto row = [](const char *name, const char *path, const QJsonValue &value,
                            const char *marks) { QTest::newRow(name) << path << value << marks; };
        // clang-format off
        row("changed leaf",   "m_containerList[0].value3", 9, "m_containerList=4 m_containerList[0]=4 m_containerList[0].value3=1 m_containerList[0].value2=0");
        row("removed entry",  "m_pOutputVecF[1]",          5, "m_pOutputVecF=4 m_pOutputVecF[0]=0 m_pOutputVecF[1]=3");
        row("added entry",    "m_inputBoardNameList[0]",   QJsonValue::Undefined, "m_inputBoardNameList=4 m_inputBoardNameList[0]=2");
        row("removed record", "m_containerList[1]",        QJsonObject{{"value1", 3}}, "m_containerList[1]=3 m_containerList[1].value1=3");
        row("another type",   "m_pOutputVecA",             QJsonValue::Null, "m_pOutputVecA=1 m_pOutputVecA[0]=0");
        // clang-format on
    }

    // The comparison's own entries appear as rows of their own, with its values; ending the
    // comparison takes them away again.
    void comparison()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, reference);
        QFETCH(QString, marked);
        // The comparison holds reference at path (one past the end of an array: a new entry),
        // or no path at all.
        const QJsonObject document = saved<ModelCalyth>();
        Model model(document);
        const QModelIndex at = model.indexOfPath(path);
        const auto kind = reference.isUndefined() ? D::Removed
            : at.isValid()                        ? D::Changed
                                                  : D::Added;
        QJsonObject other = document;
        QVERIFY(ModelState::apply(
            other, {{kind, path, at.data(Model::ValueRole).toJsonValue(), reference}}));
        const QStringList before = rows(model);
        model.setComparisonDocument(other);
        for (const QString &m : marked.split(QLatin1Char(' '))) {
            const QModelIndex i = model.indexOfPath(m.section(QLatin1Char('='), 0, 0));
            QVERIFY2(i.isValid(), qPrintable(m));
            QCOMPARE(i.data(Model::DifferenceRole).toInt(), m.section(QLatin1Char('='), 1).toInt());
        }
        const QVariant compared = model.indexOfPath(path).data(Model::ComparisonValueRole);
        QCOMPARE(compared.isValid(), !reference.isUndefined());
        if (compared.isValid())
            QCOMPARE(compared.toJsonValue(), reference);
        model.setComparisonDocument({});
        QCOMPARE(rows(model), before);
    }

    // findPaths() walks the document itself: it finds what the rows would show, the paths and the
    // values of all but the arrays.
    void findPaths()
    {
        Model model(saved<ModelCalyth>());
        const QStringList all = rows(model);
        for (const char *text : {"value3", "[1]", "128", "list of", "CALYTH"}) {
            QStringList expected;
            for (const QString &row : all) {
                const QStringList columns = row.split(QLatin1Char('|'));
                const QModelIndex i = model.indexOfPath(columns.at(0));
                if (columns.at(0).contains(text, Qt::CaseInsensitive)
                    || (!i.data(Model::ValueRole).toJsonValue().isArray()
                        && columns.at(3).contains(text, Qt::CaseInsensitive)))
                    expected << columns.at(0);
            }
            QCOMPARE(model.findPaths(QLatin1String(text)), expected);
        }
    }
};

QTEST_GUILESS_MAIN(ModelStateItemModelTest)
#include "modelstateitemmodeltest.moc"
