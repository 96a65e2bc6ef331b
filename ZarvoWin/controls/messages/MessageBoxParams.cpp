#include "MessageBoxParams.h"

void InitMessageBoxParams(MessageBoxParams &params)
{
    params = MessageBoxParams();
}
