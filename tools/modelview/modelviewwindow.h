#ifndef TOOLS_MODELVIEW_MODELVIEWWINDOW_H
#define TOOLS_MODELVIEW_MODELVIEWWINDOW_H

#include <QtCore/QJsonObject>
#include <QtWidgets/QMainWindow>

class DifferenceList;
class DocumentProxy;
class ModelStateItemModel;
class QDockWidget;
class QLabel;
class QLineEdit;
class QTimer;
class QTreeView;

// The inspector: a state document as a tree with a filter, compared with a second document,
// edited and saved. The widgets have object names ("tree", "filter", "differences", "path") by
// which the test finds them.
class ModelViewWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ModelViewWindow(QWidget *parent = nullptr);
    ~ModelViewWindow() override;

    // The models that newFromDevice() builds: processor, scene, bankplayer and ic take a device
    // code, the others (keyboard and the records) have one state only.
    static QStringList deviceModels();

    // Each returns false and sets error() if it cannot; the window then stays as it was.
    bool openFile(const QString &path);
    bool newFromDevice(const QString &model, int code);
    bool compareWithFile(const QString &path);
    bool saveFile(const QString &path);
    QString error() const { return m_error; }

    void endComparison();
    // Keeps the rows whose path or value contains text, with the rows above and below them.
    void setFilter(const QString &text);
    // Selects the row at path, expanding the rows above it; clears a filter that hides it.
    bool showPath(const QString &path);
    // Selects the next (step 1) or previous (step -1) difference from the comparison.
    void nextDifference(int step);

private:
    void setDocument(const QJsonObject &document, const QString &path, const QString &title);
    bool readDocument(const QString &path, QJsonObject &document);
    void showStatus();
    void refreshDifferences();
    void createActions();
    void openDialog();
    void newDialog();
    void compareDialog();
    bool save();
    bool saveAsDialog();

    ModelStateItemModel *m_model;
    DocumentProxy *m_proxy;
    DifferenceList *m_differences;
    QTreeView *m_tree;
    QLineEdit *m_filter;
    QTimer *m_filterDelay;
    QTreeView *m_differenceView;
    QDockWidget *m_differenceDock;
    QLabel *m_path;
    QString m_file; // where Save writes; empty for a document built from a device
    QString m_error;
};

#endif // TOOLS_MODELVIEW_MODELVIEWWINDOW_H
