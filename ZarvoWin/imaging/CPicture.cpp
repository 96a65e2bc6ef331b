#include "CPicture.h"

#include "CPicIOFile.h"
#include "CPictureBMP.h"
#include "CPictureGIF.h"
#include "CPictureICO.h"
#include "CPictureJPG.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

int normaliseBpp(uint32_t bpp)
{
    if (bpp <= 1)
        return 1;
    if (bpp <= 4)
        return 4;
    if (bpp <= 8)
        return 8;
    return 24;
}

// Pixels per metre of a resolution, kept within the header's 32-bit field
// whatever resolution a file claims.
int32_t pelsPerMeter(int32_t dpi)
{
    const double ppm = std::floor(dpi * 10000.0 / 254.0 + 0.5);
    return ppm >= 2147483647.0 ? INT32_MAX : int32_t(ppm);
}

} // namespace

CPicture::CPicture(int type)
{
    ResetToEmpty(type);
}

CPicture::CPicture(const QString &fileName, int type)
{
    ResetToEmpty(type);
    LoadFile(fileName, type);
}

CPicture::CPicture(const CPicture &src)
{
    ResetToEmpty(TypeUnknown);
    Copy(src);
}

CPicture &CPicture::operator=(const CPicture &src)
{
    if (this != &src) {
        if (m_viewOf) {
            // A view owns nothing: drop the links and become a picture of its own.
            m_block = nullptr;
            m_alphaPlane = m_selectionMask = nullptr;
            m_viewOf = nullptr;
        }
        Copy(src);
    }
    return *this;
}

CPicture::~CPicture()
{
    FreeKeptFrames();
    Destroy();
}

void CPicture::ResetToEmpty(int type)
{
    m_block = nullptr;
    m_selectionMask = m_alphaPlane = nullptr;
    m_viewOf = nullptr;
    m_header = BITMAPINFOHEADER{};
    m_settings = tPictureSettings{};
    m_settings.imageType = type;
}

void CPicture::FreeOwnedBuffers()
{
    m_layers.clear();
    std::free(m_selectionMask);
    m_selectionMask = nullptr;
    std::free(m_alphaPlane);
    m_alphaPlane = nullptr;
    std::free(m_block);
    m_block = nullptr;
}

bool CPicture::Destroy()
{
    if (m_viewOf)
        return false;
    FreeOwnedBuffers();
    m_header.biWidth = m_header.biHeight = 0;
    return true;
}

bool CPicture::FreeKeptFrames()
{
    if (m_viewOf)
        return false;
    m_keptFrames.clear();
    return true;
}

void *CPicture::Create(uint32_t width, uint32_t height, uint32_t bpp, int type)
{
    return Allocate(width, height, bpp, type, true);
}

void *CPicture::CreateForWholeRows(uint32_t width, uint32_t height, uint32_t bpp, int type)
{
    return Allocate(width, height, bpp, type, false);
}

void *CPicture::Allocate(uint32_t width, uint32_t height, uint32_t bpp, int type, bool zeroPixels)
{
    if (m_viewOf)
        return nullptr;
    FreeOwnedBuffers();

    if (width == 0 || height == 0) {
        SetErrorText("CPicture::Create : width and height must be greater than zero");
        return nullptr;
    }
    bpp = uint32_t(normaliseBpp(bpp));

    // Every size in 64 bits: the pixel count, its bits and the padded rows that
    // are really allocated must all stay within the limit.
    const uint64_t pixels = uint64_t(width) * uint64_t(height);
    const uint64_t rowLength = ((uint64_t(width) * bpp + 31) / 32) * 4;
    if (pixels > PixelMemoryLimit * 8 || ((pixels * bpp) & ~uint64_t(7)) > PixelMemoryLimit * 8
        || rowLength * height > PixelMemoryLimit) {
        SetErrorText("PICTURE_MAX_MEMORY exceeded");
        return nullptr;
    }

    const uint32_t colours = bpp == 1 ? 2 : bpp == 4 ? 16 : bpp == 8 ? 256 : 0;
    m_settings.rowLength = uint32_t(rowLength);

    m_header = BITMAPINFOHEADER{};
    m_header.biSize = sizeof(BITMAPINFOHEADER);
    m_header.biWidth = int32_t(width);
    m_header.biHeight = int32_t(height);
    m_header.biPlanes = 1;
    m_header.biBitCount = uint16_t(bpp);
    m_header.biCompression = 0;
    m_header.biSizeImage = uint32_t(rowLength * height);
    m_header.biClrUsed = colours;
    m_header.biXPelsPerMeter = pelsPerMeter(m_settings.horizontalDpi);
    m_header.biYPelsPerMeter = pelsPerMeter(m_settings.verticalDpi);
    m_settings.imageType = type;

    const size_t head = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    const size_t total = head + size_t(m_header.biSizeImage);
    m_block = zeroPixels ? std::calloc(1, total) : std::malloc(total);
    if (!m_block) {
        SetErrorText("CPicture::Create can't allocate memory");
        return nullptr;
    }
    if (!zeroPixels)
        std::memset(m_block, 0, head);
    m_settings.nearestColour.valid = false;
    std::memcpy(m_block, &m_header, sizeof(BITMAPINFOHEADER));
    return m_block;
}

