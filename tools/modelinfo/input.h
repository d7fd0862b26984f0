#ifndef MODELINFO_INPUT_H
#define MODELINFO_INPUT_H

#include <QtCore/QByteArray>
#include <QtCore/QJsonValue>
#include <QtCore/QString>

// Input files: a size limit, standard input as "-", and JSON read with messages that say what a
// file holds.

// The most bytes an input file may hold (--input-limit): 64 MiB unless raised.
constexpr qint64 DefaultInputLimit = qint64(64) << 20;
void setInputLimit(qint64 bytes);
// "64M" style sizes for --input-limit: a number of bytes with an optional K, M or G (powers of
// 1,024); -1 if text is none.
qint64 parseSize(const QString &text);

// Whether the process started with standard input or output closed; main() opens /dev/null in
// their place, so that no file the tool opens can take their numbers.
void noteClosedStandardFiles();
bool standardOutputClosed();

// The bytes of path ("-" for standard input). A named file must be a regular file or a pipe; none
// may be larger than the input limit. Failures are CommandErrors.
QByteArray readInput(const QString &path);

// The JSON value a file holds (an object, an array, or with a file holding a single number,
// string, boolean or null, that value); text, if given, receives the file's bytes.
QJsonValue readJsonFile(const QString &path, QByteArray *text = nullptr);

// message with its "found NUMBER" ending as the number is written in text at the JSON path
// `m_value2`, `m_list[3].value1`: JSON numbers are doubles, and 9007199254740993 reads as
// 9007199254740992. message as it is if the path leads to no number.
QString withNumberAsWritten(const QString &message, const QByteArray &text, const QString &path);

// What a JSON value is, for messages: "an object", "a string", "null".
QString kindOf(const QJsonValue &value);

#endif // MODELINFO_INPUT_H
