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
    Startup(type);
}

CPicture::CPicture(const QString &fileName, int type)
{
    Startup(type);
    Load(fileName, type);
}

CPicture::CPicture(const CPicture &src)
{
    Startup(TypeUnknown);
    Copy(src);
}

CPicture &CPicture::operator=(const CPicture &src)
{
    if (this != &src) {
        if (m_ghost) {
            // A ghost owns nothing: drop the links and become a picture of its own.
            m_dib = nullptr;
            m_alpha = m_selection = nullptr;
            m_ghost = nullptr;
        }
        Copy(src);
    }
    return *this;
}

CPicture::~CPicture()
{
    DestroyFrames();
    Destroy();
}

void CPicture::Startup(int type)
{
    m_dib = nullptr;
    m_selection = m_alpha = nullptr;
    m_ghost = nullptr;
    m_head = BITMAPINFOHEADER{};
    m_info = tPictureInfo{};
    m_info.dwType = type;
}

void CPicture::FreeBuffers()
{
    m_layers.clear();
    std::free(m_selection);
    m_selection = nullptr;
    std::free(m_alpha);
    m_alpha = nullptr;
    std::free(m_dib);
    m_dib = nullptr;
}

bool CPicture::Destroy()
{
    if (m_ghost)
        return false;
    FreeBuffers();
    m_head.biWidth = m_head.biHeight = 0;
    return true;
}

bool CPicture::DestroyFrames()
{
    if (m_ghost)
        return false;
    m_frames.clear();
    return true;
}

void *CPicture::Create(uint32_t width, uint32_t height, uint32_t bpp, int type)
{
    if (m_ghost)
        return nullptr;
    FreeBuffers();

    if (width == 0 || height == 0) {
        SetLastError("CPicture::Create : width and height must be greater than zero");
        return nullptr;
    }
    bpp = uint32_t(normaliseBpp(bpp));

    // Every size in 64 bits: the pixel count, its bits and the padded rows that
    // are really allocated must all stay within the limit.
    const uint64_t pixels = uint64_t(width) * uint64_t(height);
    const uint64_t rowLength = ((uint64_t(width) * bpp + 31) / 32) * 4;
    if (pixels > MaxMemory * 8 || ((pixels * bpp) & ~uint64_t(7)) > MaxMemory * 8
        || rowLength * height > MaxMemory) {
        SetLastError("PICTURE_MAX_MEMORY exceeded");
        return nullptr;
    }

    const uint32_t colours = bpp == 1 ? 2 : bpp == 4 ? 16 : bpp == 8 ? 256 : 0;
    m_info.dwEffWidth = uint32_t(rowLength);

    m_head = BITMAPINFOHEADER{};
    m_head.biSize = sizeof(BITMAPINFOHEADER);
    m_head.biWidth = int32_t(width);
    m_head.biHeight = int32_t(height);
    m_head.biPlanes = 1;
    m_head.biBitCount = uint16_t(bpp);
    m_head.biCompression = 0;
    m_head.biSizeImage = uint32_t(rowLength * height);
    m_head.biClrUsed = colours;
    m_head.biXPelsPerMeter = pelsPerMeter(m_info.xDPI);
    m_head.biYPelsPerMeter = pelsPerMeter(m_info.yDPI);
    m_info.dwType = type;

    const size_t total = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD) + size_t(m_head.biSizeImage);
    m_dib = std::calloc(1, total);
    if (!m_dib) {
        SetLastError("CPicture::Create can't allocate memory");
        return nullptr;
    }
    m_info.last_c_isvalid = false;
    std::memcpy(m_dib, &m_head, sizeof(BITMAPINFOHEADER));
    return m_dib;
}

bool CPicture::Transfer(CPicture &from, bool transferFrames)
{
    // A ghost's buffers belong to the picture it shows: they are not its to
    // hand over, and taking them would free them twice.
    if (m_ghost || from.m_ghost || &from == this)
        return false;
    FreeBuffers();
    if (transferFrames) {
        m_frames = std::move(from.m_frames);
        from.m_frames.clear();
    }
    m_head = from.m_head;
    m_info = from.m_info;
    m_dib = from.m_dib;
    m_selection = from.m_selection;
    m_alpha = from.m_alpha;
    m_layers = std::move(from.m_layers);
    m_ghost = nullptr;

    from.m_layers.clear();
    from.m_dib = nullptr;
    from.m_selection = from.m_alpha = nullptr;
    from.m_head = BITMAPINFOHEADER{};
    from.m_ghost = nullptr;
    return true;
}

