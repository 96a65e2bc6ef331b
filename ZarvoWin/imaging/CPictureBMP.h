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
    // The picture row where the file's row'th row goes: rows stored top first
    // are placed as they are read, so the picture never needs turning over.
    uint8_t *StoredRow(uint32_t row) const;
    // Reads rows stored as the picture holds them, zeroing what the file lacks.
    void ReadRowsAsStored(CPicFile *file, uint32_t bytesInFile);
    bool ReadBitfields(CPicFile *file, uint16_t bitCount, const uint32_t masks[3], bool keepAlpha);
    void DecodeRle(CPicFile *file, bool fourBits);

    bool m_topDown = false;       // rows stored top first
    bool m_pixelsZeroed = false;  // the picture was created zeroed
};
