#ifndef MODEL_PROCESSOR_INT12RECORD_H
#define MODEL_PROCESSOR_INT12RECORD_H

#include <QtCore/QTypeInfo>

/// Twelve integers whose meaning is the client's: ModelCalyth keeps one per input board
/// (ModelCalyth::m_inputBoardRecList), ModelScene one per source (ModelScene::m_sourceList).
/// A plain aggregate with its natural layout; the models append it value-initialised, every
/// field 0.
struct _Int12_Record
{
    ///@{
    /// A value of the client's, 0 in a record the models append.
    int value1, value2, value3, value4, value5, value6;
    int value7, value8, value9, value10, value11, value12;
    ///@}
};

Q_DECLARE_TYPEINFO(_Int12_Record, Q_PRIMITIVE_TYPE);

#endif // MODEL_PROCESSOR_INT12RECORD_H
