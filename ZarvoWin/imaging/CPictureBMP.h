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

private:
    bool DecodeBody(CPicFile *file, const char *&error);
    // Reads rows stored as the picture holds them, zeroing what the file lacks.
    void ReadRowsAsStored(CPicFile *file, uint32_t bytesInFile);
    bool ReadBitfields(CPicFile *file, uint16_t bitCount, const uint32_t masks[3], bool keepAlpha);
    void DecodeRle(CPicFile *file, bool fourBits);
};
