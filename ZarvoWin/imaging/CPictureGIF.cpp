#include "CPictureGIF.h"

#include "CPicFile.h"
#include "GifInput.h"
#include "GifLzwDecoder.h"
#include "GifRowWriter.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int Trailer = 0x3B;
// Reading work allowed per pass: this many times the bytes of the file, plus
// a little for the smallest files; a file whose size cannot be told gets a
// fixed amount.
constexpr uint64_t ReadingWorkPerByte = 8;
constexpr uint64_t ReadingWorkAllowance = 65536;
constexpr uint64_t UnknownSizeWork = uint64_t(64) << 20;
// Pixels all the frames of a composed file may decode: half the largest
// picture, and more for a larger file.
constexpr uint64_t ComposedPixelAllowance = uint64_t(128) << 20;
constexpr uint64_t ComposedPixelsPerByte = 64;
constexpr int ExtensionIntroducer = 0x21;
constexpr int ImageSeparator = 0x2C;

uint32_t le16(const uint8_t *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}

// Reads a colour table of n entries (red, green, blue) into RGBQUAD entries;
// entries missing from a short file stay black.
void readColourTable(GifInput &in, uint32_t n, RGBQUAD *table)
{
    uint8_t raw[256 * 3] = {};
    in.Read(raw, size_t(n) * 3);
    for (uint32_t i = 0; i < n; ++i)
        table[i] = RGBQUAD{raw[3 * i + 2], raw[3 * i + 1], raw[3 * i], 0};
}

uint32_t colourTableEntries(uint8_t flags)
{
    return 2u << (flags & 7);
}

inline uint8_t indexAt(const uint8_t *row, uint32_t x, uint32_t bpp)
{
    switch (bpp) {
    case 8: return row[x];
    case 4: return uint8_t((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    default: return uint8_t((row[x >> 3] >> (7 - (x & 7))) & 1);
    }
}

inline void setIndexAt(uint8_t *row, uint32_t x, uint32_t bpp, uint8_t index)
{
    switch (bpp) {
    case 8: row[x] = index; break;
    case 4: {
        uint8_t &b = row[x >> 1];
        b = (x & 1) ? uint8_t((b & 0xF0) | (index & 0x0F)) : uint8_t((b & 0x0F) | ((index & 0x0F) << 4));
        break;
    }
    default: {
        const uint8_t mask = uint8_t(0x80 >> (x & 7));
        uint8_t &b = row[x >> 3];
        b = (index & 1) ? uint8_t(b | mask) : uint8_t(b & ~mask);
        break;
    }
    }
}

// Top row of a picture (rows are stored bottom row first).
uint8_t *topRow(const CPicture &p)
{
    return p.GetRowPointer(p.GetHeight() - 1);
}

// Lays `image` over `canvas` at (left, top), leaving the canvas where the
// image has the transparent index and outside the canvas.
void overlay(const CPicture &image, CPicture &canvas, uint32_t left, uint32_t top, int32_t transIndex)
{
    const uint32_t cw = canvas.GetWidth(), ch = canvas.GetHeight();
    if (left >= cw || top >= ch)
        return;
    const uint32_t w = std::min(image.GetWidth(), cw - left);
    const uint32_t h = std::min(image.GetHeight(), ch - top);
    const uint32_t ibpp = image.GetBitsPerPixel(), cbpp = canvas.GetBitsPerPixel();
    const ptrdiff_t istride = image.GetRowLength(), cstride = canvas.GetRowLength();
    const uint8_t *src = topRow(image);
    uint8_t *dst = topRow(canvas) - ptrdiff_t(top) * cstride;
    for (uint32_t y = 0; y < h; ++y, src -= istride, dst -= cstride) {
        if (ibpp == 8 && cbpp == 8) {
            if (transIndex < 0) {
                std::memcpy(dst + left, src, w);
            } else {
                const uint8_t t = uint8_t(transIndex);
                uint8_t *d = dst + left;
                for (uint32_t x = 0; x < w; ++x)
                    if (src[x] != t)
                        d[x] = src[x];
            }
            continue;
        }
        if (transIndex < 0 && ibpp == cbpp && (size_t(left) * cbpp) % 8 == 0) {
            // Packed pixels starting on a byte: whole bytes, then the bits of
            // the last one.
            const size_t bits = size_t(w) * cbpp;
            uint8_t *d = dst + size_t(left) * cbpp / 8;
            std::memcpy(d, src, bits / 8);
            if (bits % 8) {
                const uint8_t mask = uint8_t(0xFF << (8 - bits % 8));
                d[bits / 8] = uint8_t((d[bits / 8] & ~mask) | (src[bits / 8] & mask));
            }
            continue;
        }
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t index = indexAt(src, x, ibpp);
            if (int32_t(index) != transIndex)
                setIndexAt(dst, left + x, cbpp, index);
        }
    }
}

// Paints one decoded line (one index per pixel, kept to the bits of the
// colour table as a picture of that depth keeps it) in its colours onto the
// 24-bit canvas at (left, top) from the canvas's top row; returns the pixels
// painted.
uint64_t paintLine(const uint8_t *indices, uint32_t width, uint32_t bpp, const RGBQUAD *table, CPicture &canvas,
                   uint32_t left, uint32_t top)
{
    const uint8_t mask = uint8_t((1u << bpp) - 1);
    const uint32_t cw = canvas.GetWidth(), ch = canvas.GetHeight();
    if (left >= cw || top >= ch)
        return 0;
    const uint32_t w = std::min(width, cw - left);
    uint8_t *d = topRow(canvas) - ptrdiff_t(top) * ptrdiff_t(canvas.GetRowLength()) + size_t(left) * 3;
    for (uint32_t x = 0; x < w; ++x, d += 3) {
        const RGBQUAD c = table[indices[x] & mask];
        d[0] = c.rgbBlue;
        d[1] = c.rgbGreen;
        d[2] = c.rgbRed;
    }
    return w;
}

std::unique_ptr<CPicture> copyOf(const CPicture &p)
{
    auto copy = std::make_unique<CPicture>(CPicture::TypeGIF);
    copy->Copy(p);
    if (!copy->IsValid())
        return nullptr;
    return copy;
}

} // namespace

