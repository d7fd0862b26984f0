#ifndef MODEL_IC_MODELIC_H
#define MODEL_IC_MODELIC_H

#include <model/model_export.h>

#include <QtCore/QList>
#include <QtCore/QString>

// Records of the IC parameter tree. Each field carries its default, so a default-constructed
// record is the record the model appends. Their meanings belong to the client; the model fixes
// only types, order and defaults. Records keep their natural layout.

/// One group's entry of ModelIC::m_groupList: eight numbers and two texts.
struct _ICGroup_Record
{
    ///@{
    /// A number of the client's, 0 by default.
    int value1 = 0;
    int value2 = 0;
    int value3 = 0;
    int value4 = 0;
    int value5 = 0;
    int value6 = 0;
    int value7 = 0;
    int value8 = 0;
    ///@}
    ///@{
    /// A text of the client's, empty by default.
    QString text1;
    QString text2;
    ///@}
};

/// One signal group's entry of ModelIC::m_signalGroupList: a number and three texts.
struct _ICSignalGroup_Record
{
    /// A number of the client's, 0 by default.
    int value1 = 0;
    ///@{
    /// A text of the client's, empty by default.
    QString text1;
    QString text2;
    QString text3;
    ///@}
};

/// One port's entry of ModelIC::m_inPortList or ModelIC::m_outPortList; input and output ports
/// share the type and the defaults.
struct _ICPort_Record
{
    /// A number of the client's, -1 by default.
    int value1 = -1;
    /// A flag of the client's, 0 by default.
    quint8 flag1 = 0;
    ///@{
    /// A text of the client's, empty by default.
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
    ///@}
    ///@{
    /// A flag of the client's, 0 by default.
    quint8 flag2 = 0;
    quint8 flag3 = 0;
    quint8 flag4 = 0;
    ///@}
};

/// One user's entry of ModelIC::m_userList. A default-constructed record is the default user
/// "user" that ModelIC::resetUserInfo() writes and ModelIC::initParam() appends.
struct _UserList_Destktop
{
    /// The user's name, "user" by default.
    QString userName = QStringLiteral("user");
    /// A text of the client's, empty by default.
    QString text1;
    ///@{
    /// A number of the client's, at the default of its initialiser.
    int value1 = 1;
    int value2 = 0;
    int value3 = 1;
    ///@}
    ///@{
    /// A text of the client's, empty by default.
    QString text2;
    QString text3;
    QString text4;
    ///@}
    /// A number of the client's, 0 by default.
    int value4 = 0;
};

Q_DECLARE_TYPEINFO(_ICGroup_Record, MODEL_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(_ICSignalGroup_Record, MODEL_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(_ICPort_Record, MODEL_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(_UserList_Destktop, MODEL_RELOCATABLE_TYPE);

/// The parameter model of one IC device: groups, signal groups, input ports, output ports and
/// users, one list each, sized by the capacities of the device code.
///
/// The client creates one model per IC device, calls initParam() with the device code the device
/// reported, and then reads and writes the lists directly, indexed from 0. A new model already
/// holds the tree of device code 0x2D0001: 80 groups, 80 signal groups, 80 input ports, 80 output
/// ports and 40 users, every record at the default its fields carry.
///
/// Binary layout: the client reads members at fixed offsets, so the members below keep their
/// order and types; the class has natural alignment and no vtable. Everything is held by value,
/// so a copy of the model is an independent model (its strings are shared until written).
class MODEL_EXPORT ModelIC
{
public:
    /// Builds the complete tree of device code 0x2D0001, so a new model is never empty.
    ModelIC();
    /// Releases the five lists.
    ~ModelIC();
    ModelIC(const ModelIC &) = default;            ///< Member-wise copy.
    ModelIC &operator=(const ModelIC &) = default; ///< Member-wise copy.
    ModelIC(ModelIC &&) = default;                 ///< Member-wise move.
    ModelIC &operator=(ModelIC &&) = default;      ///< Member-wise move.

    /// Sets the capacities from a known device code, 0x2D0000 or 0x2D0001. An unknown code logs
    /// the warning "---ModelIC m_maxGroupCount = 0" (category "default", without file, line or
    /// function) and sets only the user capacity to 0: the other four keep the values they had, so
    /// the next initParam() builds no users.
    void initMaxParams(int deviceCode);
    /// Rebuilds every list with defaults for deviceCode; every value written before is gone. An
    /// unknown code is stored in m_deviceCode and warns as initMaxParams() does; the lists get the
    /// sizes of the last known code, and no users.
    void initParam(int deviceCode);
    /// Empties the five lists; capacities, m_deviceCode and m_initConstant stay.
    void clearParams();
    /// Overwrites user with the default user if index is a valid user index (0 to
    /// getMaxUserCount() - 1), and leaves it untouched otherwise. Never writes m_userList itself:
    /// to reset user i of the model, pass its record, `resetUserInfo(i, m_userList[i])`.
    void resetUserInfo(int index, _UserList_Destktop &user);

    /// \name Capacities
    /// The capacities of the last known device code. Only initMaxParams() changes them, and
    /// clearParams() never resets them.
    ///@{
    int getMaxGroupCount();       ///< Groups: sizes m_groupList.
    int getMaxSignalGroupCount(); ///< Signal groups: sizes m_signalGroupList.
    int getMaxInPortCount();      ///< Input ports: sizes m_inPortList.
    int getMaxOutPortCount();     ///< Output ports: sizes m_outPortList.
    int getMaxUserCount();        ///< Users: sizes m_userList and bounds resetUserInfo().
    ///@}

    QList<_ICGroup_Record> m_groupList;             ///< One record per group.
    QList<_ICSignalGroup_Record> m_signalGroupList; ///< One record per signal group.
    QList<_ICPort_Record> m_inPortList;             ///< One record per input port.
    QList<_ICPort_Record> m_outPortList;            ///< One record per output port.
    QList<_UserList_Destktop> m_userList;           ///< One record per user, the default user.
    int m_deviceCode = 0;   ///< The code last passed to initParam(), known or not.
    int m_initConstant = 0; ///< 3000 after every initParam(); the model never reads it.

    /// \name Capacity members
    /// Read through the getters above. Only initMaxParams() writes them; initParam() sizes the
    /// lists from them.
    ///@{
    /** The capacity that the getter of the matching name returns. */
    int m_maxGroupCount = 0;
    int m_maxSignalGroupCount = 0;
    int m_maxInPortCount = 0;
    int m_maxOutPortCount = 0;
    int m_maxUserCount = 0;
    ///@}
};

#endif // MODEL_IC_MODELIC_H