bool CPicture::Transfer(CPicture &from, bool transferFrames)
{
    // A view's buffers belong to the picture it shows: they are not its to
    // hand over, and taking them would free them twice.
    if (m_viewOf || from.m_viewOf || &from == this)
        return false;
    FreeOwnedBuffers();
    if (transferFrames) {
        m_keptFrames = std::move(from.m_keptFrames);
        from.m_keptFrames.clear();
    }
    m_header = from.m_header;
    m_settings = from.m_settings;
    m_block = from.m_block;
    m_selectionMask = from.m_selectionMask;
    m_alphaPlane = from.m_alphaPlane;
    m_layers = std::move(from.m_layers);
    m_viewOf = nullptr;

    from.m_layers.clear();
    from.m_block = nullptr;
    from.m_selectionMask = from.m_alphaPlane = nullptr;
    from.m_header = BITMAPINFOHEADER{};
    from.m_viewOf = nullptr;
    return true;
}

bool CPicture::MakeViewOf(const CPicture *from)
{
    if (!from || from == this)
        return false;
    // A view (of a view) of this picture shows the buffers this one owns:
    // freeing them to show them again would leave nothing behind.
    if (!m_viewOf && m_block && from->m_block == m_block)
        return false;
    if (!m_viewOf) {
        FreeKeptFrames();
        FreeOwnedBuffers();
    }
    m_keptFrames.clear();
    m_layers.clear();
    m_header = from->m_header;
    m_settings = from->m_settings;
    m_block = from->m_block;
    m_selectionMask = from->m_selectionMask;
    m_alphaPlane = from->m_alphaPlane;
    m_viewOf = from;
    return true;
}

void CPicture::CopySettings(const CPicture &src)
{
    if (&src != this)
        m_settings = src.m_settings;
}

void CPicture::Copy(const CPicture &src, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (&src == this)
        return;
    if (src.m_viewOf) {
        MakeViewOf(&src);
        return;
    }
    if (!src.m_block) {
        if (!m_viewOf)
            FreeOwnedBuffers();
        m_header = src.m_header;
        m_settings = src.m_settings;
        return;
    }
    m_settings = src.m_settings;
    if (!Create(src.GetWidth(), src.GetHeight(), src.GetBitsPerPixel(), src.m_settings.imageType))
        return;
    const size_t paletteBytes = src.GetPaletteBytes();
    if (copyPixels)
        std::memcpy(m_block, src.m_block, sizeof(BITMAPINFOHEADER) + paletteBytes + src.m_header.biSizeImage);
    else if (paletteBytes)
        std::memcpy(GetPaletteEntries(), src.GetPaletteEntries(), paletteBytes);
    m_header = src.m_header;
    m_settings = src.m_settings;
    CopyMasks(src, copySelection, copyAlpha);
}

