#pragma once
#include "CPicture.h"

#include <memory>

class CPicFile;
class GifInput;
class GifLzwDecoder;

// GIF pictures: LZW data, interlace, transparency and several frames.
// Decodes into itself; CPicture::Decode hands the result to the target.
//
// Two passes over the blocks: the first counts the images (the number of
// frames), the second decodes up to the selected one and composes it onto a
// canvas of the logical screen size as the disposal methods say.
class CPictureGIF : public CPicture
{
public:
    CPictureGIF();
    ~CPictureGIF() override;

    bool Decode(CPicFile *file);

    // What the last decode read besides the pixels.
    const char *GetCommentText() const { return m_comment; }
    int32_t GetLoopCount() const { return m_loopCount; }

    // The work the last decode did: bytes read (both passes, again for each
    // byte read again) and pixels painted onto a composed canvas.
    struct tGifWork
    {
        uint64_t bytesRead = 0;
        uint64_t pixelsPainted = 0;
    };
    const tGifWork &GetWorkDone() const { return m_work; }

private:
    // The graphic control extension that applies to the next image.
    struct tGifControl
    {
        bool read = false;
        uint8_t flags = 0; // bit 0 transparency present, bits 2-4 disposal
        uint16_t delay = 0;
        uint8_t transIndex = 0;
    };
    // An image descriptor.
    struct tGifImage
    {
        uint32_t left = 0, top = 0, width = 0, height = 0;
        uint8_t flags = 0; // bit 7 local colour table, bit 6 interlaced
    };

    bool ReadExtension(GifInput &in);
    bool ReadDescriptor(GifInput &in, tGifImage &image);
    bool FitsScreen(const tGifImage &image) const;
    // Runs the LZW decoder over the data without output; after invalid codes
    // the input moves to the next image descriptor found.
    void ScanImageData(GifInput &in, int64_t afterDescriptor);
    static void Resynchronise(GifInput &in, int64_t from);
    static bool SkipSubBlocks(GifInput &in);

    int32_t CountImages(GifInput &in, tGifImage &first);
    bool DecodeImages(GifInput &in, int32_t count, const tGifImage &first);
    bool Fail(const char *text);

    uint32_t m_screenWidth = 0;
    uint32_t m_screenHeight = 0;
    bool m_hasGlobalTable = false;
    uint32_t m_globalColours = 0;
    RGBQUAD m_globalTable[256] = {};
    tGifControl m_control;
    char m_comment[256] = {};
    int32_t m_loopCount = 0;
    std::unique_ptr<GifLzwDecoder> m_lzw;
    tGifWork m_work;
    uint64_t m_fileBytes = 0; // from the decoding start to the end, 0 unknown
};
