// The modelview window under the offscreen platform: a session from opening a document to saving
// it, with a screenshot, and the refusals of its operations.

#include "modelviewwindow.h"

#include <model/processor/modelcalyth.h>
#include <model/state/modelstateitemmodel.h>

#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDockWidget>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTreeView>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QtWidgets/QAction>
#else
#include <QtGui/QAction>
#endif

#include <memory>

using Model = ModelStateItemModel;
using D = ModelStateDifference;

class ModelViewTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private slots:
    void session()
    {
        const auto processor = std::make_unique<ModelCalyth>();
        processor->initParam(0x250300);
        const QJsonObject before = ModelState::save(*processor);
        const QJsonArray containers = before[QLatin1String("m_containerList")].toArray();
        QJsonObject after = before;
        QVERIFY(ModelState::apply(
            after,
            {{D::Changed, "m_resolutionWidth", before[QLatin1String("m_resolutionWidth")], 4321},
             {D::Changed, "m_containerList[2].value14", containers[2][QLatin1String("value14")], 5},
             {D::Removed, "m_containerList[3]", containers.last()}}));
        const QString beforeFile = write(QStringLiteral("before.json"), ModelState::toJson(before));
        const QString afterFile = write(QStringLiteral("after.json"), ModelState::toJson(after));

        ModelViewWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *tree = window.findChild<QTreeView *>(QStringLiteral("tree"));
        auto *differences = window.findChild<QTreeView *>(QStringLiteral("differences"));
        auto *path = window.findChild<QLabel *>(QStringLiteral("path"));
        QVERIFY(!differences->isVisible());                                // until a comparison
        QVERIFY(path->textInteractionFlags() & Qt::TextSelectableByMouse); // to copy it
        const auto current = [tree](int role = Model::PathRole) {
            return tree->currentIndex().data(role).toString();
        };
        QVERIFY(window.openFile(afterFile));
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("after.json")));
        const int members = tree->model()->rowCount();
        QCOMPARE(members, after.size());

        // Keyboard: the first row, then the one below, named in the status line.
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Home);
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(current(), QStringLiteral("format"));
        QVERIFY(path->text().startsWith(QStringLiteral("format  (int32)")));

        // The filter keeps the matches and the rows above them, by path and by value.
        window.setFilter(QStringLiteral("resolution"));
        QCOMPARE(tree->model()->rowCount(), 2);
        window.setFilter(QStringLiteral("4321"));
        QCOMPARE(tree->model()->rowCount(), 1);
        QCOMPARE(tree->model()->index(0, 0).data(Model::PathRole).toString(),
                 QStringLiteral("m_resolutionWidth"));
        window.setFilter(QString());
        QCOMPARE(tree->model()->rowCount(), members);

        // Compared with the device's defaults: the width, a container's value and the container
        // the document dropped, in document order, the first one selected.
        QVERIFY(window.compareWithFile(beforeFile));
        QCOMPARE(differences->model()->rowCount(), 3);
        auto *dock = window.findChild<QDockWidget *>(QStringLiteral("differenceDock"));
        QVERIFY(differences->isVisible() && dock->isAncestorOf(differences));
        QCOMPARE(window.dockWidgetArea(dock), Qt::BottomDockWidgetArea);
        QCOMPARE(current(), QStringLiteral("m_resolutionWidth"));
        const QColor changed = tree->currentIndex().data(Qt::BackgroundRole).value<QColor>();
        window.nextDifference(-1);
        QCOMPARE(current(), QStringLiteral("m_containerList[3]"));
        QCOMPARE(current(Model::DifferenceRole), QString::number(Model::Removed));
        QVERIFY(path->text().endsWith(QStringLiteral("(record)  only in the comparison")));
        const QColor gone = tree->currentIndex().data(Qt::BackgroundRole).value<QColor>();
        window.nextDifference(-1);
        QCOMPARE(current(), QStringLiteral("m_containerList[2].value14"));

        // Edits by keyboard, F2 on the row, the value typed over, Return: one refused with its
        // reason, one taken.
        for (const char *text : {"6.5", "6"}) {
            QTest::keyClick(tree, Qt::Key_F2);
            auto *editor = tree->viewport()->findChild<QLineEdit *>();
            QVERIFY(editor);
            editor->clear();
            QTest::keyClicks(editor, QLatin1String(text));
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(!tree->viewport()->findChild<QLineEdit *>()); // committed, then closed
            QCOMPARE(window.isWindowModified(), text[1] == 0);
            QVERIFY(!text[1]
                    || window.statusBar()->currentMessage().contains(QStringLiteral("found 6.5")));
        }
        QCOMPARE(tree->currentIndex().siblingAtColumn(Model::ValueColumn).data().toString(),
                 QStringLiteral("6"));
        QCOMPARE(differences->model()->rowCount(), 3);

        // Saved in declaration order, as the library writes it.
        const QString saved = m_dir.filePath(QStringLiteral("saved.json"));
        QVERIFY(window.saveFile(saved));
        QVERIFY(!window.isWindowModified());
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(ModelState::apply(after, {{D::Changed, "m_containerList[2].value14", 5, 6}}));
        QCOMPARE(file.readAll(), ModelState::toJson(after));

        // The screenshot, of the containers: a changed value, and the container only the
        // comparison holds. It must hold more than a blank window: text, lines and both highlights.
        window.showPath(QStringLiteral("m_containerList[3].value1"));
        window.showPath(QStringLiteral("m_containerList[3]"));
        QCoreApplication::processEvents();
        const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(shot.save(QStringLiteral(MODELVIEW_SCREENSHOT)));
        const auto *pixels = reinterpret_cast<const QRgb *>(shot.constBits());
        const QSet<QRgb> colours(pixels, pixels + qsizetype(shot.width()) * shot.height());
        QVERIFY2(colours.size() > 40, qPrintable(QString::number(colours.size())));
        QVERIFY(colours.contains(changed.rgb()) && colours.contains(gone.rgb()));

        for (QAction *action : window.findChildren<QAction *>()) {
            if (action->text() == QLatin1String("&Quit"))
                action->trigger();
        }
        QVERIFY(!window.isVisible()); // quit
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        // clang-format off
        QTest::newRow("missing")  << "missing.json" << QByteArray()     << "missing.json: ";
        QTest::newRow("not JSON") << "text.json"    << QByteArray("{")  << "text.json: ";
        QTest::newRow("an array") << "array.json"   << QByteArray("[]") << "array.json does not hold a JSON object";
        // clang-format on
    }

    // A file that holds no document leaves the window as it was, and says why.
    void refusals()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        const QString path = content.isEmpty() ? m_dir.filePath(file) : write(file, content);
        ModelViewWindow window;
        QVERIFY(window.newFromDevice(QStringLiteral("ic"), 0x2D0000));
        const QString title = window.windowTitle();
        QVERIFY(!window.openFile(path));
        QVERIFY2(window.error().contains(error), qPrintable(window.error()));
        QVERIFY(!window.compareWithFile(path));
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(!window.newFromDevice(QStringLiteral("mixer"), 0));
        QCOMPARE(window.windowTitle(), title);
    }

    // The program refuses a command line it cannot open a window for, before it shows one.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        // clang-format off
        QTest::newRow("hex code, unknown model") << QStringList{"--device", "0x10", "--model", "mixer"} << "unknown model 'mixer'";
        QTest::newRow("no code")                 << QStringList{"--device", "0x1G"}                    << "'0x1G' is no device code";
        QTest::newRow("two files")               << QStringList{"a.json", "b.json"}                    << "one file at most";
        QTest::newRow("file and code")           << QStringList{"a.json", "--device", "1"}             << "a file or --device, not both";
        QTest::newRow("no comparison")           << QStringList{"--device", "1", "--compare", "/none.json"} << "/none.json: ";
        // clang-format on
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QProcess process;
        process.start(QStringLiteral(MODELVIEW_PATH), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 2);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.contains(error), qPrintable(err));
    }
};

int main(int argc, char *argv[])
{
    // Headless wherever it runs, unless told otherwise.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ModelViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "modelviewtest.moc"
