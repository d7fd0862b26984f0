#include "model_api_param.h"

model_API_param::model_API_param() = default;

model_API_param::~model_API_param() = default;

void model_API_param::clearData()
{
    // The defaults live with the members; a fresh record carries all of them. Only this class's
    // part is assigned, whatever the dynamic type.
    *this = model_API_param();
}

void model_API_param::clearNetData()
{
    m_netText1.clear();
    m_netText2.clear();
    m_netText3.clear();
}
