// modelinfo: the inspector of the device model library. It shows what each model builds for a
// device code, the known codes, the port names, the keyboard's keys and topology files, and saves,
// checks and compares state documents.

#include "commands.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QCoreApplication>
#include <QtCore/QJsonDocument>

#include <cstdio>

namespace {

constexpr int UsageErrorExit = 2;
constexpr int DefaultDeviceCode = 0x320000;

const char *const Description
    = "Shows what the device model library builds and knows.\n"
      "\n"
      "Commands:\n"
      "  [CODE], device CODE     every model that knows CODE (default "
      "0x320000),\n"
      "                          with its capacities and container sizes\n"
      "  codes                   every known device code and which "
      "model knows it\n"
      "  ports                   the names of input and output port types\n"
      "  keyboard [--test|--icons|--grid]\n"
      "                          the keyboard's key labels, after the "
      "chosen operation\n"
      "  topology FILE [--write JSONFILE]\n"
      "                          the module array of a topology file; "
      "--write\n"
      "                          first stores the JSON array of JSONFILE "
      "in it\n"
      "  save CODE [--model processor|scene|bankplayer|ic]\n"
      "                          the state document of the model built for "
      "CODE\n"
      "                          (default: processor)\n"
      "  save keyboard [--test|--icons|--grid]\n"
      "                          the state document of the keyboard after "
      "the\n"
      "                          chosen operation\n"
      "  check FILE              validates a state document\n"
      "  diff A B                what changed from state document A to B\n"
      "\n"
      "CODE is hexadecimal (0x250300) or decimal.";

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// An error message as one line, whatever the paths and arguments in it hold: control characters
// and the Unicode line and paragraph separators are written as escapes.
QString oneLine(const QString &message)
{
    QString line;
    for (const QChar c : message) {
        const ushort code = c.unicode();
        if (code == '\n')
            line += QLatin1String("\\n");
        else if (code == '\r')
            line += QLatin1String("\\r");
        else if (code == '\t')
            line += QLatin1String("\\t");
        else if (code < 0x20 || (code >= 0x7F && code < 0xA0))
            line += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        else if (code == 0x2028 || code == 0x2029)
            line += QStringLiteral("\\u%1").arg(code, 4, 16);
        else
            line += c;
    }
    return line;
}

struct Options
{
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("Print the result as one JSON document.")};
    QCommandLineOption test{QStringLiteral("test"),
                            QStringLiteral("keyboard: show the OLED text test pattern.")};
    QCommandLineOption icons{QStringLiteral("icons"),
                             QStringLiteral("keyboard: show the OLED icon test pattern.")};
    QCommandLineOption grid{QStringLiteral("grid"),
                            QStringLiteral("keyboard: show the shortcut keys' grid labels.")};
    QCommandLineOption write{QStringLiteral("write"),
                             QStringLiteral("topology: store the JSON array of <JSONFILE> first."),
                             QStringLiteral("JSONFILE")};
    QCommandLineOption model{QStringLiteral("model"),
                             QStringLiteral("save: the model to save, processor (default), "
                                            "scene, bankplayer or ic."),
                             QStringLiteral("MODEL")};
};

void expectArguments(const QStringList &args, int count, const QString &usage)
{
    if (args.size() != count)
        throw CommandError(QStringLiteral("usage: modelinfo %1").arg(usage));
}

KeyboardOperation keyboardOperation(const QCommandLineParser &parser, const Options &options)
{
    const int chosen = int(parser.isSet(options.test)) + int(parser.isSet(options.icons))
        + int(parser.isSet(options.grid));
    if (chosen > 1)
        throw CommandError(QStringLiteral("choose one of --test, --icons and --grid"));
    if (parser.isSet(options.test))
        return KeyboardOperation::Test;
    if (parser.isSet(options.icons))
        return KeyboardOperation::Icons;
    if (parser.isSet(options.grid))
        return KeyboardOperation::Grid;
    return KeyboardOperation::Defaults;
}

