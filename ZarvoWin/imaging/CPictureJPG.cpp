#include "CPictureJPG.h"

CPictureJPG::CPictureJPG()
    : CPicture(TypeJPG)
{
}

bool CPictureJPG::Decode(CPicFile *)
{
    SetLastError("unsupported");
    return false;
}
