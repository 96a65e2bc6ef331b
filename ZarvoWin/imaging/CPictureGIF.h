#pragma once
#include "CPicture.h"

class CPicFile;

// GIF pictures: LZW data, interlace, transparency and several frames.
// Decodes into itself; CPicture::Decode hands the result to the target.
class CPictureGIF : public CPicture
{
public:
    CPictureGIF();
    bool Decode(CPicFile *file);
};