Output run(const QCommandLineParser &parser, const Options &options)
{
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);

    const bool keyboardOption
        = parser.isSet(options.test) || parser.isSet(options.icons) || parser.isSet(options.grid);
    const bool savesKeyboard
        = command == QLatin1String("save") && args.value(1) == QLatin1String("keyboard");
    if (keyboardOption && command != QLatin1String("keyboard") && !savesKeyboard)
        throw CommandError(QStringLiteral("--test, --icons and --grid go with 'keyboard'"));
    if (parser.isSet(options.model) && (command != QLatin1String("save") || savesKeyboard))
        throw CommandError(QStringLiteral("--model goes with 'save CODE'"));
    if (parser.isSet(options.write) && command != QLatin1String("topology"))
        throw CommandError(QStringLiteral("--write goes with 'topology'"));

    if (args.isEmpty())
        return deviceCommand(DefaultDeviceCode);
    if (command == QLatin1String("device")) {
        expectArguments(args, 2, QStringLiteral("device CODE"));
        return deviceCommand(parseDeviceCode(args[1]));
    }
    if (command == QLatin1String("codes")) {
        expectArguments(args, 1, QStringLiteral("codes"));
        return codesCommand();
    }
    if (command == QLatin1String("ports")) {
        expectArguments(args, 1, QStringLiteral("ports"));
        return portsCommand();
    }
    if (command == QLatin1String("keyboard") || savesKeyboard) {
        if (savesKeyboard)
            expectArguments(args, 2, QStringLiteral("save keyboard [--test|--icons|--grid]"));
        else
            expectArguments(args, 1, QStringLiteral("keyboard [--test|--icons|--grid]"));
        const KeyboardOperation operation = keyboardOperation(parser, options);
        return savesKeyboard ? saveKeyboardCommand(operation) : keyboardCommand(operation);
    }
    if (command == QLatin1String("save")) {
        expectArguments(args, 2, QStringLiteral("save CODE [--model MODEL] | save keyboard"));
        const QString model = parser.isSet(options.model) ? parser.value(options.model)
                                                          : QStringLiteral("processor");
        return saveModelCommand(parseDeviceCode(args[1]), model);
    }
    if (command == QLatin1String("check")) {
        expectArguments(args, 2, QStringLiteral("check FILE"));
        return checkCommand(args[1]);
    }
    if (command == QLatin1String("diff")) {
        expectArguments(args, 3, QStringLiteral("diff A B"));
        return diffCommand(args[1], args[2]);
    }
    if (command == QLatin1String("topology")) {
        expectArguments(args, 2, QStringLiteral("topology FILE [--write JSONFILE]"));
        const QString jsonFile = parser.value(options.write);
        if (parser.isSet(options.write) && jsonFile.isEmpty())
            throw CommandError(QStringLiteral("--write needs a JSON file"));
        return topologyCommand(args[1], jsonFile);
    }

    // Anything else must be a device code on its own; an empty one is refused as a code.
    const bool looksNumeric
        = command.isEmpty() || command.front().isDigit() || command.startsWith(QLatin1Char('-'));
    if (!looksNumeric)
        throw CommandError(QStringLiteral("unknown command '%1' (see --help)").arg(command));
    expectArguments(args, 1, QStringLiteral("[CODE]"));
    return deviceCommand(parseDeviceCode(command));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("modelinfo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DEVICEMODEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const Options options;
    parser.addOptions(
        {options.json, options.test, options.icons, options.grid, options.write, options.model});
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("CODE, device, codes, ports, keyboard, topology, save, "
                       "check or diff"),
        QStringLiteral("[command]"));

    // A negative device code such as -1 would read as an option. The code is always the last
    // positional argument, so such numbers move behind a "--" at the end of the line.
    QStringList arguments = QCoreApplication::arguments();
    QStringList negativeNumbers;
    for (int i = arguments.size() - 1; i > 0; --i) {
        if (arguments[i] == QLatin1String("--"))
            break;
        if (arguments[i].size() > 1 && arguments[i].startsWith(QLatin1Char('-'))
            && arguments[i].at(1).isDigit())
            negativeNumbers.prepend(arguments.takeAt(i));
    }
    if (!negativeNumbers.isEmpty()) {
        if (!arguments.contains(QLatin1String("--")))
            arguments.append(QStringLiteral("--"));
        arguments += negativeNumbers;
    }

    if (!parser.parse(arguments)) {
        print(stderr, QStringLiteral("modelinfo: %1\n").arg(oneLine(parser.errorText())));
        return UsageErrorExit;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("modelinfo %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }

    try {
        const Output output = run(parser, options);
        // Everything is built before anything is printed, so an error prints nothing else.
        if (!output.raw.isEmpty())
            std::fwrite(output.raw.constData(), 1, size_t(output.raw.size()), stdout);
        else if (parser.isSet(options.json))
            print(stdout, QString::fromUtf8(QJsonDocument(output.json).toJson()));
        else
            print(stdout, output.text);
    } catch (const CommandError &error) {
        print(stderr,
              QStringLiteral("modelinfo: %1\n").arg(oneLine(QString::fromStdString(error.what()))));
        return UsageErrorExit;
    }
    return 0;
}
