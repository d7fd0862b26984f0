#include <model/ic/modelic.h>

#include "memberlayout.h"

#include <QtTest/QtTest>

#include <climits>

namespace {

const char s_warning[] = "---ModelIC m_maxGroupCount = 0";

// Every message the log receives while a LogCapture lives, with the context its handler sees.
struct Logged
{
    QtMsgType type;
    QString text;
    const char *file;
    int line;
    const char *function;
    const char *category;
};

class LogCapture
{
public:
    LogCapture() { m_previous = qInstallMessageHandler(handler); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    static QVector<Logged> s_logged;

private:
    static void handler(QtMsgType type, const QMessageLogContext &c, const QString &text)
    {
        s_logged.append({type, text, c.file, c.line, c.function, c.category});
    }
    QtMessageHandler m_previous;
};
QVector<Logged> LogCapture::s_logged;

// Capacities in getter order: group, signal group, input port, output port, user.
QVector<int> capsOf(const ModelIC &m)
{
    return {m.getMaxGroupCount(), m.getMaxSignalGroupCount(), m.getMaxInPortCount(),
            m.getMaxOutPortCount(), m.getMaxUserCount()};
}

QVector<int> sizesOf(const ModelIC &m)
{
    return {m.m_groupList.size(), m.m_signalGroupList.size(), m.m_inPortList.size(),
            m.m_outPortList.size(), m.m_userList.size()};
}

// Record fields in declaration order.
QVariantList fields(const _ICGroup_Record &r)
{
    return {r.value1, r.value2, r.value3, r.value4, r.value5,
            r.value6, r.value7, r.value8, r.text1,  r.text2};
}
QVariantList fields(const _ICSignalGroup_Record &r)
{
    return {r.value1, r.text1, r.text2, r.text3};
}
QVariantList fields(const _ICPort_Record &r)
{
    return {r.value1, r.flag1, r.text1, r.text2,  r.text3, r.text4, r.text5, r.text6,
            r.text7,  r.text8, r.text9, r.text10, r.flag2, r.flag3, r.flag4};
}
QVariantList fields(const _UserList_Destktop &r)
{
    return {r.userName, r.text1, r.value1, r.value2, r.value3, r.text2, r.text3, r.text4, r.value4};
}

const QString e;
const QVariantList s_groupDefaults = {0, 0, 0, 0, 0, 0, 0, 0, e, e};
const QVariantList s_signalGroupDefaults = {0, e, e, e};
const QVariantList s_portDefaults = {-1, 0, e, e, e, e, e, e, e, e, e, e, 0, 0, 0};
const QVariantList s_defaultUser = {QStringLiteral("user"), e, 1, 0, 1, e, e, e, 0};

_UserList_Destktop clientUser()
{
    const QString t = QStringLiteral("client");
    return {t, t, 7, 7, 7, t, t, t, 7};
}

} // namespace

class ModelICTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacities_data();
    void capacities();
    void defaults();
    void rebuildsDiscardClientWrites();
    void unknownCodeKeepsClientCapacities();
    void resetUserInfo_data();
    void resetUserInfo();
    void layout_data();
    void layout() { checkLayoutRow(); }
};

void ModelICTest::capacities_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QVector<int>>("caps");
    const QVector<int> known{80, 80, 80, 80, 40};
    const QVector<int> unknown{80, 80, 80, 80, 0};
    QTest::newRow("0x2D0000") << 0x2D0000 << known;
    QTest::newRow("0x2D0001") << 0x2D0001 << known;
    QTest::newRow("neighbour 0x2D0002") << 0x2D0002 << unknown;
    QTest::newRow("neighbour 0x2CFFFF") << 0x2CFFFF << unknown;
    QTest::newRow("processor 0x250100") << 0x250100 << unknown;
    QTest::newRow("processor 0x320000") << 0x320000 << unknown;
    QTest::newRow("zero") << 0 << unknown;
    QTest::newRow("negated -0x2D0001") << -0x2D0001 << unknown;
    QTest::newRow("INT_MIN") << INT_MIN << unknown;
}

