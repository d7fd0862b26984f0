#include "apienum.h"

APIEnum::APIEnum(QObject *parent)
    : QObject(parent)
{ }

APIEnum::~APIEnum() = default;

// Built into the library and, since the library hides its symbols, into the tests that use it.
#include "moc_apienum.cpp" // NOLINT(bugprone-suspicious-include): moc's output for this file
