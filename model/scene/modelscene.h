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

// One layer. The model keeps one set of current layers and one set per bank; both rectangles of a
// bank layer start at 0, 0, 1920, 1080, those of a current layer all zero.
struct _SceneLayer_Record
{
    int areaX;
    int areaY;
    int areaWidth;
    int areaHeight;
    int area2X;
    int area2Y;
    int area2Width;
    int area2Height;
    int value1;
    int value2;
    int value3;
    int value4;
    int layerIndex; // a bank layer's position in its bank; 0 for a current layer
    int value5;     // starts at 255
    int value6;
    int value7;
    int value8;
    quint8 flag1;
    quint8 flag2;
    quint8 flag3;
    int value9;
    int value10; // starts at -1
    int value11;
    QString text;
};

// One bank. The two vectors behind the pointers belong to the model, not to the record: a copy of
// the record points at the same vectors, and only the model releases them.
struct _SceneBank_Record
{
    QVector<_SceneLayer_Record> *pLayerVec; // one bank layer per layer
    int value1;
    int value2;
    int value3;
    int value4;
    quint8 flag1;
    quint8 flag2;
    QVector<quint8> *pOutputFlagVec; // one entry per output, each 1
};

// One output of one bank; value30 starts at 255, the others at 0.
struct _SceneOutput_Record
{
    int value1, value2, value3, value4, value5, value6, value7, value8, value9, value10;
    int value11, value12, value13, value14, value15, value16, value17, value18, value19, value20;
    int value21, value22, value23, value24, value25, value26, value27, value28, value29, value30;
};

struct _SceneContainer_Record
{
    int value1, value2, value3, value4, value5;
};

Q_DECLARE_TYPEINFO(_SceneLayer_Record, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(_SceneBank_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SceneOutput_Record, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(_SceneContainer_Record, Q_PRIMITIVE_TYPE);

// The parameter model of one scene device.
//
// Binary layout: the client reads members at fixed offsets, so the class is packed to 1 byte (no
// alignment gaps) and the members below must keep their order, types and widths. Records inside
// the containers keep their natural layout.
//
// Ownership: the model owns the three vectors behind m_pLayerVec, m_pBankVec and m_pBankOutputVec
// and the two vectors behind each bank record's pointers. Every initParam() builds a new set and
// releases the one it replaces; the destructor releases the last set; clearParams() never touches
// them. A pointer into any of them is stale after initParam(). The model cannot be copied: two
// models would release the same vectors.
#pragma pack(push, 1)
class MODEL_EXPORT ModelScene
{
public:
    // Holds the tree of device code 0x320000 right away.
    ModelScene();
    ~ModelScene();
    Q_DISABLE_COPY_MOVE(ModelScene)

    // Rebuilds the whole tree with defaults for deviceCode; every value written before is gone.
    // An unknown code is stored in m_deviceCode and the tree is built to the last known capacities.
    void initParam(int deviceCode);
    // Empties m_containerList and m_sourceList; owned vectors, values and capacities stay.
    void clearParams();
    // Sets the capacities of a known device code; an unknown code changes nothing.
    void initMaxParams(int deviceCode);

    int getMaxSourceCount() const;
    int getMaxBankCount() const;
    int getMaxBankNameLength() const;
    int getMaxLayerCount() const;
    int getMaxOutputCount() const;
    int getMaxContainerCount() const;
    int getMaxInputBoardCount() const;

    int m_deviceCode = 0;
    QVector<_SceneLayer_Record> *m_pLayerVec = nullptr;                // current layers, per layer
    QVector<_SceneBank_Record> *m_pBankVec = nullptr;                  // per bank
    QVector<QVector<_SceneOutput_Record>> *m_pBankOutputVec = nullptr; // per bank, per output
    QList<_SceneContainer_Record> m_containerList;                     // per container
    QList<_Int12_Record> m_sourceList;                                 // per source
    int m_initConstant = 0;
    int m_value1 = 0;
    int m_value2 = 0;
    quint8 m_flag1 = 0;
    quint8 m_flag2 = 0;
    int m_value3 = 0;
    quint8 m_data[32] = {};
    quint8 m_flag3 = 0;

    // Capacities: written only by initMaxParams().
    int m_maxSourceCount = 0;
    int m_maxBankCount = 0;
    int m_maxBankNameLength = 0;
    int m_maxLayerCount = 0;
    int m_maxOutputCount = 0;
    int m_maxContainerCount = 0;
    int m_maxInputBoardCount = 0;
};
#pragma pack(pop)

#endif // MODEL_SCENE_MODELSCENE_H
