#ifndef MODEL_PORTS_MODEL_GLOBALENUM_H
#define MODEL_PORTS_MODEL_GLOBALENUM_H

#include <model/model_export.h>

#include <QtCore/QString>

/// Display names of the port type codes that devices report for their input and output ports.
/// The two directions have tables of their own (output code 2 is "DVI", input code 2 is "HDMI"),
/// so the caller picks the lookup by the direction of the port. The class has no state: both
/// lookups are static.
class MODEL_EXPORT model_GlobalEnum
{
public:
    /// Does nothing: both lookups are static and need no object.
    model_GlobalEnum();
    /// Does nothing.
    ~model_GlobalEnum();

    /// The name of an output port type, for the client to show beside an output port; an empty
    /// (not null) string for a code without one, including every code outside 0 to 255. Several
    /// codes share a name (1, 2, 25, 27, 32 and 248 are all "DVI").
    static QString getOutputPortNameByType(int type);
    /// The name of an input port type, for the client to show beside an input port; an empty
    /// (not null) string for a code without one, including every code outside 0 to 255. Several
    /// codes share a name (2, 11, 13, 15, 45, 57 and 248 are all "HDMI").
    static QString getInputPortNameByType(int type);
};

#endif // MODEL_PORTS_MODEL_GLOBALENUM_H
