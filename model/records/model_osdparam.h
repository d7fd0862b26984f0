#ifndef MODEL_RECORDS_MODEL_OSDPARAM_H
#define MODEL_RECORDS_MODEL_OSDPARAM_H

#include <model/model_export.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>

/// The parameters of the on-screen display. Each field carries its default; the meanings are the
/// client's. The eleven leading bytes start as 00 00 FE DC 00 00 00 00 00 0D 0A.
///
/// Binary layout: the client reads members at fixed offsets, so the members below keep their
/// order and widths, with natural alignment and no vtable.
class MODEL_EXPORT model_OsdParam
{
public:
    /// Every field at the default beside it; both texts and the byte array empty.
    model_OsdParam();
    /// Releases the texts and the byte array.
    ~model_OsdParam();
    model_OsdParam(const model_OsdParam &) = default;            ///< Member-wise copy.
    model_OsdParam &operator=(const model_OsdParam &) = default; ///< Member-wise copy.
    model_OsdParam(model_OsdParam &&) = default;                 ///< Member-wise move.
    model_OsdParam &operator=(model_OsdParam &&) = default;      ///< Member-wise move.

    ///@{
    /// A leading byte of the display parameters, at the default of its initialiser.
    quint8 m_osdByte1 = 0;
    quint8 m_osdByte2 = 0;
    quint8 m_osdByte3 = 0xFE;
    quint8 m_osdByte4 = 0xDC;
    quint8 m_osdByte5 = 0;
    quint8 m_osdByte6 = 0;
    quint8 m_osdByte7 = 0;
    quint8 m_osdByte8 = 0;
    quint8 m_osdByte9 = 0;
    ///@}
    quint8 m_osdByte10 = 0x0D; ///< Carriage return.
    quint8 m_osdByte11 = 0x0A; ///< Line feed.
    /// A text of the client's, empty by default.
    QString m_osdText1;
    /// A byte of the client's, 0 by default.
    quint8 m_osdByte12 = 0;
    /// A number of the client's, 3000 by default.
    int m_osdNumber1 = 3000;
    /// A text of the client's, empty by default.
    QString m_osdText2;
    /// Bytes of the client's, empty by default.
    QByteArray m_osdData;
    /// A number of the client's, -1 by default.
    int m_osdNumber2 = -1;
};

#endif // MODEL_RECORDS_MODEL_OSDPARAM_H
