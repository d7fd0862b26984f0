#ifndef MODELINFO_DEVICEREPORT_H
#define MODELINFO_DEVICEREPORT_H

#include <QtCore/QJsonObject>
#include <QtCore/QPair>
#include <QtCore/QString>
#include <QtCore/QVector>

// Name and value pairs in the order the model declares them.
using Entries = QVector<QPair<QString, int>>;

// What one device model makes of one device code.
struct ModelReport
{
    QString model; // short name used on the command line and in JSON: processor, scene, ...
    QString className;
    bool known = false; // whether the model's capacity table has a row for the code
    Entries capacities; // getter name without "getMax", value after initParam(code)
    Entries containers; // container member, entry count after initParam(code)
};

// Every device model, in the order processor, scene, bank player, IC.
QVector<ModelReport> deviceReports(int code);
QJsonObject toJson(const ModelReport &report);

// Every code any model knows, ascending.
QVector<int> knownDeviceCodes();

// 0x250300 style, at least six hex digits.
QString hexCode(int code);

#endif // MODELINFO_DEVICEREPORT_H
