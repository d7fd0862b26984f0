#ifndef MODEL_SCENE_MODELSCENE_H
#define MODEL_SCENE_MODELSCENE_H

#include <model/model_export.h>
#include <model/processor/int12record.h>

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVector>

// Records of the scene parameter tree. Plain aggregates without constructors and with their natural
// layout: the model value-initialises each one (`T{}`, every field zero, every pointer null) and
// then writes its defaults. The meanings of the fields belong to the client.

/// One layer: the model keeps one set of current layers (ModelScene::m_pLayerVec) and one set per
/// bank (_SceneBank_Record::pLayerVec). Both rectangles of a bank layer start at 0, 0, 1920, 1080,
/// those of a current layer all zero; copying a layer shares its text until one copy writes it.
struct _SceneLayer_Record
{
    ///@{
    /// The first rectangle: 0, 0, 1920, 1080 in a bank layer, all 0 in a current layer.
    int areaX;
    int areaY;
    int areaWidth;
    int areaHeight;
    ///@}
    ///@{
    /// The second rectangle, with the same defaults as the first.
    int area2X;
    int area2Y;
    int area2Width;
    int area2Height;
    ///@}
    ///@{
    /// A value of the client's, 0 by default.
    int value1;
    int value2;
    int value3;
    int value4;
    ///@}
    int layerIndex; ///< A bank layer's position in its bank; 0 for a current layer.
    int value5;     ///< Starts at 255.
    ///@{
    /// A value of the client's, 0 by default.
    int value6;
    int value7;
    int value8;
    ///@}
    ///@{
    /// A flag of the client's, 0 by default.
    quint8 flag1;
    quint8 flag2;
    quint8 flag3;
    ///@}
    /// A value of the client's, 0 by default.
    int value9;
    int value10; ///< Starts at -1.
    /// A value of the client's, 0 by default.
    int value11;
    /// A text of the client's, empty by default.
    QString text;
};

/// One bank's entry of ModelScene::m_pBankVec: its own layers and output flags, and four integers
/// and two flags that start at 0. The two vectors behind the pointers belong to the model, not to
/// the record: a copy of the record points at the same vectors, and only the model releases them.
struct _SceneBank_Record
{
    QVector<_SceneLayer_Record> *pLayerVec; ///< One bank layer per layer.
    ///@{
    /// A value of the client's, 0 by default.
    int value1;
    int value2;
    int value3;
    int value4;
    ///@}
    ///@{
    /// A flag of the client's, 0 by default.
    quint8 flag1;
    quint8 flag2;
    ///@}
    QVector<quint8> *pOutputFlagVec; ///< One entry per output, each 1.
};

/// One output of one bank, in ModelScene::m_pBankOutputVec: thirty integers; value30 starts at
/// 255, the others at 0.
struct _SceneOutput_Record
{
    ///@{
    /// A value of the client's: value30 starts at 255, the others at 0.
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    int value11, value12, value13, value14, value15, value16, value17, value18, value19, value20;
    int value21, value22, value23, value24, value25, value26, value27, value28, value29, value30;
    ///@}
};

/// One container's entry of ModelScene::m_containerList: five integers, all 0 by default.
struct _SceneContainer_Record
{
    ///@{
    /// A value of the client's, 0 by default.
    int value1, value2, value3, value4, value5;
    ///@}
};

