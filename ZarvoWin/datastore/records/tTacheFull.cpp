#include "tTacheFull.h"

void tTacheFull::Reset()
{
    *this = tTacheFull();
}