bool CPicture::Ghost(const CPicture *from)
{
    if (!from || from == this)
        return false;
    // A ghost (of a ghost) of this picture shows the buffers this one owns:
    // freeing them to show them again would leave nothing behind.
    if (!m_ghost && m_dib && from->m_dib == m_dib)
        return false;
    if (!m_ghost) {
        DestroyFrames();
        FreeBuffers();
    }
    m_frames.clear();
    m_layers.clear();
    m_head = from->m_head;
    m_info = from->m_info;
    m_dib = from->m_dib;
    m_selection = from->m_selection;
    m_alpha = from->m_alpha;
    m_ghost = from;
    return true;
}

void CPicture::CopyInfo(const CPicture &src)
{
    if (&src != this)
        m_info = src.m_info;
}

void CPicture::Copy(const CPicture &src, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (&src == this)
        return;
    if (src.m_ghost) {
        Ghost(&src);
        return;
    }
    if (!src.m_dib) {
        if (!m_ghost)
            FreeBuffers();
        m_head = src.m_head;
        m_info = src.m_info;
        return;
    }
    m_info = src.m_info;
    if (!Create(src.GetWidth(), src.GetHeight(), src.GetBpp(), src.m_info.dwType))
        return;
    const size_t paletteBytes = src.GetPaletteSize();
    if (copyPixels)
        std::memcpy(m_dib, src.m_dib, sizeof(BITMAPINFOHEADER) + paletteBytes + src.m_head.biSizeImage);
    else if (paletteBytes)
        std::memcpy(GetPalette(), src.GetPalette(), paletteBytes);
    m_head = src.m_head;
    m_info = src.m_info;
    CopyPlanes(src, copySelection, copyAlpha);
}

void CPicture::CopyPlanes(const CPicture &src, bool copySelection, bool copyAlpha)
{
    const size_t plane = size_t(GetWidth()) * GetHeight();
    if (copySelection && src.m_selection) {
        m_selection = static_cast<uint8_t *>(std::malloc(plane));
        if (m_selection)
            std::memcpy(m_selection, src.m_selection, plane);
    }
    if (copyAlpha && src.m_alpha) {
        m_alpha = static_cast<uint8_t *>(std::malloc(plane));
        if (m_alpha)
            std::memcpy(m_alpha, src.m_alpha, plane);
    }
}

void CPicture::Clear(uint8_t value)
{
    if (!m_dib)
        return;
    if (m_head.biBitCount == 1 && value)
        value = 255;
    if (m_head.biBitCount == 4)
        value = uint8_t((value & 0x0F) | (value << 4));
    std::memset(GetBits(), value, m_head.biSizeImage);
}

void CPicture::SetSizeOnly(uint32_t width, uint32_t height, int type)
{
    m_head.biWidth = int32_t(width);
    m_head.biHeight = int32_t(height);
    m_info.dwType = type;
}

void CPicture::CreateFrameSlots(int32_t count)
{
    m_frames.clear();
    if (count > 0)
        m_frames.resize(size_t(count));
}

bool CPicture::SetFrameAt(int32_t slot, std::unique_ptr<CPicture> frame)
{
    if (slot < 0 || size_t(slot) >= m_frames.size())
        return false;
    m_frames[size_t(slot)] = std::move(frame);
    return true;
}

CPicture *CPicture::GetFrameAt(int32_t slot) const
{
    if (slot < 0 || size_t(slot) >= m_frames.size())
        return nullptr;
    return m_frames[size_t(slot)].get();
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

bool CPicture::Load(const QString &fileName, int type)
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
    std::memcpy(remembered, m_info.szLastError, sizeof remembered);

    CPicIOFile file;
    if (!file.Open(fileName, QStringLiteral("rb")))
        return false;
    if (Decode(&file, TypeUnknown))
        return true;
    if (type != TypeUnknown)
        SetLastError(remembered);
    return false;
}

namespace {

// Decodes into a codec object of its own, handed over to the target only on
// success, so a failed decode leaves the target as it was.
template<class Codec>
bool decodeWith(CPicture &target, CPicFile *file, bool reportsFrames, std::unique_ptr<CPicture> &result)
{
    auto codec = std::make_unique<Codec>();
    codec->CopyInfo(target);
    if (codec->Decode(file)) {
        result = std::move(codec);
        return true;
    }
    target.SetLastError(codec->GetLastError());
    if (reportsFrames)
        target.SetNumFramesFound(codec->GetNumFrames());
    return false;
}

} // namespace