CPictureGIF::CPictureGIF()
    : CPicture(TypeGIF)
{
}

CPictureGIF::~CPictureGIF() = default;

bool CPictureGIF::Fail(const char *text)
{
    SetErrorText(text);
    return false;
}

bool CPictureGIF::SkipSubBlocks(GifInput &in)
{
    for (;;) {
        const int n = in.GetByte();
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!in.Skip(size_t(n)))
            return false;
    }
}

bool CPictureGIF::ReadExtension(GifInput &in)
{
    const int label = in.GetByte();
    if (label < 0)
        return false;
    if (label == 0xF9) {
        const int n = in.GetByte();
        if (n <= 0)
            return n == 0;
        uint8_t data[255];
        if (in.Read(data, size_t(n)) != size_t(n))
            return false;
        if (n == 4) {
            m_control.read = true;
            m_control.flags = data[0];
            m_control.delay = uint16_t(le16(data + 1));
            m_control.transIndex = data[3];
        }
    } else if (label == 0xFE) {
        const int n = in.GetByte();
        if (n <= 0)
            return n == 0;
        uint8_t data[256];
        const size_t got = in.Read(data, size_t(n));
        std::memcpy(m_comment, data, got);
        m_comment[got] = 0;
        if (got != size_t(n))
            return false;
    } else if (label == 0xFF) {
        if (in.GetByte() != 11)
            return false;
        if (!in.Skip(11))
            return false;
        const int n = in.GetByte();
        if (n <= 0)
            return n == 0;
        uint8_t data[255];
        if (in.Read(data, size_t(n)) != size_t(n))
            return false;
        if (n > 2)
            m_loopCount = int32_t(le16(data + 1));
    }
    SkipSubBlocks(in);
    return true;
}

bool CPictureGIF::ReadDescriptor(GifInput &in, tGifImage &image)
{
    uint8_t d[9];
    if (in.Read(d, 9) != 9)
        return false;
    image.left = le16(d);
    image.top = le16(d + 2);
    image.width = le16(d + 4);
    image.height = le16(d + 6);
    image.flags = d[8];
    return true;
}

