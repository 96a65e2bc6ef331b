#pragma once
#include "CPicture.h"

class CPicFile;

// BMP pictures: core and Windows headers, 1 to 32 bits per pixel, run-length encoded rows and bit fields.
// Decodes into itself; CPicture::Decode hands the result to the target.
class CPictureBMP : public CPicture
{
public:
    CPictureBMP();
    bool Decode(CPicFile *file);
};
