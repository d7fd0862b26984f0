#ifndef MODELINFO_COMMANDS_H
#define MODELINFO_COMMANDS_H

#include <QtCore/QByteArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QString>

#include <stdexcept>

// What a subcommand prints: the same information as text for people and as JSON for scripts, or
// raw bytes that are printed as they are either way (a saved document is JSON already); and how
// it ends: a problem to report on standard error after the output, and the exit status.
struct Output
{
    QString text;
    QJsonObject json;
    QByteArray raw;
    QString error;
    int exitCode = 0;
};

// Exit statuses: diff's "the documents differ" is 1, as diff(1) and cmp(1) have it.
constexpr int SuccessExit = 0;
constexpr int DifferentExit = 1;
constexpr int ErrorExit = 2;

// A problem with the command line or its input; main() prints it as one line and exits with 2.
// The message is kept as a QString, so that nothing in it (a NUL included) cuts it short.
class CommandError : public std::runtime_error
{
public:
    explicit CommandError(const QString &message)
        : std::runtime_error("modelinfo command error")
        , m_message(message)
    { }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// text as one line: control characters (NUL included) and the Unicode line and paragraph
// separators written as escapes. For paths and keys in every message, errors or not.
QString escaped(const QString &text);

// A path argument as messages name it: "standard input" for "-", else the path, escaped.
QString fileName(const QString &path);

enum class KeyboardOperation {
    Defaults, // the keys as construction leaves them
    Test,     // initOLEDTest()
    Icons,    // initOLEDIconTest()
    Grid,     // initShortcuts(true)
};

// Parses 0x-prefixed hexadecimal or decimal, optionally negative, as a 32-bit device code.
int parseDeviceCode(const QString &text);

Output deviceCommand(int code);
Output codesCommand();
Output portsCommand();
Output keyboardCommand(KeyboardOperation operation);
// The keys of a keyboard as a grid of labels (text) and as tables (JSON).
class Model_QuorParam;
Output keyboardView(const Model_QuorParam &keyboard);
// Reads the topology file, or with a non-empty jsonFile first stores that JSON array into it.
Output topologyCommand(const QString &file, const QString &jsonFile);

// The snapshot commands (statecommands.cpp). save prints the document of the model (processor,
// scene, bankplayer or ic) built for code, of the keyboard after the operation, or of a record
// class as constructed (api, protocol, osd, topology); check, diff, restore and patch take
// document files and fail on one that restore() would refuse. diff lists at most limit
// differences and counts the rest.
enum class Layout {
    Indented,
    Compact,
};
Output saveModelCommand(int code, const QString &model, Layout layout);
Output saveKeyboardCommand(KeyboardOperation operation, Layout layout);
// Whether name is one of the record classes save takes by name.
bool isRecordName(const QString &name);
Output saveRecordCommand(const QString &name, Layout layout);
Output checkCommand(const QString &file);
Output diffCommand(const QString &before, const QString &after, qsizetype limit);
Output restoreCommand(const QString &file);
Output patchCommand(const QString &base, const QString &diff, Layout layout);

#endif // MODELINFO_COMMANDS_H
