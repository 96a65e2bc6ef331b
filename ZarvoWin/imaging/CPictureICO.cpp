#include "CPictureICO.h"

#include "CPicFile.h"
#include "DecodeHelpers.h"

#include <cstring>
#include <vector>

using DecodeHelpers::le16;
using DecodeHelpers::le32;

CPictureICO::CPictureICO()
    : CPicture(TypeICO)
{
}

bool CPictureICO::Decode(CPicFile *file)
{
    return DecodeHelpers::decodeReporting(*this, file, &CPictureICO::DecodeBody);
}

bool CPictureICO::DecodeBody(CPicFile *file, const char *&error)
{
    const int64_t start = file->Tell();
    const int64_t fileSize = file->Size();

    uint8_t header[6];
    if (file->Read(header, sizeof header, 1) != 1) {
        error = "Not an icon or cursor";
        return false;
    }
    const uint16_t reserved = le16(header);
    const uint16_t type = le16(header + 2);
    const uint16_t count = le16(header + 4);
    if (reserved != 0 || (type != 1 && type != 2)) {
        error = "Not an icon or cursor";
        return false;
    }
    m_settings.framesFound = count;
    if (count == 0) {
        error = "Icon file without images";
        return false;
    }
    std::vector<uint8_t> directory(size_t(count) * 16);
    if (file->Read(directory.data(), 16, count) != count) {
        error = "Icon directory cut short";
        return false;
    }
    if (m_settings.frameToLoad < 0 || m_settings.frameToLoad >= int32_t(count)) {
        error = "Icon image index out of range";
        return false;
    }
    const uint8_t *entry = directory.data() + size_t(m_settings.frameToLoad) * 16;
    const uint32_t width = entry[0];
    const uint32_t height = entry[1];
    const uint32_t offset = le32(entry + 12);

    if (m_settings.cancelRequest == SizeOnlyRequest) {
        StoreSizeOnly(width, height, TypeICO);
        return true;
    }

    if (fileSize >= 0 && start + int64_t(offset) >= fileSize) {
        error = "Icon image offset past the end of the file";
        return false;
    }
    if (!file->Seek(start + int64_t(offset), 0)) {
        error = "Icon image offset past the end of the file";
        return false;
    }
    if (width == 0 && height == 0)
        return true; // stored in a form not read here: an empty picture
    if (width == 0 || height == 0) {
        error = "Icon image with a zero width or height";
        return false;
    }

    uint8_t raw[40];
    // An image stored as PNG (its signature read as a header size) is not read.
    if (file->Read(raw, sizeof raw, 1) != 1 || le32(raw) < 40 || le32(raw) > 124) {
        error = "Icon image header cut short";
        return false;
    }
    const uint16_t bitCount = le16(raw + 14);
    const uint32_t colorsUsed = le32(raw + 32);
    if (!Create(width, height, bitCount, TypeICO))
        return false; // Create's text stays

    // Palette, never beyond what the picture holds; the rest of a longer one
    // in the file is skipped.
    const uint32_t fileColours = colorsUsed ? colorsUsed : m_header.biClrUsed;
    const uint32_t n = fileColours < m_header.biClrUsed ? fileColours : m_header.biClrUsed;
    if (n) {
        if (file->Read(GetPaletteEntries(), sizeof(RGBQUAD), n) != n) {
            error = "Icon palette cut short";
            return false;
        }
        for (uint32_t i = 0; i < n; i++)
            GetPaletteEntries()[i].rgbReserved = 0;
        m_settings.nearestColour.valid = false;
    }
    if (fileColours > n && !file->Seek(int64_t(fileColours - n) * 4, 1)) {
        error = "Icon palette cut short";
        return false;
    }

    bool ownAlpha = false;
    if (bitCount > 24) {
        // 32-bit pixels: colour and alpha, read a row at a time into a block of
        // their own size.
        if (!CreateAlphaPlane()) {
            error = "can't allocate memory";
            return false;
        }
        std::vector<uint8_t> row(size_t(width) * 4);
        for (uint32_t y = 0; y < height; y++) {
            if (file->Read(row.data(), row.size(), 1) != 1) {
                error = "Icon pixels cut short";
                return false;
            }
            uint8_t *dst = GetRowPointer(y);
            uint8_t *alpha = m_alphaPlane + size_t(y) * width;
            for (uint32_t x = 0; x < width; x++) {
                dst[x * 3] = row[x * 4];
                dst[x * 3 + 1] = row[x * 4 + 1];
                dst[x * 3 + 2] = row[x * 4 + 2];
                alpha[x] = row[x * 4 + 3];
            }
        }
        ownAlpha = true;
    } else if (file->Read(GetRowPointer(), m_header.biSizeImage, 1) != 1) {
        error = "Icon pixels cut short";
        return false;
    }

    // AND mask: a set bit marks a transparent pixel. When it cannot be read
    // the picture stays as it is.
    const size_t maskRow = size_t((width + 31) / 32) * 4;
    std::vector<uint8_t> mask(maskRow * height);
    if (file->Read(mask.data(), mask.size(), 1) != 1)
        return true;
    ApplyMask(mask.data(), maskRow, ownAlpha);
    return true;
}

