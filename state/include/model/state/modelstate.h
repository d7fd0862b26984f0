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

/// Why restore() or check() refused a document, or apply() a difference: the JSON path of the
/// first problem (empty for the document as a whole) and what is wrong there.
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
/// A key that no member has, and that is empty or holds a '.', '[', ']', '"', '\\' or a control
/// character, is written `["key"]` with the escapes of a JSON string (`m_text1["a.b"]`), so
/// that every path names one place.
///
/// No function here recurses along a document: a document nested as deep as QJsonDocument reads
/// is walked on the heap, and checking a document allocates nothing that grows with its size.
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
    /// The first maximum differences that compare(before, after) lists, and in total, if not
    /// null, how many it lists in all. The differences beyond maximum cost no memory: they are
    /// only counted.
    static QVector<ModelStateDifference> compare(const QJsonObject &before,
                                                 const QJsonObject &after, qsizetype maximum,
                                                 qsizetype *total = nullptr);

    /// Applies differences as compare() lists them to document, all of them or some, and returns
    /// true; or returns false, sets error if given, and leaves document as it was.
    ///
    /// A Changed difference needs the value before at its path and sets after there; a Removed
    /// one needs before at its path and takes it out; an Added one needs its path free and puts
    /// after there. Array elements are added and removed at the end of their array only: the
    /// Added elements of an array must continue it without a gap, and its Removed elements must
    /// be its last ones. No path may be given twice or lie inside another difference's path.
    /// So compare(before, after) applied to before gives after exactly, and any part of it that
    /// keeps those rules applies to before as well. The error names the path of the first problem
    /// met: a value that is missing, present already or other than before, a path that is not
    /// one, or an array element out of place.
    static bool apply(QJsonObject &document, const QVector<ModelStateDifference> &differences,
                      ModelStateError *error = nullptr);

    /// How toJson() lays out its text.
    enum TextLayout {
        Indented, ///< Four spaces a level, one member a line, a line break at the end.
        Compact,  ///< One line without any white space and without a line break at the end.
    };

    /// The document as indented JSON text in document order: "class", "format", then the members
    /// in declaration order, and every record's fields in their declaration order (where
    /// QJsonDocument::toJson would sort them by name). Members a document's class does not know
    /// follow in name order. QJsonDocument::fromJson() reads the text back to the same document.
    static QByteArray toJson(const QJsonObject &document);
    /// The same text as toJson(document), laid out as layout says: the scene's largest document is
    /// 12 MB indented and 4.3 MB compact.
    static QByteArray toJson(const QJsonObject &document, TextLayout layout);
};

#endif // MODEL_STATE_MODELSTATE_H
