#include "CPictureICO.h"

CPictureICO::CPictureICO()
    : CPicture(TypeICO)
{
}

bool CPictureICO::Decode(CPicFile *)
{
    SetLastError("unsupported");
    return false;
}
