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

// The last nearest-colour search of a palette picture: the colour asked and
// the index found, valid until the palette changes.
struct tNearestColourCache
{
    RGBQUAD colour = {0, 0, 0, 0};
    uint8_t index = 0;
    bool valid = false;
};

// The settings and results of a picture: what a decoder is asked to do and
// what it found. A codec object copies the target's block before decoding.
struct tPictureSettings
{
    uint32_t rowLength = 0;                   // bytes per pixel row, padded to 4
    int32_t imageType = 0;                    // CPicture::Type
    char errorText[256] = {};                 // 8-bit text, at most 255 characters
    float jpegQuality = 90.0f;                // colours asked of JPEG quantisation
    uint8_t jpegScaleDenominator = 0;         // 0: full size
    int32_t transparentIndex = -1;            // palette index, -1 none
    RGBQUAD transparentColour = {0, 0, 0, 0};
    uint8_t largestAlpha = 255;
    int32_t horizontalDpi = 96;
    int32_t verticalDpi = 96;
    int32_t frameToLoad = 0;
    int32_t framesFound = 0;                  // by the last decode
    int32_t cancelRequest = 0;                // 0 proceed, -1 size only, other: stop
    bool enabled = false;
    tNearestColourCache nearestColour;
    int32_t selectionBounds[4] = {0, 0, 0, 0}; // left, top, right, bottom
    uint32_t decoderOptions[8] = {};          // one option word per image type
    bool keepAllFrames = false;               // GIF: keep a copy of every frame
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
    static constexpr uint64_t PixelMemoryLimit = 268435456;
    // The cancel request that asks a decoder for the picture's size only;
    // any other value but 0 stops the decoding.
    static constexpr int32_t SizeOnlyRequest = -1;

    explicit CPicture(int type = TypeUnknown);
    // Loads the file with the decoder of `type`, then by guessing the format.
    // The object exists whether or not loading succeeded (see IsValid).
    CPicture(const QString &fileName, int type);
    CPicture(const CPicture &src);
    CPicture &operator=(const CPicture &src);
    virtual ~CPicture();

