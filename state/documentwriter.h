#ifndef STATE_DOCUMENTWRITER_H
#define STATE_DOCUMENTWRITER_H

#include "codec.h"

#include <QtCore/QByteArray>
#include <QtCore/QJsonObject>

namespace StateCodec {

// JSON text of document with every object's members in the order shape gives (members shape does
// not know follow in name order). Indented, it ends with a line break, and arrays of numbers,
// strings and nulls take one line; compact, it is one line without any white space. Numbers and
// strings are written as QJsonDocument::toJson() writes them, so that QJsonDocument::fromJson()
// gives back the same values.
QByteArray writeDocument(const QJsonObject &document, const Shape *shape, bool compact);

} // namespace StateCodec

#endif // STATE_DOCUMENTWRITER_H
