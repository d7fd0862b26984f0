#include "modelviewwindow.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/keyboard/model_quorparam.h>
#include <model/processor/modelcalyth.h>
#include <model/records/model_api_param.h>
#include <model/records/model_osdparam.h>
#include <model/records/model_protocoldata.h>
#include <model/scene/modelscene.h>
#include <model/state/modelstateitemmodel.h>
#include <model/topology/model_topology_param.h>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QSaveFile>
#include <QtCore/QSet>
#include <QtCore/QSortFilterProxyModel>
#include <QtCore/QTimer>
#include <QtGui/QColor>
#include <QtGui/QKeySequence>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QDockWidget>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTreeView>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <memory>

using Model = ModelStateItemModel;

namespace {

template<typename T>
QJsonObject savedModel(int code)
{
    // The larger models do not belong on the stack.
    const auto model = std::make_unique<T>();
    if constexpr (
        std::is_same_v<
            T,
            ModelCalyth> || std::is_same_v<T, ModelScene> || std::is_same_v<T, ModelBankPlayer> || std::is_same_v<T, ModelIC>)
        model->initParam(code);
    return ModelState::save(*model);
}

// The models a document can be built from, by the names modelinfo gives them.
struct DeviceModel
{
    const char *name;
    QJsonObject (*save)(int code);
};

// clang-format off
const DeviceModel s_deviceModels[] = {
    {"processor",  &savedModel<ModelCalyth>},
    {"scene",      &savedModel<ModelScene>},
    {"bankplayer", &savedModel<ModelBankPlayer>},
    {"ic",         &savedModel<ModelIC>},
    {"keyboard",   &savedModel<Model_QuorParam>},
    {"topology",   &savedModel<model_topology_param>},
    {"api",        &savedModel<model_API_param>},
    {"protocol",   &savedModel<model_Protocoldata>},
    {"osd",        &savedModel<model_OsdParam>},
};
// clang-format on
constexpr int ModelsWithCode = 4;

// A value on one line: a string as it is, anything else as compact JSON.
QString valueText(const QJsonValue &value)
{
    if (value.isUndefined())
        return QStringLiteral("(none)");
    if (value.isString())
        return value.toString();
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

// The colours of rows that differ from the comparison document.
QVariant differenceColour(int difference)
{
    switch (difference) {
    case Model::Changed:
        return QColor(255, 214, 102);
    case Model::Added:
        return QColor(168, 222, 160);
    case Model::Removed:
        return QColor(244, 170, 170);
    case Model::ChangedBelow:
        return QColor(255, 241, 204);
    default:
        return {};
    }
}

} // namespace

// The rows the filter keeps, and the colours and tool tips of the comparison.
class DocumentProxy : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setMatches(const QStringList &paths, bool active)
    {
        m_active = active;
        m_matches = QSet<QString>(paths.cbegin(), paths.cend());
        m_above.clear();
        for (const QString &path : paths) {
            for (qsizetype i = path.size() - 1; i > 0; --i) {
                if (path.at(i) == QLatin1Char('.') || path.at(i) == QLatin1Char('['))
                    m_above.insert(path.left(i));
            }
        }
        invalidateFilter();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::BackgroundRole)
            return differenceColour(index.data(Model::DifferenceRole).toInt());
        if (role == Qt::ToolTipRole && index.data(Model::DifferenceRole).toInt() != 0)
            return QStringLiteral("Comparison: %1\nDocument: %2")
                .arg(valueText(index.data(Model::ComparisonValueRole).toJsonValue()),
                     valueText(index.data(Model::ValueRole).toJsonValue()));
        return QSortFilterProxyModel::data(index, role);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (!m_active)
            return true;
        const QString path = sourceModel()->index(row, 0, parent).data(Model::PathRole).toString();
        if (m_matches.contains(path) || m_above.contains(path))
            return true;
        for (qsizetype i = path.size() - 1; i > 0; --i) {
            if ((path.at(i) == QLatin1Char('.') || path.at(i) == QLatin1Char('['))
                && m_matches.contains(path.left(i)))
                return true;
        }
        return false;
    }

private:
    bool m_active = false;
    QSet<QString> m_matches; // the rows below a match show as well
    QSet<QString> m_above;   // the rows on the way to a match
};

