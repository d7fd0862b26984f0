// A client of the library as its documentation describes the interface: this program declares the
// exported classes itself, operation by operation, includes no header of the library (its build
// gives it no include path to them) and links against the library file. An operation exported in
// another form than declared here either fails the link (a const member function has another
// symbol name) or fails below at run time (a static member has the same name but takes no object,
// so the object lands where the first argument belongs). So does a class that the library builds
// larger than declared here, and a log message without its category.
//
// The data members stay opaque: the client reserves the library's object size for its flavour and
// reads the object only through the library's own operations. Where each member lies is the
// business of the interface baseline, which compares every offset.

#include "logcapture.h"

#include <QtTest/QtTest>

#include <algorithm>
#include <new>
#include <vector>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#define FLAVOUR_SIZE(qt5, qt6) (qt6)
#else
#define FLAVOUR_SIZE(qt5, qt6) (qt5)
#endif

// The object bytes behind a class's own virtual table pointer, if it has one.
#define OPAQUE(qt5, qt6, below) unsigned char m_opaque[FLAVOUR_SIZE(qt5, qt6) - (below)]

// clang-format off
struct _UserList_Destktop
{
    QString userName, text1; int value1, value2, value3; QString text2, text3, text4; int value4;
};

#pragma pack(push, 1)
class ModelCalyth { public: ModelCalyth(); virtual ~ModelCalyth();
    void initParam(int deviceCode); void clearParams(); void initMaxParams(int deviceCode);
    int getMaxPreOutputCount(); int getMaxPreOutputGroup(); int getMaxLinkOutputCount();
    int getMaxLinkOutputGroup(); int getMaxOutputCount(); int getMaxSourceCount();
    int getMaxBankCount(); int getMaxBankNameLength(); int getMaxLayerCount();
    int getMaxPageCount(); int getMaxInputBoardCount(); int getMaxOutPutBoardCount();
    int getMaxInputBoardPortCount(); int getMaxOutputBoardPortCount(); int getMaxContainerCount();
    int getMaxContainerName(); int getMaxOneMonitorLayerCount(); int getMaxPvwBoardCount();
private: OPAQUE(1127, 1991, sizeof(void *)); };

class ModelScene { public: ModelScene(); ~ModelScene();
    void initMaxParams(int deviceCode); void initParam(int deviceCode); void clearParams();
    int getMaxSourceCount(); int getMaxBankCount(); int getMaxLayerCount(); int getMaxOutputCount();
    int getMaxBankNameLength(); int getMaxContainerCount(); int getMaxInputBoardCount();
private: OPAQUE(123, 155, 0); };

class ModelBankPlayer { public: ModelBankPlayer(); ~ModelBankPlayer();
    void initMaxParams(int deviceCode); void initParam(int deviceCode); void clearParams();
    int getMaxBankCount(); int getMaxOutputCount();
private: OPAQUE(25202, 66034, 0); };
#pragma pack(pop)

class ModelIC { public: ModelIC(); ~ModelIC();
    void initMaxParams(int deviceCode); void initParam(int deviceCode); void clearParams();
    void resetUserInfo(int index, _UserList_Destktop &user); int getMaxGroupCount();
    int getMaxSignalGroupCount(); int getMaxInPortCount(); int getMaxOutPortCount();
    int getMaxUserCount();
private: alignas(8) OPAQUE(72, 152, 0); };

class model_GlobalEnum { public: model_GlobalEnum(); ~model_GlobalEnum();
    static QString getOutputPortNameByType(int type);
    static QString getInputPortNameByType(int type); };

class Model_QuorParam { public: Model_QuorParam(); ~Model_QuorParam();
    void initKeyBoradData(); void resetShortcutOled(int page, int index);
    void initShortcuts(bool gridLabels); void initOLEDTest(); void initOLEDIconTest();
    void printAllData(int pageCount, int keyGroup); static int gOledLength;
private: alignas(8) OPAQUE(109112, 109112, 0); };

class model_topology_param { public: model_topology_param(); ~model_topology_param();
    void setTPLYModuleData(QString path, QJsonArray modules);
    QJsonArray getTPLYModuleData(QString path); private: alignas(8) OPAQUE(6240, 14544, 0); };

class model_API_param { public: model_API_param(); virtual ~model_API_param();
    void clearData(); void clearNetData();
private: alignas(8) OPAQUE(80, 160, sizeof(void *)); };

class model_Protocoldata { public: model_Protocoldata(); ~model_Protocoldata();
private: alignas(8) OPAQUE(80, 144, 0); };

class model_OsdParam { public: model_OsdParam(); ~model_OsdParam();
private: alignas(8) OPAQUE(56, 104, 0); };
// clang-format on