void CPicture::CopyMasks(const CPicture &src, bool copySelection, bool copyAlpha)
{
    const size_t plane = size_t(GetWidth()) * GetHeight();
    if (copySelection && src.m_selectionMask) {
        m_selectionMask = static_cast<uint8_t *>(std::malloc(plane));
        if (m_selectionMask)
            std::memcpy(m_selectionMask, src.m_selectionMask, plane);
    }
    if (copyAlpha && src.m_alphaPlane) {
        m_alphaPlane = static_cast<uint8_t *>(std::malloc(plane));
        if (m_alphaPlane)
            std::memcpy(m_alphaPlane, src.m_alphaPlane, plane);
    }
}

void CPicture::Clear(uint8_t value)
{
    if (!m_block)
        return;
    if (m_header.biBitCount == 1 && value)
        value = 255;
    if (m_header.biBitCount == 4)
        value = uint8_t((value & 0x0F) | (value << 4));
    std::memset(GetRowPointer(), value, m_header.biSizeImage);
}

void CPicture::StoreSizeOnly(uint32_t width, uint32_t height, int type)
{
    m_header.biWidth = int32_t(width);
    m_header.biHeight = int32_t(height);
    m_settings.imageType = type;
}

void CPicture::MakeFrameSlots(int32_t count)
{
    m_keptFrames.clear();
    if (count > 0)
        m_keptFrames.resize(size_t(count));
}

bool CPicture::StoreKeptFrame(int32_t slot, std::unique_ptr<CPicture> frame)
{
    if (slot < 0 || size_t(slot) >= m_keptFrames.size())
        return false;
    m_keptFrames[size_t(slot)] = std::move(frame);
    return true;
}

CPicture *CPicture::GetKeptFrame(int32_t slot) const
{
    if (slot < 0 || size_t(slot) >= m_keptFrames.size())
        return nullptr;
    return m_keptFrames[size_t(slot)].get();
}

// ---------------------------------------------------------------- loading

int CPicture::GetTypeFromExtension(const QString &ext)
{
    const QString e = ext.left(3).toLower();
    if (e == QLatin1String("bmp"))
        return TypeBMP;
    if (e == QLatin1String("jpg") || e == QLatin1String("jpe") || e == QLatin1String("jfi"))
        return TypeJPG;
    if (e == QLatin1String("gif"))
        return TypeGIF;
    if (e == QLatin1String("ico") || e == QLatin1String("cur"))
        return TypeICO;
    return TypeUnknown;
}

bool CPicture::LoadFile(const QString &fileName, int type)
{
    const bool known = type == TypeBMP || type == TypeGIF || type == TypeJPG || type == TypeICO;
    if (known) {
        CPicIOFile file;
        if (!file.Open(fileName, QStringLiteral("rb")))
            return false;
        if (Decode(&file, type))
            return true;
    }
    char remembered[256];
    std::memcpy(remembered, m_settings.errorText, sizeof remembered);

    CPicIOFile file;
    if (!file.Open(fileName, QStringLiteral("rb")))
        return false;
    if (Decode(&file, TypeUnknown))
        return true;
    if (type != TypeUnknown)
        SetErrorText(remembered);
    return false;
}

namespace {

// Decodes into a codec object of its own, handed over to the target only on
// success, so a failed decode leaves the target as it was.
template<class Codec>
bool decodeWith(CPicture &target, CPicFile *file, bool reportsFrames, std::unique_ptr<CPicture> &result)
{
    auto codec = std::make_unique<Codec>();
    codec->CopySettings(target);
    if (codec->Decode(file)) {
        result = std::move(codec);
        return true;
    }
    target.SetErrorText(codec->GetErrorText());
    if (reportsFrames)
        target.SetFramesFound(codec->GetFramesFound());
    return false;
}

} // namespace

bool CPicture::DecodeAsType(CPicFile *file, int type, std::unique_ptr<CPicture> &result)
{
    switch (type) {
    case TypeBMP:
        return decodeWith<CPictureBMP>(*this, file, false, result);
    case TypeJPG:
        return decodeWith<CPictureJPG>(*this, file, false, result);
    case TypeICO:
        return decodeWith<CPictureICO>(*this, file, true, result);
    case TypeGIF:
        return decodeWith<CPictureGIF>(*this, file, true, result);
    default:
        return false;
    }
}

