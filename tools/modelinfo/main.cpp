// modelinfo: the inspector of the device model library. It shows what each model builds for a
// device code, the known codes, the port names, the keyboard's keys and topology files, and saves,
// checks, compares, restores and patches state documents.

#include "commands.h"
#include "input.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtCore/QJsonDocument>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

// The Qt 6 flavour's tool is modelinfo-qt6, and says so.
const QString Name = QStringLiteral(MODELINFO_NAME);
constexpr int DefaultDeviceCode = 0x320000;
constexpr qsizetype DefaultDifferenceLimit = 100000;

// The commands, as --help shows them; the manual page's test reads them from there.
const char *const Description
    = "Shows what the device model library builds and knows, and works on state documents.\n"
      "\n"
      "Commands:\n"
      "  [CODE], device CODE     every model that knows CODE (default 0x320000),\n"
      "                          with its capacities and container sizes\n"
      "  codes                   every known device code and which model knows it\n"
      "  ports                   the names of input and output port types\n"
      "  keyboard [--test|--icons|--grid]\n"
      "                          the keyboard's key labels, after the chosen operation\n"
      "  topology FILE [--write JSONFILE]\n"
      "                          the module array of a topology file; --write first\n"
      "                          stores the JSON array of JSONFILE in it\n"
      "  save CODE [--model processor|scene|bankplayer|ic]\n"
      "                          the state document of the model built for CODE\n"
      "                          (default: processor)\n"
      "  save keyboard [--test|--icons|--grid]\n"
      "                          the state document of the keyboard after the\n"
      "                          chosen operation\n"
      "  save api|protocol|osd|topology\n"
      "                          the state document of a record class as constructed\n"
      "  check FILE              validates a state document\n"
      "  diff A B                what changed from state document A to B\n"
      "  restore FILE            the model a state document restores, as the model\n"
      "                          shows itself\n"
      "  patch BASE DIFF         BASE with the differences that 'diff --json' printed\n"
      "                          into DIFF\n"
      "\n"
      "CODE is hexadecimal (0x250300) or decimal. FILE, A, B, BASE, DIFF and JSONFILE\n"
      "may be - for standard input. Exit status: 0 on success, 1 when diff finds\n"
      "differences, 2 on an error.";

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void printError(const QString &message)
{
    print(stderr, QStringLiteral("%1: %2\n").arg(Name, escaped(message)));
}

// Writes all of bytes to standard output; false, with errno set, if it cannot.
bool writeOutput(const QByteArray &bytes)
{
    if (standardOutputClosed()) {
        errno = EBADF;
        return false;
    }
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// An argument as its bytes are, for a message: bytes beyond ASCII and control characters as
// \xNN.
QString rawText(const QByteArray &raw)
{
    QString text;
    for (const char c : raw) {
        const auto byte = uchar(c);
        text += byte < 0x20 || byte >= 0x7F
            ? QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'))
            : QString(QLatin1Char(c));
    }
    return text;
}

struct Options
{
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("Print the result as one JSON document.")};
    QCommandLineOption compact{QStringLiteral("compact"),
                               QStringLiteral("save, patch: print the document on one line.")};
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
    QCommandLineOption inputLimit{
        QStringLiteral("input-limit"),
        QStringLiteral("The most bytes a JSON input file may hold: a number with an optional K, "
                       "M or G (default 64M)."),
        QStringLiteral("SIZE")};
    QCommandLineOption maxDifferences{
        QStringLiteral("max-differences"),
        QStringLiteral("diff: list at most <N> differences and count the rest (default 100000)."),
        QStringLiteral("N")};

    QList<QCommandLineOption> all() const
    {
        return {json, compact, test, icons, grid, write, model, inputLimit, maxDifferences};
    }
};

