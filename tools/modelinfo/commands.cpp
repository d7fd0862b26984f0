#include "commands.h"

#include "devicereport.h"

#include <model/keyboard/model_quorparam.h>
#include <model/ports/model_globalenum.h>
#include <model/topology/model_topology_param.h>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTextStream>

#include <climits>
#include <memory>

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

// What a topology file holds after a write of modules: the store converts values to text and
// leaves out what it cannot keep, so the same write goes to a scratch file and is read back.
QJsonArray storedForm(const QJsonArray &modules)
{
    const QTemporaryDir dir;
    if (!dir.isValid())
        throw CommandError(QStringLiteral("cannot check the write: no temporary folder"));
    const QString path = dir.filePath(QStringLiteral("check.ini"));
    model_topology_param store;
    store.setTPLYModuleData(path, modules);
    return store.getTPLYModuleData(path);
}

} // namespace

QJsonDocument readJsonFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        throw CommandError(QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                               .arg(path, error.errorString())
                               .arg(error.offset));
    return document;
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
        models.append(toJson(report));
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

    Output output;
    QTextStream out(&output.text);
    out << "Keyboard keys after " << operationName << " (first/second line; - is empty)\n";
    QJsonObject tables;
    addKeyTable(out, tables, "presetKeys", "page", keyboard->m_presetKeys, 4);
    addKeyTable(out, tables, "shortcutKeys", "page", keyboard->m_shortcutKeys, 4);
    addKeyTable(out, tables, "layerKeys", "page", keyboard->m_layerKeys, 4);
    addKeyTable(out, tables, "outputKeys", "page", keyboard->m_outputKeys, 4);
    addKeyTable(out, tables, "inputKeys", "page", keyboard->m_inputKeys, 4);
    addKeyTable(out, tables, "commonKeys", "set", keyboard->m_commonKeys, 10);
    output.json = {{QStringLiteral("operation"), operationName},
                   {QStringLiteral("gOledLength"), Model_QuorParam::gOledLength},
                   {QStringLiteral("tables"), tables}};
    return output;
}

Output topologyCommand(const QString &file, const QString &jsonFile)
{
    model_topology_param store;
    Output output;
    if (!jsonFile.isEmpty()) {
        const QJsonDocument document = readJsonFile(jsonFile);
        if (!document.isArray())
            throw CommandError(QStringLiteral("%1 does not hold a JSON array").arg(jsonFile));
        const QFileInfo target(file);
        if (target.isDir())
            throw CommandError(QStringLiteral("%1 is a directory").arg(file));
        if (target.exists() && !target.isFile())
            throw CommandError(QStringLiteral("%1 is not a regular file").arg(file));
        const QJsonArray modules = document.array();
        store.setTPLYModuleData(file, modules);
        // The store reports no failure, so the file itself must show that the write took place.
        if (model_topology_param().getTPLYModuleData(file) != storedForm(modules))
            throw CommandError(QStringLiteral("could not store the modules in %1").arg(file));
        output.text = QStringLiteral("Stored %1 modules in %2\n").arg(modules.size()).arg(file);
        output.json = {{QStringLiteral("file"), file}, {QStringLiteral("written"), modules.size()}};
        return output;
    }

    const QFileInfo info(file);
    if (!info.exists())
        throw CommandError(QStringLiteral("no topology file at %1").arg(file));
    if (!info.isFile() || !info.isReadable())
        throw CommandError(QStringLiteral("cannot read topology file %1").arg(file));
    const QJsonArray modules = store.getTPLYModuleData(file);
    output.text = QString::fromUtf8(QJsonDocument(modules).toJson(QJsonDocument::Indented));
    output.json = {{QStringLiteral("file"), file}, {QStringLiteral("modules"), modules}};
    return output;
}
