#include "tTacheParams.h"

void tTacheParams::Reset()
{
    *this = tTacheParams();
}

void tTacheParams::Assign(const tTacheParams &other)
{
    *this = other;
}
