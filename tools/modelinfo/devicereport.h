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
    int code = 0;       // the model's m_deviceCode
    bool known = false; // whether the model's capacity table has a row for the code
    Entries capacities; // getter name without "getMax", its value
    Entries containers; // container member, entry count
};

class ModelCalyth;
class ModelScene;
class ModelBankPlayer;
class ModelIC;

// What one model holds, whether built for a code or restored from a document.
ModelReport modelReport(const ModelCalyth &model);
ModelReport modelReport(const ModelScene &model);
ModelReport modelReport(const ModelBankPlayer &model);
ModelReport modelReport(const ModelIC &model);

// Every device model built for code, in the order processor, scene, bank player, IC.
QVector<ModelReport> deviceReports(int code);
// The containers of a tree built for a code the model does not know are those of some earlier
// code: the device command leaves them out, since listing them under this code would mislead.
QJsonObject toJson(const ModelReport &report, bool withContainers);

// Every code any model knows, ascending.
QVector<int> knownDeviceCodes();

// 0x250300 style, at least six hex digits.
QString hexCode(int code);

#endif // MODELINFO_DEVICEREPORT_H