bool CPicture::Decode(CPicFile *file, int type)
{
    if (!file) {
        SetErrorText("null file handler");
        return false;
    }
    std::unique_ptr<CPicture> result;
    if (type == TypeUnknown) {
        const int64_t pos = file->Tell();
        for (int guess : {TypeBMP, TypeJPG, TypeICO, TypeGIF}) {
            if (DecodeAsType(file, guess, result))
                break;
            file->Seek(pos, 0);
        }
        if (!result) {
            SetErrorText("Decode: Unknown or wrong format");
            return false;
        }
    } else if (type == TypeBMP || type == TypeJPG || type == TypeICO || type == TypeGIF) {
        if (!DecodeAsType(file, type, result))
            return false;
    } else {
        SetErrorText("Decode: Unknown or wrong format");
        return false;
    }
    return Transfer(*result, true);
}

// ---------------------------------------------------------------- drawing

namespace {

QImage toQImage(const CPicture &pic)
{
    const uint32_t w = pic.GetWidth();
    const uint32_t h = pic.GetHeight();
    const uint32_t eff = pic.GetRowLength();
    QImage img;
    switch (pic.GetBitsPerPixel()) {
    case 24:
        img = QImage(int(w), int(h), QImage::Format_RGB32);
        for (uint32_t y = 0; y < h; y++) {
            const uint8_t *src = pic.GetRowPointer(h - 1 - y);
            auto *dst = reinterpret_cast<QRgb *>(img.scanLine(int(y)));
            for (uint32_t x = 0; x < w; x++, src += 3)
                dst[x] = qRgb(src[2], src[1], src[0]);
        }
        return img;
    case 1:
    case 4:
    case 8: {
        img = QImage(int(w), int(h), QImage::Format_Indexed8);
        QList<QRgb> table;
        const RGBQUAD *pal = pic.GetPaletteEntries();
        for (uint32_t i = 0; i < pic.GetColourCount(); i++)
            table.append(qRgb(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue));
        while (table.size() < 256)
            table.append(qRgb(0, 0, 0));
        img.setColorTable(table);
        for (uint32_t y = 0; y < h; y++) {
            uchar *dst = img.scanLine(int(y));
            const uint8_t *src = pic.GetRowPointer(h - 1 - y);
            if (pic.GetBitsPerPixel() == 8) {
                std::memcpy(dst, src, w);
            } else if (pic.GetBitsPerPixel() == 4) {
                for (uint32_t x = 0; x < w; x++)
                    dst[x] = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
            } else {
                for (uint32_t x = 0; x < w; x++)
                    dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
            }
        }
        return img;
    }
    default:
        (void)eff;
        return img;
    }
}

QPainter::CompositionMode modeFor(uint32_t rop)
{
    switch (rop) {
    case 0x008800C6: return QPainter::RasterOp_SourceAndDestination; // SRCAND
    case 0x00EE0086: return QPainter::RasterOp_SourceOrDestination;  // SRCPAINT
    case 0x00660046: return QPainter::RasterOp_SourceXorDestination; // SRCINVERT
    case 0x00330008: return QPainter::RasterOp_NotSource;            // NOTSRCCOPY
    default: return QPainter::CompositionMode_SourceOver;            // SRCCOPY
    }
}

} // namespace

bool CPicture::StretchToDC(QPainter *dc, long x, long y, long width, long height, uint32_t rasterOperation) const
{
    if (!m_block || !dc)
        return false;
    QImage img = toQImage(*this);
    if (img.isNull())
        return false;
    // A negative extent mirrors the picture, as a stretch into a reversed
    // rectangle does.
    const bool mirrorX = width < 0;
    const bool mirrorY = height < 0;
    if (mirrorX || mirrorY)
        img = img.mirrored(mirrorX, mirrorY);
    const QRect target(int(mirrorX ? x + width : x), int(mirrorY ? y + height : y),
                       int(std::labs(width)), int(std::labs(height)));
    if (target.isEmpty())
        return true;
    // The painter's smoothing hint is the caller's stretch mode: off (the
    // painter's default) copies pixels, on smooths them.
    dc->save();
    dc->setCompositionMode(modeFor(rasterOperation));
    dc->drawImage(target, img);
    dc->restore();
    return true;
}

// ---------------------------------------------------------------- settings

