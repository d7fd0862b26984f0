#include "commands.h"

#include "devicereport.h"
#include "input.h"

#include <model/keyboard/model_quorparam.h>
#include <model/ports/model_globalenum.h>
#include <model/topology/model_topology_param.h>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QTextStream>

#include <algorithm>
#include <climits>
#include <memory>

#include <sys/stat.h>

namespace {

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("-");
}

void appendEntries(QTextStream &out, const Entries &entries)
{
    for (const auto &entry : entries)
        out << "    " << entry.first.leftJustified(32) << ' ' << entry.second << '\n';
}

// Text of one key field: the bytes up to the first zero.
template<int N>
QString keyText(const quint8 (&field)[N])
{
    const char *bytes = reinterpret_cast<const char *>(field);
    return QString::fromLatin1(bytes, int(qstrnlen(bytes, N)));
}

QJsonObject keyToJson(const _OledKey_Param &key)
{
    return {{QStringLiteral("color"), key.color},
            {QStringLiteral("mode"), key.mode},
            {QStringLiteral("bright"), key.bright},
            {QStringLiteral("oLedShowMode"), key.oLedShowMode},
            {QStringLiteral("icon"), key.icon},
            {QStringLiteral("firstString"), keyText(key.firstString)},
            {QStringLiteral("firstStringLen"), key.firstStringLen},
            {QStringLiteral("secondString"), keyText(key.secondString)},
            {QStringLiteral("secondStringLen"), key.secondStringLen},
            {QStringLiteral("thirdString"), keyText(key.thirdString)},
            {QStringLiteral("thirdStringLen"), key.thirdStringLen}};
}

QString keyLabel(const _OledKey_Param &key)
{
    const QString first = keyText(key.firstString);
    const QString second = keyText(key.secondString);
    return (first.isEmpty() ? QStringLiteral("-") : first) + QLatin1Char('/')
        + (second.isEmpty() ? QStringLiteral("-") : second);
}

// One key table: pages of keys, printed as rows of `columns` labels.
template<int Pages, int Keys>
void addKeyTable(QTextStream &out, QJsonObject &tables, const char *name, const char *pageWord,
                 const _OledKey_Param (&table)[Pages][Keys], int columns)
{
    QJsonArray pages;
    for (int page = 0; page < Pages; ++page) {
        out << name << ' ' << pageWord << ' ' << page << '\n';
        QJsonArray keys;
        QString row;
        for (int key = 0; key < Keys; ++key) {
            keys.append(keyToJson(table[page][key]));
            row += QLatin1Char(' ') + keyLabel(table[page][key]).leftJustified(12);
            if (key % columns == columns - 1 || key == Keys - 1) {
                out << ' ' << row.trimmed().prepend(QLatin1Char(' ')) << '\n';
                row.clear();
            }
        }
        pages.append(keys);
    }
    tables.insert(QLatin1String(name), pages);
}

// What identifies the file at path, to tell whether a write replaced it: all zero if there is
// none.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds
    qint64 changed = 0;  // nanoseconds
    bool operator==(const FileIdentity &o) const
    {
        return device == o.device && inode == o.inode && size == o.size && modified == o.modified
            && changed == o.changed;
    }
};

FileIdentity identity(const QString &path)
{
    struct stat info
    { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    const auto nanoseconds
        = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return {info.st_dev, info.st_ino, qint64(info.st_size), nanoseconds(info.st_mtim),
            nanoseconds(info.st_ctim)};
}

} // namespace