void ModelICTest::capacities()
{
    QFETCH(int, code);
    QFETCH(QVector<int>, caps);
    const int warnings = caps.last() == 0 ? 1 : 0;
    LogCapture::s_logged.clear();
    ModelIC model;
    {
        LogCapture log;
        model.initMaxParams(code);
        QCOMPARE(LogCapture::s_logged.size(), warnings);
        // The table alone: the lists and the recorded code wait for initParam().
        QCOMPARE(capsOf(model), caps);
        QCOMPARE(sizesOf(model), QVector<int>({80, 80, 80, 80, 40}));
        QCOMPARE(model.m_deviceCode, 0x2D0001);

        model.initParam(code);
        QCOMPARE(LogCapture::s_logged.size(), 2 * warnings);
    }
    QCOMPARE(model.m_deviceCode, code);
    QCOMPARE(model.m_initConstant, 3000);
    QCOMPARE(capsOf(model), caps);
    QCOMPARE(sizesOf(model), caps);

    // Null file, function and category and line 0: what a default-constructed QMessageLogger
    // hands the handler. Qt files a null category under "default".
    for (const Logged &m : qAsConst(LogCapture::s_logged)) {
        QCOMPARE(m.type, QtWarningMsg);
        QCOMPARE(m.text, QLatin1String(s_warning));
        QVERIFY(!m.file);
        QCOMPARE(m.line, 0);
        QVERIFY(!m.function);
        QVERIFY(!m.category);
    }
}

void ModelICTest::defaults()
{
    const ModelIC model;
    QCOMPARE(model.m_deviceCode, 0x2D0001);
    QCOMPARE(model.m_initConstant, 3000);
    for (const auto &r : model.m_groupList)
        QCOMPARE(fields(r), s_groupDefaults);
    for (const auto &r : model.m_signalGroupList)
        QCOMPARE(fields(r), s_signalGroupDefaults);
    for (const auto &list : {model.m_inPortList, model.m_outPortList}) {
        for (const auto &r : list)
            QCOMPARE(fields(r), s_portDefaults);
    }
    for (const auto &r : model.m_userList)
        QCOMPARE(fields(r), s_defaultUser);
}

void ModelICTest::rebuildsDiscardClientWrites()
{
    ModelIC model;
    model.m_groupList[79].text2 = QStringLiteral("client");
    model.m_signalGroupList[0].value1 = 7;
    model.m_inPortList[0].value1 = 3;
    model.m_outPortList[79].flag4 = 1;
    model.m_userList[39] = clientUser();
    model.m_initConstant = 1;

    model.clearParams();
    QCOMPARE(sizesOf(model), QVector<int>(5, 0));
    QCOMPARE(capsOf(model), QVector<int>({80, 80, 80, 80, 40}));
    QCOMPARE(model.m_deviceCode, 0x2D0001);
    QCOMPARE(model.m_initConstant, 1);

    model.m_userList.append(clientUser());
    model.initParam(0x2D0000);
    QCOMPARE(model.m_deviceCode, 0x2D0000);
    QCOMPARE(model.m_initConstant, 3000);
    QCOMPARE(sizesOf(model), QVector<int>({80, 80, 80, 80, 40}));
    QCOMPARE(fields(model.m_groupList[79]), s_groupDefaults);
    QCOMPARE(fields(model.m_signalGroupList[0]), s_signalGroupDefaults);
    QCOMPARE(fields(model.m_inPortList[0]), s_portDefaults);
    QCOMPARE(fields(model.m_outPortList[79]), s_portDefaults);
    QCOMPARE(fields(model.m_userList[0]), s_defaultUser);
    QCOMPARE(fields(model.m_userList[39]), s_defaultUser);
}

void ModelICTest::unknownCodeKeepsClientCapacities()
{
    ModelIC model;
    model.m_maxGroupCount = 3;
    model.m_maxSignalGroupCount = 0;
    model.m_maxInPortCount = -5;
    model.m_maxOutPortCount = 1;
    QTest::ignoreMessage(QtWarningMsg, s_warning);
    model.initParam(-1);
    QCOMPARE(capsOf(model), QVector<int>({3, 0, -5, 1, 0}));
    QCOMPARE(sizesOf(model), QVector<int>({3, 0, 0, 1, 0}));

    // A known code brings every capacity back, the users included.
    model.initParam(0x2D0001);
    QCOMPARE(sizesOf(model), QVector<int>({80, 80, 80, 80, 40}));
}

void ModelICTest::resetUserInfo_data()
{
    QTest::addColumn<bool>("withUsers");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("resets");
    QTest::newRow("-1") << true << -1 << false;
    QTest::newRow("first") << true << 0 << true;
    QTest::newRow("last") << true << 39 << true;
    QTest::newRow("one past") << true << 40 << false;
    QTest::newRow("INT_MIN") << true << INT_MIN << false;
    QTest::newRow("INT_MAX") << true << INT_MAX << false;
    QTest::newRow("0 without users") << false << 0 << false;
}