// The differences from the comparison document, one a row: path, comparison's value, document's.
class DifferenceList : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setDifferences(const QVector<ModelStateDifference> &differences)
    {
        beginResetModel();
        m_differences = differences;
        endResetModel();
    }
    QString path(int row) const { return m_differences.value(row).path; }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(m_differences.size());
    }
    int columnCount(const QModelIndex &) const override { return 3; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        const ModelStateDifference &d = m_differences.at(index.row());
        return index.column() == 0 ? d.path : valueText(index.column() == 1 ? d.before : d.after);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("Path")
            : section == 1  ? QStringLiteral("Comparison")
                            : QStringLiteral("Document");
    }

private:
    QVector<ModelStateDifference> m_differences;
};

// A row is edited in its value, whichever column F2 or a double click is on.
class DocumentTree : public QTreeView
{
public:
    using QTreeView::QTreeView;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override
    {
        return QTreeView::edit(index.siblingAtColumn(Model::ValueColumn), trigger, event);
    }
};

ModelViewWindow::ModelViewWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_model(new Model(this))
    , m_proxy(new DocumentProxy(this))
    , m_differences(new DifferenceList(this))
    , m_tree(new DocumentTree)
    , m_filter(new QLineEdit)
    , m_filterDelay(new QTimer(this))
    , m_differenceView(new QTreeView)
    , m_differenceDock(new QDockWidget(QStringLiteral("Differences"), this))
    , m_path(new QLabel)
{
    m_proxy->setSourceModel(m_model);
    m_tree->setObjectName(QStringLiteral("tree"));
    m_tree->setModel(m_proxy);
    m_tree->setUniformRowHeights(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::SelectedClicked);
    m_tree->header()->resizeSection(Model::NameColumn, 300);
    m_tree->header()->resizeSection(Model::ValueColumn, 240);

    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter by path or value (Ctrl+F)"));
    m_filter->setClearButtonEnabled(true);
    // Typing refilters after a pause: a large document takes a moment to search.
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(300);
    connect(m_filter, &QLineEdit::textEdited, m_filterDelay, qOverload<>(&QTimer::start));
    connect(m_filterDelay, &QTimer::timeout, this, [this] { setFilter(m_filter->text()); });
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        setFilter(m_filter->text());
        m_tree->setFocus();
    });

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_tree);
    setCentralWidget(central);

    m_differenceView->setObjectName(QStringLiteral("differences"));
    m_differenceView->setModel(m_differences);
    m_differenceView->setRootIsDecorated(false);
    m_differenceView->setUniformRowHeights(true);
    m_differenceView->setAllColumnsShowFocus(true);
    m_differenceView->header()->resizeSection(0, 280);
    m_differenceDock->setObjectName(QStringLiteral("differenceDock"));
    m_differenceDock->setWidget(m_differenceView);
    m_differenceDock->hide();
    addDockWidget(Qt::BottomDockWidgetArea, m_differenceDock);
    connect(m_differenceView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showPath(m_differences->path(current.row())); });

    m_path->setObjectName(QStringLiteral("path"));
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(m_path, 1);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        statusBar()->clearMessage();
        showStatus();
    });
    connect(m_model, &Model::editRefused, this, [this](const QString &path, const QString &why) {
        statusBar()->showMessage(QStringLiteral("Refused: %1: %2").arg(path, why), 15000);
    });
    connect(m_model, &Model::documentEdited, this, [this] {
        setWindowModified(true);
        refreshDifferences();
        showStatus();
    });

    createActions();
    setDocument({}, {}, QStringLiteral("no document"));
    resize(1000, 700);
}

ModelViewWindow::~ModelViewWindow()
{
    // Closing the window commits an open editor into the model: this window no longer listens.
    disconnect(m_model, nullptr, this, nullptr);
}

QStringList ModelViewWindow::deviceModels()
{
    QStringList names;
    for (const DeviceModel &m : s_deviceModels)
        names << QLatin1String(m.name);
    return names;
}

