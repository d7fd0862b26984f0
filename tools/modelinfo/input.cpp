#include "input.h"

#include "commands.h"

#include <QtCore/QFile>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QRegularExpression>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

qint64 s_inputLimit = DefaultInputLimit;
bool s_closed[3] = {false, false, false};

QString limitText()
{
    return QStringLiteral("the input limit of %1 bytes (raise it with --input-limit)")
        .arg(s_inputLimit);
}

// Reads fd to its end, but never more than one byte beyond the limit.
QByteArray readLimited(int fd, const QString &name)
{
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw CommandError(QStringLiteral("cannot read %1: %2")
                                   .arg(name, QString::fromLocal8Bit(strerror(errno))));
        if (count == 0)
            return bytes;
        if (bytes.size() + count > s_inputLimit)
            throw CommandError(QStringLiteral("%1 holds more than %2").arg(name, limitText()));
        bytes.append(buffer, int(count));
    }
}

// The JSON string that starts at text[pos] ('"'), escapes undone; pos ends after it.
QString readString(const QByteArray &text, qsizetype &pos)
{
    QByteArray raw;
    for (++pos; pos < text.size() && text.at(pos) != '"'; ++pos) {
        raw += text.at(pos);
        if (text.at(pos) == '\\' && pos + 1 < text.size())
            raw += text.at(++pos);
    }
    ++pos;
    // The string alone as a document, read by Qt's parser.
    return QJsonDocument::fromJson("[\"" + raw + "\"]").array().at(0).toString();
}

} // namespace

void setInputLimit(qint64 bytes)
{
    s_inputLimit = bytes;
}

qint64 parseSize(const QString &text)
{
    static const QRegularExpression size(QStringLiteral("^([0-9]{1,15})([KMG]?)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = size.match(text);
    if (!match.hasMatch())
        return -1;
    const QString unit = match.captured(2).toUpper();
    const int shift = unit == QLatin1String("K") ? 10
        : unit == QLatin1String("M")             ? 20
        : unit == QLatin1String("G")             ? 30
                                                 : 0;
    const qint64 number = match.captured(1).toLongLong();
    return number > (qint64(1) << (62 - shift)) ? -1 : number << shift;
}

void noteClosedStandardFiles()
{
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            s_closed[fd] = true;
            // The lowest free number is fd itself.
            ::open("/dev/null", O_RDWR);
        }
    }
}

bool standardOutputClosed()
{
    return s_closed[1];
}

QByteArray readInput(const QString &path)
{
    if (path == QLatin1String("-")) {
        if (s_closed[0])
            throw CommandError(QStringLiteral("cannot read standard input: it is closed"));
        return readLimited(0, QStringLiteral("standard input"));
    }
    const QString name = escaped(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw CommandError(QStringLiteral("cannot read %1: %2")
                               .arg(name, QString::fromLocal8Bit(strerror(errno))));
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info
    { };
    if (::fstat(fd, &info) != 0)
        throw CommandError(QStringLiteral("cannot read %1: %2")
                               .arg(name, QString::fromLocal8Bit(strerror(errno))));
    // A device such as /dev/zero never ends; a pipe ends when its writer does.
    if (S_ISDIR(info.st_mode))
        throw CommandError(QStringLiteral("cannot read %1: it is a directory").arg(name));
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode))
        throw CommandError(
            QStringLiteral("cannot read %1: it is neither a regular file nor a pipe").arg(name));
    if (S_ISREG(info.st_mode) && info.st_size > s_inputLimit)
        throw CommandError(QStringLiteral("%1 holds %2 bytes, more than %3")
                               .arg(name)
                               .arg(qint64(info.st_size))
                               .arg(limitText()));
    return readLimited(fd, name);
}

QString kindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("null");
}

QJsonValue readJsonFile(const QString &path, QByteArray *text)
{
    const QByteArray bytes = readInput(path);
    if (text)
        *text = bytes;
    const QString name
        = path == QLatin1String("-") ? QStringLiteral("standard input") : escaped(path);
    if (bytes.trimmed().isEmpty())
        throw CommandError(QStringLiteral("%1 is empty").arg(name));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError) {
        if (document.isObject())
            return document.object();
        if (document.isArray())
            return document.array();
        return QJsonValue(QJsonValue::Null);
    }
    // Qt's parser takes only an object or an array as a document: a single value is one
    // inside brackets.
    const QJsonDocument wrapped = QJsonDocument::fromJson('[' + bytes + ']');
    if (wrapped.isArray() && wrapped.array().size() == 1)
        return wrapped.array().at(0);
    throw CommandError(QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                           .arg(name, error.errorString())
                           .arg(error.offset));
}

QString withNumberAsWritten(const QString &message, const QByteArray &text, const QString &path)
{
    const qsizetype found = message.lastIndexOf(QLatin1String("found "));
    bool isNumber = false;
    const double reported = message.mid(found + 6).toDouble(&isNumber);
    if (found < 0 || !isNumber)
        return message;

    // The steps of the path: member names and indices (numbers are never found under the quoted
    // keys of unknown members).
    QStringList target;
    static const QRegularExpression step(QStringLiteral("\\G(?:\\.?([^.\\[\\]\"]+)|(\\[\\d+\\]))"));
    qsizetype end = 0;
    for (auto it = step.globalMatch(path); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        target << match.captured(0).mid(match.captured(0).startsWith(QLatin1Char('.')) ? 1 : 0);
        end = match.capturedEnd();
    }
    if (end != path.size())
        return message;

    // A walk of the text that keeps the path of the value it is at; the last number at the path
    // is the one the parser kept.
    QStringList current;
    QVector<qsizetype> indices; // -1 for an object
    QByteArray written;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const char c = text.at(pos);
        if (c == '{' || c == '[') {
            indices.append(c == '[' ? 0 : -1);
            current.append(c == '[' ? QStringLiteral("[0]") : QString());
            ++pos;
        } else if (c == '}' || c == ']') {
            if (indices.isEmpty())
                break;
            indices.removeLast();
            current.removeLast();
            ++pos;
        } else if (c == ',' && !indices.isEmpty() && indices.last() >= 0) {
            current.last() = QStringLiteral("[%1]").arg(++indices.last());
            ++pos;
        } else if (c == '"') {
            const QString string = readString(text, pos);
            qsizetype next = pos;
            while (next < text.size() && QByteArray(" \t\r\n").contains(text.at(next)))
                ++next;
            if (next < text.size() && text.at(next) == ':' && !indices.isEmpty())
                current.last() = string;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const qsizetype start = pos;
            while (pos < text.size() && QByteArray("+-.0123456789eE").contains(text.at(pos)))
                ++pos;
            if (current == target)
                written = text.mid(start, pos - start);
        } else {
            ++pos;
        }
    }
    if (written.isEmpty() || written.toDouble() != reported)
        return message;
    return message.left(found + 6) + QString::fromLatin1(written);
}
