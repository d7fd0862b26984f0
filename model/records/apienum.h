#ifndef MODEL_RECORDS_APIENUM_H
#define MODEL_RECORDS_APIENUM_H

#include <QtCore/QObject>

// Publishes DeviceTYPE through the meta-object system, so that the API side can turn a device
// type's key into its value and back by name (QMetaEnum::fromType<APIEnum::DeviceTYPE>()).
// Only the static meta-object is of use; the class adds no properties, methods or signals.
// Internal to the library: not installed, not exported.
class APIEnum : public QObject
{
    Q_OBJECT
public:
    // The kinds of device the API side deals with. Callers look keys and values up at run time,
    // so an existing key keeps its name and value.
    enum DeviceTYPE { E_DeviceTYPE_KTR8 = 0, E_DeviceTYPE_vMix = 1 };
    Q_ENUM(DeviceTYPE)

    explicit APIEnum(QObject *parent = nullptr);
    ~APIEnum() override;
};

#endif // MODEL_RECORDS_APIENUM_H
