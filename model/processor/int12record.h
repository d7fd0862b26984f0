#ifndef MODEL_PROCESSOR_INT12RECORD_H
#define MODEL_PROCESSOR_INT12RECORD_H

#include <QtCore/QTypeInfo>

// Twelve integers: the processor model keeps one per input board, the scene model one per source.
// A plain aggregate; the models value-initialise it (all zero).
struct _Int12_Record
{
    int value1, value2, value3, value4, value5, value6;
    int value7, value8, value9, value10, value11, value12;
};

Q_DECLARE_TYPEINFO(_Int12_Record, Q_PRIMITIVE_TYPE);

#endif // MODEL_PROCESSOR_INT12RECORD_H