void CPicture::SetErrorText(const char *text)
{
    if (!text) {
        m_settings.errorText[0] = 0;
        return;
    }
    if (text == m_settings.errorText)
        return;
    std::strncpy(m_settings.errorText, text, sizeof(m_settings.errorText) - 1);
    m_settings.errorText[sizeof(m_settings.errorText) - 1] = 0;
}

void CPicture::SetXDPI(int32_t dpi)
{
    if (dpi <= 0)
        dpi = 96;
    m_settings.horizontalDpi = dpi;
    m_header.biXPelsPerMeter = pelsPerMeter(dpi);
    if (m_block)
        static_cast<BITMAPINFOHEADER *>(m_block)->biXPelsPerMeter = m_header.biXPelsPerMeter;
}

void CPicture::SetYDPI(int32_t dpi)
{
    if (dpi <= 0)
        dpi = 96;
    m_settings.verticalDpi = dpi;
    m_header.biYPelsPerMeter = pelsPerMeter(dpi);
    if (m_block)
        static_cast<BITMAPINFOHEADER *>(m_block)->biYPelsPerMeter = m_header.biYPelsPerMeter;
}

void CPicture::SetTransparentIndex(int32_t index)
{
    if (index < 0)
        m_settings.transparentIndex = -1;
    else if (uint32_t(index) < m_header.biClrUsed)
        m_settings.transparentIndex = index;
    else
        m_settings.transparentIndex = 0;
}

RGBQUAD CPicture::GetTransparentColour() const
{
    if (m_header.biClrUsed && m_settings.transparentIndex >= 0)
        return GetPaletteEntry(uint8_t(m_settings.transparentIndex));
    return m_settings.transparentColour;
}

void CPicture::SetTransparentColour(RGBQUAD rgb)
{
    rgb.rgbReserved = 0;
    m_settings.transparentColour = rgb;
}

bool CPicture::HasTransparentIndex() const
{
    return m_settings.transparentIndex >= 0;
}

uint32_t CPicture::GetDecoderOptions(int type) const
{
    if (type < 0 || type >= int(std::size(m_settings.decoderOptions)))
        return 0;
    return m_settings.decoderOptions[type];
}

bool CPicture::SetDecoderOptions(uint32_t options, int type)
{
    if (type < 0 || type >= int(std::size(m_settings.decoderOptions)))
        return false;
    m_settings.decoderOptions[type] = options;
    return true;
}

void CPicture::SetJpegQualitySetting(float q)
{
    m_settings.jpegQuality = std::clamp(q, 0.0f, 100.0f);
}

void CPicture::SetFramesFound(int32_t frames)
{
    m_settings.framesFound = frames;
}

// ---------------------------------------------------------------- pixels

uint8_t *CPicture::GetRowPointer(uint32_t row) const
{
    if (!m_block)
        return nullptr;
    uint8_t *bits = static_cast<uint8_t *>(m_block) + sizeof(BITMAPINFOHEADER) + GetPaletteBytes();
    if (row == 0)
        return bits;
    if (row >= GetHeight())
        return nullptr;
    return bits + size_t(row) * m_settings.rowLength;
}

bool CPicture::ContainsPixel(long x, long y) const
{
    return x >= 0 && y >= 0 && x < long(GetWidth()) && y < long(GetHeight());
}