bool CPictureGIF::FitsScreen(const tGifImage &image) const
{
    // An image of no pixels has nothing to decode into: it is skipped.
    return image.width > 0 && image.height > 0 && image.left + image.width <= m_screenWidth
           && image.top + image.height <= m_screenHeight;
}

void CPictureGIF::Resynchronise(GifInput &in, int64_t from)
{
    // Damaged data: go on at the next image descriptor, a "," after a zero byte.
    if (!in.Seek(from))
        return;
    int previous = -1;
    for (;;) {
        const int c = in.GetByte();
        if (c < 0)
            return;
        if (previous == 0 && c == ImageSeparator) {
            in.Seek(in.Tell() - 1);
            return;
        }
        previous = c;
    }
}

void CPictureGIF::ScanImageData(GifInput &in, int64_t afterDescriptor)
{
    const GifLzwDecoder::Result r = m_lzw->Decode(in, nullptr);
    if (r.invalidCodes > 0)
        Resynchronise(in, afterDescriptor);
}

int32_t CPictureGIF::CountImages(GifInput &in, tGifImage &first)
{
    int32_t count = 0;
    for (;;) {
        int c = in.GetByte();
        if (c < 0 || c == Trailer)
            break;
        if (c == ExtensionIntroducer) {
            if (!ReadExtension(in))
                break;
            continue;
        }
        if (c == ImageSeparator) {
            tGifImage image;
            if (!ReadDescriptor(in, image))
                break;
            const int64_t after = in.Tell();
            if (m_screenWidth == 0 && m_screenHeight == 0) {
                m_screenWidth = image.width;
                m_screenHeight = image.height;
            }
            if ((image.flags & 0x80) && !in.Skip(size_t(colourTableEntries(image.flags)) * 3))
                break;
            ScanImageData(in, after);
            if (FitsScreen(image)) {
                if (count == 0)
                    first = image;
                ++count;
            }
            m_control = tGifControl{};
            continue;
        }
        // Unknown byte: skip up to a zero byte, then look again.
        while ((c = in.GetByte()) > 0) {
        }
        if (c < 0)
            break;
    }
    return count;
}