bool CPicture::DecodeType(CPicFile *file, int type, std::unique_ptr<CPicture> &result)
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
        SetLastError("null file handler");
        return false;
    }
    std::unique_ptr<CPicture> result;
    if (type == TypeUnknown) {
        const int64_t pos = file->Tell();
        for (int guess : {TypeBMP, TypeJPG, TypeICO, TypeGIF}) {
            if (DecodeType(file, guess, result))
                break;
            file->Seek(pos, 0);
        }
        if (!result) {
            SetLastError("Decode: Unknown or wrong format");
            return false;
        }
    } else if (type == TypeBMP || type == TypeJPG || type == TypeICO || type == TypeGIF) {
        if (!DecodeType(file, type, result))
            return false;
    } else {
        SetLastError("Decode: Unknown or wrong format");
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
    const uint32_t eff = pic.GetEffWidth();
    QImage img;
    switch (pic.GetBpp()) {
    case 24:
        img = QImage(int(w), int(h), QImage::Format_RGB32);
        for (uint32_t y = 0; y < h; y++) {
            const uint8_t *src = pic.GetBits(h - 1 - y);
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
        const RGBQUAD *pal = pic.GetPalette();
        for (uint32_t i = 0; i < pic.GetNumColors(); i++)
            table.append(qRgb(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue));
        while (table.size() < 256)
            table.append(qRgb(0, 0, 0));
        img.setColorTable(table);
        for (uint32_t y = 0; y < h; y++) {
            uchar *dst = img.scanLine(int(y));
            const uint8_t *src = pic.GetBits(h - 1 - y);
            if (pic.GetBpp() == 8) {
                std::memcpy(dst, src, w);
            } else if (pic.GetBpp() == 4) {
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

bool CPicture::StretchToDC(QPainter *dc, long xoffset, long yoffset, long xsize, long ysize, uint32_t rop) const
{
    if (!m_dib || !dc)
        return false;
    QImage img = toQImage(*this);
    if (img.isNull())
        return false;
    // A negative extent mirrors the picture, as a stretch into a reversed
    // rectangle does.
    const bool mirrorX = xsize < 0;
    const bool mirrorY = ysize < 0;
    if (mirrorX || mirrorY)
        img = img.mirrored(mirrorX, mirrorY);
    const QRect target(int(mirrorX ? xoffset + xsize : xoffset), int(mirrorY ? yoffset + ysize : yoffset),
                       int(std::labs(xsize)), int(std::labs(ysize)));
    if (target.isEmpty())
        return true;
    dc->save();
    dc->setRenderHint(QPainter::SmoothPixmapTransform, false);
    dc->setCompositionMode(modeFor(rop));
    dc->drawImage(target, img);
    dc->restore();
    return true;
}

// ---------------------------------------------------------------- settings

void CPicture::SetLastError(const char *text)
{
    if (!text) {
        m_info.szLastError[0] = 0;
        return;
    }
    if (text == m_info.szLastError)
        return;
    std::strncpy(m_info.szLastError, text, sizeof(m_info.szLastError) - 1);
    m_info.szLastError[sizeof(m_info.szLastError) - 1] = 0;
}

void CPicture::SetXDPI(int32_t dpi)
{
    if (dpi <= 0)
        dpi = 96;
    m_info.xDPI = dpi;
    m_head.biXPelsPerMeter = pelsPerMeter(dpi);
    if (m_dib)
        static_cast<BITMAPINFOHEADER *>(m_dib)->biXPelsPerMeter = m_head.biXPelsPerMeter;
}

void CPicture::SetYDPI(int32_t dpi)
{
    if (dpi <= 0)
        dpi = 96;
    m_info.yDPI = dpi;
    m_head.biYPelsPerMeter = pelsPerMeter(dpi);
    if (m_dib)
        static_cast<BITMAPINFOHEADER *>(m_dib)->biYPelsPerMeter = m_head.biYPelsPerMeter;
}

void CPicture::SetTransIndex(int32_t index)
{
    if (index < 0)
        m_info.nBkgndIndex = -1;
    else if (uint32_t(index) < m_head.biClrUsed)
        m_info.nBkgndIndex = index;
    else
        m_info.nBkgndIndex = 0;
}

RGBQUAD CPicture::GetTransColor() const
{
    if (m_head.biClrUsed && m_info.nBkgndIndex >= 0)
        return GetPaletteColor(uint8_t(m_info.nBkgndIndex));
    return m_info.nBkgndColor;
}

void CPicture::SetTransColor(RGBQUAD rgb)
{
    rgb.rgbReserved = 0;
    m_info.nBkgndColor = rgb;
}

bool CPicture::IsTransparent() const
{
    return m_info.nBkgndIndex >= 0;
}

uint32_t CPicture::GetCodecOption(int type) const
{
    if (type < 0 || type >= int(std::size(m_info.dwCodecOpt)))
        return 0;
    return m_info.dwCodecOpt[type];
}

bool CPicture::SetCodecOption(uint32_t option, int type)
{
    if (type < 0 || type >= int(std::size(m_info.dwCodecOpt)))
        return false;
    m_info.dwCodecOpt[type] = option;
    return true;
}

void CPicture::SetJpegQuality(float q)
{
    m_info.fQuality = std::clamp(q, 0.0f, 100.0f);
}

void CPicture::SetNumFramesFound(int32_t frames)
{
    m_info.nNumFrames = frames;
}

// ---------------------------------------------------------------- pixels

uint8_t *CPicture::GetBits(uint32_t row) const
{
    if (!m_dib)
        return nullptr;
    uint8_t *bits = static_cast<uint8_t *>(m_dib) + sizeof(BITMAPINFOHEADER) + GetPaletteSize();
    if (row == 0)
        return bits;
    if (row >= GetHeight())
        return nullptr;
    return bits + size_t(row) * m_info.dwEffWidth;
}

bool CPicture::IsInside(long x, long y) const
{
    return x >= 0 && y >= 0 && x < long(GetWidth()) && y < long(GetHeight());
}

uint8_t CPicture::BlindGetPixelIndex(long x, long y) const
{
    const uint8_t *row = GetBits() + size_t(y) * m_info.dwEffWidth;
    switch (m_head.biBitCount) {
    case 8: return row[x];
    case 4: return uint8_t((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    case 1: return uint8_t((row[x >> 3] >> (7 - (x & 7))) & 1);
    default: return 0;
    }
}

void CPicture::BlindSetPixelIndex(long x, long y, uint8_t index)
{
    uint8_t *row = GetBits() + size_t(y) * m_info.dwEffWidth;
    switch (m_head.biBitCount) {
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

uint8_t CPicture::GetPixelIndex(long x, long y) const
{
    if (!m_dib || !m_head.biClrUsed || !IsInside(x, y))
        return 0;
    return BlindGetPixelIndex(x, y);
}

void CPicture::SetPixelIndex(long x, long y, uint8_t index)
{
    if (!m_dib || !m_head.biClrUsed || !IsInside(x, y))
        return;
    BlindSetPixelIndex(x, y, index);
}

RGBQUAD CPicture::GetPixelColor(long x, long y, bool getAlpha) const
{
    RGBQUAD c = m_info.nBkgndColor;
    c.rgbReserved = 0;
    if (!m_dib || !IsInside(x, y))
        return c;
    if (m_head.biClrUsed) {
        c = GetPaletteColor(BlindGetPixelIndex(x, y));
    } else {
        const uint8_t *p = GetBits() + size_t(y) * m_info.dwEffWidth + size_t(x) * 3;
        c.rgbBlue = p[0];
        c.rgbGreen = p[1];
        c.rgbRed = p[2];
    }
    c.rgbReserved = (getAlpha && m_alpha) ? AlphaGet(x, y) : 0;
    return c;
}

void CPicture::SetPixelColor(long x, long y, RGBQUAD c, bool setAlpha)
{
    if (!m_dib || !IsInside(x, y))
        return;
    if (m_head.biClrUsed) {
        BlindSetPixelIndex(x, y, GetNearestIndex(c));
    } else {
        uint8_t *p = GetBits() + size_t(y) * m_info.dwEffWidth + size_t(x) * 3;
        p[0] = c.rgbBlue;
        p[1] = c.rgbGreen;
        p[2] = c.rgbRed;
    }
    if (setAlpha)
        AlphaSet(x, y, c.rgbReserved);
}

// ---------------------------------------------------------------- palette

RGBQUAD *CPicture::GetPalette() const
{
    if (!m_dib || !m_head.biClrUsed)
        return nullptr;
    return reinterpret_cast<RGBQUAD *>(static_cast<uint8_t *>(m_dib) + sizeof(BITMAPINFOHEADER));
}

RGBQUAD CPicture::GetPaletteColor(uint8_t index) const
{
    RGBQUAD c = {0, 0, 0, 0};
    if (const RGBQUAD *pal = GetPalette(); pal && index < m_head.biClrUsed)
        c = pal[index];
    return c;
}

bool CPicture::SetPaletteColor(uint8_t index, RGBQUAD c)
{
    RGBQUAD *pal = GetPalette();
    if (!pal || index >= m_head.biClrUsed)
        return false;
    c.rgbReserved = 0;
    pal[index] = c;
    m_info.last_c_isvalid = false;
    return true;
}

void CPicture::SetPalette(const uint8_t *r, const uint8_t *g, const uint8_t *b, uint32_t nColors)
{
    RGBQUAD *pal = GetPalette();
    if (!pal || !r || !g || !b)
        return;
    const uint32_t n = std::min(nColors, m_head.biClrUsed);
    for (uint32_t i = 0; i < n; i++)
        pal[i] = RGBQUAD{b[i], g[i], r[i], 0};
    m_info.last_c_isvalid = false;
}

void CPicture::SetPalette(const RGBQUAD *src, uint32_t nColors)
{
    RGBQUAD *pal = GetPalette();
    if (!pal || !src)
        return;
    const uint32_t n = std::min(nColors, m_head.biClrUsed);
    std::memcpy(pal, src, n * sizeof(RGBQUAD));
    m_info.last_c_isvalid = false;
}

void CPicture::SetGrayPalette()
{
    RGBQUAD *pal = GetPalette();
    if (!pal || m_head.biClrUsed < 2)
        return;
    const uint32_t step = 255 / (m_head.biClrUsed - 1);
    for (uint32_t i = 0; i < m_head.biClrUsed; i++) {
        const auto v = uint8_t(i * step);
        pal[i] = RGBQUAD{v, v, v, 0};
    }
    m_info.last_c_isvalid = false;
}

bool CPicture::IsGrayScale() const
{
    const RGBQUAD *pal = GetPalette();
    if (!pal)
        return false;
    for (uint32_t i = 0; i < m_head.biClrUsed; i++) {
        if (pal[i].rgbBlue != i || pal[i].rgbGreen != i || pal[i].rgbRed != i)
            return false;
    }
    return true;
}

uint8_t CPicture::GetNearestIndex(RGBQUAD c)
{
    const RGBQUAD *pal = GetPalette();
    if (!pal)
        return 0;
    if (m_info.last_c_isvalid && m_info.last_c.rgbRed == c.rgbRed && m_info.last_c.rgbGreen == c.rgbGreen
        && m_info.last_c.rgbBlue == c.rgbBlue)
        return m_info.last_c_index;
    long best = 0x7FFFFFFF;
    uint32_t bestIndex = 0;
    for (uint32_t i = 0; i < m_head.biClrUsed && i < 256; i++) {
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
    m_info.last_c = c;
    m_info.last_c_index = uint8_t(bestIndex);
    m_info.last_c_isvalid = true;
    return uint8_t(bestIndex);
}

// ---------------------------------------------------------------- alpha

bool CPicture::AlphaCreate()
{
    if (!m_dib)
        return false;
    if (!m_alpha) {
        const size_t plane = size_t(GetWidth()) * GetHeight();
        m_alpha = static_cast<uint8_t *>(std::malloc(plane));
        if (!m_alpha)
            return false;
        std::memset(m_alpha, 255, plane);
    }
    return true;
}

void CPicture::AlphaDelete()
{
    if (m_ghost)
        return;
    std::free(m_alpha);
    m_alpha = nullptr;
}

void CPicture::AlphaInvert()
{
    if (!m_alpha)
        return;
    const size_t plane = size_t(GetWidth()) * GetHeight();
    for (size_t i = 0; i < plane; i++)
        m_alpha[i] = uint8_t(255 - m_alpha[i]);
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

bool CPicture::AlphaFlip()
{
    if (!m_alpha)
        return false;
    flipPlane(m_alpha, GetWidth(), GetHeight());
    return true;
}

void CPicture::AlphaSet(long x, long y, uint8_t level)
{
    if (m_alpha && IsInside(x, y))
        m_alpha[size_t(x) + size_t(y) * GetWidth()] = level;
}

uint8_t CPicture::AlphaGet(long x, long y) const
{
    if (m_alpha && IsInside(x, y))
        return m_alpha[size_t(x) + size_t(y) * GetWidth()];
    return 0;
}

bool CPicture::AlphaSet(const CPicture &from)
{
    if (!from.IsValid() || from.GetBpp() != 8 || !from.IsGrayScale() || from.GetWidth() != GetWidth()
        || from.GetHeight() != GetHeight() || !m_dib)
        return false;
    if (!AlphaCreate())
        return false;
    const uint32_t w = GetWidth();
    for (uint32_t y = 0; y < GetHeight(); y++)
        std::memcpy(m_alpha + size_t(y) * w, from.GetBits(y), w);
    return true;
}

uint8_t *CPicture::AlphaGetPointer(long x, long y) const
{
    if (m_alpha && IsInside(x, y))
        return m_alpha + size_t(x) + size_t(y) * GetWidth();
    return nullptr;
}

// ---------------------------------------------------------------- selection

bool CPicture::SelectionCreate()
{
    if (!m_dib)
        return false;
    if (!m_selection) {
        m_selection = static_cast<uint8_t *>(std::calloc(1, size_t(GetWidth()) * GetHeight()));
        if (!m_selection)
            return false;
    }
    return true;
}

bool CPicture::SelectionDelete()
{
    if (m_ghost)
        return false;
    std::free(m_selection);
    m_selection = nullptr;
    std::memset(m_info.rSelectionBox, 0, sizeof m_info.rSelectionBox);
    return true;
}

bool CPicture::SelectionIsInside(long x, long y) const
{
    if (!IsInside(x, y))
        return false;
    if (!m_selection)
        return true;
    return m_selection[size_t(x) + size_t(y) * GetWidth()] != 0;
}

void CPicture::SelectionSet(long x, long y, uint8_t level)
{
    if (m_selection && IsInside(x, y))
        m_selection[size_t(x) + size_t(y) * GetWidth()] = level;
}

bool CPicture::SelectionFlip()
{
    if (!m_selection)
        return false;
    flipPlane(m_selection, GetWidth(), GetHeight());
    return true;
}

// ---------------------------------------------------------------- operations

bool CPicture::Flip(bool flipSelection, bool flipAlpha)
{
    if (!m_dib)
        return false;
    flipPlane(GetBits(), m_info.dwEffWidth, GetHeight());
    if (flipSelection)
        SelectionFlip();
    if (flipAlpha)
        AlphaFlip();
    return true;
}

bool CPicture::Negative()
{
    if (!m_dib)
        return false;
    const uint16_t bpp = m_head.biBitCount;
    if (bpp <= 8 && !IsGrayScale()) {
        RGBQUAD *pal = GetPalette();
        for (uint32_t i = 0; pal && i < m_head.biClrUsed; i++) {
            pal[i].rgbBlue = uint8_t(255 - pal[i].rgbBlue);
            pal[i].rgbGreen = uint8_t(255 - pal[i].rgbGreen);
            pal[i].rgbRed = uint8_t(255 - pal[i].rgbRed);
        }
        m_info.last_c_isvalid = false;
    } else if (!m_selection) {
        uint8_t *bits = GetBits();
        for (uint32_t i = 0; i < m_head.biSizeImage; i++)
            bits[i] = uint8_t(255 - bits[i]);
    } else {
        const uint32_t w = GetWidth();
        const uint32_t h = GetHeight();
        for (uint32_t y = 0; y < h; y++) {
            for (uint32_t x = 0; x < w; x++) {
                if (!SelectionIsInside(long(x), long(y)))
                    continue;
                if (bpp == 24) {
                    uint8_t *p = GetBits(y) + size_t(x) * 3;
                    p[0] = uint8_t(255 - p[0]);
                    p[1] = uint8_t(255 - p[1]);
                    p[2] = uint8_t(255 - p[2]);
                } else {
                    const uint8_t top = uint8_t((1u << bpp) - 1);
                    BlindSetPixelIndex(long(x), long(y), uint8_t(top - BlindGetPixelIndex(long(x), long(y))));
                }
            }
        }
    }
    m_info.nBkgndColor.rgbBlue = uint8_t(255 - m_info.nBkgndColor.rgbBlue);
    m_info.nBkgndColor.rgbGreen = uint8_t(255 - m_info.nBkgndColor.rgbGreen);
    m_info.nBkgndColor.rgbRed = uint8_t(255 - m_info.nBkgndColor.rgbRed);
    return true;
}
