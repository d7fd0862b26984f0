// A client of the library as its documentation describes the interface: this program declares the
// exported classes itself, member by member and operation by operation, includes no header of the
// library (its build gives it no include path to them) and links against the library file. An
// operation exported in another form than declared here either fails the link (a const member
// function has another symbol name) or fails below at run time (a static member has the same name
// but takes no object, so the object lands where the first argument belongs). So does a class
// that the library builds larger than declared here, and a log message without its category.

#include "logcapture.h"

#include <QtCore/QJsonArray>
#include <QtCore/QJsonObject>
#include <QtCore/QList>
#include <QtCore/QMap>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVector>
#include <QtTest/QtTest>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

// ---- The client's declarations -----------------------------------------------------------------
// Written as the interface documents them: records with their fields in order (a run of integers
// whose names nothing below reads as an array), classes with their members in declaration order.

// clang-format off
struct _Int12_Record { int values[12]; };

struct _OutputA_Record { int values[8]; };
struct _OutputB_Record { int values[9]; };
struct _OutputC_Record { int values[8]; };
struct _OutputD_Record { int values[4]; };
struct _OutputE_Record { int values[19]; };
struct _OutputF_Record { int values[5]; };
struct _OutputG_Record { int values[12]; };
struct _OutputH_Record { int value1, value2; double value3; int value4; };
struct _OutputI_Record { int values[11]; };
struct _OutputJ_Record { int values[7]; };
struct _OutputName_Record { QString name1, name2; };
struct _SourceWindow_Record
{
    int x1, y1, width1, height1, x2, y2, width2, height2;
    int values[19];
    int value28, value29, value30;
};
struct _SourceB_Record { int values[13]; };
struct _SourceC_Record { int values[10]; };
struct _InputPort_Record
{
    QList<int> portValues1, portValues2, portValues3, portValues4, portValues5, portValues6;
};
struct _InputBoard_Record
{
    quint8 bytes[9];
    quint16 words[10];
    quint16 block1[4], block2[4], block3[4];
};
struct _Layer_Record { int values[10]; };
struct _Container_Record { int values[14]; char name[40]; QList<int> outputValues; };
struct _Int9_Record { int values[9]; };

#pragma pack(push, 1)
class ModelCalyth
{
public:
    ModelCalyth();
    virtual ~ModelCalyth();
    void initParam(int deviceCode);
    void clearParams();
    void initMaxParams(int deviceCode);
    int getMaxPreOutputCount();
    int getMaxPreOutputGroup();
    int getMaxLinkOutputCount();
    int getMaxLinkOutputGroup();
    int getMaxOutputCount();
    int getMaxSourceCount();
    int getMaxBankCount();
    int getMaxBankNameLength();
    int getMaxLayerCount();
    int getMaxPageCount();
    int getMaxInputBoardCount();
    int getMaxOutPutBoardCount();
    int getMaxInputBoardPortCount();
    int getMaxOutputBoardPortCount();
    int getMaxContainerCount();
    int getMaxContainerName();
    int getMaxOneMonitorLayerCount();
    int getMaxPvwBoardCount();