    // --- whole picture
    bool Destroy();
    bool FreeKeptFrames();
    // Returns the new block, or null with the last error set.
    void *Create(uint32_t width, uint32_t height, uint32_t bpp, int type = TypeUnknown);
    bool Transfer(CPicture &from, bool transferFrames = true);
    void Copy(const CPicture &src, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    // Makes this picture a shallow view of `from`, which keeps every buffer.
    bool MakeViewOf(const CPicture *from);
    bool IsView() const { return m_viewOf != nullptr; }
    void Clear(uint8_t value = 0);
    bool IsValid() const { return m_block != nullptr; }
    void *GetBlock() const { return m_block; }
    const BITMAPINFOHEADER &GetBitmapHeader() const { return m_header; }

    // --- loading
    bool LoadFile(const QString &fileName, int type = TypeUnknown);
    bool Decode(CPicFile *file, int type);
    static int GetTypeFromExtension(const QString &ext);

    // --- drawing: the whole picture stretched into the rectangle, smoothed
    // when the painter's SmoothPixmapTransform hint is on (off by default).
    bool StretchToDC(QPainter *dc, long x, long y, long width, long height, uint32_t rasterOperation = SRCCOPY) const;

    // --- size and settings
    uint32_t GetWidth() const { return uint32_t(m_header.biWidth); }
    uint32_t GetHeight() const { return uint32_t(m_header.biHeight); }
    uint16_t GetBitsPerPixel() const { return m_header.biBitCount; }
    uint32_t GetRowLength() const { return m_settings.rowLength; }
    uint32_t GetColourCount() const { return m_header.biClrUsed; }
    uint32_t GetImageType() const { return uint32_t(m_settings.imageType); }
    int32_t GetXDPI() const { return m_settings.horizontalDpi; }
    int32_t GetYDPI() const { return m_settings.verticalDpi; }
    void SetXDPI(int32_t dpi);
    void SetYDPI(int32_t dpi);
    const char *GetErrorText() const { return m_settings.errorText; }
    void SetErrorText(const char *text);
    const tPictureSettings &GetSettings() const { return m_settings; }
    void CopySettings(const CPicture &src);

    int32_t GetTransparentIndex() const { return m_settings.transparentIndex; }
    void SetTransparentIndex(int32_t index);
    RGBQUAD GetTransparentColour() const;
    void SetTransparentColour(RGBQUAD rgb);
    bool HasTransparentIndex() const;

    int32_t GetFrameToLoad() const { return m_settings.frameToLoad; }
    void SetFrameToLoad(int32_t frame) { m_settings.frameToLoad = frame; }
    int32_t GetFramesFound() const { return m_settings.framesFound; }
    void SetFramesFound(int32_t frames);
    int32_t GetCancelRequest() const { return m_settings.cancelRequest; }
    void SetCancelRequest(int32_t request) { m_settings.cancelRequest = request; }
    uint32_t GetDecoderOptions(int type) const;
    bool SetDecoderOptions(uint32_t options, int type);
    bool GetKeepAllFrames() const { return m_settings.keepAllFrames; }
    void SetKeepAllFrames(bool all) { m_settings.keepAllFrames = all; }
    float GetJpegQualitySetting() const { return m_settings.jpegQuality; }
    void SetJpegQualitySetting(float q);
    uint8_t GetJpegScaleDenominator() const { return m_settings.jpegScaleDenominator; }
    void SetJpegScaleDenominator(uint8_t scale) { m_settings.jpegScaleDenominator = scale; }

    // Frames kept by a decoder that was asked for all of them.
    int32_t GetKeptFrameCount() const { return int32_t(m_keptFrames.size()); }
    CPicture *GetKeptFrame(int32_t slot) const;

    // --- rows and pixels (row 0 is the bottom row)
    uint8_t *GetRowPointer(uint32_t row = 0) const;
    bool ContainsPixel(long x, long y) const;
    uint8_t GetIndexAt(long x, long y) const;
    void SetIndexAt(long x, long y, uint8_t index);
    RGBQUAD GetColourAt(long x, long y, bool getAlpha = true) const;
    void SetColourAt(long x, long y, RGBQUAD c, bool setAlpha = false);

    // --- palette
    uint32_t GetPaletteBytes() const { return m_header.biClrUsed * uint32_t(sizeof(RGBQUAD)); }
    RGBQUAD *GetPaletteEntries() const;
    RGBQUAD GetPaletteEntry(uint8_t index) const;
    bool SetPaletteEntry(uint8_t index, RGBQUAD c);
    void SetPaletteFromChannels(const uint8_t *r, const uint8_t *g, const uint8_t *b, uint32_t count = 256);
    void SetPaletteEntries(const RGBQUAD *pal, uint32_t count = 256);
    void MakeGreyRamp();
    bool HasGreyRamp() const;
    uint8_t NearestPaletteIndex(RGBQUAD c);

    // --- alpha plane (one byte per pixel, bottom row first)
    bool CreateAlphaPlane();
    void DeleteAlphaPlane();
    void InvertAlphaPlane();
    bool FlipAlphaPlane();
    bool HasAlphaPlane() const { return m_alphaPlane != nullptr; }
    void SetAlphaAt(long x, long y, uint8_t level);
    uint8_t GetAlphaAt(long x, long y) const;
    // Takes the alpha plane from an 8-bit grey picture of the same size.
    bool TakeAlphaFromGrey(const CPicture &from);
    uint8_t *GetAlphaPointer(long x = 0, long y = 0) const;

    // --- selection plane (one byte per pixel)
    bool CreateSelectionMask();
    bool DeleteSelectionMask();
    bool HasSelectionMask() const { return m_selectionMask != nullptr; }
    bool IsSelected(long x, long y) const;
    void SetSelectedAt(long x, long y, uint8_t level);
    bool FlipSelectionMask();

    // --- whole-picture operations
    bool FlipVertically(bool flipSelection = false, bool flipAlpha = true);
    bool MakeNegative();

protected:
    // Create for a decoder that writes every pixel byte itself (whole rows,
    // padding included): the pixels are not zeroed first.
    void *CreateForWholeRows(uint32_t width, uint32_t height, uint32_t bpp, int type);
    // Decodes one known type into a codec object of its own.
    bool DecodeAsType(CPicFile *file, int type, std::unique_ptr<CPicture> &result);
    void ResetToEmpty(int type);
    void FreeOwnedBuffers();
    void CopyMasks(const CPicture &src, bool copySelection, bool copyAlpha);
    // Size-only decoding stores the size without a bitmap.
    void StoreSizeOnly(uint32_t width, uint32_t height, int type);
    // Frame slots of a decoder that keeps every frame; a slot outside the
    // array is refused.
    void MakeFrameSlots(int32_t count);
    bool StoreKeptFrame(int32_t slot, std::unique_ptr<CPicture> frame);
    uint8_t IndexAtUnchecked(long x, long y) const;
    void SetIndexAtUnchecked(long x, long y, uint8_t index);

    void *m_block = nullptr; // header + palette + pixels, one block
    BITMAPINFOHEADER m_header = {};
    tPictureSettings m_settings;
    uint8_t *m_selectionMask = nullptr;
    uint8_t *m_alphaPlane = nullptr;
    std::vector<std::unique_ptr<CPicture>> m_layers;
    std::vector<std::unique_ptr<CPicture>> m_keptFrames;
    const CPicture *m_viewOf = nullptr;

private:
    void *Allocate(uint32_t width, uint32_t height, uint32_t bpp, int type, bool zeroPixels);
};
