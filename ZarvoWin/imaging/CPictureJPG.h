#pragma once
#include "CPicture.h"

class CPicFile;
struct jpeg_decompress_struct;

// JPEG pictures, decoded by libjpeg: greyscale to 8 bits with a grey
// palette, colour and CMYK to 24 bits, resolution from the JFIF density.
// Decodes into itself; CPicture::Decode hands the result to the target.
class CPictureJPG : public CPicture
{
public:
    // Bits of the decoder options of type 3.
    static constexpr uint32_t OptionGrey = 0x80;
    static constexpr uint32_t OptionQuantise = 0x100;

    CPictureJPG();
    bool Decode(CPicFile *file);

    // Blocks of coefficients the scans of the last decode went over.
    uint64_t GetBlocksRead() const { return m_blocksRead; }

private:
    enum class Outcome { Done, SizeOnly, Failed };
    // Everything after the library's error return point; a library error
    // jumps back out of it, so it keeps no object that needs destroying.
    Outcome ReadPicture(jpeg_decompress_struct *cinfo, CPicFile *file);

    uint64_t m_blocksRead = 0;
};