void ModelViewWindow::createActions()
{
    const auto add
        = [this](QMenu *menu, const char *text, const QKeySequence &shortcut, const auto &slot) {
              QAction *action = menu->addAction(QLatin1String(text));
              action->setShortcut(shortcut);
              connect(action, &QAction::triggered, this, slot);
          };
    const auto keys = [](const char *text) {
        return QKeySequence(QLatin1String(text), QKeySequence::PortableText);
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, "&Open...", QKeySequence::Open, [this] { openDialog(); });
    add(file, "&New from Device...", QKeySequence::New, [this] { newDialog(); });
    add(file, "&Save", QKeySequence::Save, [this] { save(); });
    add(file, "Save &As...", QKeySequence::SaveAs, [this] { saveAsDialog(); });
    file->addSeparator();
    add(file, "&Quit", QKeySequence::Quit, [this] { close(); });

    QMenu *compare = menuBar()->addMenu(QStringLiteral("&Compare"));
    add(compare, "Compare &With...", keys("Ctrl+D"), [this] { compareDialog(); });
    add(compare, "&Next Difference", keys("F8"), [this] { nextDifference(1); });
    add(compare, "&Previous Difference", keys("Shift+F8"), [this] { nextDifference(-1); });
    add(compare, "&End Comparison", QKeySequence(), [this] { endComparison(); });

    QMenu *go = menuBar()->addMenu(QStringLiteral("&Go"));
    add(go, "&Filter", QKeySequence::Find, [this] {
        m_filter->setFocus();
        m_filter->selectAll();
    });
    add(go, "&Clear Filter", keys("Ctrl+Shift+F"), [this] {
        setFilter(QString());
        m_tree->setFocus();
    });
    add(go, "&Tree", keys("Ctrl+T"), [this] { m_tree->setFocus(); });
}

bool ModelViewWindow::readDocument(const QString &path, QJsonObject &document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    QJsonParseError parse{};
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        m_error
            = QStringLiteral("%1: %2 at byte %3").arg(path, parse.errorString()).arg(parse.offset);
        return false;
    }
    if (!json.isObject()) {
        m_error = QStringLiteral("%1 does not hold a JSON object").arg(path);
        return false;
    }
    document = json.object();
    return true;
}

bool ModelViewWindow::openFile(const QString &path)
{
    QJsonObject document;
    if (!readDocument(path, document))
        return false;
    setDocument(document, path, QFileInfo(path).fileName());
    return true;
}

bool ModelViewWindow::newFromDevice(const QString &model, int code)
{
    const auto it
        = std::find_if(std::begin(s_deviceModels), std::end(s_deviceModels),
                       [&](const DeviceModel &m) { return model == QLatin1String(m.name); });
    if (it == std::end(s_deviceModels)) {
        m_error = QStringLiteral("unknown model '%1': choose %2")
                      .arg(model, deviceModels().join(QLatin1String(", ")));
        return false;
    }
    const bool coded = it - std::begin(s_deviceModels) < ModelsWithCode;
    setDocument(it->save(code), QString(),
                coded ? QStringLiteral("%1 0x%2").arg(model).arg(code, 0, 16) : model);
    return true;
}

void ModelViewWindow::setDocument(const QJsonObject &document, const QString &path,
                                  const QString &title)
{
    endComparison();
    m_model->setDocument(document);
    m_file = path;
    setWindowTitle(QStringLiteral("%1[*] - modelview").arg(title));
    setWindowModified(false);
    if (!m_filter->text().isEmpty())
        setFilter(m_filter->text());
    showStatus();
    ModelStateError problem;
    if (!document.isEmpty() && !ModelState::check(document, &problem))
        statusBar()->showMessage(
            QStringLiteral("Not a document restore() takes: %1").arg(problem.toString()));
}

bool ModelViewWindow::compareWithFile(const QString &path)
{
    QJsonObject document;
    if (!readDocument(path, document))
        return false;
    m_model->setComparisonDocument(document);
    refreshDifferences();
    m_differenceDock->setWindowTitle(QStringLiteral("Differences from %1: %2")
                                         .arg(QFileInfo(path).fileName())
                                         .arg(m_differences->rowCount(QModelIndex())));
    m_differenceDock->show();
    resizeDocks({m_differenceDock}, {height() / 4}, Qt::Vertical);
    nextDifference(1);
    return true;
}

void ModelViewWindow::endComparison()
{
    m_model->setComparisonDocument({});
    refreshDifferences();
    m_differenceDock->hide();
}

void ModelViewWindow::refreshDifferences()
{
    const QString current = m_differences->path(m_differenceView->currentIndex().row());
    m_differences->setDifferences(m_model->differences());
    for (int r = 0; r < m_differences->rowCount(QModelIndex()); ++r) {
        if (m_differences->path(r) == current) {
            const QSignalBlocker quiet(m_differenceView->selectionModel());
            m_differenceView->setCurrentIndex(m_differences->index(r, 0));
        }
    }
}

void ModelViewWindow::nextDifference(int step)
{
    const int count = m_differences->rowCount(QModelIndex());
    if (count == 0)
        return;
    const int current = m_differenceView->currentIndex().row();
    const int next = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    m_differenceView->setCurrentIndex(m_differences->index(next, 0));
}