namespace {

// One object of T, constructed by the library in storage of the size declared above followed by
// guard bytes. The library writes the object as it knows it, so a guard byte that has changed by
// the object's end means the library's class is larger than this declaration.
template<typename T>
struct Guarded
{
    static constexpr unsigned char Pattern = 0xA5;
    std::vector<unsigned char> bytes = std::vector<unsigned char>(sizeof(T) + 64, Pattern);
    T *const object = new (bytes.data()) T;
    ~Guarded()
    {
        object->~T();
        QVERIFY2(std::all_of(bytes.begin() + sizeof(T), bytes.end(),
                             [](unsigned char b) { return b == Pattern; }),
                 "the library's class is larger than declared here");
    }
    T *operator->() const { return object; }
};

// Two objects of one class set up for different devices answer differently: every getter reads
// its own object.
template<typename T>
void checkCapacities(QVector<int> (*capacities)(T &), int code, int otherCode,
                     const QVector<int> &expected)
{
    const Guarded<T> model, other;
    model->initMaxParams(code);
    model->initParam(code);
    other->initMaxParams(otherCode);
    QCOMPARE(capacities(*model.object), expected);
    QVERIFY(capacities(*other.object) != expected);
    model->clearParams();
}

QVector<int> processorCapacities(ModelCalyth &m)
{
    return {
        m.getMaxPreOutputCount(),      m.getMaxPreOutputGroup(),       m.getMaxLinkOutputCount(),
        m.getMaxLinkOutputGroup(),     m.getMaxOutputCount(),          m.getMaxSourceCount(),
        m.getMaxBankCount(),           m.getMaxBankNameLength(),       m.getMaxLayerCount(),
        m.getMaxPageCount(),           m.getMaxInputBoardCount(),      m.getMaxOutPutBoardCount(),
        m.getMaxInputBoardPortCount(), m.getMaxOutputBoardPortCount(), m.getMaxContainerCount(),
        m.getMaxContainerName(),       m.getMaxOneMonitorLayerCount(), m.getMaxPvwBoardCount()};
}

QVector<int> sceneCapacities(ModelScene &m)
{
    return {m.getMaxSourceCount(),    m.getMaxBankCount(),   m.getMaxBankNameLength(),
            m.getMaxLayerCount(),     m.getMaxOutputCount(), m.getMaxContainerCount(),
            m.getMaxInputBoardCount()};
}

QVector<int> playerCapacities(ModelBankPlayer &m)
{
    return {m.getMaxBankCount(), m.getMaxOutputCount()};
}

QVector<int> icCapacities(ModelIC &m)
{
    return {m.getMaxGroupCount(), m.getMaxSignalGroupCount(), m.getMaxInPortCount(),
            m.getMaxOutPortCount(), m.getMaxUserCount()};
}

} // namespace

class ClientDeclarationTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacities()
    {
        checkCapacities(processorCapacities, 0x250300, 0x900000,
                        {8, 4, 4, 2, 32, 32, 16, 16, 384, 16, 8, 8, 4, 4, 4, 32, 48, 1});
        checkCapacities(sceneCapacities, 0x250301, 0x900000, {64, 16, 16, 768, 64, 4, 16});
        checkCapacities(playerCapacities, 0x900000, 0x250300, {16, 144});

        const Guarded<ModelIC> ic;
        QCOMPARE(ic->getMaxUserCount(), 40);
        _UserList_Destktop user{"client", {}, 7, 7, 7, {}, {}, {}, 7};
        ic->resetUserInfo(39, user);
        QCOMPARE(user.userName, "user");

        // A code that the IC model does not know warns, with the category of the library's
        // messages.
        const LogCapture log;
        checkCapacities(icCapacities, 0x2D0000, 0x2D0002, {80, 80, 80, 80, 40});
        QCOMPARE(log.contexts(), QStringList{LogCapture::libraryContext(QtWarningMsg)});
        QCOMPARE(log.texts(), QStringList{"---ModelIC m_maxGroupCount = 0"});
    }

    // The file operations take the object as every member does: the file lands at the path
    // passed. The records have no read-back of their own.
    void others()
    {
        QTemporaryDir dir;
        const Guarded<model_topology_param> t;
        t->setTPLYModuleData(dir.filePath("t.ini"), {QJsonObject{{"name", "left"}, {"slot", 3}}});
        QCOMPARE(t->getTPLYModuleData(dir.filePath("t.ini")),
                 (QJsonArray{QJsonObject{{"name", "left"}, {"slot", "3"}}}));

        const Guarded<model_GlobalEnum> names;
        QCOMPARE(model_GlobalEnum::getOutputPortNameByType(2), "DVI");
        QCOMPARE(model_GlobalEnum::getInputPortNameByType(2), "HDMI");
        const Guarded<model_API_param> api;
        api->clearData();
        api->clearNetData();
        const Guarded<model_Protocoldata> protocol;
        const Guarded<model_OsdParam> osd;
        // Destroyed through a pointer: the virtual destructors of the library's vtables.
        delete new ModelCalyth;
        delete new model_API_param;

        // The keyboard's one read-back is its dump: what the operations wrote into this object
        // shows in it.
        const Guarded<Model_QuorParam> keyboard;
        keyboard->initOLEDTest();
        keyboard->initOLEDIconTest();
        keyboard->resetShortcutOled(0, 0);
        keyboard->initKeyBoradData();
        QCOMPARE(Model_QuorParam::gOledLength, 30);
        Model_QuorParam::gOledLength = 2;
        keyboard->initShortcuts(true);
        Model_QuorParam::gOledLength = 30;

        const LogCapture log;
        keyboard->printAllData(1, 2);
        QCOMPARE(log.contexts(), repeated(38, LogCapture::libraryContext(QtDebugMsg)));
        // The first shortcut key: its second text starts with the '1' of the grid label.
        QVERIFY2(log.texts().value(1).contains("-- [ 49 ]["), qPrintable(log.texts().value(1)));
    }
};

QTEST_GUILESS_MAIN(ClientDeclarationTest)
#include "clientdeclarationtest.moc"
