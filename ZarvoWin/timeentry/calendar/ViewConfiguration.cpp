#include "ViewConfiguration.h"

#include "CAppData.h"
#include "CConfiguration.h"

const CConfiguration &ViewConfiguration()
{
    if (const CConfiguration *config = CAppData::Configuration())
        return *config;
    static const CConfiguration defaults;
    return defaults;
}