Q_DECLARE_TYPEINFO(_SceneLayer_Record, MODEL_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(_SceneBank_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SceneOutput_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SceneContainer_Record, Q_PRIMITIVE_TYPE);

/// The parameter model of one scene device: the capacities of its device code and the tree of
/// current layers, banks, bank outputs, containers and sources.
///
/// The client creates one model per scene device, calls initParam() with the device code the
/// device reported, and then reads and writes the public members directly. A new model already
/// holds the tree of device code 0x320000. Each of the getMaxBankCount() banks has its own
/// getMaxLayerCount() layers and getMaxOutputCount() output flags and output records; the output
/// records of bank b are `(*m_pBankOutputVec)[b]`. A plain member without a note is 0 after every
/// initParam(); what it means is the client's business.
///
/// Binary layout: the client reads members at fixed offsets, so the class is packed to 1 byte (no
/// alignment gaps) and the members below must keep their order, types and widths. Records inside
/// the containers keep their natural layout. A packed member cannot bind to a reference: copy a
/// scalar member before passing it to a function that takes `const int &`.
///
/// Ownership: the model owns the three vectors behind m_pLayerVec, m_pBankVec and m_pBankOutputVec
/// and the two vectors behind each bank record's pointers. Every initParam() builds a new set and
/// releases the one it replaces; the destructor releases the last set; clearParams() never touches
/// them. A pointer into any of them is stale after initParam(). The model cannot be copied: two
/// models would release the same vectors.
#pragma pack(push, 1)
class MODEL_EXPORT ModelScene
{
public:
    /// Builds the complete tree of device code 0x320000, so a new model is never empty.
    ModelScene();
    /// Releases the owned vectors, the two of every bank included, and the two lists.
    ~ModelScene();
    Q_DISABLE_COPY_MOVE(ModelScene)

    /// Rebuilds the whole tree with defaults for deviceCode; every value written before is gone.
    /// An unknown code is no error: it is stored in m_deviceCode, and the tree is built to the
    /// capacities of the last known code.
    void initParam(int deviceCode);
    /// Empties m_containerList and m_sourceList; the owned vectors, the plain members and the
    /// capacities stay.
    void clearParams();
    /// Sets the capacities from the row of a known device code; an unknown code changes nothing.
    /// Only the capacities change: initParam() calls this and then rebuilds the tree to them.
    void initMaxParams(int deviceCode);

    /// \name Capacities
    /// The capacities of the last known device code. Only initMaxParams() changes them; neither
    /// clearParams() nor an unknown code resets them.
    ///@{
    int getMaxSourceCount();     ///< Sources: sizes m_sourceList.
    int getMaxBankCount();       ///< Banks, 16: sizes m_pBankVec and m_pBankOutputVec.
    int getMaxBankNameLength();  ///< Longest bank name, 16; sizes nothing in the model.
    int getMaxLayerCount();      ///< Layers: sizes m_pLayerVec and every bank's layers.
    int getMaxOutputCount();     ///< Outputs: sizes every bank's outputs and output flags.
    int getMaxContainerCount();  ///< Containers: sizes m_containerList.
    int getMaxInputBoardCount(); ///< Input boards; sizes nothing in the model.
    ///@}

    int m_deviceCode = 0; ///< The code last passed to initParam(), known or not.
    /// The current layers, one per layer.
    QVector<_SceneLayer_Record> *m_pLayerVec = nullptr;
    /// One record per bank.
    QVector<_SceneBank_Record> *m_pBankVec = nullptr;
    /// One vector per bank, holding one record per output.
    QVector<QVector<_SceneOutput_Record>> *m_pBankOutputVec = nullptr;
    QList<_SceneContainer_Record> m_containerList; ///< One record per container.
    QList<_Int12_Record> m_sourceList;             ///< One record per source, all 0.
    int m_initConstant = 0; ///< 3000 after every initParam(); the model never reads it.
    /// A value of the client's.
    int m_value1 = 0;
    int m_value2 = 0; ///< 1 after initParam().
    ///@{
    /// A flag of the client's.
    quint8 m_flag1 = 0;
    quint8 m_flag2 = 0;
    ///@}
    /// A value of the client's.
    int m_value3 = 0;
    /// Bytes of the client's, all 0.
    quint8 m_data[32] = {};
    /// A flag of the client's.
    quint8 m_flag3 = 0;

    /// \name Capacity members
    /// Read through the getters above. Only initMaxParams() writes them; initParam() sizes the tree
    /// from them.
    ///@{
    /** The capacity that the getter of the matching name returns. */
    int m_maxSourceCount = 0;
    int m_maxBankCount = 0;
    int m_maxBankNameLength = 0;
    int m_maxLayerCount = 0;
    int m_maxOutputCount = 0;
    int m_maxContainerCount = 0;
    int m_maxInputBoardCount = 0;
    ///@}
};
#pragma pack(pop)

#endif // MODEL_SCENE_MODELSCENE_H
