#ifndef MODEL_TOPOLOGY_NESTEDVARIANTS_H
#define MODEL_TOPOLOGY_NESTEDVARIANTS_H

#include <QtCore/QByteArray>

// Internal to the library.
namespace TopologyIni {

// The bytes of a settings file without the values that the settings store would decode to a
// variant that may hold other values; the bytes themselves when there are none. The lines keep
// their keys, so each such entry reads as empty text.
//
// A value written as "@Variant(...)" holds a serialized variant, which the store decodes by
// recursion as soon as it parses the section: a list nested a few ten thousand levels deep
// exhausts any stack. Only variants of a plain type (numbers, text, dates, a URL or a UUID) have a
// text form at all; lists, maps and the like read as empty text anyway.
QByteArray withoutNestedVariants(const QByteArray &data);

} // namespace TopologyIni

#endif // MODEL_TOPOLOGY_NESTEDVARIANTS_H