    int m_deviceCode;
    int m_initConstant;
    QVector<int> *m_pOutputVecA, *m_pOutputVecB, *m_pOutputVecC, *m_pOutputVecD;
    QVector<quint8> *m_pOutputFlagVec;
    QVector<int> *m_pOutputVecE, *m_pOutputVecF;
    int m_intBlock1[8], m_intBlock2[8], m_intBlock3[3];
    QStringList m_spareTextList;
    int m_intBlock4[5];
    int m_value1;
    int m_intBlock5[3], m_intBlock6[4], m_intBlock7[4], m_intBlock8[4];
    QString m_text1;
    QStringList m_inputBoardNameList, m_outputBoardNameList;
    QString m_textBlock1[5];
    quint8 m_byte1;
    int m_value2, m_value3, m_value4;
    QList<quint8> m_sourceFlagListA, m_sourceFlagListB, m_sourceFlagListC, m_sourceFlagListD;
    QList<int> m_sourceValueListA;
    QList<QStringList> m_sourceTextList;
    QList<int> m_sourceValueListB, m_sourceValueListC;
    QList<_SourceWindow_Record> m_sourceWindowList;
    QList<_SourceB_Record> m_sourceRecBList;
    QList<_SourceC_Record> m_sourceRecCList;
    QList<quint8> m_outputBoardFlagListA;
    int m_intBlock9[5];
    QString m_text2;
    quint8 m_byte2;
    QStringList m_outputBoardTextListA;
    QList<quint8> m_outputBoardFlagListB;
    QStringList m_outputBoardTextListB;
    QList<quint8> m_outputBoardFlagListC;
    QString m_text3;
    quint8 m_byte3;
    QString m_text4;
    quint8 m_byte4, m_byte5;
    int m_value5;
    int m_intBlock10[8];
    QString m_text5;
    QList<int> m_spareValueList;
    int m_value6, m_value7, m_value8, m_resolutionWidth, m_resolutionHeight;
    QString m_text6;
    int m_value9;
    quint8 m_byte6;
    QString m_textBlock2[5];
    QList<QStringList> m_outputBoardGroupListA, m_outputBoardGroupListB;
    quint8 m_byte7;
    int m_value10;
    quint8 m_byte8;
    int m_value11;
    quint8 m_byte9;
    int m_intBlock11[4];
    double m_doubleValue;
    quint8 m_spareBytes[8];
    QVector<_OutputH_Record> *m_pOutputRecHVec;
    int m_intBlock12[5];
    QList<_Int12_Record> m_spareRecordList;
    QList<_Int12_Record> m_inputBoardRecList;
    QList<_InputPort_Record> m_inputPortList;
    QList<_InputBoard_Record> m_inputBoardInfoList;
    int m_intBlock13[11];
    QList<quint8> m_outputFlagList;
    QList<_OutputA_Record> m_outputRecAList;
    QList<_OutputB_Record> m_outputRecBList;
    QList<_Container_Record> m_containerList;
    QList<_OutputC_Record> m_outputRecCList;
    QList<_OutputD_Record> m_outputRecDList;
    QList<_OutputE_Record> m_outputRecEList;
    QList<_OutputF_Record> m_outputRecFList;
    QList<_OutputG_Record> m_outputRecGList;
    int m_intBlock14[5], m_intBlock15[19];
    int m_value12, m_value13, m_value14, m_value15;
    QVector<_Layer_Record> *m_pLayerVec;
    int m_intBlock16[6];
    qint16 m_shortBlock[7];
    quint8 m_byteBlock[4];
    QVector<_OutputI_Record> *m_pOutputRecIVec;
    QVector<_OutputJ_Record> *m_pOutputRecJVec;
    QVector<_Int9_Record> m_spareRecordVec;
    QStringList m_outputQuadNameList;
    QList<_OutputName_Record> m_outputNamePairList;
    int m_maxPreOutputCount, m_maxPreOutputGroup, m_maxLinkOutputCount, m_maxLinkOutputGroup;
    int m_maxOutputCount, m_maxSourceCount, m_maxBankCount, m_maxBankNameLength, m_maxLayerCount;
    int m_maxPageCount, m_maxInputBoardCount, m_maxOutPutBoardCount, m_maxInputBoardPortCount;
    int m_maxOutputBoardPortCount, m_maxContainerCount, m_maxContainerName;
    int m_maxMonitorLayerCount, m_maxPvwBoardCount;
};
#pragma pack(pop)

struct _SceneLayer_Record
{
    int areaX, areaY, areaWidth, areaHeight, area2X, area2Y, area2Width, area2Height;
    int value1, value2, value3, value4, layerIndex, value5, value6, value7, value8;
    quint8 flag1, flag2, flag3;
    int value9, value10, value11;
    QString text;
};
struct _SceneBank_Record
{
    QVector<_SceneLayer_Record> *pLayerVec;
    int value1, value2, value3, value4;
    quint8 flag1, flag2;
    QVector<quint8> *pOutputFlagVec;
};
struct _SceneOutput_Record { int values[29]; int value30; };
struct _SceneContainer_Record { int values[5]; };