void expectArguments(const QStringList &args, int count, const QString &usage)
{
    if (args.size() != count)
        throw CommandError(QStringLiteral("usage: %1 %2").arg(Name, usage));
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

    for (const QCommandLineOption &option : options.all()) {
        if (!option.valueName().isEmpty() && parser.values(option).size() > 1)
            throw CommandError(
                QStringLiteral("--%1 given more than once").arg(option.names().first()));
    }
    const bool keyboardOption
        = parser.isSet(options.test) || parser.isSet(options.icons) || parser.isSet(options.grid);
    const bool saves = command == QLatin1String("save");
    const bool savesKeyboard = saves && args.value(1) == QLatin1String("keyboard");
    const bool savesRecord = saves && isRecordName(args.value(1));
    if (keyboardOption && command != QLatin1String("keyboard") && !savesKeyboard)
        throw CommandError(QStringLiteral("--test, --icons and --grid go with 'keyboard'"));
    if (parser.isSet(options.model) && (!saves || savesKeyboard || savesRecord))
        throw CommandError(QStringLiteral("--model goes with 'save CODE'"));
    if (parser.isSet(options.write) && command != QLatin1String("topology"))
        throw CommandError(QStringLiteral("--write goes with 'topology'"));
    if (parser.isSet(options.compact) && !saves && command != QLatin1String("patch"))
        throw CommandError(QStringLiteral("--compact goes with 'save' and 'patch'"));
    if (parser.isSet(options.maxDifferences) && command != QLatin1String("diff"))
        throw CommandError(QStringLiteral("--max-differences goes with 'diff'"));
    if (parser.isSet(options.inputLimit)) {
        const qint64 limit = parseSize(parser.value(options.inputLimit));
        if (limit < 0)
            throw CommandError(QStringLiteral("--input-limit takes a size such as 1048576, 512K "
                                              "or 1G"));
        setInputLimit(limit);
    }
    const Layout layout = parser.isSet(options.compact) ? Layout::Compact : Layout::Indented;

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
        return savesKeyboard ? saveKeyboardCommand(operation, layout) : keyboardCommand(operation);
    }
    if (savesRecord) {
        expectArguments(args, 2, QStringLiteral("save api|protocol|osd|topology"));
        return saveRecordCommand(args[1], layout);
    }
    if (saves) {
        expectArguments(args, 2,
                        QStringLiteral("save CODE [--model MODEL] | save keyboard | save "
                                       "api|protocol|osd|topology"));
        const QString model = parser.isSet(options.model) ? parser.value(options.model)
                                                          : QStringLiteral("processor");
        return saveModelCommand(parseDeviceCode(args[1]), model, layout);
    }
    if (command == QLatin1String("check")) {
        expectArguments(args, 2, QStringLiteral("check FILE"));
        return checkCommand(args[1]);
    }
    if (command == QLatin1String("diff")) {
        expectArguments(args, 3, QStringLiteral("diff A B"));
        qsizetype limit = DefaultDifferenceLimit;
        if (parser.isSet(options.maxDifferences)) {
            bool ok = false;
            limit = qsizetype(parser.value(options.maxDifferences).toLongLong(&ok));
            if (!ok || limit < 0)
                throw CommandError(QStringLiteral("--max-differences takes a number from 0 up"));
        }
        return diffCommand(args[1], args[2], limit);
    }
    if (command == QLatin1String("restore")) {
        expectArguments(args, 2, QStringLiteral("restore FILE"));
        return restoreCommand(args[1]);
    }
    if (command == QLatin1String("patch")) {
        expectArguments(args, 3, QStringLiteral("patch BASE DIFF"));
        return patchCommand(args[1], args[2], layout);
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
    // Before anything is opened: a closed standard file's number must not go to another file.
    noteClosedStandardFiles();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(Name);
    QCoreApplication::setApplicationVersion(QStringLiteral(DEVICEMODEL_VERSION));

    // Every argument reaches the commands as text. Bytes that the locale's encoding does not
    // take would come back as other bytes, and so as the name of another file: such an argument
    // is refused, whatever it was meant to be.
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QFile::encodeName(QFile::decodeName(raw)) != raw) {
            printError(QStringLiteral("argument %1 ('%2') is not text in this locale's encoding, "
                                      "so it cannot name a file exactly")
                           .arg(i)
                           .arg(rawText(raw)));
            return ErrorExit;
        }
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const Options options;
    parser.addOptions(options.all());
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("CODE, device, codes, ports, keyboard, topology, "
                                                "save, check, diff, restore or patch"),
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

    Output output;
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return ErrorExit;
    }
    if (parser.isSet(help)) {
        output.text = parser.helpText();
    } else if (parser.isSet(version)) {
        output.text = QStringLiteral("%1 %2\n").arg(Name, QCoreApplication::applicationVersion());
    } else {
        try {
            output = run(parser, options);
        } catch (const CommandError &error) {
            printError(error.message());
            return ErrorExit;
        }
    }

    // Everything is built before anything is printed, so an error prints nothing else; and
    // output that does not reach its file is an error too.
    const QByteArray bytes = !output.raw.isEmpty()             ? output.raw
        : parser.isSet(options.json) && !output.json.isEmpty() ? QJsonDocument(output.json).toJson()
                                                               : output.text.toUtf8();
    if (!writeOutput(bytes)) {
        printError(QStringLiteral("cannot write the output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return ErrorExit;
    }
    if (!output.error.isEmpty())
        printError(output.error);
    return output.exitCode;
}
