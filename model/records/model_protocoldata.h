#ifndef MODEL_RECORDS_MODEL_PROTOCOLDATA_H
#define MODEL_RECORDS_MODEL_PROTOCOLDATA_H

#include <model/model_export.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>

/// The protocol data of the client. Each field carries its default beside it, the two address
/// texts in a note beside them; the meanings are the client's.
///
/// Binary layout: the client reads members at fixed offsets, so the members below keep their
/// order and widths, with natural alignment and no vtable.
class MODEL_EXPORT model_Protocoldata
{
public:
    /// Every field at the default beside it; both addresses "100.100.100.100", the text and the
    /// byte array empty.
    model_Protocoldata();
    /// Releases the texts and the byte array.
    ~model_Protocoldata();
    model_Protocoldata(const model_Protocoldata &) = default;            ///< Member-wise copy.
    model_Protocoldata &operator=(const model_Protocoldata &) = default; ///< Member-wise copy.
    model_Protocoldata(model_Protocoldata &&) = default;                 ///< Member-wise move.
    model_Protocoldata &operator=(model_Protocoldata &&) = default;      ///< Member-wise move.

    QString m_ipAddress1; ///< "100.100.100.100" by default.
    /// A byte of the client's, 0 by default.
    quint8 m_protoByte1 = 0;
    QString m_ipAddress2; ///< "100.100.100.100" by default.
    /// A byte of the client's, 0 by default.
    quint8 m_protoByte2 = 0;
    ///@{
    /// A protocol value of the client's, at the default of its initialiser.
    quint16 m_protoWord1 = 0xF00F;
    quint16 m_protoWord2 = 0xF11F;
    quint8 m_protoByte3 = 0;
    quint16 m_protoWord3 = 0;
    quint16 m_protoWord4 = 0;
    quint16 m_protoWord5 = 0;
    ///@}
    ///@{
    /// A protocol byte of the client's, 0 by default.
    quint8 m_protoByte4 = 0;
    quint8 m_protoByte5 = 0;
    quint8 m_protoByte6 = 0;
    quint8 m_protoByte7 = 0;
    quint8 m_protoByte8 = 0;
    quint8 m_protoByte9 = 0;
    quint8 m_protoByte10 = 0;
    ///@}
    /// A number of the client's, 3000 by default.
    int m_protoNumber1 = 3000;
    /// A text of the client's, empty by default.
    QString m_protoText;
    /// Bytes of the client's, empty by default.
    QByteArray m_protoData;
    /// A byte of the client's, 0 by default.
    quint8 m_protoByte11 = 0;
    /// A number of the client's, -1 by default.
    int m_protoNumber2 = -1;
};

#endif // MODEL_RECORDS_MODEL_PROTOCOLDATA_H