uint8_t CPicture::IndexAtUnchecked(long x, long y) const
{
    const uint8_t *row = GetRowPointer() + size_t(y) * m_settings.rowLength;
    switch (m_header.biBitCount) {
    case 8: return row[x];
    case 4: return uint8_t((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    case 1: return uint8_t((row[x >> 3] >> (7 - (x & 7))) & 1);
    default: return 0;
    }
}

void CPicture::SetIndexAtUnchecked(long x, long y, uint8_t index)
{
    uint8_t *row = GetRowPointer() + size_t(y) * m_settings.rowLength;
    switch (m_header.biBitCount) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = uint8_t((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
        break;
    }
    case 1: {
        const int shift = 7 - int(x & 7);
        row[x >> 3] = uint8_t((row[x >> 3] & ~(1 << shift)) | ((index & 1) << shift));
        break;
    }
    default:
        break;
    }
}

uint8_t CPicture::GetIndexAt(long x, long y) const
{
    if (!m_block || !m_header.biClrUsed || !ContainsPixel(x, y))
        return 0;
    return IndexAtUnchecked(x, y);
}

void CPicture::SetIndexAt(long x, long y, uint8_t index)
{
    if (!m_block || !m_header.biClrUsed || !ContainsPixel(x, y))
        return;
    SetIndexAtUnchecked(x, y, index);
}

RGBQUAD CPicture::GetColourAt(long x, long y, bool getAlpha) const
{
    RGBQUAD c = m_settings.transparentColour;
    c.rgbReserved = 0;
    if (!m_block || !ContainsPixel(x, y))
        return c;
    if (m_header.biClrUsed) {
        c = GetPaletteEntry(IndexAtUnchecked(x, y));
    } else {
        const uint8_t *p = GetRowPointer() + size_t(y) * m_settings.rowLength + size_t(x) * 3;
        c.rgbBlue = p[0];
        c.rgbGreen = p[1];
        c.rgbRed = p[2];
    }
    c.rgbReserved = (getAlpha && m_alphaPlane) ? GetAlphaAt(x, y) : 0;
    return c;
}

void CPicture::SetColourAt(long x, long y, RGBQUAD c, bool setAlpha)
{
    if (!m_block || !ContainsPixel(x, y))
        return;
    if (m_header.biClrUsed) {
        SetIndexAtUnchecked(x, y, NearestPaletteIndex(c));
    } else {
        uint8_t *p = GetRowPointer() + size_t(y) * m_settings.rowLength + size_t(x) * 3;
        p[0] = c.rgbBlue;
        p[1] = c.rgbGreen;
        p[2] = c.rgbRed;
    }
    if (setAlpha)
        SetAlphaAt(x, y, c.rgbReserved);
}

// ---------------------------------------------------------------- palette

RGBQUAD *CPicture::GetPaletteEntries() const
{
    if (!m_block || !m_header.biClrUsed)
        return nullptr;
    return reinterpret_cast<RGBQUAD *>(static_cast<uint8_t *>(m_block) + sizeof(BITMAPINFOHEADER));
}

RGBQUAD CPicture::GetPaletteEntry(uint8_t index) const
{
    RGBQUAD c = {0, 0, 0, 0};
    if (const RGBQUAD *pal = GetPaletteEntries(); pal && index < m_header.biClrUsed)
        c = pal[index];
    return c;
}

bool CPicture::SetPaletteEntry(uint8_t index, RGBQUAD c)
{
    RGBQUAD *pal = GetPaletteEntries();
    if (!pal || index >= m_header.biClrUsed)
        return false;
    c.rgbReserved = 0;
    pal[index] = c;
    m_settings.nearestColour.valid = false;
    return true;
}

void CPicture::SetPaletteFromChannels(const uint8_t *r, const uint8_t *g, const uint8_t *b, uint32_t count)
{
    RGBQUAD *pal = GetPaletteEntries();
    if (!pal || !r || !g || !b)
        return;
    const uint32_t n = std::min(count, m_header.biClrUsed);
    for (uint32_t i = 0; i < n; i++)
        pal[i] = RGBQUAD{b[i], g[i], r[i], 0};
    m_settings.nearestColour.valid = false;
}

void CPicture::SetPaletteEntries(const RGBQUAD *src, uint32_t count)
{
    RGBQUAD *pal = GetPaletteEntries();
    if (!pal || !src)
        return;
    const uint32_t n = std::min(count, m_header.biClrUsed);
    std::memcpy(pal, src, n * sizeof(RGBQUAD));
    m_settings.nearestColour.valid = false;
}

void CPicture::MakeGreyRamp()
{
    RGBQUAD *pal = GetPaletteEntries();
    if (!pal || m_header.biClrUsed < 2)
        return;
    const uint32_t step = 255 / (m_header.biClrUsed - 1);
    for (uint32_t i = 0; i < m_header.biClrUsed; i++) {
        const auto v = uint8_t(i * step);
        pal[i] = RGBQUAD{v, v, v, 0};
    }
    m_settings.nearestColour.valid = false;
}

bool CPicture::HasGreyRamp() const
{
    const RGBQUAD *pal = GetPaletteEntries();
    if (!pal)
        return false;
    for (uint32_t i = 0; i < m_header.biClrUsed; i++) {
        if (pal[i].rgbBlue != i || pal[i].rgbGreen != i || pal[i].rgbRed != i)
            return false;
    }
    return true;
}

uint8_t CPicture::NearestPaletteIndex(RGBQUAD c)
{
    const RGBQUAD *pal = GetPaletteEntries();
    if (!pal)
        return 0;
    tNearestColourCache &cache = m_settings.nearestColour;
    if (cache.valid && cache.colour.rgbRed == c.rgbRed && cache.colour.rgbGreen == c.rgbGreen
        && cache.colour.rgbBlue == c.rgbBlue)
        return cache.index;
    long best = 0x7FFFFFFF;
    uint32_t bestIndex = 0;
    for (uint32_t i = 0; i < m_header.biClrUsed && i < 256; i++) {
        const long db = long(pal[i].rgbBlue) - c.rgbBlue;
        const long dg = long(pal[i].rgbGreen) - c.rgbGreen;
        const long dr = long(pal[i].rgbRed) - c.rgbRed;
        const long d = db * db + dg * dg + dr * dr;
        if (d < best) {
            best = d;
            bestIndex = i;
            if (d == 0)
                break;
        }
    }
    cache.colour = c;
    cache.index = uint8_t(bestIndex);
    cache.valid = true;
    return uint8_t(bestIndex);
}

// ---------------------------------------------------------------- alpha

bool CPicture::CreateAlphaPlane()
{
    if (!m_block)
        return false;
    if (!m_alphaPlane) {
        const size_t plane = size_t(GetWidth()) * GetHeight();
        m_alphaPlane = static_cast<uint8_t *>(std::malloc(plane));
        if (!m_alphaPlane)
            return false;
        std::memset(m_alphaPlane, 255, plane);
    }
    return true;
}

void CPicture::DeleteAlphaPlane()
{
    if (m_viewOf)
        return;
    std::free(m_alphaPlane);
    m_alphaPlane = nullptr;
}

void CPicture::InvertAlphaPlane()
{
    if (!m_alphaPlane)
        return;
    // 255 - v flips every bit of v: eight values at a time, the plane of a
    // large picture being tens of megabytes.
    const size_t plane = size_t(GetWidth()) * GetHeight();
    size_t i = 0;
    for (; i + 8 <= plane; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, m_alphaPlane + i, 8);
        eight = ~eight;
        std::memcpy(m_alphaPlane + i, &eight, 8);
    }
    for (; i < plane; i++)
        m_alphaPlane[i] = uint8_t(255 - m_alphaPlane[i]);
}

namespace {

void flipPlane(uint8_t *plane, size_t rowLength, size_t rows)
{
    if (!plane || rows < 2)
        return;
    std::vector<uint8_t> buffer(rowLength);
    for (size_t top = 0, bottom = rows - 1; top < bottom; top++, bottom--) {
        std::memcpy(buffer.data(), plane + top * rowLength, rowLength);
        std::memcpy(plane + top * rowLength, plane + bottom * rowLength, rowLength);
        std::memcpy(plane + bottom * rowLength, buffer.data(), rowLength);
    }
}

} // namespace

bool CPicture::FlipAlphaPlane()
{
    if (!m_alphaPlane)
        return false;
    flipPlane(m_alphaPlane, GetWidth(), GetHeight());
    return true;
}

void CPicture::SetAlphaAt(long x, long y, uint8_t level)
{
    if (m_alphaPlane && ContainsPixel(x, y))
        m_alphaPlane[size_t(x) + size_t(y) * GetWidth()] = level;
}

uint8_t CPicture::GetAlphaAt(long x, long y) const
{
    if (m_alphaPlane && ContainsPixel(x, y))
        return m_alphaPlane[size_t(x) + size_t(y) * GetWidth()];
    return 0;
}

bool CPicture::TakeAlphaFromGrey(const CPicture &from)
{
    if (!from.IsValid() || from.GetBitsPerPixel() != 8 || !from.HasGreyRamp() || from.GetWidth() != GetWidth()
        || from.GetHeight() != GetHeight() || !m_block)
        return false;
    if (!CreateAlphaPlane())
        return false;
    const uint32_t w = GetWidth();
    for (uint32_t y = 0; y < GetHeight(); y++)
        std::memcpy(m_alphaPlane + size_t(y) * w, from.GetRowPointer(y), w);
    return true;
}

uint8_t *CPicture::GetAlphaPointer(long x, long y) const
{
    if (m_alphaPlane && ContainsPixel(x, y))
        return m_alphaPlane + size_t(x) + size_t(y) * GetWidth();
    return nullptr;
}

// ---------------------------------------------------------------- selection

bool CPicture::CreateSelectionMask()
{
    if (!m_block)
        return false;
    if (!m_selectionMask) {
        m_selectionMask = static_cast<uint8_t *>(std::calloc(1, size_t(GetWidth()) * GetHeight()));
        if (!m_selectionMask)
            return false;
    }
    return true;
}

bool CPicture::DeleteSelectionMask()
{
    if (m_viewOf)
        return false;
    std::free(m_selectionMask);
    m_selectionMask = nullptr;
    std::memset(m_settings.selectionBounds, 0, sizeof m_settings.selectionBounds);
    return true;
}

bool CPicture::IsSelected(long x, long y) const
{
    if (!ContainsPixel(x, y))
        return false;
    if (!m_selectionMask)
        return true;
    return m_selectionMask[size_t(x) + size_t(y) * GetWidth()] != 0;
}

void CPicture::SetSelectedAt(long x, long y, uint8_t level)
{
    if (m_selectionMask && ContainsPixel(x, y))
        m_selectionMask[size_t(x) + size_t(y) * GetWidth()] = level;
}

bool CPicture::FlipSelectionMask()
{
    if (!m_selectionMask)
        return false;
    flipPlane(m_selectionMask, GetWidth(), GetHeight());
    return true;
}

// ---------------------------------------------------------------- operations

bool CPicture::FlipVertically(bool flipSelection, bool flipAlpha)
{
    if (!m_block)
        return false;
    flipPlane(GetRowPointer(), m_settings.rowLength, GetHeight());
    if (flipSelection)
        FlipSelectionMask();
    if (flipAlpha)
        FlipAlphaPlane();
    return true;
}

bool CPicture::MakeNegative()
{
    if (!m_block)
        return false;
    const uint16_t bpp = m_header.biBitCount;
    if (bpp <= 8 && !HasGreyRamp()) {
        RGBQUAD *pal = GetPaletteEntries();
        for (uint32_t i = 0; pal && i < m_header.biClrUsed; i++) {
            pal[i].rgbBlue = uint8_t(255 - pal[i].rgbBlue);
            pal[i].rgbGreen = uint8_t(255 - pal[i].rgbGreen);
            pal[i].rgbRed = uint8_t(255 - pal[i].rgbRed);
        }
        m_settings.nearestColour.valid = false;
    } else if (!m_selectionMask) {
        uint8_t *bits = GetRowPointer();
        for (uint32_t i = 0; i < m_header.biSizeImage; i++)
            bits[i] = uint8_t(255 - bits[i]);
    } else {
        const uint32_t w = GetWidth();
        const uint32_t h = GetHeight();
        for (uint32_t y = 0; y < h; y++) {
            for (uint32_t x = 0; x < w; x++) {
                if (!IsSelected(long(x), long(y)))
                    continue;
                if (bpp == 24) {
                    uint8_t *p = GetRowPointer(y) + size_t(x) * 3;
                    p[0] = uint8_t(255 - p[0]);
                    p[1] = uint8_t(255 - p[1]);
                    p[2] = uint8_t(255 - p[2]);
                } else {
                    const uint8_t top = uint8_t((1u << bpp) - 1);
                    SetIndexAtUnchecked(long(x), long(y), uint8_t(top - IndexAtUnchecked(long(x), long(y))));
                }
            }
        }
    }
    m_settings.transparentColour.rgbBlue = uint8_t(255 - m_settings.transparentColour.rgbBlue);
    m_settings.transparentColour.rgbGreen = uint8_t(255 - m_settings.transparentColour.rgbGreen);
    m_settings.transparentColour.rgbRed = uint8_t(255 - m_settings.transparentColour.rgbRed);
    return true;
}
