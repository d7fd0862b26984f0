#ifndef MODEL_RECORDS_MODEL_API_PARAM_H
#define MODEL_RECORDS_MODEL_API_PARAM_H

#include <model/model_export.h>

#include <QtCore/QString>

/// The API parameters of the client: texts and numbers whose meaning is the client's, with three
/// network texts that clearNetData() resets on their own.
///
/// Binary layout: the client reads members at fixed offsets, so the members below keep their
/// order and types. The vtable pointer of the virtual destructor comes first, then the members
/// with natural alignment.
class MODEL_EXPORT model_API_param
{
public:
    /// Every field at the default beside it; every text empty.
    model_API_param();
    /// Releases the texts. Virtual so that the record may be deleted through a pointer to it.
    virtual ~model_API_param();
    model_API_param(const model_API_param &) = default;            ///< Member-wise copy.
    model_API_param &operator=(const model_API_param &) = default; ///< Member-wise copy.
    model_API_param(model_API_param &&) = default;                 ///< Member-wise move.
    model_API_param &operator=(model_API_param &&) = default;      ///< Member-wise move.

    /// Sets every field back to its default, as a new record has it: m_apiNumber1 and
    /// m_apiNumber7 -1, the other numbers 0, every text empty.
    void clearData();
    /// Empties the three network texts; every other field keeps its value.
    void clearNetData();

    ///@{
    /// An API text of the client's, empty by default.
    QString m_apiText1;
    QString m_apiText2;
    ///@}
    ///@{
    /// An API number of the client's, at the default of its initialiser.
    int m_apiNumber1 = -1;
    int m_apiNumber2 = 0;
    int m_apiNumber3 = 0;
    int m_apiNumber4 = 0;
    ///@}
    QString m_netText1; ///< Network text; clearNetData() empties it.
    QString m_netText2; ///< Network text; clearNetData() empties it.
    QString m_netText3; ///< Network text; clearNetData() empties it.
    ///@{
    /// An API number of the client's, at the default of its initialiser.
    int m_apiNumber5 = 0;
    int m_apiNumber6 = 0;
    int m_apiNumber7 = -1;
    int m_apiNumber8 = 0;
    ///@}
};

#endif // MODEL_RECORDS_MODEL_API_PARAM_H
