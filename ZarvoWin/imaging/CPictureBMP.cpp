#include "CPictureBMP.h"

CPictureBMP::CPictureBMP()
    : CPicture(TypeBMP)
{
}

bool CPictureBMP::Decode(CPicFile *)
{
    SetLastError("unsupported");
    return false;
}