void ModelViewWindow::setFilter(const QString &text)
{
    m_filterDelay->stop();
    if (m_filter->text() != text)
        m_filter->setText(text);
    const QStringList matches = text.isEmpty() ? QStringList() : m_model->findPaths(text);
    m_proxy->setMatches(matches, !text.isEmpty());
    // The first matches show at once; the others are a keypress away.
    for (int i = 0; i < std::min<qsizetype>(matches.size(), 50); ++i) {
        const QModelIndex row = m_proxy->mapFromSource(m_model->indexOfPath(matches.at(i)));
        for (QModelIndex above = row.parent(); above.isValid(); above = above.parent())
            m_tree->expand(above);
    }
    if (!text.isEmpty())
        statusBar()->showMessage(QStringLiteral("%1 rows match").arg(matches.size()), 5000);
}

bool ModelViewWindow::showPath(const QString &path)
{
    const QModelIndex source = m_model->indexOfPath(path);
    if (!source.isValid())
        return false;
    QModelIndex row = m_proxy->mapFromSource(source);
    if (!row.isValid()) {
        setFilter(QString());
        row = m_proxy->mapFromSource(source);
    }
    for (QModelIndex above = row.parent(); above.isValid(); above = above.parent())
        m_tree->expand(above);
    m_tree->setCurrentIndex(row);
    m_tree->scrollTo(row, QAbstractItemView::PositionAtCenter);
    return true;
}

void ModelViewWindow::showStatus()
{
    const QModelIndex current = m_tree->currentIndex();
    if (!current.isValid()) {
        m_path->setText(m_model->rowCount() ? QStringLiteral("%1 members").arg(m_model->rowCount())
                                            : QString());
        return;
    }
    QString text = current.data(Model::PathRole).toString() + QLatin1String("  (")
        + current.siblingAtColumn(Model::TypeColumn).data().toString() + QLatin1Char(')');
    switch (current.data(Model::DifferenceRole).toInt()) {
    case Model::Changed:
        text += QLatin1String("  comparison: ")
            + valueText(current.data(Model::ComparisonValueRole).toJsonValue());
        break;
    case Model::Added:
        text += QLatin1String("  only in this document");
        break;
    case Model::Removed:
        text += QLatin1String("  only in the comparison");
        break;
    default:
        break;
    }
    m_path->setText(text);
}

bool ModelViewWindow::saveFile(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ModelState::toJson(m_model->document())) < 0
        || !file.commit()) {
        m_error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    m_file = path;
    setWindowTitle(QStringLiteral("%1[*] - modelview").arg(QFileInfo(path).fileName()));
    setWindowModified(false);
    statusBar()->showMessage(QStringLiteral("Saved %1").arg(path), 5000);
    return true;
}

// The dialogs around the operations above.

void ModelViewWindow::openDialog()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open a state document"), QFileInfo(m_file).path(),
        QStringLiteral("State documents (*.json);;All files (*)"));
    if (!path.isEmpty() && !openFile(path))
        QMessageBox::warning(this, QStringLiteral("Open"), m_error);
}

void ModelViewWindow::compareDialog()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Compare with a state document"), QFileInfo(m_file).path(),
        QStringLiteral("State documents (*.json);;All files (*)"));
    if (!path.isEmpty() && !compareWithFile(path))
        QMessageBox::warning(this, QStringLiteral("Compare"), m_error);
}

bool ModelViewWindow::save()
{
    if (m_file.isEmpty())
        return saveAsDialog();
    if (saveFile(m_file))
        return true;
    QMessageBox::warning(this, QStringLiteral("Save"), m_error);
    return false;
}

bool ModelViewWindow::saveAsDialog()
{
    const QString path
        = QFileDialog::getSaveFileName(this, QStringLiteral("Save the document"), m_file,
                                       QStringLiteral("State documents (*.json)"));
    if (path.isEmpty())
        return false;
    if (saveFile(path))
        return true;
    QMessageBox::warning(this, QStringLiteral("Save"), m_error);
    return false;
}

void ModelViewWindow::newDialog()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("New from Device"));
    auto *models = new QComboBox;
    models->addItems(deviceModels());
    auto *code = new QLineEdit(QStringLiteral("0x320000"));
    connect(models, qOverload<int>(&QComboBox::currentIndexChanged), code,
            [code](int index) { code->setEnabled(index < ModelsWithCode); });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("&Model:"), models);
    form->addRow(QStringLiteral("Device &code:"), code);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool ok = false;
    const int value = code->text().trimmed().toInt(&ok, 0);
    if (!ok)
        QMessageBox::warning(this, dialog.windowTitle(),
                             QStringLiteral("'%1' is no device code").arg(code->text()));
    else
        newFromDevice(models->currentText(), value);
}
