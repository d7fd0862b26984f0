#ifndef TESTS_LOGCAPTURE_H
#define TESTS_LOGCAPTURE_H

#include <QtCore/QStringList>
#include <QtCore/QVector>

// Records every message that reaches the message handler while it lives, with the whole context
// the handler receives. A null file, function or category shows as "(null)", so a missing
// category fails a comparison instead of crashing the handler that reads it.
class LogCapture
{
public:
    LogCapture() { s_contexts = s_texts = QStringList(); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    Q_DISABLE_COPY_MOVE(LogCapture)

    // Per message, its type and context: "<type> [<category>] <file>:<line> <function>".
    QStringList contexts() const { return s_contexts; }
    // Per message, its text.
    QStringList texts() const { return s_texts; }

    // What the library's messages carry, as qDebug() and qWarning() give it in a build without
    // message context: category "default", no file, line or function.
    static QString libraryContext(QtMsgType t) { return describe(t, "default", {}, 0, {}); }

private:
    static QString describe(QtMsgType type, const char *category, const char *file, int line,
                            const char *function)
    {
        const auto text = [](const char *s) { return s ? s : "(null)"; };
        return QString::asprintf("%d [%s] %s:%d %s", int(type), text(category), text(file), line,
                                 text(function));
    }

    static inline QStringList s_contexts, s_texts;
    const QtMessageHandler m_previous
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &c, const QString &t) {
              s_contexts << describe(type, c.category, c.file, c.line, c.function);
              s_texts << t;
          });
};

// count copies of text.
inline QStringList repeated(int count, const QString &text)
{
    return QVector<QString>(count, text).toList();
}

#endif // TESTS_LOGCAPTURE_H