bool CPictureGIF::DecodeImages(GifInput &in, int32_t count, const tGifImage &first)
{
    const uint32_t W = m_screenWidth, H = m_screenHeight;
    // Images of differing sizes without a global colour table: every image is
    // painted in its own colours onto a 24-bit canvas, and the last one is
    // delivered.
    const bool composing = !m_hasGlobalTable && count > 1 && first.width != W && first.height != H;
    const int32_t target = composing ? count - 1 : m_settings.frameToLoad;

    std::unique_ptr<CPicture> rgb;
    if (composing) {
        rgb = std::make_unique<CPicture>(TypeGIF);
        rgb->CopySettings(*this);
        if (!rgb->Create(W, H, 24, TypeGIF))
            return Fail(rgb->GetErrorText());
    }

    // All the frames of a composed file decode at most this many pixels: a
    // few hundred thousand bytes of data can spell billions of them.
    const uint64_t pixelBudget = ComposedPixelAllowance + ComposedPixelsPerByte * m_fileBytes;
    uint64_t composedPixels = 0;

    std::unique_ptr<CPicture> previous; // canvas restored by disposal method 3
    int32_t j = 0;
    uint32_t previousDisposal = 0;
    int32_t firstTrans = -1;
    int32_t lastTrans = -1;
    RGBQUAD lastTable[256] = {};
    bool delivered = false;
    uint64_t keptBytes = 0;

    for (;;) {
        int c = in.GetByte();
        if (c < 0 || c == Trailer)
            break;
        if (c == ExtensionIntroducer) {
            if (!ReadExtension(in))
                break;
            continue;
        }
        if (c != ImageSeparator) {
            while ((c = in.GetByte()) > 0) {
            }
            if (c < 0)
                break;
            continue;
        }

        tGifImage im;
        if (!ReadDescriptor(in, im))
            break;
        const int64_t after = in.Tell();
        RGBQUAD table[256] = {};
        uint32_t colours;
        if (im.flags & 0x80) {
            colours = colourTableEntries(im.flags);
            readColourTable(in, colours, table);
        } else {
            colours = m_globalColours;
            std::memcpy(table, m_globalTable, sizeof(table));
        }
        const tGifControl control = m_control;
        m_control = tGifControl{};
        if (!FitsScreen(im)) {
            ScanImageData(in, after);
            continue;
        }

        const uint32_t bpp = colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
        const int32_t transIndex = (control.read && (control.flags & 1)) ? int32_t(control.transIndex) : -1;
        const uint32_t disposal = control.read ? (control.flags >> 2) & 7 : 0;

        const bool interlaced = (im.flags & 0x40) != 0;
        if (composing) {
            // Each line is painted in its colours as soon as it is decoded:
            // the frame needs no picture of its own, and rows its data never
            // reaches cost nothing. Once the frames have decoded as many
            // pixels as the file's size allows, the canvas stays as it is.
            if (composedPixels >= pixelBudget)
                break;
            GifRowWriter writer(
                [&](uint32_t row, const uint8_t *indices) {
                    m_work.pixelsPainted += paintLine(indices, im.width, bpp, table, *rgb, im.left, im.top + row);
                },
                im.width, im.height, interlaced);
            writer.WatchCancelRequest(&m_settings.cancelRequest);
            writer.LimitLines(uint32_t(std::min<uint64_t>((pixelBudget - composedPixels + im.width - 1) / im.width,
                                                          UINT32_MAX)));
            const GifLzwDecoder::Result r = m_lzw->Decode(in, &writer);
            if (r.cancelled || m_settings.cancelRequest != 0)
                return Fail("Cancelled");
            if (r.invalidCodes > 0)
                Resynchronise(in, after);
            composedPixels += uint64_t(writer.RowsWritten()) * im.width;
            std::memcpy(lastTable, table, sizeof(table));
            lastTrans = transIndex;
        } else {
            auto image = std::make_unique<CPicture>(TypeGIF);
            image->CopySettings(*this);
            if (!image->Create(im.width, im.height, bpp, TypeGIF))
                return Fail(image->GetErrorText());
            image->SetPaletteEntries(table, colours);
            if (transIndex >= 0) {
                // Unused entries of a picture with transparency are white, as
                // far as the picture's own palette goes.
                RGBQUAD *pal = image->GetPaletteEntries();
                for (uint32_t i = colours; i < image->GetColourCount(); ++i)
                    pal[i] = RGBQUAD{255, 255, 255, 0};
            }
            {
                GifRowWriter writer(topRow(*image), -ptrdiff_t(image->GetRowLength()), im.width, im.height, bpp,
                                    interlaced);
                writer.WatchCancelRequest(&m_settings.cancelRequest);
                const GifLzwDecoder::Result r = m_lzw->Decode(in, &writer);
                if (r.cancelled || m_settings.cancelRequest != 0)
                    return Fail("Cancelled");
                if (r.invalidCodes > 0)
                    Resynchronise(in, after);
            }

            std::unique_ptr<CPicture> canvas;
            if (j == 0) {
                firstTrans = transIndex;
                if (im.left == 0 && im.top == 0 && im.width == W && im.height == H) {
                    // The image covers the whole screen: where it is
                    // transparent the canvas would show its own fill, which
                    // is that same index.
                    if (j < target) {
                        previous = std::make_unique<CPicture>(TypeGIF);
                        previous->CopySettings(*this);
                        if (!previous->Create(W, H, bpp, TypeGIF))
                            return Fail(previous->GetErrorText());
                        previous->Clear(control.read ? control.transIndex : 0);
                    }
                    canvas = std::move(image);
                } else {
                    canvas = std::make_unique<CPicture>(TypeGIF);
                    canvas->CopySettings(*this);
                    if (!canvas->Create(W, H, bpp, TypeGIF))
                        return Fail(canvas->GetErrorText());
                    canvas->Clear(control.read ? control.transIndex : 0);
                    if (j < target)
                        previous = copyOf(*canvas);
                }
            } else {
                if (previousDisposal == 3 && previous)
                    canvas = copyOf(*previous);
                else
                    canvas = copyOf(*this);
                if (!canvas)
                    return Fail("CPicture::Create can't allocate memory");
                if (previousDisposal == 2)
                    canvas->Clear(firstTrans >= 0 ? uint8_t(firstTrans) : 0xFF);
            }
            if (image) {
                overlay(*image, *canvas, im.left, im.top, transIndex);
                canvas->SetPaletteEntries(image->GetPaletteEntries(), image->GetColourCount());
            }
            canvas->SetTransparentIndex(firstTrans);
            Transfer(*canvas, false);

            if (m_settings.keepAllFrames) {
                // Every kept frame is a whole canvas: together they stay
                // within the limit of one picture. The frames up to the one
                // to deliver will all be kept, so a set too large for the
                // limit is refused before any copy is made.
                if (j == 0) {
                    if (uint64_t(target + 1) * GetBitmapHeader().biSizeImage > PixelMemoryLimit)
                        return Fail("PICTURE_MAX_MEMORY exceeded");
                    MakeFrameSlots(count);
                }
                keptBytes += GetBitmapHeader().biSizeImage;
                if (keptBytes > PixelMemoryLimit)
                    return Fail("PICTURE_MAX_MEMORY exceeded");
                if (auto frame = copyOf(*this))
                    StoreKeptFrame(j, std::move(frame));
            }
            if (disposal <= 1 && j < target)
                previous = copyOf(*this);
        }
        previousDisposal = disposal;
        if (j >= target) {
            delivered = true;
            break;
        }
        ++j;
    }

    if (composing) {
        if (lastTrans >= 0)
            rgb->SetTransparentColour(lastTable[lastTrans]);
        Transfer(*rgb, false);
        return true;
    }
    if (!delivered && !IsValid())
        return Fail("GIF: no image decoded");
    return true;
}