void ModelICTest::resetUserInfo()
{
    QFETCH(bool, withUsers);
    QFETCH(int, index);
    QFETCH(bool, resets);
    ModelIC model;
    if (!withUsers) {
        QTest::ignoreMessage(QtWarningMsg, s_warning);
        model.initMaxParams(0x250100);
    }
    model.m_userList[0] = clientUser();

    _UserList_Destktop user = clientUser();
    model.resetUserInfo(index, user);
    QCOMPARE(fields(user), resets ? s_defaultUser : fields(clientUser()));
    QCOMPARE(fields(model.m_userList[0]), fields(clientUser()));
    QCOMPARE(fields(model.m_userList[1]), s_defaultUser);
}

void ModelICTest::layout_data()
{
    addLayoutColumns();
    // clang-format off
    const LayoutMember<ModelIC> model[] = {
        LAYOUT_MEMBER(ModelIC, m_groupList, Handle), LAYOUT_MEMBER(ModelIC, m_signalGroupList, Handle),
        LAYOUT_MEMBER(ModelIC, m_inPortList, Handle), LAYOUT_MEMBER(ModelIC, m_outPortList, Handle),
        LAYOUT_MEMBER(ModelIC, m_userList, Handle), LAYOUT_MEMBER(ModelIC, m_deviceCode, 4),
        LAYOUT_MEMBER(ModelIC, m_initConstant, 4), LAYOUT_MEMBER(ModelIC, m_maxGroupCount, 4),
        LAYOUT_MEMBER(ModelIC, m_maxSignalGroupCount, 4), LAYOUT_MEMBER(ModelIC, m_maxInPortCount, 4),
        LAYOUT_MEMBER(ModelIC, m_maxOutPortCount, 4), LAYOUT_MEMBER(ModelIC, m_maxUserCount, 4),
    };
    using G = _ICGroup_Record;
    const LayoutMember<G> group[] = {
        LAYOUT_MEMBER(G, value1, 4), LAYOUT_MEMBER(G, value2, 4), LAYOUT_MEMBER(G, value3, 4),
        LAYOUT_MEMBER(G, value4, 4), LAYOUT_MEMBER(G, value5, 4), LAYOUT_MEMBER(G, value6, 4),
        LAYOUT_MEMBER(G, value7, 4), LAYOUT_MEMBER(G, value8, 4), LAYOUT_MEMBER(G, text1, Handle),
        LAYOUT_MEMBER(G, text2, Handle),
    };
    using S = _ICSignalGroup_Record;
    const LayoutMember<S> signalGroup[] = {
        LAYOUT_MEMBER(S, value1, 4), LAYOUT_MEMBER(S, text1, Handle),
        LAYOUT_MEMBER(S, text2, Handle), LAYOUT_MEMBER(S, text3, Handle),
    };
    using P = _ICPort_Record;
    const LayoutMember<P> port[] = {
        LAYOUT_MEMBER(P, value1, 4), LAYOUT_MEMBER(P, flag1, 1), LAYOUT_MEMBER(P, text1, Handle),
        LAYOUT_MEMBER(P, text2, Handle), LAYOUT_MEMBER(P, text3, Handle), LAYOUT_MEMBER(P, text4, Handle),
        LAYOUT_MEMBER(P, text5, Handle), LAYOUT_MEMBER(P, text6, Handle), LAYOUT_MEMBER(P, text7, Handle),
        LAYOUT_MEMBER(P, text8, Handle), LAYOUT_MEMBER(P, text9, Handle), LAYOUT_MEMBER(P, text10, Handle),
        LAYOUT_MEMBER(P, flag2, 1), LAYOUT_MEMBER(P, flag3, 1), LAYOUT_MEMBER(P, flag4, 1),
    };
    using U = _UserList_Destktop;
    const LayoutMember<U> user[] = {
        LAYOUT_MEMBER(U, userName, Handle), LAYOUT_MEMBER(U, text1, Handle), LAYOUT_MEMBER(U, value1, 4),
        LAYOUT_MEMBER(U, value2, 4), LAYOUT_MEMBER(U, value3, 4), LAYOUT_MEMBER(U, text2, Handle),
        LAYOUT_MEMBER(U, text3, Handle), LAYOUT_MEMBER(U, text4, Handle), LAYOUT_MEMBER(U, value4, 4),
    };
    // clang-format on
    addLayoutRows("ModelIC", model);
    addLayoutRows("_ICGroup_Record", group);
    addLayoutRows("_ICSignalGroup_Record", signalGroup);
    addLayoutRows("_ICPort_Record", port);
    addLayoutRows("_UserList_Destktop", user);
}

QTEST_GUILESS_MAIN(ModelICTest)
#include "modelictest.moc"
