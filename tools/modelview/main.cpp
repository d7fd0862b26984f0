// modelview: a state document as a tree, to inspect, compare, edit and save.

#include "modelviewwindow.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QTextStream>
#include <QtWidgets/QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(MODELVIEW_NAME));
    QApplication::setApplicationVersion(QStringLiteral(DEVICEMODEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a state document as a tree: filter it, compare it with a second "
                       "document, edit its values and save it."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The state document to open."),
                                 QStringLiteral("[file]"));
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("Build the document of a model for device code CODE."),
        QStringLiteral("CODE"));
    const QCommandLineOption model(
        QStringLiteral("model"),
        QStringLiteral("The model --device builds: %1 (default processor).")
            .arg(ModelViewWindow::deviceModels().join(QLatin1String(", "))),
        QStringLiteral("NAME"), QStringLiteral("processor"));
    const QCommandLineOption compare(
        QStringLiteral("compare"),
        QStringLiteral("Compare the document with the document in FILE."), QStringLiteral("FILE"));
    parser.addOptions({device, model, compare});
    parser.process(app);

    ModelViewWindow window;
    QString error;
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        error = QStringLiteral("one file at most");
    } else if (parser.isSet(device) || parser.isSet(model)) {
        bool ok = false;
        const int code = parser.value(device).toInt(&ok, 0);
        if (!files.isEmpty())
            error = QStringLiteral("a file or --device, not both");
        else if (!ok && parser.isSet(device))
            error = QStringLiteral("'%1' is no device code").arg(parser.value(device));
        else if (!window.newFromDevice(parser.value(model), ok ? code : 0x320000))
            error = window.error();
    } else if (!files.isEmpty() && !window.openFile(files.first())) {
        error = window.error();
    }
    if (error.isEmpty() && parser.isSet(compare) && !window.compareWithFile(parser.value(compare)))
        error = window.error();
    if (!error.isEmpty()) {
        QTextStream(stderr) << MODELVIEW_NAME ": " << error << '\n';
        return 2;
    }
    window.show();
    return QApplication::exec();
}