QString escaped(const QString &text)
{
    QString line;
    for (const QChar c : text) {
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

QString fileName(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard input") : escaped(path);
}

int parseDeviceCode(const QString &text)
{
    QString digits = text.trimmed();
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    int base = 10;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    bool ok = false;
    const qulonglong magnitude = digits.toULongLong(&ok, base);
    // A device code is 32 bits: hexadecimal codes may use the sign bit (0xFFFFFFFF is -1).
    const qulonglong limit = negative ? qulonglong(INT_MAX) + 1 : qulonglong(UINT_MAX);
    if (!ok || digits.startsWith(QLatin1Char('+')) || magnitude > limit)
        throw CommandError(QStringLiteral("'%1' is not a device code: give a 32-bit number, "
                                          "hexadecimal like 0x250300 or decimal")
                               .arg(text));
    return negative ? int(-qlonglong(magnitude)) : int(quint32(magnitude));
}

Output deviceCommand(int code)
{
    Output output;
    QTextStream out(&output.text);
    out << "Device code " << hexCode(code) << " (" << code << ")\n";

    QJsonArray models;
    for (const ModelReport &report : deviceReports(code)) {
        models.append(toJson(report, report.known));
        out << '\n' << report.model << " (" << report.className << "): ";
        if (report.known) {
            out << "knows the code\n  capacities:\n";
            appendEntries(out, report.capacities);
            out << "  containers:\n";
            appendEntries(out, report.containers);
        } else {
            out << "does not know the code; keeps the capacities of the last known code:\n";
            appendEntries(out, report.capacities);
        }
    }
    output.json = {{QStringLiteral("code"), code},
                   {QStringLiteral("codeHex"), hexCode(code)},
                   {QStringLiteral("models"), models}};
    return output;
}

Output codesCommand()
{
    Output output;
    QTextStream out(&output.text);
    const QStringList capacityColumns
        = {QStringLiteral("OutputCount"),     QStringLiteral("SourceCount"),
           QStringLiteral("LayerCount"),      QStringLiteral("ContainerCount"),
           QStringLiteral("InputBoardCount"), QStringLiteral("OutPutBoardCount")};

    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11\n")
               .arg(QStringLiteral("code"), -9)
               .arg(QStringLiteral("processor"), -9)
               .arg(QStringLiteral("scene"), -5)
               .arg(QStringLiteral("bankplayer"), -10)
               .arg(QStringLiteral("ic"), -3)
               .arg(QStringLiteral("outputs"), 7)
               .arg(QStringLiteral("sources"), 7)
               .arg(QStringLiteral("layers"), 6)
               .arg(QStringLiteral("containers"), 10)
               .arg(QStringLiteral("inboards"), 8)
               .arg(QStringLiteral("outboards"), 9);

    QJsonArray codes;
    for (int code : knownDeviceCodes()) {
        const QVector<ModelReport> reports = deviceReports(code);
        QJsonObject entry{{QStringLiteral("code"), code},
                          {QStringLiteral("codeHex"), hexCode(code)}};
        for (const ModelReport &report : reports)
            entry.insert(report.model, report.known);
        QJsonObject capacities;
        const ModelReport &processor = reports.first();
        for (const auto &capacity : processor.capacities) {
            if (capacityColumns.contains(capacity.first))
                capacities.insert(capacity.first, capacity.second);
        }
        entry.insert(QStringLiteral("capacities"), capacities);
        codes.append(entry);

        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11\n")
                   .arg(hexCode(code), -9)
                   .arg(yesNo(reports[0].known), -9)
                   .arg(yesNo(reports[1].known), -5)
                   .arg(yesNo(reports[2].known), -10)
                   .arg(yesNo(reports[3].known), -3)
                   .arg(capacities.value(capacityColumns[0]).toInt(), 7)
                   .arg(capacities.value(capacityColumns[1]).toInt(), 7)
                   .arg(capacities.value(capacityColumns[2]).toInt(), 6)
                   .arg(capacities.value(capacityColumns[3]).toInt(), 10)
                   .arg(capacities.value(capacityColumns[4]).toInt(), 8)
                   .arg(capacities.value(capacityColumns[5]).toInt(), 9);
    }
    output.json = {{QStringLiteral("codes"), codes}};
    return output;
}

Output portsCommand()
{
    Output output;
    QTextStream out(&output.text);
    out << QStringLiteral("%1  %2  %3\n")
               .arg(QStringLiteral("code"), 4)
               .arg(QStringLiteral("output"), -12)
               .arg(QStringLiteral("input"));
    QJsonArray ports;
    for (int code = 0; code <= 255; ++code) {
        const QString outputName = model_GlobalEnum::getOutputPortNameByType(code);
        const QString inputName = model_GlobalEnum::getInputPortNameByType(code);
        if (outputName.isEmpty() && inputName.isEmpty())
            continue;
        ports.append(QJsonObject{{QStringLiteral("code"), code},
                                 {QStringLiteral("output"), outputName},
                                 {QStringLiteral("input"), inputName}});
        out << QStringLiteral("%1  %2  %3\n")
                   .arg(code, 4)
                   .arg(outputName.isEmpty() ? QStringLiteral("-") : outputName, -12)
                   .arg(inputName.isEmpty() ? QStringLiteral("-") : inputName);
    }
    output.json = {{QStringLiteral("ports"), ports}};
    return output;
}

Output keyboardView(const Model_QuorParam &keyboard)
{
    Output output;
    QTextStream out(&output.text);
    QJsonObject tables;
    addKeyTable(out, tables, "presetKeys", "page", keyboard.m_presetKeys, 4);
    addKeyTable(out, tables, "shortcutKeys", "page", keyboard.m_shortcutKeys, 4);
    addKeyTable(out, tables, "layerKeys", "page", keyboard.m_layerKeys, 4);
    addKeyTable(out, tables, "outputKeys", "page", keyboard.m_outputKeys, 4);
    addKeyTable(out, tables, "inputKeys", "page", keyboard.m_inputKeys, 4);
    addKeyTable(out, tables, "commonKeys", "set", keyboard.m_commonKeys, 10);
    output.json = {{QStringLiteral("gOledLength"), Model_QuorParam::gOledLength},
                   {QStringLiteral("tables"), tables}};
    return output;
}

Output keyboardCommand(KeyboardOperation operation)
{
    // The key tables are large; keep them off the stack.
    const auto keyboard = std::make_unique<Model_QuorParam>();
    QString operationName = QStringLiteral("defaults");
    switch (operation) {
    case KeyboardOperation::Defaults:
        break;
    case KeyboardOperation::Test:
        keyboard->initOLEDTest();
        operationName = QStringLiteral("test");
        break;
    case KeyboardOperation::Icons:
        keyboard->initOLEDIconTest();
        operationName = QStringLiteral("icons");
        break;
    case KeyboardOperation::Grid:
        keyboard->initShortcuts(true);
        operationName = QStringLiteral("grid");
        break;
    }

    Output output = keyboardView(*keyboard);
    output.text.prepend(QStringLiteral("Keyboard keys after %1 (first/second line; - is empty)\n")
                            .arg(operationName));
    output.json.insert(QStringLiteral("operation"), operationName);
    return output;
}

Output topologyCommand(const QString &file, const QString &jsonFile)
{
    if (file == QLatin1String("-"))
        throw CommandError(QStringLiteral("a topology file must be named: the store cannot read "
                                          "or write standard input"));
    model_topology_param store;
    Output output;
    const QString name = escaped(file);
    if (!jsonFile.isEmpty()) {
        const QJsonValue value = readJsonFile(jsonFile);
        if (!value.isArray())
            throw CommandError(QStringLiteral("%1 holds %2, not a JSON array")
                                   .arg(fileName(jsonFile), kindOf(value)));
        const QFileInfo target(file);
        if (target.isDir())
            throw CommandError(QStringLiteral("%1 is a directory").arg(name));
        if (target.exists() && !target.isFile())
            throw CommandError(QStringLiteral("%1 is not a regular file").arg(name));
        const QJsonArray modules = value.toArray();
        // Only an object with members becomes a section of the file; the others store nothing.
        const auto sections
            = qsizetype(std::count_if(modules.begin(), modules.end(), [](const QJsonValue &m) {
                  return m.isObject() && !m.toObject().isEmpty();
              }));
        const FileIdentity before = identity(file);
        store.setTPLYModuleData(file, modules);
        // The store reports no failure, so the file itself must show that the write took place:
        // it reads back as many modules as were stored, and a file that holds any is a new one.
        const FileIdentity after = identity(file);
        const bool replaced = after.inode != 0 && !(after == before);
        if (model_topology_param().getTPLYModuleData(file).size() != sections
            || (sections > 0 && !replaced))
            throw CommandError(QStringLiteral("could not store the modules in %1").arg(name));
        if (modules.isEmpty())
            output.text = QStringLiteral("Stored nothing in %1: the array is empty\n").arg(name);
        else if (sections == modules.size())
            output.text = QStringLiteral("Stored %1 modules in %2\n").arg(sections).arg(name);
        else if (sections == 0)
            output.text = QStringLiteral("Stored nothing in %1: none of the %2 elements is an "
                                         "object with members\n")
                              .arg(name)
                              .arg(modules.size());
        else
            output.text = QStringLiteral("Stored %1 of %2 elements in %3: elements that are not "
                                         "objects with members store nothing\n")
                              .arg(sections)
                              .arg(modules.size())
                              .arg(name);
        output.json = {{QStringLiteral("file"), file},
                       {QStringLiteral("elements"), modules.size()},
                       {QStringLiteral("written"), sections}};
        return output;
    }

    const QFileInfo info(file);
    if (!info.exists())
        throw CommandError(QStringLiteral("no topology file at %1").arg(name));
    if (!info.isFile() || !info.isReadable())
        throw CommandError(QStringLiteral("cannot read topology file %1").arg(name));
    const QJsonArray modules = store.getTPLYModuleData(file);
    output.text = QString::fromUtf8(QJsonDocument(modules).toJson(QJsonDocument::Indented));
    output.json = {{QStringLiteral("file"), file}, {QStringLiteral("modules"), modules}};
    return output;
}
