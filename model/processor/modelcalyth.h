#ifndef MODEL_PROCESSOR_MODELCALYTH_H
#define MODEL_PROCESSOR_MODELCALYTH_H

#include <model/model_export.h>
#include <model/processor/int12record.h>

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVector>

// Records of the processor parameter tree. They are plain aggregates without constructors: the
// model value-initialises each one (`T{}`, every field zero) and then writes its defaults. Their
// meanings belong to the client; the model fixes only types, order and defaults.

// Per output. The model copies it only as a whole.
struct _OutputA_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8;
};

// Per output; value1 starts at 255.
struct _OutputB_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9;
};

// Per output; same shape as _OutputA_Record but a type of its own.
struct _OutputC_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8;
};

struct _OutputD_Record
{
    int value1, value2, value3, value4;
};

struct _OutputE_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    int value11, value12, value13, value14, value15, value16, value17, value18, value19;
};

struct _OutputF_Record
{
    int value1, value2, value3, value4, value5;
};

// One more of these than there are outputs.
struct _OutputG_Record
{
    int value1, value2, value3, value4, value5, value6;
    int value7, value8, value9, value10, value11, value12;
};

struct _OutputH_Record
{
    int value1;
    int value2;
    double value3;
    int value4;
};

struct _OutputI_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10, value11;
};

// Four of these per output, in one flat sequence.
struct _OutputJ_Record
{
    int value1, value2, value3, value4, value5, value6, value7;
};

struct _OutputName_Record
{
    QString name1;
    QString name2;
};

// One per source: two rectangles (x, y, width, height) that start at 0, 0, 1920, 1080, nineteen
// zero slots and three signed slots that start at -1.
struct _SourceWindow_Record
{
    int x1, y1, width1, height1;
    int x2, y2, width2, height2;
    int value9, value10, value11, value12, value13, value14, value15, value16, value17, value18;
    int value19, value20, value21, value22, value23, value24, value25, value26, value27;
    int value28, value29, value30;
};

struct _SourceB_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    int value11, value12, value13;
};

struct _SourceC_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
};

// The port table of one input board: six lists with one entry per port. portValues2 starts at
// 10 for every port, the others at 0.
struct _InputPort_Record
{
    QList<int> portValues1;
    QList<int> portValues2;
    QList<int> portValues3;
    QList<int> portValues4;
    QList<int> portValues5;
    QList<int> portValues6;
};

struct _InputBoard_Record
{
    quint8 byte1, byte2, byte3, byte4, byte5, byte6, byte7, byte8, byte9;
    quint16 word1, word2, word3, word4, word5, word6, word7, word8, word9, word10;
    quint16 block1[4];
    quint16 block2[4];
    quint16 block3[4];
};

struct _Layer_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
};

struct _Container_Record
{
    int value1, value2, value3, value4, value5, value6, value7;
    int value8, value9, value10, value11, value12, value13, value14;
    // 8-bit text, zero-padded; the model clears the first getMaxContainerName() bytes.
    char name[40];
    QList<int> outputValues; // one entry per output, each -1
};

// Nine integers; the element of m_spareRecordVec, which the model never fills.
struct _Int9_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9;
};

