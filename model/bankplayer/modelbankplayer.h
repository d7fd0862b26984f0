#ifndef MODEL_BANKPLAYER_MODELBANKPLAYER_H
#define MODEL_BANKPLAYER_MODELBANKPLAYER_H

#include <model/model_export.h>

#include <QtCore/QString>
#include <QtCore/QVector>

/// One item of ModelBankPlayer::m_items1 or ModelBankPlayer::m_items2: a number and five texts,
/// 0 and empty by default. A plain aggregate with its natural layout; the meanings of its fields
/// belong to the client.
struct _BankPlayerItem_Record
{
    /// A number of the client's, 0 by default.
    int value1;
    ///@{
    /// A text of the client's, empty by default.
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    ///@}
};

Q_DECLARE_TYPEINFO(_BankPlayerItem_Record, MODEL_RELOCATABLE_TYPE);

/// The parameter model of one bank player: per-bank arrays, two byte vectors and two tables of
/// items, almost all held inside the object.
///
/// The client creates one model per bank player, calls initParam() with the device code the device
/// reported, and then reads and writes the public members directly. A new model already holds the
/// state of device code 0x320000. Each per-bank array has an entry for every bank (entry b for bank
/// b); the two byte vectors grow with getMaxBankCount(). A plain member without a note is 0 after
/// every initParam(); what it means is the client's business.
///
/// Binary layout: the client reads members at fixed offsets, so the class is packed to 1 byte (no
/// alignment gaps) and the members below must keep their order, types and widths. The item records
/// keep their natural layout. A packed member cannot bind to a reference: copy a scalar member
/// before passing it to a function that takes `const int &`.
///
/// Ownership: everything is held by value, so a copy is independent of the original. initParam()
/// presets every member except m_spareBytes and m_items2, which belong to the client from
/// construction on (they start at zero and empty).
#pragma pack(push, 1)
class MODEL_EXPORT ModelBankPlayer
{
public:
    /// Entries of each per-bank array: room for every bank a known device has.
    static constexpr int BankSlotCount = 16;
    /// Items of each item table.
    static constexpr int ItemCount = 255;

    /// Presets the state of device code 0x320000, so a new model is never empty.
    ModelBankPlayer();
    /// Releases the two byte vectors and the texts of both item tables.
    ~ModelBankPlayer();

    /// Presets the state for deviceCode; every value written before is gone, except in m_spareBytes
    /// and m_items2. An unknown code is no error: it is stored in m_deviceCode, and the state is
    /// preset to the capacities of the last known code.
    void initParam(int deviceCode);
    /// Empties the two byte vectors; nothing else changes.
    void clearParams();
    /// Sets the capacities from a known device code (the scene model knows the same codes); an
    /// unknown code changes nothing. Only the capacities change: initParam() calls this and then
    /// presets the state to them.
    void initMaxParams(int deviceCode);

    /// \name Capacities
    /// The capacities of the last known device code. Only initMaxParams() changes them; neither
    /// clearParams() nor an unknown code resets them.
    ///@{
    int getMaxBankCount();   ///< Banks, 16: sizes the byte vectors and the per-bank entries.
    int getMaxOutputCount(); ///< Outputs; sizes nothing in the model.
    ///@}

    int m_deviceCode = 0;   ///< The code last passed to initParam(), known or not.
    int m_initConstant = 0; ///< 3000 after every initParam(); the model never reads it.
    ///@{
    /// A value of the client's.
    int m_value1 = 0;
    int m_value2 = 0;
    int m_value3 = 0;
    int m_value4 = 0;
    int m_value5 = 0;
    int m_value6 = 0;
    int m_value7 = 0;
    ///@}
    /// A flag of the client's.
    quint8 m_flag1 = 0;
    /// A value of the client's.
    int m_value8 = 0;
    QVector<quint8> m_bankBytes1; ///< Nine per bank, 0.
    /// Per bank, 0.
    int m_bankValues1[BankSlotCount] = {};
    int m_bankIndex1[BankSlotCount] = {}; ///< Each bank's own index: entry b is b.
    ///@{
    /// Per bank, 0.
    int m_bankValues2[BankSlotCount] = {};
    int m_bankValues3[BankSlotCount] = {};
    int m_bankValues4[BankSlotCount] = {};
    ///@}
    /// A flag of the client's.
    quint8 m_flag2 = 0;
    /// Per bank, 0.
    int m_bankValues5[BankSlotCount] = {};
    int m_bankIndex2[BankSlotCount] = {}; ///< Each bank's own index: entry b is b.
    ///@{
    /// Per bank, 0.
    int m_bankValues6[BankSlotCount] = {};
    int m_bankValues7[BankSlotCount] = {};
    int m_bankValues8[BankSlotCount] = {};
    ///@}
    QVector<quint8> m_bankBytes2; ///< Eight per bank, 0.
    ///@{
    /// A value of the client's.
    int m_value9 = 0;
    int m_value10 = 0;
    ///@}
    _BankPlayerItem_Record m_items1[ItemCount] = {}; ///< Every item 0 and empty after initParam().
    quint8 m_spareBytes[8] = {};                     ///< The client's own; initParam() keeps it.
    _BankPlayerItem_Record m_items2[ItemCount] = {}; ///< The client's own; initParam() keeps it.

    /// \name Capacity members
    /// Read through the getters above. Only initMaxParams() writes them; initParam() presets the
    /// state from them.
    ///@{
    /** The capacity that the getter of the matching name returns. */
    int m_maxBankCount = 0;
    int m_maxOutputCount = 0;
    ///@}
};
#pragma pack(pop)

#endif // MODEL_BANKPLAYER_MODELBANKPLAYER_H
