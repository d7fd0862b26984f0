#include "model_protocoldata.h"

// The two address texts are set here rather than beside their members: a string literal in the
// class body would add a symbol of its own to the library's interface.
model_Protocoldata::model_Protocoldata()
    : m_ipAddress1(QStringLiteral("100.100.100.100"))
    , m_ipAddress2(m_ipAddress1)
{ }

model_Protocoldata::~model_Protocoldata() = default;