#pragma pack(push, 1)
class ModelScene
{
public:
    ModelScene();
    ~ModelScene();
    void initMaxParams(int deviceCode);
    void initParam(int deviceCode);
    void clearParams();
    int getMaxSourceCount();
    int getMaxBankCount();
    int getMaxBankNameLength();
    int getMaxLayerCount();
    int getMaxOutputCount();
    int getMaxContainerCount();
    int getMaxInputBoardCount();

    int m_deviceCode;
    QVector<_SceneLayer_Record> *m_pLayerVec;
    QVector<_SceneBank_Record> *m_pBankVec;
    QVector<QVector<_SceneOutput_Record>> *m_pBankOutputVec;
    QList<_SceneContainer_Record> m_containerList;
    QList<_Int12_Record> m_sourceList;
    int m_initConstant, m_value1, m_value2;
    quint8 m_flag1, m_flag2;
    int m_value3;
    quint8 m_data[32];
    quint8 m_flag3;
    int m_maxSourceCount, m_maxBankCount, m_maxBankNameLength, m_maxLayerCount, m_maxOutputCount;
    int m_maxContainerCount, m_maxInputBoardCount;
};
#pragma pack(pop)

struct _BankPlayerItem_Record { int value1; QString text1, text2, text3, text4, text5; };

#pragma pack(push, 1)
class ModelBankPlayer
{
public:
    ModelBankPlayer();
    ~ModelBankPlayer();
    void initMaxParams(int deviceCode);
    void initParam(int deviceCode);
    void clearParams();
    int getMaxBankCount();
    int getMaxOutputCount();

    int m_deviceCode, m_initConstant;
    int m_value1, m_value2, m_value3, m_value4, m_value5, m_value6, m_value7;
    quint8 m_flag1;
    int m_value8;
    QVector<quint8> m_bankBytes1;
    int m_bankValues1[16], m_bankIndex1[16], m_bankValues2[16], m_bankValues3[16];
    int m_bankValues4[16];
    quint8 m_flag2;
    int m_bankValues5[16], m_bankIndex2[16], m_bankValues6[16], m_bankValues7[16];
    int m_bankValues8[16];
    QVector<quint8> m_bankBytes2;
    int m_value9, m_value10;
    _BankPlayerItem_Record m_items1[255];
    quint8 m_spareBytes[8];
    _BankPlayerItem_Record m_items2[255];
    int m_maxBankCount, m_maxOutputCount;
};
#pragma pack(pop)

struct _ICGroup_Record { int values[8]; QString text1, text2; };
struct _ICSignalGroup_Record { int value1; QString text1, text2, text3; };
struct _ICPort_Record { int value1; quint8 flag1; QString texts[10]; quint8 flag2, flag3, flag4; };
struct _UserList_Destktop
{
    QString userName, text1;
    int value1, value2, value3;
    QString text2, text3, text4;
    int value4;
};

class ModelIC
{
public:
    ModelIC();
    ~ModelIC();
    void initMaxParams(int deviceCode);
    void initParam(int deviceCode);
    void clearParams();
    void resetUserInfo(int index, _UserList_Destktop &user);
    int getMaxGroupCount();
    int getMaxSignalGroupCount();
    int getMaxInPortCount();
    int getMaxOutPortCount();
    int getMaxUserCount();

    QList<_ICGroup_Record> m_groupList;
    QList<_ICSignalGroup_Record> m_signalGroupList;
    QList<_ICPort_Record> m_inPortList;
    QList<_ICPort_Record> m_outPortList;
    QList<_UserList_Destktop> m_userList;
    int m_deviceCode, m_initConstant;
    int m_maxGroupCount, m_maxSignalGroupCount, m_maxInPortCount, m_maxOutPortCount;
    int m_maxUserCount;
};

class model_GlobalEnum
{
public:
    model_GlobalEnum();
    ~model_GlobalEnum();
    static QString getOutputPortNameByType(int type);
    static QString getInputPortNameByType(int type);
};

struct _OledKey_Param
{
    quint8 color, mode, bright, oLedShowMode, icon;
    quint8 firstStringLen, secondStringLen, thirdStringLen;
    char firstString[31], secondString[31], thirdString[31];
};

