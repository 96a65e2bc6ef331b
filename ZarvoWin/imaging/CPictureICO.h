#pragma once
#include "CPicture.h"

#include <cstddef>

class CPicFile;

// Icons and cursors: the chosen image of the directory, its AND mask made transparency.
// Decodes into itself; CPicture::Decode hands the result to the target.
class CPictureICO : public CPicture
{
public:
    CPictureICO();
    bool Decode(CPicFile *file);

private:
    bool DecodeBody(CPicFile *file, const char *&error);
    void ApplyMask(const uint8_t *mask, size_t maskRow, bool ownAlpha);
};