bool CPictureGIF::Decode(CPicFile *file)
{
    if (!file)
        return Fail("null file handler");
    m_lzw = std::make_unique<GifLzwDecoder>();
    m_work = tGifWork{};
    const int64_t origin = file->Tell();
    const int64_t size = file->Size();
    auto in = std::make_unique<GifInput>(*file);
    // Each pass may read what a real file needs several times over (a damaged
    // image is read again from its descriptor), never more: the work a small
    // file can cause stays in proportion to it.
    const bool sizeKnown = origin >= 0 && size > origin;
    m_fileBytes = sizeKnown ? uint64_t(size - origin) : 0;
    in->LimitWork(sizeKnown ? m_fileBytes * ReadingWorkPerByte + ReadingWorkAllowance : UnknownSizeWork);

    uint8_t header[13];
    if (in->Read(header, 13) != 13 || std::memcmp(header, "GIF8", 4) != 0)
        return Fail("Not a GIF");
    m_screenWidth = le16(header + 6);
    m_screenHeight = le16(header + 8);
    const uint8_t flags = header[10];

    if (m_settings.cancelRequest == SizeOnlyRequest) {
        StoreSizeOnly(m_screenWidth, m_screenHeight, TypeGIF);
        return true;
    }

    m_hasGlobalTable = (flags & 0x80) != 0;
    m_globalColours = 0;
    std::memset(m_globalTable, 0, sizeof(m_globalTable));
    if (m_hasGlobalTable) {
        m_globalColours = colourTableEntries(flags);
        readColourTable(*in, m_globalColours, m_globalTable);
    }

    const int64_t start = in->Tell();
    m_control = tGifControl{};
    tGifImage first;
    const int32_t count = CountImages(*in, first);
    m_work.bytesRead = in->WorkDone();
    m_settings.framesFound = count;
    if (m_settings.frameToLoad < 0 || m_settings.frameToLoad >= count)
        return Fail(count == 0 ? "GIF: no image" : "GIF: frame index out of range");

    // The second pass reads the same blocks in the same order, so within the
    // same limit it reaches every image the first pass counted.
    if (!in->StartOver(start))
        return Fail("GIF: cannot seek");
    m_control = tGifControl{};
    const bool decoded = DecodeImages(*in, count, first);
    m_work.bytesRead += in->WorkDone();
    return decoded;
}
