#include "CPictureBMP.h"

#include "CPicFile.h"
#include "DecodeHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;

using DecodeHelpers::le16;
using DecodeHelpers::le32;

// Bytes of run-length data through a small buffer, so that the byte-at-a-time
// decoding does not pay a file call per byte.
class ByteSource
{
public:
    explicit ByteSource(CPicFile *file) : m_file(file) {}
    int get()
    {
        if (m_pos == m_len) {
            m_len = m_file->Read(m_buffer, 1, sizeof m_buffer);
            m_pos = 0;
            if (m_len == 0)
                return -1;
        }
        return m_buffer[m_pos++];
    }

private:
    CPicFile *m_file;
    uint8_t m_buffer[4096];
    size_t m_pos = 0;
    size_t m_len = 0;
};

// One colour channel of a bit-field pixel: where it starts and how wide it
// is, taken from its own mask, so no shift is ever negative or too large.
struct Channel
{
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (!mask)
            return;
        while (!((mask >> shift) & 1))
            shift++;
        while (shift + bits < 32 && ((mask >> (shift + bits)) & 1))
            bits++;
    }
    uint8_t value(uint32_t pixel) const
    {
        if (!bits)
            return 0;
        const uint32_t v = ((pixel & mask) >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
        return bits >= 8 ? uint8_t(v >> (bits - 8)) : uint8_t(v << (8 - bits));
    }
};

} // namespace

CPictureBMP::CPictureBMP()
    : CPicture(TypeBMP)
{
}

bool CPictureBMP::Decode(CPicFile *file)
{
    return DecodeHelpers::decodeReporting(*this, file, &CPictureBMP::DecodeBody);
}