class Model_QuorParam
{
public:
    Model_QuorParam();
    ~Model_QuorParam();
    void initKeyBoradData();
    void resetShortcutOled(int page, int index);
    void initShortcuts(bool gridLabels);
    void initOLEDTest();
    void initOLEDIconTest();
    void printAllData(int pageCount, int keyGroup);
    static int gOledLength;

    quint32 m_word1;
    int m_interval, m_value1;
    quint8 m_flag1;
    int m_value2;
    quint32 m_word2;
    _OledKey_Param m_presetKeys[5][16], m_shortcutKeys[5][16], m_layerKeys[10][16];
    _OledKey_Param m_outputKeys[5][16], m_inputKeys[5][16], m_commonKeys[6][100];
    QMap<int, int> m_map;
};

class model_topology_param
{
public:
    model_topology_param();
    ~model_topology_param();
    void setTPLYModuleData(QString path, QJsonArray modules);
    QJsonArray getTPLYModuleData(QString path);

    QString m_text1;
    quint32 m_word1;
    QString m_text2, m_text3;
    int m_value1;
    quint32 m_word2;
    QString m_text4, m_text5, m_text6;
    quint32 m_word3;
    int m_value2, m_value3, m_value4;
    quint32 m_word4, m_word5;
    int m_slotValuesA[256], m_slotValuesB[256];
    QString m_slotTextsA[256], m_slotTextsB[256];
    QString m_text7;
};

class model_API_param
{
public:
    model_API_param();
    virtual ~model_API_param();
    void clearData();
    void clearNetData();

    QString m_apiText1, m_apiText2;
    int m_apiNumber1, m_apiNumber2, m_apiNumber3, m_apiNumber4;
    QString m_netText1, m_netText2, m_netText3;
    int m_apiNumber5, m_apiNumber6, m_apiNumber7, m_apiNumber8;
};

class model_Protocoldata
{
public:
    model_Protocoldata();
    ~model_Protocoldata();

    QString m_ipAddress1;
    quint8 m_protoByte1;
    QString m_ipAddress2;
    quint8 m_protoByte2;
    quint16 m_protoWord1, m_protoWord2;
    quint8 m_protoByte3;
    quint16 m_protoWord3, m_protoWord4, m_protoWord5;
    quint8 m_protoByte4, m_protoByte5, m_protoByte6, m_protoByte7, m_protoByte8, m_protoByte9;
    quint8 m_protoByte10;
    int m_protoNumber1;
    QString m_protoText;
    QByteArray m_protoData;
    quint8 m_protoByte11;
    int m_protoNumber2;
};

class model_OsdParam
{
public:
    model_OsdParam();
    ~model_OsdParam();

    quint8 m_osdByte1, m_osdByte2, m_osdByte3, m_osdByte4, m_osdByte5, m_osdByte6, m_osdByte7;
    quint8 m_osdByte8, m_osdByte9, m_osdByte10, m_osdByte11;
    QString m_osdText1;
    quint8 m_osdByte12;
    int m_osdNumber1;
    QString m_osdText2;
    QByteArray m_osdData;
    int m_osdNumber2;
};
// clang-format on

// ---- The client ---------------------------------------------------------------------------------

namespace {

// One object of T, constructed by the library in storage of the size declared above followed by
// guard bytes. The constructor writes the object as the library knows it, so a guard byte that
// changes means the library's class is larger than this declaration; one that is smaller shows in
// the values read from the last members.
template<typename T>
class Guarded
{
public:
    Guarded()
        : m_bytes(new unsigned char[sizeof(T) + GuardSize])
    {
        std::memset(m_bytes.get(), Pattern, sizeof(T) + GuardSize);
        m_object = new (m_bytes.get()) T;
    }
    ~Guarded() { m_object->~T(); }
    Q_DISABLE_COPY_MOVE(Guarded)

    T *operator->() const { return m_object; }
    bool guardIntact() const
    {
        const unsigned char *guard = m_bytes.get() + sizeof(T);
        return std::all_of(guard, guard + GuardSize, [](unsigned char b) { return b == Pattern; });
    }

private:
    static constexpr std::size_t GuardSize = 64;
    static constexpr unsigned char Pattern = 0xA5;
    std::unique_ptr<unsigned char[]> m_bytes;
    T *m_object;
};

QString text(const char *field)
{
    return QString::fromLatin1(field);
}

} // namespace

class ClientDeclarationTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void processor()
    {
        const Guarded<ModelCalyth> m;
        m->initMaxParams(0x250300);
        m->initParam(0x250300);
        QVERIFY(m.guardIntact());
        // Every getter against the member the client reads directly, in the documented order.
        // clang-format off
        const QVector<int> getters{
            m->getMaxPreOutputCount(), m->getMaxPreOutputGroup(), m->getMaxLinkOutputCount(),
            m->getMaxLinkOutputGroup(), m->getMaxOutputCount(), m->getMaxSourceCount(),
            m->getMaxBankCount(), m->getMaxBankNameLength(), m->getMaxLayerCount(),
            m->getMaxPageCount(), m->getMaxInputBoardCount(), m->getMaxOutPutBoardCount(),
            m->getMaxInputBoardPortCount(), m->getMaxOutputBoardPortCount(),
            m->getMaxContainerCount(), m->getMaxContainerName(), m->getMaxOneMonitorLayerCount(),
            m->getMaxPvwBoardCount()};
        QCOMPARE(getters,
                 (QVector<int>{8, 4, 4, 2, 32, 32, 16, 16, 384, 16, 8, 8, 4, 4, 4, 32, 48, 1}));
        const QVector<int> members{
            m->m_maxPreOutputCount, m->m_maxPreOutputGroup, m->m_maxLinkOutputCount,
            m->m_maxLinkOutputGroup, m->m_maxOutputCount, m->m_maxSourceCount,
            m->m_maxBankCount, m->m_maxBankNameLength, m->m_maxLayerCount,
            m->m_maxPageCount, m->m_maxInputBoardCount, m->m_maxOutPutBoardCount,
            m->m_maxInputBoardPortCount, m->m_maxOutputBoardPortCount,
            m->m_maxContainerCount, m->m_maxContainerName, m->m_maxMonitorLayerCount,
            m->m_maxPvwBoardCount};
        // clang-format on
        QCOMPARE(members, getters);
        QCOMPARE((QVector<int>{m->m_deviceCode, m->m_initConstant, m->m_resolutionWidth,
                               m->m_value11, m->m_value15, m->m_pOutputVecF->value(31),
                               m->m_sourceWindowList.value(31).height2,
                               m->m_inputPortList.value(7).portValues2.value(3),
                               m->m_containerList.value(3).outputValues.value(31),
                               int(m->m_outputRecGList.size()), int(m->m_pLayerVec->size())}),
                 (QVector<int>{0x250300, 3000, 1920, 30, 7680, 128, 1080, 10, -1, 33, 384}));

        m->clearParams();
        QCOMPARE((QVector<int>{int(m->m_sourceWindowList.size()), int(m->m_pOutputVecA->size())}),
                 (QVector<int>{0, 32}));

        // Destroyed through a pointer: the virtual destructor of the library's vtable.
        ModelCalyth *owned = new ModelCalyth;
        delete owned;
    }

    void scene()
    {
        const Guarded<ModelScene> m;
        m->initMaxParams(0x250301);
        m->initParam(0x250301);
        QVERIFY(m.guardIntact());
        const QVector<int> getters{m->getMaxSourceCount(),    m->getMaxBankCount(),
                                   m->getMaxBankNameLength(), m->getMaxLayerCount(),
                                   m->getMaxOutputCount(),    m->getMaxContainerCount(),
                                   m->getMaxInputBoardCount()};
        QCOMPARE(getters, (QVector<int>{64, 16, 16, 768, 64, 4, 16}));
        QCOMPARE((QVector<int>{m->m_maxSourceCount, m->m_maxBankCount, m->m_maxBankNameLength,
                               m->m_maxLayerCount, m->m_maxOutputCount, m->m_maxContainerCount,
                               m->m_maxInputBoardCount}),
                 getters);
        const _SceneBank_Record &bank = m->m_pBankVec->at(15);
        QCOMPARE(
            (QVector<int>{m->m_initConstant, m->m_value2, bank.pLayerVec->at(5).layerIndex,
                          bank.pOutputFlagVec->value(63), int(m->m_pBankOutputVec->at(15).size()),
                          m->m_pBankOutputVec->at(15).at(63).value30}),
            (QVector<int>{3000, 1, 5, 1, 64, 255}));
        m->clearParams();
        QCOMPARE((QVector<int>{int(m->m_sourceList.size()), int(m->m_pLayerVec->size())}),
                 (QVector<int>{0, 768}));
    }

    void bankPlayer()
    {
        const Guarded<ModelBankPlayer> m;
        m->m_items2[254].text5 = QStringLiteral("client");
        m->initMaxParams(0x900000);
        m->initParam(0x900000);
        QVERIFY(m.guardIntact());
        QCOMPARE((QVector<int>{m->getMaxBankCount(), m->getMaxOutputCount()}),
                 (QVector<int>{m->m_maxBankCount, m->m_maxOutputCount}));
        QCOMPARE((QVector<int>{m->getMaxOutputCount(), m->m_bankIndex2[15],
                               int(m->m_bankBytes2.size())}),
                 (QVector<int>{144, 15, 128}));
        QCOMPARE(m->m_items2[254].text5, QStringLiteral("client"));
        m->clearParams();
        QCOMPARE(int(m->m_bankBytes1.size()), 0);
    }

    void ic()
    {
        const Guarded<ModelIC> m;
        QVERIFY(m.guardIntact());
        QCOMPARE(
            (QVector<int>{m->getMaxGroupCount(), m->getMaxSignalGroupCount(),
                          m->getMaxInPortCount(), m->getMaxOutPortCount(), m->getMaxUserCount()}),
            (QVector<int>{m->m_maxGroupCount, m->m_maxSignalGroupCount, m->m_maxInPortCount,
                          m->m_maxOutPortCount, 40}));
        _UserList_Destktop user{QStringLiteral("client"), {}, 7, 7, 7, {}, {}, {}, 7};
        m->resetUserInfo(39, user);
        QCOMPARE(user.userName, QStringLiteral("user"));
        QCOMPARE(m->m_userList.value(39).value3, 1);
        QCOMPARE(m->m_inPortList.value(79).value1, -1);

        {
            const LogCapture log;
            m->initMaxParams(0x2D0002);
            m->initParam(0x2D0002);
            QCOMPARE(log.contexts(), repeated(2, LogCapture::libraryContext(QtWarningMsg)));
            QCOMPARE(log.texts(), repeated(2, QStringLiteral("---ModelIC m_maxGroupCount = 0")));
        }
        QCOMPARE((QVector<int>{m->m_deviceCode, m->getMaxUserCount(), int(m->m_userList.size())}),
                 (QVector<int>{0x2D0002, 0, 0}));
        m->clearParams();
        QCOMPARE(int(m->m_groupList.size()), 0);
    }

    void portNames()
    {
        const Guarded<model_GlobalEnum> names;
        QCOMPARE(model_GlobalEnum::getOutputPortNameByType(2), QStringLiteral("DVI"));
        QCOMPARE(model_GlobalEnum::getInputPortNameByType(2), QStringLiteral("HDMI"));
    }

    void keyboard()
    {
        const Guarded<Model_QuorParam> m;
        QVERIFY(m.guardIntact());
        QCOMPARE((QVector<int>{m->m_interval, m->m_value1, int(m->m_map.size())}),
                 (QVector<int>{3000, -1, 0}));
        QCOMPARE(text(m->m_presetKeys[0][0].firstString), QStringLiteral("PST"));

        m->initOLEDTest();
        QCOMPARE(text(m->m_presetKeys[0][0].secondString), QStringLiteral("P   17"));
        QCOMPARE(text(m->m_commonKeys[3][0].firstString), QStringLiteral("U 4"));
        m->resetShortcutOled(0, 0);
        QCOMPARE(text(m->m_shortcutKeys[0][0].firstString), QStringLiteral("SCT"));
        QCOMPARE(text(m->m_shortcutKeys[0][1].firstString), QStringLiteral("S   2"));
        m->initOLEDIconTest();
        QCOMPARE(int(m->m_commonKeys[5][99].icon), 37);
        m->initKeyBoradData();
        QCOMPARE(text(m->m_inputKeys[3][15].firstString), QStringLiteral("IN"));

        // The library's own gOledLength: how many bytes of a grid label it writes.
        QCOMPARE(Model_QuorParam::gOledLength, 30);
        Model_QuorParam::gOledLength = 2;
        std::memset(m->m_shortcutKeys[0][0].secondString, 0, 31);
        m->initShortcuts(true);
        Model_QuorParam::gOledLength = 30;
        QCOMPARE(text(m->m_shortcutKeys[0][0].secondString), QStringLiteral("1X"));
        m->initShortcuts(false);
        QCOMPARE(text(m->m_shortcutKeys[0][0].secondString), QStringLiteral("TONE"));

        const LogCapture log;
        m->printAllData(1, 1);
        QCOMPARE(log.contexts(), repeated(38, LogCapture::libraryContext(QtDebugMsg)));
    }

    // The file operations take the object as every member does: the file lands at the path passed
    // and the object, whose first string names a file of its own, stays as it was.
    void topology()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("topology.ini"));
        const QString decoy = dir.filePath(QStringLiteral("decoy.ini"));
        const QByteArray decoyBytes("[0]\nname=decoy\n");
        QFile decoyFile(decoy);
        QVERIFY(decoyFile.open(QIODevice::WriteOnly) && decoyFile.write(decoyBytes) > 0);
        decoyFile.close();

        const Guarded<model_topology_param> t;
        QVERIFY(t.guardIntact());
        QCOMPARE((QVector<int>{t->m_value1, t->m_value4, t->m_slotValuesB[255]}),
                 (QVector<int>{1, 0, -1}));
        QVERIFY(t->m_text7.isEmpty());
        t->m_text1 = decoy;
        t->m_text2 = QStringLiteral("two");
        t->m_slotTextsB[255] = QStringLiteral("last slot");
        t->m_text7 = QStringLiteral("seven");
        const auto strings = [&t] {
            return QStringList{t->m_text1, t->m_text2, t->m_slotTextsB[255], t->m_text7};
        };
        const QStringList before = strings();

        t->setTPLYModuleData(
            path,
            QJsonArray{QJsonObject{{QStringLiteral("name"), "left"}, {QStringLiteral("slot"), 3}}});
        QCOMPARE(t->getTPLYModuleData(path),
                 (QJsonArray{QJsonObject{{QStringLiteral("name"), "left"},
                                         {QStringLiteral("slot"), "3"}}}));
        QCOMPARE(strings(), before);
        QVERIFY(decoyFile.open(QIODevice::ReadOnly));
        QCOMPARE(decoyFile.readAll(), decoyBytes);
    }

    void records()
    {
        {
            const Guarded<model_API_param> api;
            QVERIFY(api.guardIntact());
            QCOMPARE((QVector<int>{api->m_apiNumber1, api->m_apiNumber7, api->m_apiNumber8}),
                     (QVector<int>{-1, -1, 0}));
            api->m_apiText1 = api->m_netText3 = QStringLiteral("client");
            api->clearNetData();
            QCOMPARE((QStringList{api->m_apiText1, api->m_netText3}),
                     (QStringList{QStringLiteral("client"), QString()}));
            api->m_apiNumber7 = 5;
            api->clearData();
            QCOMPARE(api->m_apiNumber7, -1);
            QVERIFY(api->m_apiText1.isEmpty());
            model_API_param *owned = new model_API_param;
            delete owned;
        }
        {
            const Guarded<model_Protocoldata> protocol;
            QVERIFY(protocol.guardIntact());
            QCOMPARE(protocol->m_ipAddress2, QStringLiteral("100.100.100.100"));
            QCOMPARE((QVector<int>{protocol->m_protoWord2, protocol->m_protoNumber1,
                                   protocol->m_protoNumber2}),
                     (QVector<int>{0xF11F, 3000, -1}));
        }
        {
            const Guarded<model_OsdParam> osd;
            QVERIFY(osd.guardIntact());
            QCOMPARE((QVector<int>{osd->m_osdByte4, osd->m_osdByte11, osd->m_osdNumber1,
                                   osd->m_osdNumber2}),
                     (QVector<int>{0xDC, 0x0A, 3000, -1}));
        }
    }
};

QTEST_GUILESS_MAIN(ClientDeclarationTest)
#include "clientdeclarationtest.moc"