void CPictureICO::ApplyMask(const uint8_t *mask, size_t maskRow, bool ownAlpha)
{
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    const auto masked = [&](uint32_t x, uint32_t y) {
        return (mask[size_t(y) * maskRow + (x >> 3)] >> (7 - (x & 7))) & 1;
    };

    bool allSet = true;
    for (size_t i = 0; i < maskRow * height && allSet; i++)
        allSet = mask[i] == 0xFF;
    if (allSet) {
        SetTransparentIndex(0);
        MakeNegative();
        return;
    }

    const bool created = !HasAlphaPlane();
    CreateAlphaPlane();
    bool anyMasked = false;
    bool oneColour = true;
    RGBQUAD first = {0, 0, 0, 0};
    uint8_t firstIndex = 0;
    for (uint32_t y = 0; y < height; y++) {
        for (uint32_t x = 0; x < width; x++) {
            if (!masked(x, y))
                continue;
            SetAlphaAt(long(x), long(y), 0);
            const RGBQUAD c = GetColourAt(long(x), long(y), false);
            if (!anyMasked) {
                first = c;
                firstIndex = GetIndexAt(long(x), long(y));
                anyMasked = true;
            } else if (c.rgbRed != first.rgbRed || c.rgbGreen != first.rgbGreen || c.rgbBlue != first.rgbBlue) {
                oneColour = false;
            }
        }
    }
    if (!anyMasked && created)
        DeleteAlphaPlane();

    // One colour under the whole mask is the transparent colour. A 32-bit
    // icon keeps its own alpha plane, which says more than a key colour.
    if (anyMasked && oneColour && !ownAlpha) {
        SetTransparentColour(first);
        SetTransparentIndex(firstIndex);
        DeleteAlphaPlane();
    }

    if (GetBitsPerPixel() <= 8) {
        // A palette entry that no pixel uses becomes the transparent one.
        std::vector<bool> used(m_header.biClrUsed, false);
        for (uint32_t y = 0; y < height; y++)
            for (uint32_t x = 0; x < width; x++)
                used[IndexAtUnchecked(long(x), long(y))] = true;
        for (int32_t i = int32_t(m_header.biClrUsed) - 1; i >= 0; i--) {
            if (used[size_t(i)])
                continue;
            for (uint32_t y = 0; y < height; y++)
                for (uint32_t x = 0; x < width; x++)
                    if (masked(x, y))
                        SetIndexAtUnchecked(long(x), long(y), uint8_t(i));
            if (anyMasked)
                SetTransparentIndex(i);
            DeleteAlphaPlane();
            break;
        }
    }
}