bool CPictureBMP::DecodeBody(CPicFile *file, const char *&error)
{
    const int64_t start = file->Tell();

    uint8_t fileHeader[14];
    if (file->Read(fileHeader, sizeof fileHeader, 1) != 1) {
        error = "Not a BMP";
        return false;
    }
    uint32_t offBits = le32(fileHeader + 10);
    if (le16(fileHeader) != 0x4D42) {
        // A DIB without its file header.
        offBits = 0;
        if (!file->Seek(start, 0)) {
            error = "Not a BMP";
            return false;
        }
    }

    // Information header.
    BITMAPINFOHEADER bi = {};
    uint8_t raw[40];
    if (file->Read(raw, 4, 1) != 1) {
        error = "Error reading BMP info";
        return false;
    }
    const uint32_t headerSize = le32(raw);
    bool core = false;
    if (headerSize == 12) {
        if (file->Read(raw + 4, 8, 1) != 1 || le16(raw + 8) != 1) {
            error = "Error reading BMP info";
            return false;
        }
        core = true;
        bi.biSize = 40;
        bi.biWidth = le16(raw + 4);
        bi.biHeight = le16(raw + 6);
        bi.biPlanes = 1;
        bi.biBitCount = le16(raw + 10);
    } else if (headerSize >= 40) {
        if (file->Read(raw + 4, 36, 1) != 1) {
            error = "Error reading BMP info";
            return false;
        }
        bi.biSize = headerSize;
        bi.biWidth = int32_t(le32(raw + 4));
        bi.biHeight = int32_t(le32(raw + 8));
        bi.biPlanes = le16(raw + 12);
        bi.biBitCount = le16(raw + 14);
        bi.biCompression = le32(raw + 16);
        bi.biSizeImage = le32(raw + 20);
        bi.biXPelsPerMeter = int32_t(le32(raw + 24));
        bi.biYPelsPerMeter = int32_t(le32(raw + 28));
        bi.biClrUsed = le32(raw + 32);
        bi.biClrImportant = le32(raw + 36);
        if (bi.biPlanes != 1 || bi.biHeight == INT32_MIN) {
            error = "Error reading BMP info";
            return false;
        }
        if (headerSize == 64) {
            file->Seek(24, 1);
        } else if (headerSize > 40) {
            // Later header versions: taken as the 40-byte header only when their
            // fields say it is a plain picture.
            const uint64_t rows = uint64_t(std::llabs(int64_t(bi.biHeight)));
            const uint64_t needed = ((uint64_t(bi.biBitCount) * uint64_t(std::llabs(int64_t(bi.biWidth))) + 31) / 32) * 4 * rows;
            if (uint64_t(bi.biSizeImage) < needed || bi.biClrUsed != 0) {
                error = "Error reading BMP info";
                return false;
            }
            if (bi.biCompression == BI_RGB)
                file->Seek(int64_t(headerSize) - 40, 1);
        }
    } else {
        error = "Error reading BMP info";
        return false;
    }

    const bool topDown = bi.biHeight < 0;
    const uint32_t height = uint32_t(std::llabs(int64_t(bi.biHeight)));
    const uint32_t width = bi.biWidth > 0 ? uint32_t(bi.biWidth) : 0;
    const uint16_t bitCount = bi.biBitCount;
    if (bi.biSizeImage == 0) {
        const uint64_t size = ((uint64_t(bitCount) * width + 31) / 32) * 4 * height;
        bi.biSizeImage = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(size);
    }
    if (bi.biClrUsed == 0)
        bi.biClrUsed = bitCount <= 8 ? (1u << bitCount) : 0;

    if (m_settings.cancelRequest == SizeOnlyRequest) {
        StoreSizeOnly(width, height, TypeBMP);
        SetErrorText("output dimensions returned");
        return true;
    }

    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        error = "bit depth not supported";
        return false;
    }
    // Uncompressed rows of 1 to 8 and of 24 bits are laid out in the file as
    // in the picture: when the file holds them all they are read straight
    // into a picture not zeroed first. Otherwise (run lengths, bit fields, a
    // file shorter than its picture) the picture starts zeroed, which costs
    // nothing for the part of a large picture that is never written.
    const int64_t fileSize = file->Size();
    const uint64_t pictureBytes = ((uint64_t(bitCount) * width + 31) / 32) * 4 * height;
    const bool rowsAsStored = bi.biCompression == BI_RGB && bitCount != 16 && bitCount != 32;
    m_pixelsZeroed = !(rowsAsStored && fileSize >= 0 && fileSize - file->Tell() >= int64_t(pictureBytes));
    m_topDown = topDown;
    if (!(m_pixelsZeroed ? Create(width, height, bitCount, TypeBMP) : CreateForWholeRows(width, height, bitCount, TypeBMP))) {
        error = nullptr; // Create's own text stays
        return false;
    }
    const auto dpi = [](int32_t ppm) { return int32_t(std::floor(ppm * 254.0 / 10000.0 + 0.5)); };
    SetXDPI(dpi(bi.biXPelsPerMeter));
    SetYDPI(dpi(bi.biYPelsPerMeter));
    if (m_settings.cancelRequest) {
        error = "Cancelled";
        return false;
    }

    // Bit-field masks follow the 40-byte part of the header.
    uint32_t masks[3] = {0, 0, 0};
    const bool bitfields = bi.biCompression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32);
    if (bitfields) {
        uint8_t m[12];
        if (file->Read(m, sizeof m, 1) != 1) {
            error = "Error reading BMP info";
            return false;
        }
        masks[0] = le32(m);
        masks[1] = le32(m + 4);
        masks[2] = le32(m + 8);
        if (offBits == 0 && headerSize > 52)
            file->Seek(int64_t(headerSize) - 52, 1);
    }

    // Palette: never more entries than the picture holds.
    if (RGBQUAD *pal = GetPaletteEntries()) {
        const uint32_t inFile = bi.biClrUsed;
        const uint32_t n = inFile < m_header.biClrUsed ? inFile : m_header.biClrUsed;
        const size_t entry = core ? 3 : 4;
        std::vector<uint8_t> buffer(size_t(n) * entry);
        if (n && file->Read(buffer.data(), entry, n) != n) {
            error = "Error reading BMP info";
            return false;
        }
        for (uint32_t i = 0; i < n; i++)
            pal[i] = RGBQUAD{buffer[i * entry], buffer[i * entry + 1], buffer[i * entry + 2], 0};
        if (offBits == 0 && inFile > n)
            file->Seek(int64_t(inFile - n) * int64_t(entry), 1);
        m_settings.nearestColour.valid = false;
    }

    // Pixels said to lie past the end of the file: there are none to read.
    if (offBits != 0
        && ((fileSize >= 0 && start + int64_t(offBits) >= fileSize) || !file->Seek(start + int64_t(offBits), 0))) {
        error = "Error reading BMP info";
        return false;
    }

    switch (bitCount) {
    case 1:
    case 4:
    case 8:
        if (bi.biCompression == BI_RGB) {
            ReadRowsAsStored(file, bi.biSizeImage);
        } else if (bi.biCompression == BI_RLE8 && bitCount == 8) {
            DecodeRle(file, false);
        } else if (bi.biCompression == BI_RLE4 && bitCount == 4) {
            DecodeRle(file, true);
        } else {
            error = "compression type not supported";
            return false;
        }
        break;
    case 16:
    case 32: {
        if (bi.biCompression != BI_RGB && bi.biCompression != BI_BITFIELDS) {
            error = "unknown compression";
            return false;
        }
        if (!bitfields) {
            if (bitCount == 16) {
                masks[0] = 0x7C00;
                masks[1] = 0x03E0;
                masks[2] = 0x001F;
            } else {
                masks[0] = 0xFF0000;
                masks[1] = 0x00FF00;
                masks[2] = 0x0000FF;
            }
        }
        if (!ReadBitfields(file, bitCount, masks, bi.biCompression == BI_RGB && bitCount == 32)) {
            error = "can't allocate memory";
            return false;
        }
        break;
    }
    case 24:
        if (bi.biCompression != BI_RGB) {
            error = "unknown compression";
            return false;
        } else {
            ReadRowsAsStored(file, bi.biSizeImage);
        }
        break;
    default:
        error = "bit depth not supported";
        return false;
    }

    return true;
}

