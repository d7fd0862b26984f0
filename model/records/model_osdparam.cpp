#include "model_osdparam.h"

// Out of line so that the defaults are applied by the library's own code.
model_OsdParam::model_OsdParam() = default;

model_OsdParam::~model_OsdParam() = default;
