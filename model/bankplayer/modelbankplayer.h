#ifndef MODEL_BANKPLAYER_MODELBANKPLAYER_H
#define MODEL_BANKPLAYER_MODELBANKPLAYER_H

#include <model/model_export.h>

#include <QtCore/QString>
#include <QtCore/QVector>

// One item of a bank player's item tables. A plain aggregate with its natural layout; the meanings
// of its fields belong to the client.
struct _BankPlayerItem_Record
{
    int value1;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
};

Q_DECLARE_TYPEINFO(_BankPlayerItem_Record, Q_MOVABLE_TYPE);

// The parameter model of one bank player.
//
// Binary layout: the client reads members at fixed offsets, so the class is packed to 1 byte (no
// alignment gaps) and the members below must keep their order, types and widths. The item records
// keep their natural layout.
//
// Ownership: everything is held by value, so a copy is independent of the original. initParam()
// presets every member except m_spareBytes and m_items2, which belong to the client from
// construction on (they start at zero and empty).
#pragma pack(push, 1)
class MODEL_EXPORT ModelBankPlayer
{
public:
    // Entries of each per-bank array: room for every bank a known device has.
    static constexpr int BankSlotCount = 16;
    // Items of each item table.
    static constexpr int ItemCount = 255;

    // Holds the state of device code 0x320000 right away.
    ModelBankPlayer();
    ~ModelBankPlayer();

    // Presets the state for deviceCode; every value written before is gone, except in m_spareBytes
    // and m_items2. An unknown code is stored in m_deviceCode and the state is preset to the last
    // known capacities.
    void initParam(int deviceCode);
    // Empties the two byte vectors; nothing else changes.
    void clearParams();
    // Sets the capacities of a known device code; an unknown code changes nothing.
    void initMaxParams(int deviceCode);

    int getMaxBankCount() const;
    int getMaxOutputCount() const;

    int m_deviceCode = 0;
    int m_initConstant = 0;
    int m_value1 = 0;
    int m_value2 = 0;
    int m_value3 = 0;
    int m_value4 = 0;
    int m_value5 = 0;
    int m_value6 = 0;
    int m_value7 = 0;
    quint8 m_flag1 = 0;
    int m_value8 = 0;
    QVector<quint8> m_bankBytes1; // nine per bank
    int m_bankValues1[BankSlotCount] = {};
    int m_bankIndex1[BankSlotCount] = {}; // each bank's own index
    int m_bankValues2[BankSlotCount] = {};
    int m_bankValues3[BankSlotCount] = {};
    int m_bankValues4[BankSlotCount] = {};
    quint8 m_flag2 = 0;
    int m_bankValues5[BankSlotCount] = {};
    int m_bankIndex2[BankSlotCount] = {}; // each bank's own index
    int m_bankValues6[BankSlotCount] = {};
    int m_bankValues7[BankSlotCount] = {};
    int m_bankValues8[BankSlotCount] = {};
    QVector<quint8> m_bankBytes2; // eight per bank
    int m_value9 = 0;
    int m_value10 = 0;
    _BankPlayerItem_Record m_items1[ItemCount] = {};
    quint8 m_spareBytes[8] = {};                     // the client's own
    _BankPlayerItem_Record m_items2[ItemCount] = {}; // the client's own

    // Capacities: written only by initMaxParams().
    int m_maxBankCount = 0;
    int m_maxOutputCount = 0;
};
#pragma pack(pop)

#endif // MODEL_BANKPLAYER_MODELBANKPLAYER_H