uint8_t *CPictureBMP::StoredRow(uint32_t row) const
{
    return GetRowPointer(m_topDown ? GetHeight() - 1 - row : row);
}

void CPictureBMP::ReadRowsAsStored(CPicFile *file, uint32_t bytesInFile)
{
    const size_t size = m_header.biSizeImage;
    const size_t wanted = bytesInFile < size ? bytesInFile : size;
    size_t got = 0;
    if (!m_topDown) {
        got = file->Read(GetRowPointer(), 1, wanted);
    } else {
        // Rows stored top first go straight to their place, the picture
        // keeping the bottom row first.
        const size_t rowLength = GetRowLength();
        for (uint32_t row = 0; got < wanted; row++) {
            const size_t n = std::min(rowLength, wanted - got);
            const size_t read = file->Read(StoredRow(row), 1, n);
            got += read;
            if (read < n)
                break;
        }
    }
    if (got >= size || m_pixelsZeroed)
        return;
    // A file cut short, or one whose image size says less: the rest is black.
    if (!m_topDown) {
        std::memset(GetRowPointer() + got, 0, size - got);
        return;
    }
    const size_t rowLength = GetRowLength();
    for (uint32_t row = uint32_t(got / rowLength); row < GetHeight(); row++) {
        const size_t from = row == got / rowLength ? got % rowLength : 0;
        std::memset(StoredRow(row) + from, 0, rowLength - from);
    }
}

