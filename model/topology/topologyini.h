#ifndef MODEL_TOPOLOGY_TOPOLOGYINI_H
#define MODEL_TOPOLOGY_TOPOLOGYINI_H

#include <QtCore/QByteArray>
#include <QtCore/QJsonArray>

// Internal to the library: the text of a topology file, built and parsed in memory. The text is
// the settings store's INI form (QSettings, INI format, UTF-8), byte for byte, as this Qt flavour
// writes and reads it.
namespace TopologyIni {

// A member value that nests arrays and objects deeper than this is stored as empty text.
constexpr int MaxNesting = 32;

// The whole file for modules; empty when no module has an entry to store.
QByteArray text(const QJsonArray &modules);

// The modules a file of these bytes holds, every value as its text.
QJsonArray modules(const QByteArray &text);

} // namespace TopologyIni

#endif // MODEL_TOPOLOGY_TOPOLOGYINI_H
