#ifndef STATE_DOCUMENTTYPE_H
#define STATE_DOCUMENTTYPE_H

// What a document holds in each place, for the item model: a record's members in declaration
// order, an array's element, a name for every type and, for a leaf, the very check that restore()
// applies there. Built from the member lists and the codecs, so it cannot disagree with them.
// Internal to the companion library (and its tests): not installed.

#include <QtCore/QJsonValue>
#include <QtCore/QLatin1String>
#include <QtCore/QPair>
#include <QtCore/QString>
#include <QtCore/QVector>

namespace StateCodec {

struct LoadError;

// The names of a document's own entries, which come before its members.
inline const QLatin1String ClassKey("class");
inline const QLatin1String FormatKey("format");

struct DocumentType
{
    // What text an edit of a leaf stands for (see ModelStateItemModel::setData).
    enum class Leaf {
        None,     // a record or an array
        Integer,  // a JSON number without fraction
        Floating, // a JSON number, or one of the names of the doubles JSON cannot hold
        Text,     // a string
        Bytes,    // a string of one character per byte; size bytes if size is not -1
    };

    QString name; // "uint8", "bytes[40]", "list of record", ...
    Leaf leaf = Leaf::None;
    int size = -1;
    // Whether restore() takes json in this place: false with error set (its path empty) if not.
    // Null where nothing may be edited: records, arrays, and the document's own entries.
    bool (*check)(const QJsonValue &json, LoadError &error) = nullptr;
    QVector<QPair<QString, const DocumentType *>> members; // a record's, in declaration order
    const DocumentType *element = nullptr;                 // an array's
    // An array of {"key", "value"} entries (a map): restore() refuses a key given twice.
    bool uniqueKeys = false;

    // The type of member name, or null if the record has no such member. row is where the member
    // is expected: the members of a document come in declaration order.
    const DocumentType *member(const QString &name, int row = -1) const;
};

// The type of a whole document of the class: "class" and "format" first, then the members. Null
// for a name that is no class of ModelState::classNames().
const DocumentType *documentType(const QString &className);

} // namespace StateCodec

#endif // STATE_DOCUMENTTYPE_H