bool CPictureBMP::ReadBitfields(CPicFile *file, uint16_t bitCount, const uint32_t masks[3], bool keepAlpha)
{
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    const size_t srcRow = bitCount == 16 ? size_t((width + 1) / 2) * 4 : size_t(width) * 4;
    std::vector<uint8_t> row;
    try {
        row.resize(srcRow);
    } catch (...) {
        return false;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    // Byte-aligned 32-bit masks (the usual case) are picked byte by byte.
    const bool bytePick = bitCount == 32 && red.bits == 8 && green.bits == 8 && blue.bits == 8
        && red.shift % 8 == 0 && green.shift % 8 == 0 && blue.shift % 8 == 0;
    const int rPos = red.shift / 8, gPos = green.shift / 8, bPos = blue.shift / 8;
    bool anyAlpha = false;
    if (keepAlpha && !CreateAlphaPlane())
        return false;

    for (uint32_t y = 0; y < height; y++) {
        const size_t got = file->Read(row.data(), 1, srcRow);
        if (got == 0)
            break; // the file ends: the remaining rows stay black
        if (got < srcRow)
            std::memset(row.data() + got, 0, srcRow - got);
        uint8_t *dst = StoredRow(y);
        const uint8_t *src = row.data();
        if (bitCount == 16) {
            for (uint32_t x = 0; x < width; x++, src += 2, dst += 3) {
                const uint32_t w = le16(src);
                dst[0] = blue.value(w);
                dst[1] = green.value(w);
                dst[2] = red.value(w);
            }
        } else if (bytePick) {
            for (uint32_t x = 0; x < width; x++, src += 4, dst += 3) {
                dst[0] = src[bPos];
                dst[1] = src[gPos];
                dst[2] = src[rPos];
            }
        } else {
            for (uint32_t x = 0; x < width; x++, src += 4, dst += 3) {
                const uint32_t w = le32(src);
                dst[0] = blue.value(w);
                dst[1] = green.value(w);
                dst[2] = red.value(w);
            }
        }
        if (keepAlpha) {
            uint8_t *alpha = m_alphaPlane + size_t(m_topDown ? height - 1 - y : y) * width;
            src = row.data() + 3;
            for (uint32_t x = 0; x < width; x++, src += 4) {
                alpha[x] = *src;
                anyAlpha |= *src != 0;
            }
        }
    }
    // A fourth byte that is 0 everywhere carries no alpha: fully opaque.
    if (keepAlpha && !anyAlpha)
        InvertAlphaPlane();
    return true;
}

void CPictureBMP::DecodeRle(CPicFile *file, bool four)
{
    ByteSource in(file);
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    uint32_t row = 0;
    uint32_t x = 0; // pixel position in the row
    const auto put = [&](uint8_t v) {
        if (row < height && x < width) {
            uint8_t *p = StoredRow(row);
            if (four) {
                const int shift = (x & 1) ? 0 : 4;
                p[x >> 1] = uint8_t((p[x >> 1] & ~(0x0F << shift)) | ((v & 0x0F) << shift));
            } else {
                p[x] = v;
            }
        }
        if (x < width)
            x++;
    };

    while (row < height) {
        const int count = in.get();
        const int value = in.get();
        if (count < 0 || value < 0)
            return;
        if (count > 0) {
            for (int i = 0; i < count; i++)
                put(four ? uint8_t((i & 1) ? (value & 0x0F) : (value >> 4)) : uint8_t(value));
            continue;
        }
        switch (value) {
        case 0: // end of line
            row++;
            x = 0;
            break;
        case 1: // end of picture
            return;
        case 2: { // delta
            const int dx = in.get();
            const int dy = in.get();
            if (dx < 0 || dy < 0)
                return;
            x = x + uint32_t(dx) > width ? width : x + uint32_t(dx);
            row += uint32_t(dy);
            break;
        }
        default: { // literal run of `value` pixels, padded to a 16-bit boundary
            const int n = value;
            const int bytes = four ? (n + 1) / 2 : n;
            int b = 0;
            for (int i = 0; i < n; i++) {
                if (four) {
                    if ((i & 1) == 0 && (b = in.get()) < 0)
                        return;
                    put(uint8_t((i & 1) ? (b & 0x0F) : (b >> 4)));
                } else {
                    if ((b = in.get()) < 0)
                        return;
                    put(uint8_t(b));
                }
            }
            if (bytes & 1)
                in.get();
            break;
        }
        }
    }
}