Q_DECLARE_TYPEINFO(_OutputA_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputB_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputC_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputD_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputE_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputF_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputG_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputH_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputI_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputJ_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_OutputName_Record, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(_SourceWindow_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SourceB_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SourceC_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_InputPort_Record, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(_InputBoard_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_Layer_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_Container_Record, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(_Int9_Record, Q_PRIMITIVE_TYPE);

// The parameter model of one processor.
//
// Binary layout: the client reads members at fixed offsets, so the class is packed to 1 byte (no
// alignment gaps) and the members below must keep their order, types and widths. The vtable pointer
// of the virtual destructor comes first. Records inside the containers keep their natural layout.
//
// Ownership: the model owns the eleven containers held through m_p... pointers. Every initParam()
// builds a new set and releases the one it replaces; the destructor releases the last set.
// clearParams() never touches them. Everything else is held by value. A pointer or iterator into
// any container is stale after initParam().
#pragma pack(push, 1)
class MODEL_EXPORT ModelCalyth
{
public:
    // Holds the tree of device code 0x320000 right away.
    ModelCalyth();
    virtual ~ModelCalyth();
    Q_DISABLE_COPY_MOVE(ModelCalyth)

    // Rebuilds the whole tree with defaults for deviceCode; every value written before is gone.
    // An unknown code is stored in m_deviceCode and the tree is built to the last known capacities.
    void initParam(int deviceCode);
    // Empties the containers held by value; owned vectors, values and capacities stay.
    void clearParams();
    // Sets the capacities of a known device code; an unknown code changes nothing.
    void initMaxParams(int deviceCode);

    int getMaxPreOutputCount() const;
    int getMaxPreOutputGroup() const;
    int getMaxLinkOutputCount() const;
    int getMaxLinkOutputGroup() const;
    int getMaxOutputCount() const;
    int getMaxSourceCount() const;
    int getMaxBankCount() const;
    int getMaxBankNameLength() const;
    int getMaxLayerCount() const;
    int getMaxPageCount() const;
    int getMaxInputBoardCount() const;
    int getMaxOutPutBoardCount() const;
    int getMaxInputBoardPortCount() const;
    int getMaxOutputBoardPortCount() const;
    int getMaxContainerCount() const;
    int getMaxContainerName() const;
    int getMaxOneMonitorLayerCount() const;
    int getMaxPvwBoardCount() const;

    int m_deviceCode = 0;
    int m_initConstant = 0;
    QVector<int> *m_pOutputVecA = nullptr;       // per output, 0
    QVector<int> *m_pOutputVecB = nullptr;       // per output, 0
    QVector<int> *m_pOutputVecC = nullptr;       // per output, 0
    QVector<int> *m_pOutputVecD = nullptr;       // per output, 0
    QVector<quint8> *m_pOutputFlagVec = nullptr; // per output, 0
    QVector<int> *m_pOutputVecE = nullptr;       // per output, 0
    QVector<int> *m_pOutputVecF = nullptr;       // per output, 128
    int m_intBlock1[8] = {};
    int m_intBlock2[8] = {}; // 255 each
    int m_intBlock3[3] = {};
    QStringList m_spareTextList; // never filled
    int m_intBlock4[5] = {};
    int m_value1 = 0;
    int m_intBlock5[3] = {};
    int m_intBlock6[4] = {};
    int m_intBlock7[4] = {};
    int m_intBlock8[4] = {};
    QString m_text1;
    QStringList m_inputBoardNameList;  // per input board
    QStringList m_outputBoardNameList; // per output board
    QString m_textBlock1[5];
    quint8 m_byte1 = 0;
    int m_value2 = 0;
    int m_value3 = 0;
    int m_value4 = 0;
    QList<quint8> m_sourceFlagListA;                // per source, 0
    QList<quint8> m_sourceFlagListB;                // per source, 0
    QList<quint8> m_sourceFlagListC;                // per source, 0
    QList<quint8> m_sourceFlagListD;                // per source, 0
    QList<int> m_sourceValueListA;                  // per source, 0
    QList<QStringList> m_sourceTextList;            // per source, eight empty strings
    QList<int> m_sourceValueListB;                  // per source, 0
    QList<int> m_sourceValueListC;                  // per source, 1
    QList<_SourceWindow_Record> m_sourceWindowList; // per source
    QList<_SourceB_Record> m_sourceRecBList;        // per source
    QList<_SourceC_Record> m_sourceRecCList;        // per source
    QList<quint8> m_outputBoardFlagListA;           // per output board, 0
    int m_intBlock9[5] = {};
    QString m_text2;
    quint8 m_byte2 = 0;
    QStringList m_outputBoardTextListA;   // per output board
    QList<quint8> m_outputBoardFlagListB; // per output board, 0
    QStringList m_outputBoardTextListB;   // per output board
    QList<quint8> m_outputBoardFlagListC; // per output board, 0
    QString m_text3;
    quint8 m_byte3 = 0;
    QString m_text4;
    quint8 m_byte4 = 0;
    quint8 m_byte5 = 0;
    int m_value5 = 0;
    int m_intBlock10[8] = {};
    QString m_text5;
    QList<int> m_spareValueList; // never filled
    int m_value6 = 0;
    int m_value7 = 0;
    int m_value8 = 0;
    int m_resolutionWidth = 0;
    int m_resolutionHeight = 0;
    QString m_text6;
    int m_value9 = 0;
    quint8 m_byte6 = 0;
    QString m_textBlock2[5];
    QList<QStringList> m_outputBoardGroupListA; // per output board, an empty list
    QList<QStringList> m_outputBoardGroupListB; // per output board, an empty list
    quint8 m_byte7 = 0;
    int m_value10 = 0;
    quint8 m_byte8 = 0;
    int m_value11 = 0;
    quint8 m_byte9 = 0;
    int m_intBlock11[4] = {};
    double m_doubleValue = 0.0;
    quint8 m_spareBytes[8] = {}; // the client's own; initParam() never writes it
    QVector<_OutputH_Record> *m_pOutputRecHVec = nullptr; // per output
    int m_intBlock12[5] = {};
    QList<_Int12_Record> m_spareRecordList;         // never filled
    QList<_Int12_Record> m_inputBoardRecList;       // per input board
    QList<_InputPort_Record> m_inputPortList;       // per input board
    QList<_InputBoard_Record> m_inputBoardInfoList; // per input board
    int m_intBlock13[11] = {};
    QList<quint8> m_outputFlagList;           // per output, 0
    QList<_OutputA_Record> m_outputRecAList;  // per output
    QList<_OutputB_Record> m_outputRecBList;  // per output
    QList<_Container_Record> m_containerList; // per container
    QList<_OutputC_Record> m_outputRecCList;  // per output
    QList<_OutputD_Record> m_outputRecDList;  // per output
    QList<_OutputE_Record> m_outputRecEList;  // per output
    QList<_OutputF_Record> m_outputRecFList;  // per output
    QList<_OutputG_Record> m_outputRecGList;  // per output, plus one
    int m_intBlock14[5] = {};
    int m_intBlock15[19] = {};
    int m_value12 = 0;
    int m_value13 = 0;
    int m_value14 = 0;
    int m_value15 = 0;
    QVector<_Layer_Record> *m_pLayerVec = nullptr; // per layer
    int m_intBlock16[6] = {};
    qint16 m_shortBlock[7] = {};
    quint8 m_byteBlock[4] = {};
    QVector<_OutputI_Record> *m_pOutputRecIVec = nullptr; // per output
    QVector<_OutputJ_Record> *m_pOutputRecJVec = nullptr; // four per output
    QVector<_Int9_Record> m_spareRecordVec;               // never filled
    QStringList m_outputQuadNameList;                     // four per output
    QList<_OutputName_Record> m_outputNamePairList;       // per output

    // Capacities: written only by initMaxParams().
    int m_maxPreOutputCount = 0;
    int m_maxPreOutputGroup = 0;
    int m_maxLinkOutputCount = 0;
    int m_maxLinkOutputGroup = 0;
    int m_maxOutputCount = 0;
    int m_maxSourceCount = 0;
    int m_maxBankCount = 0;
    int m_maxBankNameLength = 0;
    int m_maxLayerCount = 0;
    int m_maxPageCount = 0;
    int m_maxInputBoardCount = 0;
    int m_maxOutPutBoardCount = 0;
    int m_maxInputBoardPortCount = 0;
    int m_maxOutputBoardPortCount = 0;
    int m_maxContainerCount = 0;
    int m_maxContainerName = 0;
    int m_maxMonitorLayerCount = 0;
    int m_maxPvwBoardCount = 0;
};
#pragma pack(pop)

#endif // MODEL_PROCESSOR_MODELCALYTH_H
