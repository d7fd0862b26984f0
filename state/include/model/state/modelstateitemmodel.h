#ifndef MODEL_STATE_MODELSTATEITEMMODEL_H
#define MODEL_STATE_MODELSTATEITEMMODEL_H

#include <model/state/modelstate.h>
#include <model/state/modelstate_export.h>

#include <QtCore/QAbstractItemModel>
#include <QtCore/QJsonObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVector>

#include <memory>

/// A state document (see ModelState) as a tree for Qt's item views and QML.
///
/// One row per member, record field or container entry, in document order: the document's own
/// entries and members in declaration order, array entries by index, members that a document's
/// class does not know last, in name order. Three columns: NameColumn (the member name, or `[i]`
/// for an entry), ValueColumn (a leaf's value as text; "N entries" for an array) and TypeColumn
/// (the member's type, such as `uint8`, `bytes[40]` or `list of record`). Every row gives its
/// path as ModelState::compare() writes it through PathRole, and its JSON value through ValueRole.
///
/// The rows of an entry are built when a view first asks for them, so a document of any size
/// opens at once and the model costs little beside the document itself, which it shares.
///
/// Leaves of a known class are editable in ValueColumn, except the document's own entries
/// ("class" and "format"). An edit is checked the way ModelState::restore() checks that place of
/// a document; a refused edit changes nothing, and editError() and editRefused() say why.
///
/// setDocument() with a later document of the same class changes only what ModelState::compare()
/// finds: dataChanged() for the leaves that changed (and for an array whose entry count
/// changed), row insertions and removals for the entries added and removed, so that a view keeps
/// its expanded rows, selection and current index. (The ValueRole of a record or an array is its
/// whole value: it changes with any leaf below it, without a signal of its own.) A document of
/// another class resets the model. With a comparison document set (setComparisonDocument()),
/// DifferenceRole marks every row that differs from it, and the entries only the comparison
/// document holds appear as rows of their own, marked Removed, with the comparison's values.
class MODELSTATE_EXPORT ModelStateItemModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    /// The columns.
    enum Column {
        NameColumn,  ///< The member name, or `[i]` for an array entry.
        ValueColumn, ///< A leaf's value as text; the entry count of an array.
        TypeColumn,  ///< The member's type, such as `int32`, `bytes[40]` or `list of record`.
        ColumnCount  ///< The number of columns.
    };
    Q_ENUM(Column)

    /// The roles beyond Qt's own, for every column of a row.
    enum Role {
        /// QString: the row's path as ModelState::compare() writes it, such as
        /// `m_pBankVec[2].pLayerVec[17].areaX`.
        PathRole = Qt::UserRole + 1,
        /// QJsonValue: the row's value in the document; no value for a row only the comparison
        /// document holds.
        ValueRole,
        /// int, a Difference: how the row differs from the comparison document.
        DifferenceRole,
        /// QJsonValue: the row's value in the comparison document; no value without one, or for
        /// a row only the document holds.
        ComparisonValueRole,
    };
    Q_ENUM(Role)

    /// How a row differs from the comparison document (NoDifference without one).
    enum Difference {
        NoDifference, ///< The row and everything below it are alike in both documents.
        Changed,      ///< The leaf's value differs, or its JSON type (an array became null).
        Added,        ///< Only the document holds the row; so do the rows below it.
        Removed,      ///< Only the comparison document holds the row; so do the rows below it.
        ChangedBelow, ///< The row is alike, but some row below it differs.
    };
    Q_ENUM(Difference)

    /// An empty model: no rows until setDocument().
    explicit ModelStateItemModel(QObject *parent = nullptr);
    /// A model of document.
    explicit ModelStateItemModel(const QJsonObject &document, QObject *parent = nullptr);
    ~ModelStateItemModel() override;

    /// The document with every accepted edit.
    QJsonObject document() const;
    /// Shows document. A document of the class shown so far changes only the rows
    /// ModelState::compare() finds different (see the class description); a document of another
    /// class, or the first one, resets the model.
    void setDocument(const QJsonObject &document);

    /// The document the rows are compared with; empty if none.
    QJsonObject comparisonDocument() const;
    /// Compares the rows with document from now on, through DifferenceRole and
    /// ComparisonValueRole, and adds the rows that only document holds (marked Removed). The
    /// document stays the later one: a row it holds and the comparison does not is Added. An
    /// empty document ends the comparison.
    void setComparisonDocument(const QJsonObject &document);
    /// Every difference from the comparison document to the document, as ModelState::compare()
    /// lists them; empty without a comparison document.
    QVector<ModelStateDifference> differences() const;

    /// The row at path (as PathRole gives it), in column; an invalid index if there is none. It
    /// builds the rows on the way, as a view does when it expands them.
    QModelIndex indexOfPath(const QString &path, int column = NameColumn) const;
    /// The paths of every row whose path or value text contains text, in document order, without
    /// building any rows: what a filter of a large document needs.
    QStringList findPaths(const QString &text, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;

    /// Why the last refused edit was refused; empty after an accepted one.
    ModelStateError editError() const;

    /// The row of parent in column, for rows that exist; building parent's rows if need be.
    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    /// The row that holds child; an invalid index for the top rows.
    QModelIndex parent(const QModelIndex &child) const override;
    /// The entries of parent (in NameColumn), together with those only the comparison holds.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /// ColumnCount, for every row.
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    /// Whether parent (in NameColumn) has entries; it builds no rows.
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    /// What the row shows in the column for Qt::DisplayRole and Qt::EditRole (the text an edit
    /// starts from, for editable leaves in ValueColumn), and the roles of Role.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /// "Name", "Value" and "Type".
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    /// Enabled and selectable; editable in ValueColumn for the leaves setData() takes.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    /// Qt's names, and "path", "value", "difference" and "comparisonValue" for the roles of Role.
    QHash<int, QByteArray> roleNames() const override;

    /// Edits a leaf in ValueColumn. With ValueRole, value is the new QJsonValue as it is. With
    /// Qt::EditRole, value is text as Qt::EditRole gives it: a number for a number member
    /// ("NaN", "Infinity" and "-Infinity" too for a double), and for a string or byte member
    /// its characters with `\\` for a backslash and `\xHH` for a control character; a byte
    /// buffer of fixed size is filled up with zero bytes. Returns false and changes nothing if
    /// the edit is refused (editError() says why) or the row is no editable leaf.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    /// An edit at path was refused, for the reason in message (as editError() gives it).
    void editRefused(const QString &path, const QString &message);
    /// An edit changed the document at path.
    void documentEdited(const QString &path);

private:
    class Private;
    std::unique_ptr<Private> d;
};

#endif // MODEL_STATE_MODELSTATEITEMMODEL_H
