#include "absurdcapacity.h"
#include "logcapture.h"

#include <model/ic/modelic.h>

#include <QtTest/QtTest>

namespace {

QVariantList fields(const _UserList_Destktop &r)
{
    return {r.userName, r.text1, r.value1, r.value2, r.value3, r.text2, r.text3, r.text4, r.value4};
}

const QString e;
const QVariantList s_defaultUser{QStringLiteral("user"), e, 1, 0, 1, e, e, e, 0};

} // namespace

class ModelICTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void codes_data()
    {
        // The users a code leaves (every other list keeps 80), and a user index that
        // resetUserInfo must take or refuse.
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("users");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("resets");
        QTest::newRow("0x2D0000, first user") << 0x2D0000 << 40 << 0 << true;
        QTest::newRow("0x2D0001, last user") << 0x2D0001 << 40 << 39 << true;
        QTest::newRow("0x2D0001, one past") << 0x2D0001 << 40 << 40 << false;
        QTest::newRow("0x2D0000, -1") << 0x2D0000 << 40 << -1 << false;
        QTest::newRow("neighbour 0x2D0002") << 0x2D0002 << 0 << 0 << false;
        QTest::newRow("negative") << -0x2D0001 << 0 << 0 << false;
    }

    void codes()
    {
        QFETCH(int, code);
        QFETCH(int, users);
        QFETCH(int, index);
        QFETCH(bool, resets);
        ModelIC model;
        {
            // An unknown code warns once per call, in the category "default", without file,
            // line or function.
            const LogCapture log;
            model.initMaxParams(code);
            model.initParam(code);
            const int warnings = users ? 0 : 2;
            QCOMPARE(log.contexts(), repeated(warnings, LogCapture::libraryContext(QtWarningMsg)));
            QCOMPARE(log.texts(),
                     repeated(warnings, QStringLiteral("---ModelIC m_maxGroupCount = 0")));
        }
        QCOMPARE(QList<qsizetype>({model.m_deviceCode, model.m_initConstant,
                                   model.getMaxUserCount(), model.m_groupList.size(),
                                   model.m_signalGroupList.size(), model.m_inPortList.size(),
                                   model.m_outPortList.size(), model.m_userList.size()}),
                 QList<qsizetype>({code, 3000, users, 80, 80, 80, 80, users}));

        _UserList_Destktop user{QStringLiteral("client"), e, 7, 7, 7, e, e, e, 7};
        const QVariantList client = fields(user);
        model.resetUserInfo(index, user);
        QCOMPARE(fields(user), resets ? s_defaultUser : client);
    }

    // The capacities that size the tree.
    void absurdCapacities_data()
    {
        addAbsurdCapacityRows<ModelIC>(
            {CAPACITY(ModelIC, m_maxGroupCount), CAPACITY(ModelIC, m_maxSignalGroupCount),
             CAPACITY(ModelIC, m_maxInPortCount), CAPACITY(ModelIC, m_maxOutPortCount)});
    }
    void absurdCapacities() { checkAbsurdCapacityRow<ModelIC>(); }
};

QTEST_GUILESS_MAIN(ModelICTest)
#include "modelictest.moc"
