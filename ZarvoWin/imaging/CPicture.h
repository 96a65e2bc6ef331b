#pragma once
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class CPicFile;
class QPainter;

// The pixel header and palette entry of a device-independent bitmap, laid out
// as they are stored in picture files (little-endian, no padding).
#pragma pack(push, 1)
struct BITMAPINFOHEADER
{
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

struct RGBQUAD
{
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(RGBQUAD) == 4);

// The settings and results of a picture: what a decoder is asked to do and
// what it found. A codec object copies the target's block before decoding.
struct tPictureInfo
{
    uint32_t dwEffWidth = 0;           // row length in bytes
    int32_t dwType = 0;                // CPicture::Type
    char szLastError[256] = {};        // 8-bit text, at most 255 characters
    float fQuality = 90.0f;            // JPEG quality
    uint8_t nJpegScale = 0;            // JPEG scale denominator (0: full size)
    int32_t nBkgndIndex = -1;          // transparent palette index, -1 none
    RGBQUAD nBkgndColor = {0, 0, 0, 0}; // transparent colour
    uint8_t nAlphaMax = 255;           // largest alpha value
    int32_t xDPI = 96;
    int32_t yDPI = 96;
    int32_t nFrame = 0;                // index of the frame to load
    int32_t nNumFrames = 0;            // frames found by the last decode
    int32_t nEscape = 0;               // 0 proceed, -1 size only, other: cancel
    bool bEnabled = false;
    RGBQUAD last_c = {0, 0, 0, 0};     // last colour asked of GetNearestIndex
    uint8_t last_c_index = 0;          // and its answer
    bool last_c_isvalid = false;
    int32_t rSelectionBox[4] = {0, 0, 0, 0}; // left, top, right, bottom
    uint32_t dwCodecOpt[8] = {};       // one option word per codec type
    bool bGetAllFrames = false;        // GIF: keep every frame
};

// A picture in memory: one block holding the bitmap header, the palette and
// the pixel rows (bottom row first, each padded to 4 bytes), with optional
// alpha and selection planes, layers and frames. Nothing here throws or shows
// a message: failures return false or null and leave their text in the
// picture's last error.
class CPicture
{
public:
    enum Type { TypeUnknown = 0, TypeBMP = 1, TypeGIF = 2, TypeJPG = 3, TypeICO = 5 };
    // The one raster operation StretchToDC callers use.
    static constexpr uint32_t SRCCOPY = 0x00CC0020;
    // The largest pixel block Create accepts, in bytes.
    static constexpr uint64_t MaxMemory = 268435456;

    explicit CPicture(int type = TypeUnknown);
    // Loads the file with the decoder of `type`, then by guessing the format.
    // The object exists whether or not loading succeeded (see IsValid).
    CPicture(const QString &fileName, int type);
    CPicture(const CPicture &src);
    CPicture &operator=(const CPicture &src);
    virtual ~CPicture();

