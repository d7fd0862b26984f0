#ifndef MODEL_IC_MODELIC_H
#define MODEL_IC_MODELIC_H

#include <model/model_export.h>

#include <QtCore/QList>
#include <QtCore/QString>

// Records of the IC parameter tree. Each field carries its default, so a default-constructed
// record is the record the model appends. Their meanings belong to the client; the model fixes
// only types, order and defaults. Records keep their natural layout.

// One group.
struct _ICGroup_Record
{
    int value1 = 0;
    int value2 = 0;
    int value3 = 0;
    int value4 = 0;
    int value5 = 0;
    int value6 = 0;
    int value7 = 0;
    int value8 = 0;
    QString text1;
    QString text2;
};

// One signal group.
struct _ICSignalGroup_Record
{
    int value1 = 0;
    QString text1;
    QString text2;
    QString text3;
};

// One port; input and output ports share the type and the defaults.
struct _ICPort_Record
{
    int value1 = -1;
    quint8 flag1 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    QString text6;
    QString text7;
    QString text8;
    QString text9;
    QString text10;
    quint8 flag2 = 0;
    quint8 flag3 = 0;
    quint8 flag4 = 0;
};

// One user. A default-constructed record is the default user "user" that
// ModelIC::resetUserInfo() writes.
struct _UserList_Destktop
{
    QString userName = QStringLiteral("user");
    QString text1;
    int value1 = 1;
    int value2 = 0;
    int value3 = 1;
    QString text2;
    QString text3;
    QString text4;
    int value4 = 0;
};

Q_DECLARE_TYPEINFO(_ICGroup_Record, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(_ICSignalGroup_Record, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(_ICPort_Record, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(_UserList_Destktop, Q_MOVABLE_TYPE);

// The parameter model of one IC device: groups, signal groups, input ports, output ports and
// users, one list each, sized by the capacities of the device code.
//
// Binary layout: the client reads members at fixed offsets, so the members below keep their
// order and types; the class has natural alignment and no vtable. Everything is held by value,
// so a copy of the model is an independent model (its strings are shared until written).
class MODEL_EXPORT ModelIC
{
public:
    // Holds the tree of device code 0x2D0001 right away.
    ModelIC();
    ~ModelIC();
    ModelIC(const ModelIC &) = default;
    ModelIC &operator=(const ModelIC &) = default;
    ModelIC(ModelIC &&) = default;
    ModelIC &operator=(ModelIC &&) = default;

    // Sets the capacities of deviceCode. An unknown code logs a warning and leaves the model
    // without users; the other four capacities keep the values they had.
    void initMaxParams(int deviceCode);
    // Rebuilds every list with defaults for deviceCode; every value written before is gone.
    void initParam(int deviceCode);
    // Empties the five lists; capacities, m_deviceCode and m_initConstant stay.
    void clearParams();
    // Overwrites user with the default user if index is a valid user index (0 to
    // getMaxUserCount() - 1), and leaves it untouched otherwise. Never writes m_userList.
    void resetUserInfo(int index, _UserList_Destktop &user) const;

    int getMaxGroupCount() const;
    int getMaxSignalGroupCount() const;
    int getMaxInPortCount() const;
    int getMaxOutPortCount() const;
    int getMaxUserCount() const;

    QList<_ICGroup_Record> m_groupList;             // per group
    QList<_ICSignalGroup_Record> m_signalGroupList; // per signal group
    QList<_ICPort_Record> m_inPortList;             // per input port
    QList<_ICPort_Record> m_outPortList;            // per output port
    QList<_UserList_Destktop> m_userList;           // per user, each the default user
    int m_deviceCode = 0;
    int m_initConstant = 0; // 3000 after every initParam(); the model never reads it

    // Capacities: written only by initMaxParams().
    int m_maxGroupCount = 0;
    int m_maxSignalGroupCount = 0;
    int m_maxInPortCount = 0;
    int m_maxOutPortCount = 0;
    int m_maxUserCount = 0;
};

#endif // MODEL_IC_MODELIC_H
