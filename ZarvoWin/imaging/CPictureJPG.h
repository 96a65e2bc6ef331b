#pragma once
#include "CPicture.h"

class CPicFile;

// JPEG pictures, decoded by libjpeg.
// Decodes into itself; CPicture::Decode hands the result to the target.
class CPictureJPG : public CPicture
{
public:
    CPictureJPG();
    bool Decode(CPicFile *file);
};
