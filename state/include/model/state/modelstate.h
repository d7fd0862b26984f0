#ifndef MODEL_STATE_MODELSTATE_H
#define MODEL_STATE_MODELSTATE_H

#include <model/state/modelstate_export.h>

#include <QtCore/QByteArray>
#include <QtCore/QJsonObject>
#include <QtCore/QJsonValue>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVector>

class ModelCalyth;
class ModelScene;
class ModelBankPlayer;
class ModelIC;
class Model_QuorParam;
class model_topology_param;
class model_API_param;
class model_Protocoldata;
class model_OsdParam;

/// Why restore() or check() refused a document: the JSON path of the first problem (empty for the
/// document as a whole) and what is wrong there.
struct ModelStateError
{
    QString path;    ///< For example `m_outputRecAList[3].value2`.
    QString message; ///< For example `expected an integer from 0 to 255, found 300`.

    /// "path: message", or the message alone for the whole document.
    QString toString() const
    {
        return path.isEmpty() ? message : path + QLatin1String(": ") + message;
    }
};

/// One leaf in which two documents differ, or one container entry that only one of them holds.
struct ModelStateDifference
{
    /// What kind of difference this is.
    enum Kind {
        Changed, ///< The value at path differs: before and after hold both.
        Added,   ///< Only the later document holds path: after holds it, before is undefined.
        Removed, ///< Only the earlier document holds path: before holds it, after is undefined.
    };
    /// Whether the value changed, or the entry was added or removed.
    Kind kind = Changed;
    /// Where the documents differ, as a JSON path such as `m_pBankVec[2].pLayerVec[17].areaX`.
    QString path;
    /// The value in the earlier document; undefined for an Added entry.
    QJsonValue before{QJsonValue::Undefined};
    /// The value in the later document; undefined for a Removed entry.
    QJsonValue after{QJsonValue::Undefined};
};

/// Snapshots of a model's whole state as JSON documents: save, restore, validate and compare.
///
/// A document is a JSON object holding "class" (the class name, such as "ModelCalyth") and
/// "format" (FormatVersion), then every public data member of the object under its own name:
/// records as objects with their field names, fixed arrays and containers as arrays, the owned
/// vectors behind a model's pointers as arrays (a null pointer as null), the client's map of
/// Model_QuorParam as an array of {"key", "value"} objects in key order. Integers and doubles are
/// JSON numbers, exactly; the doubles that JSON numbers cannot hold are the strings "NaN",
/// "Infinity", "-Infinity" and "-0". Byte buffers (the container names, the key texts and the
/// QByteArray members) are strings with one character per byte, U+0000 to U+00FF, every byte
/// included. Sizes are those the object holds: a document records a tree as it is, not as its
/// device code would build it. Static members (Model_QuorParam::gOledLength) are not part of it.
///
/// restore() sets an object from a document only if the whole document is valid; otherwise it
/// reports the first problem and leaves the object exactly as it was. Members are checked in
/// declaration order, each before the members after it; a record's unknown member is reported
/// after its known ones. Restoring needs no particular device code: the object takes the sizes
/// of the document, and its capacity members as the document gives them.
///
/// Paths name a member by its name, a record's field as `.field` and an array element as `[i]`:
/// `m_pBankVec[2].pLayerVec[17].areaX`, `m_presetKeys[0][5].firstString`, `m_map[1].value`.
/// Owned pointers add nothing to a path. The document's own entries are `class` and `format`.
class MODELSTATE_EXPORT ModelState
{
public:
    /// The format version that save() writes; restore() takes this one and refuses newer ones.
    static constexpr int FormatVersion = 1;

    /// \name Saving
    /// The whole state of the object as a document.
    ///@{
    /** The document of the object's whole state, for any of the classes below. */
    static QJsonObject save(const ModelCalyth &model);
    static QJsonObject save(const ModelScene &model);
    static QJsonObject save(const ModelBankPlayer &model);
    static QJsonObject save(const ModelIC &model);
    static QJsonObject save(const Model_QuorParam &model);
    static QJsonObject save(const model_topology_param &record);
    static QJsonObject save(const model_API_param &record);
    static QJsonObject save(const model_Protocoldata &record);
    static QJsonObject save(const model_OsdParam &record);
    ///@}

    /// \name Restoring
    /// Sets the object from document and returns true; or returns false, sets error if given,
    /// and leaves the object as it was.
    ///@{
    /** Sets the object from document, or reports why not and leaves it as it was. */
    static bool restore(ModelCalyth &model, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(ModelScene &model, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(ModelBankPlayer &model, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(ModelIC &model, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(Model_QuorParam &model, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(model_topology_param &record, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(model_API_param &record, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(model_Protocoldata &record, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    static bool restore(model_OsdParam &record, const QJsonObject &document,
                        ModelStateError *error = nullptr);
    ///@}

    /// The class names a document may hold, in the order of the overloads above.
    static QStringList classNames();
    /// Whether document is one that restore() into an object of its class would take; false with
    /// error set otherwise (an unknown class is an error at `class`).
    static bool check(const QJsonObject &document, ModelStateError *error = nullptr);

    /// Every leaf in which after differs from before, in document order (members in declaration
    /// order, array elements by index). Arrays are compared element by element; the elements
    /// beyond the shorter one are Added or Removed. A value whose JSON type changes (a pointer
    /// that becomes null, a number that becomes a string) is one Changed leaf. Meant for two
    /// documents of one class; documents of different classes differ at `class` and wherever
    /// else they differ.
    static QVector<ModelStateDifference> compare(const QJsonObject &before,
                                                 const QJsonObject &after);

    /// The document as indented JSON text in document order: "class", "format", then the members
    /// in declaration order, and every record's fields in their declaration order (where
    /// QJsonDocument::toJson would sort them by name). Members a document's class does not know
    /// follow in name order. QJsonDocument::fromJson() reads the text back to the same document.
    static QByteArray toJson(const QJsonObject &document);
};

#endif // MODEL_STATE_MODELSTATE_H
