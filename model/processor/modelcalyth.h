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

/// One output's entry of ModelCalyth::m_outputRecAList: eight integers, all 0 by default. The
/// model only ever stores the record whole.
struct _OutputA_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7, value8;
    ///@}
};

/// One output's entry of ModelCalyth::m_outputRecBList: nine integers; value1 starts at 255, the
/// others at 0.
struct _OutputB_Record
{
    ///@{
    /// A value of the client's: value1 starts at 255, the others at 0.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9;
    ///@}
};

/// One output's entry of ModelCalyth::m_outputRecCList: eight integers, all 0 by default. The same
/// shape as _OutputA_Record, but a type of its own.
struct _OutputC_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7, value8;
    ///@}
};

/// One output's entry of ModelCalyth::m_outputRecDList: four integers, all 0 by default.
struct _OutputD_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4;
    ///@}
};

/// One output's entry of ModelCalyth::m_outputRecEList: nineteen integers, all 0 by default.
struct _OutputE_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    int value11, value12, value13, value14, value15, value16, value17, value18, value19;
    ///@}
};

/// One output's entry of ModelCalyth::m_outputRecFList: five integers, all 0 by default.
struct _OutputF_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5;
    ///@}
};

/// An entry of ModelCalyth::m_outputRecGList, which holds one more of them than there are
/// outputs: twelve integers, all 0 by default.
struct _OutputG_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6;
    int value7, value8, value9, value10, value11, value12;
    ///@}
};

/// One output's entry of the owned vector ModelCalyth::m_pOutputRecHVec: three integers and a
/// double, all 0 by default.
struct _OutputH_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1;
    int value2;
    double value3;
    int value4;
    ///@}
};

/// One output's entry of the owned vector ModelCalyth::m_pOutputRecIVec: eleven integers, all 0 by
/// default.
struct _OutputI_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10, value11;
    ///@}
};

/// An entry of the owned vector ModelCalyth::m_pOutputRecJVec, which holds four per output in one
/// flat sequence: seven integers, all 0 by default.
struct _OutputJ_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7;
    ///@}
};

/// One output's pair of names in ModelCalyth::m_outputNamePairList, both empty by default.
struct _OutputName_Record
{
    ///@{
    /// A name of the client's, empty by default.
    QString name1;
    QString name2;
    ///@}
};

/// One source's entry of ModelCalyth::m_sourceWindowList: two rectangles (x, y, width, height)
/// that start at 0, 0, 1920, 1080, nineteen slots that start at 0 and three signed slots that
/// start at -1.
struct _SourceWindow_Record
{
    ///@{
    /// The first rectangle, 0, 0, 1920, 1080 by default.
    int x1, y1, width1, height1;
    ///@}
    ///@{
    /// The second rectangle, 0, 0, 1920, 1080 by default.
    int x2, y2, width2, height2;
    ///@}
    ///@{
    /// A slot of the client's: the last three start at -1, the others at 0.
    int value9, value10, value11, value12, value13, value14, value15, value16, value17, value18;
    int value19, value20, value21, value22, value23, value24, value25, value26, value27;
    int value28, value29, value30;
    ///@}
};

/// One source's entry of ModelCalyth::m_sourceRecBList: thirteen integers, all 0 by default.
struct _SourceB_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    int value11, value12, value13;
    ///@}
};

/// One source's entry of ModelCalyth::m_sourceRecCList: ten integers, all 0 by default.
struct _SourceC_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    ///@}
};

/// The port table of one input board, in ModelCalyth::m_inputPortList: six lists with one entry
/// per port (ModelCalyth::getMaxInputBoardPortCount() entries). portValues2 starts at 10 for every
/// port, the others at 0.
struct _InputPort_Record
{
    ///@{
    /// One value per port: portValues2 starts at 10, the others at 0.
    QList<int> portValues1;
    QList<int> portValues2;
    QList<int> portValues3;
    QList<int> portValues4;
    QList<int> portValues5;
    QList<int> portValues6;
    ///@}
};

/// One input board's entry of ModelCalyth::m_inputBoardInfoList: nine bytes, ten 16-bit words and
/// three blocks of four words, all 0 by default.
struct _InputBoard_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    quint8 byte1, byte2, byte3, byte4, byte5, byte6, byte7, byte8, byte9;
    quint16 word1, word2, word3, word4, word5, word6, word7, word8, word9, word10;
    ///@}
    ///@{
    /// A block of four words of the client's, all 0 by default.
    quint16 block1[4];
    quint16 block2[4];
    quint16 block3[4];
    ///@}
};

