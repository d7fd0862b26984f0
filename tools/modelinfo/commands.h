#ifndef MODELINFO_COMMANDS_H
#define MODELINFO_COMMANDS_H

#include <QtCore/QByteArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QString>

#include <stdexcept>

// What a subcommand prints: the same information as text for people and as JSON for scripts, or
// raw bytes that are printed as they are either way (a saved document is JSON already).
struct Output
{
    QString text;
    QJsonObject json;
    QByteArray raw;
};

// A problem with the command line or its input; main() prints it as one line and exits with 2.
class CommandError : public std::runtime_error
{
public:
    explicit CommandError(const QString &message)
        : std::runtime_error(message.toStdString())
    { }
};

enum class KeyboardOperation {
    Defaults, // the keys as construction leaves them
    Test,     // initOLEDTest()
    Icons,    // initOLEDIconTest()
    Grid,     // initShortcuts(true)
};

// The JSON document in a file; a file that cannot be read or parsed is a CommandError.
QJsonDocument readJsonFile(const QString &path);

// Parses 0x-prefixed hexadecimal or decimal, optionally negative, as a 32-bit device code.
int parseDeviceCode(const QString &text);

Output deviceCommand(int code);
Output codesCommand();
Output portsCommand();
Output keyboardCommand(KeyboardOperation operation);
// Reads the topology file, or with a non-empty jsonFile first stores that JSON array into it.
Output topologyCommand(const QString &file, const QString &jsonFile);

// The snapshot commands (statecommands.cpp). save prints the document of the model (processor,
// scene, bankplayer or ic) built for code, or of the keyboard after the operation; check and diff
// take document files and fail on one that restore() would refuse.
Output saveModelCommand(int code, const QString &model);
Output saveKeyboardCommand(KeyboardOperation operation);
Output checkCommand(const QString &file);
Output diffCommand(const QString &before, const QString &after);

#endif // MODELINFO_COMMANDS_H