    // --- whole picture
    bool Destroy();
    bool DestroyFrames();
    // Returns the new block, or null with the last error set.
    void *Create(uint32_t width, uint32_t height, uint32_t bpp, int type = TypeUnknown);
    bool Transfer(CPicture &from, bool transferFrames = true);
    void Copy(const CPicture &src, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    // Makes this picture a shallow view of `from`, which keeps every buffer.
    bool Ghost(const CPicture *from);
    bool IsGhost() const { return m_ghost != nullptr; }
    void Clear(uint8_t value = 0);
    bool IsValid() const { return m_dib != nullptr; }
    void *GetDIB() const { return m_dib; }
    const BITMAPINFOHEADER &GetHeader() const { return m_head; }

    // --- loading
    bool Load(const QString &fileName, int type = TypeUnknown);
    bool Decode(CPicFile *file, int type);
    static int GetTypeFromExtension(const QString &ext);

    // --- drawing: the whole picture stretched into the rectangle, no smoothing.
    bool StretchToDC(QPainter *dc, long xoffset, long yoffset, long xsize, long ysize, uint32_t rop = SRCCOPY) const;

    // --- size and settings
    uint32_t GetWidth() const { return uint32_t(m_head.biWidth); }
    uint32_t GetHeight() const { return uint32_t(m_head.biHeight); }
    uint16_t GetBpp() const { return m_head.biBitCount; }
    uint32_t GetEffWidth() const { return m_info.dwEffWidth; }
    uint32_t GetNumColors() const { return m_head.biClrUsed; }
    uint32_t GetType() const { return uint32_t(m_info.dwType); }
    int32_t GetXDPI() const { return m_info.xDPI; }
    int32_t GetYDPI() const { return m_info.yDPI; }
    void SetXDPI(int32_t dpi);
    void SetYDPI(int32_t dpi);
    const char *GetLastError() const { return m_info.szLastError; }
    void SetLastError(const char *text);
    const tPictureInfo &GetInfo() const { return m_info; }
    void CopyInfo(const CPicture &src);

    int32_t GetTransIndex() const { return m_info.nBkgndIndex; }
    void SetTransIndex(int32_t index);
    RGBQUAD GetTransColor() const;
    void SetTransColor(RGBQUAD rgb);
    bool IsTransparent() const;

    int32_t GetFrame() const { return m_info.nFrame; }
    void SetFrame(int32_t frame) { m_info.nFrame = frame; }
    int32_t GetNumFrames() const { return m_info.nNumFrames; }
    void SetNumFramesFound(int32_t frames);
    int32_t GetEscape() const { return m_info.nEscape; }
    void SetEscape(int32_t escape) { m_info.nEscape = escape; }
    uint32_t GetCodecOption(int type) const;
    bool SetCodecOption(uint32_t option, int type);
    bool GetRetreiveAllFrames() const { return m_info.bGetAllFrames; }
    void SetRetreiveAllFrames(bool all) { m_info.bGetAllFrames = all; }
    float GetJpegQuality() const { return m_info.fQuality; }
    void SetJpegQuality(float q);
    uint8_t GetJpegScale() const { return m_info.nJpegScale; }
    void SetJpegScale(uint8_t scale) { m_info.nJpegScale = scale; }

    // Frames kept by a decoder that was asked for all of them.
    int32_t GetFrameSlots() const { return int32_t(m_frames.size()); }
    CPicture *GetFrameAt(int32_t slot) const;

    // --- rows and pixels (row 0 is the bottom row)
    uint8_t *GetBits(uint32_t row = 0) const;
    bool IsInside(long x, long y) const;
    uint8_t GetPixelIndex(long x, long y) const;
    void SetPixelIndex(long x, long y, uint8_t index);
    RGBQUAD GetPixelColor(long x, long y, bool getAlpha = true) const;
    void SetPixelColor(long x, long y, RGBQUAD c, bool setAlpha = false);

    // --- palette
    uint32_t GetPaletteSize() const { return m_head.biClrUsed * uint32_t(sizeof(RGBQUAD)); }
    RGBQUAD *GetPalette() const;
    RGBQUAD GetPaletteColor(uint8_t index) const;
    bool SetPaletteColor(uint8_t index, RGBQUAD c);
    void SetPalette(const uint8_t *r, const uint8_t *g, const uint8_t *b, uint32_t nColors = 256);
    void SetPalette(const RGBQUAD *pal, uint32_t nColors = 256);
    void SetGrayPalette();
    bool IsGrayScale() const;
    uint8_t GetNearestIndex(RGBQUAD c);

    // --- alpha plane (one byte per pixel, bottom row first)
    bool AlphaCreate();
    void AlphaDelete();
    void AlphaInvert();
    bool AlphaFlip();
    bool AlphaIsValid() const { return m_alpha != nullptr; }
    void AlphaSet(long x, long y, uint8_t level);
    uint8_t AlphaGet(long x, long y) const;
    // Takes the alpha plane from an 8-bit grey picture of the same size.
    bool AlphaSet(const CPicture &from);
    uint8_t *AlphaGetPointer(long x = 0, long y = 0) const;

    // --- selection plane (one byte per pixel)
    bool SelectionCreate();
    bool SelectionDelete();
    bool SelectionIsValid() const { return m_selection != nullptr; }
    bool SelectionIsInside(long x, long y) const;
    void SelectionSet(long x, long y, uint8_t level);
    bool SelectionFlip();

    // --- whole-picture operations
    bool Flip(bool flipSelection = false, bool flipAlpha = true);
    bool Negative();

protected:
    // Decodes one known type into a codec object of its own.
    bool DecodeType(CPicFile *file, int type, std::unique_ptr<CPicture> &result);
    void Startup(int type);
    void FreeBuffers();
    void CopyPlanes(const CPicture &src, bool copySelection, bool copyAlpha);
    // Size-only decoding stores the size without a bitmap.
    void SetSizeOnly(uint32_t width, uint32_t height, int type);
    // Frame slots of a decoder that keeps every frame; a slot outside the
    // array is refused.
    void CreateFrameSlots(int32_t count);
    bool SetFrameAt(int32_t slot, std::unique_ptr<CPicture> frame);
    uint8_t BlindGetPixelIndex(long x, long y) const;
    void BlindSetPixelIndex(long x, long y, uint8_t index);

    void *m_dib = nullptr;          // header + palette + pixels, one block
    BITMAPINFOHEADER m_head = {};
    tPictureInfo m_info;
    uint8_t *m_selection = nullptr;
    uint8_t *m_alpha = nullptr;
    std::vector<std::unique_ptr<CPicture>> m_layers;
    std::vector<std::unique_ptr<CPicture>> m_frames;
    const CPicture *m_ghost = nullptr;
};
