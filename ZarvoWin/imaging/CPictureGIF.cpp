#include "CPictureGIF.h"

CPictureGIF::CPictureGIF()
    : CPicture(TypeGIF)
{
}

bool CPictureGIF::Decode(CPicFile *)
{
    SetLastError("unsupported");
    return false;
}
