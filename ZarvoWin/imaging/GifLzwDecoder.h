#pragma once
#include <cstdint>

class GifInput;
class GifRowWriter;

// The variable-length LZW decoder of GIF image data: a minimum code size
// byte, then data sub-blocks (a length byte and that many bytes) up to a
// zero-length terminator. Codes are read least significant bit first.
//
// Damaged data never reads or writes outside the tables: a code beyond the
// next free code is counted as invalid and decoded as the repeat of the
// previous string, strings are written within the line, and data that ends
// early leaves the remaining rows at index 0.
class GifLzwDecoder
{
public:
    struct Result
    {
        uint32_t invalidCodes = 0; // codes above the next free code
        bool cancelled = false;    // the picture's cancel request stopped it
        bool endOfFile = false;    // the file ended inside the data
    };

    GifLzwDecoder() = default;
    GifLzwDecoder(const GifLzwDecoder &) = delete;
    GifLzwDecoder &operator=(const GifLzwDecoder &) = delete;

    // Decodes one image's data from the input, leaving it after the data's
    // terminator. Without a writer the codes are only read and checked. A
    // minimum code size outside 2 to 9 decodes no pixel.
    Result Decode(GifInput &in, GifRowWriter *writer);

private:
    bool FillBits(GifInput &in, uint32_t need);
    void SkipToTerminator(GifInput &in);

    uint16_t m_prefix[4096];
    uint8_t m_suffix[4096];
    uint8_t m_first[4096];
    uint16_t m_length[4096];
    uint8_t m_stack[4096];

    uint64_t m_bitBuffer = 0;
    uint32_t m_bitCount = 0;
    uint32_t m_blockLeft = 0;  // bytes left in the current sub-block
    bool m_dataEnded = false;  // terminator or end of file reached
    bool m_endOfFile = false;
};