/// One layer's entry of the owned vector ModelCalyth::m_pLayerVec: ten integers, all 0 by default.
struct _Layer_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    ///@}
};

/// One container's entry of ModelCalyth::m_containerList: fourteen integers that start at 0, a
/// name buffer and one value per output.
struct _Container_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5, value6, value7;
    int value8, value9, value10, value11, value12, value13, value14;
    ///@}
    /// 8-bit text, zero-padded; the model clears the first ModelCalyth::getMaxContainerName()
    /// bytes (32 for every known device code).
    char name[40];
    QList<int> outputValues; ///< One entry per output, each -1.
};

/// Nine integers: the element of ModelCalyth::m_spareRecordVec, which the model never fills.
struct _Int9_Record
{
    ///@{
    /// A value of the client's; the model never writes it.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9;
    ///@}
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
Q_DECLARE_TYPEINFO(_OutputName_Record, MODEL_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(_SourceWindow_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SourceB_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SourceC_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_InputPort_Record, MODEL_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(_InputBoard_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_Layer_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_Container_Record, MODEL_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(_Int9_Record, Q_PRIMITIVE_TYPE);

/// The parameter model of one processor: the capacities of its device code and the tree of
/// parameter records that mirrors the device's state.
///
/// The client creates one model per processor, calls initParam() with the device code the
/// processor reported, and then reads and writes the public members directly while it talks to
/// the device. A new model already holds the complete tree of device code 0x320000.
///
/// The capacities (the getMax...() getters) size the branches of the tree. A member noted "per
/// output" holds getMaxOutputCount() entries, indexed by output number from 0; likewise "per
/// source" (getMaxSourceCount()), "per input board" (getMaxInputBoardCount()), "per output board"
/// (getMaxOutPutBoardCount()), "per container" (getMaxContainerCount()) and "per layer"
/// (getMaxLayerCount()). What follows the comma is the default of each entry. A plain member whose
/// note gives no value is 0, or empty, after every initParam(); a container noted "never filled" is
/// emptied by initParam() and clearParams() and otherwise left to the client. What the members and
/// record fields mean is the client's business: the model presets them and never reads them back.
///
/// Binary layout: the client reads members at fixed offsets, so the class is packed to 1 byte (no
/// alignment gaps) and the members below must keep their order, types and widths. The vtable
/// pointer of the virtual destructor comes first. Records inside the containers keep their natural
/// layout. A packed member cannot bind to a reference: copy a scalar member before passing it to a
/// function that takes `const int &`.
///
/// Ownership: the model owns the eleven containers held through m_p... pointers. Every initParam()
/// builds a new set and releases the one it replaces; the destructor releases the last set.
/// clearParams() never touches them. Everything else is held by value. A pointer or iterator into
/// any container is stale after initParam(). The model cannot be copied or moved, since two models
/// would release the same vectors.
#pragma pack(push, 1)
class MODEL_EXPORT ModelCalyth
{
public:
    /// Builds the complete tree of device code 0x320000, so a new model is never empty.
    ModelCalyth();
    /// Releases the owned vectors with everything else. Virtual, so that a model may be deleted
    /// through a ModelCalyth pointer.
    virtual ~ModelCalyth();
    Q_DISABLE_COPY_MOVE(ModelCalyth)

    /// Rebuilds the whole tree with defaults for deviceCode; every value written before is gone,
    /// except in m_spareBytes. An unknown code is no error: it is stored in m_deviceCode, and the
    /// tree is built to the capacities of the last known code.
    void initParam(int deviceCode);
    /// Empties the containers held by value. The owned vectors, the strings, the plain values,
    /// m_deviceCode and the capacities stay, so the by-value lists are empty until the next
    /// initParam() while the owned vectors keep their entries.
    void clearParams();
    /// Sets the capacities from the row of a known device code; an unknown code changes nothing.
    /// A row without a preview board count leaves getMaxPvwBoardCount() at its earlier value.
    /// Only the capacities change: initParam() calls this and then rebuilds the tree to them.
    void initMaxParams(int deviceCode);

    /// \name Capacities
    /// The capacities of the last known device code. Only initMaxParams() changes them; neither
    /// clearParams() nor an unknown code resets them. Those noted "reported only" size nothing in
    /// the model: they are there for the client.
    ///@{
    int getMaxPreOutputCount();       ///< Pre-outputs; reported only.
    int getMaxPreOutputGroup();       ///< Pre-output groups; reported only.
    int getMaxLinkOutputCount();      ///< Link outputs; reported only.
    int getMaxLinkOutputGroup();      ///< Link-output groups; reported only.
    int getMaxOutputCount();          ///< Outputs: sizes every per-output container.
    int getMaxSourceCount();          ///< Sources: sizes the per-source lists.
    int getMaxBankCount();            ///< Banks, 16; reported only.
    int getMaxBankNameLength();       ///< Longest bank name, 16; reported only.
    int getMaxLayerCount();           ///< Layers: sizes m_pLayerVec.
    int getMaxPageCount();            ///< Pages, 16; reported only.
    int getMaxInputBoardCount();      ///< Input boards: sizes the per-input-board lists.
    int getMaxOutPutBoardCount();     ///< Output boards: sizes the per-output-board lists.
    int getMaxInputBoardPortCount();  ///< Ports of one input board: sizes _InputPort_Record.
    int getMaxOutputBoardPortCount(); ///< Ports of one output board; reported only.
    int getMaxContainerCount();       ///< Containers: sizes m_containerList.
    int getMaxContainerName();        ///< Cleared bytes of a container name, 32.
    int getMaxOneMonitorLayerCount(); ///< Layers on one monitor; reported only.
    int getMaxPvwBoardCount();        ///< Preview boards; reported only.
    ///@}

    int m_deviceCode = 0;   ///< The code last passed to initParam(), known or not.
    int m_initConstant = 0; ///< 3000 after every initParam(); the model never reads it.
    QVector<int> *m_pOutputVecA = nullptr;       ///< Per output, 0.
    QVector<int> *m_pOutputVecB = nullptr;       ///< Per output, 0.
    QVector<int> *m_pOutputVecC = nullptr;       ///< Per output, 0.
    QVector<int> *m_pOutputVecD = nullptr;       ///< Per output, 0.
    QVector<quint8> *m_pOutputFlagVec = nullptr; ///< Per output, 0.
    QVector<int> *m_pOutputVecE = nullptr;       ///< Per output, 0.
    QVector<int> *m_pOutputVecF = nullptr;       ///< Per output, 128.
    int m_intBlock1[8] = {}; ///< Index-parallel to m_intBlock2 and m_intBlock10.
    int m_intBlock2[8] = {}; ///< 255 each.
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock3[3] = {};
    QStringList m_spareTextList; ///< Never filled.
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock4[5] = {};
    int m_value1 = 0; ///< 1 after initParam().
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock5[3] = {};
    int m_intBlock6[4] = {}; ///< Index-parallel to m_intBlock7 and m_intBlock8.
    ///@{
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock7[4] = {};
    int m_intBlock8[4] = {};
    ///@}
    /// A text of the client's, empty after initParam().
    QString m_text1;
    QStringList m_inputBoardNameList;  ///< Per input board, empty.
    QStringList m_outputBoardNameList; ///< Per output board, empty.
    /// A block of texts of the client's, all empty after initParam().
    QString m_textBlock1[5];
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte1 = 0;
    int m_value2 = 0; ///< 2 after initParam().
    ///@{
    /// A value of the client's, 0 after initParam().
    int m_value3 = 0;
    int m_value4 = 0;
    ///@}
    QList<quint8> m_sourceFlagListA;                ///< Per source, 0.
    QList<quint8> m_sourceFlagListB;                ///< Per source, 0.
    QList<quint8> m_sourceFlagListC;                ///< Per source, 0.
    QList<quint8> m_sourceFlagListD;                ///< Per source, 0.
    QList<int> m_sourceValueListA;                  ///< Per source, 0.
    QList<QStringList> m_sourceTextList;            ///< Per source, eight empty strings.
    QList<int> m_sourceValueListB;                  ///< Per source, 0.
    QList<int> m_sourceValueListC;                  ///< Per source, 1.
    QList<_SourceWindow_Record> m_sourceWindowList; ///< Per source.
    QList<_SourceB_Record> m_sourceRecBList;        ///< Per source.
    QList<_SourceC_Record> m_sourceRecCList;        ///< Per source.
    QList<quint8> m_outputBoardFlagListA;           ///< Per output board, 0.
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock9[5] = {};
    /// A text of the client's, empty after initParam().
    QString m_text2;
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte2 = 0;
    QStringList m_outputBoardTextListA;   ///< Per output board, empty.
    QList<quint8> m_outputBoardFlagListB; ///< Per output board, 0.
    QStringList m_outputBoardTextListB;   ///< Per output board, empty.
    QList<quint8> m_outputBoardFlagListC; ///< Per output board, 0.
    /// A text of the client's, empty after initParam().
    QString m_text3;
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte3 = 0;
    /// A text of the client's, empty after initParam().
    QString m_text4;
    ///@{
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte4 = 0;
    quint8 m_byte5 = 0;
    ///@}
    /// A value of the client's, 0 after initParam().
    int m_value5 = 0;
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock10[8] = {};
    /// A text of the client's, empty after initParam().
    QString m_text5;
    QList<int> m_spareValueList; ///< Never filled.
    /// A value of the client's, 0 after initParam().
    int m_value6 = 0;
    int m_value7 = 0; ///< 1 after initParam().
    /// A value of the client's, 0 after initParam().
    int m_value8 = 0;
    int m_resolutionWidth = 0;  ///< 1920 after initParam().
    int m_resolutionHeight = 0; ///< 1080 after initParam().
    /// A text of the client's, empty after initParam().
    QString m_text6;
    int m_value9 = 0; ///< 128 after initParam().
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte6 = 0;
    /// A block of texts of the client's, all empty after initParam().
    QString m_textBlock2[5];
    QList<QStringList> m_outputBoardGroupListA; ///< Per output board, an empty list.
    QList<QStringList> m_outputBoardGroupListB; ///< Per output board, an empty list.
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte7 = 0;
    /// A value of the client's, 0 after initParam().
    int m_value10 = 0;
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte8 = 0;
    int m_value11 = 0; ///< 30 after initParam().
    /// A byte of the client's, 0 after initParam().
    quint8 m_byte9 = 0;
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock11[4] = {};
    /// A value of the client's, 0.0 after initParam().
    double m_doubleValue = 0.0;
    quint8 m_spareBytes[8] = {}; ///< The client's own: no initParam() writes it.
    QVector<_OutputH_Record> *m_pOutputRecHVec = nullptr; ///< Per output.
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock12[5] = {};
    QList<_Int12_Record> m_spareRecordList;         ///< Never filled.
    QList<_Int12_Record> m_inputBoardRecList;       ///< Per input board.
    QList<_InputPort_Record> m_inputPortList;       ///< Per input board.
    QList<_InputBoard_Record> m_inputBoardInfoList; ///< Per input board.
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock13[11] = {};
    QList<quint8> m_outputFlagList;           ///< Per output, 0.
    QList<_OutputA_Record> m_outputRecAList;  ///< Per output.
    QList<_OutputB_Record> m_outputRecBList;  ///< Per output.
    QList<_Container_Record> m_containerList; ///< Per container.
    QList<_OutputC_Record> m_outputRecCList;  ///< Per output.
    QList<_OutputD_Record> m_outputRecDList;  ///< Per output.
    QList<_OutputE_Record> m_outputRecEList;  ///< Per output.
    QList<_OutputF_Record> m_outputRecFList;  ///< Per output.
    QList<_OutputG_Record> m_outputRecGList;  ///< getMaxOutputCount() + 1 entries.
    ///@{
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock14[5] = {};
    int m_intBlock15[19] = {};
    ///@}
    int m_value12 = 0;                             ///< 2 after initParam().
    int m_value13 = 0;                             ///< 4 after initParam().
    int m_value14 = 0;                             ///< 3840 after initParam().
    int m_value15 = 0;                             ///< 7680 after initParam().
    QVector<_Layer_Record> *m_pLayerVec = nullptr; ///< Per layer: every layer of the device.
    /// A block of values of the client's, all 0 after initParam().
    int m_intBlock16[6] = {};
    /// A block of values of the client's, all 0 after initParam().
    qint16 m_shortBlock[7] = {};
    /// A block of values of the client's, all 0 after initParam().
    quint8 m_byteBlock[4] = {};
    QVector<_OutputI_Record> *m_pOutputRecIVec = nullptr; ///< Per output.
    QVector<_OutputJ_Record> *m_pOutputRecJVec = nullptr; ///< Four per output.
    QVector<_Int9_Record> m_spareRecordVec;               ///< Never filled.
    QStringList m_outputQuadNameList;                     ///< Four per output, empty.
    QList<_OutputName_Record> m_outputNamePairList;       ///< Per output.

    /// \name Capacity members
    /// Read through the getters above. Only initMaxParams() writes them; initParam() sizes the tree
    /// from them.
    ///@{
    /** The capacity that the getter of the matching name returns. */
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
    ///@}
};
#pragma pack(pop)

#endif // MODEL_PROCESSOR_MODELCALYTH_H
