#pragma once
// Small files that declare much more work than they hold, made on the spot
// for the tests and the benchmarks: each one once kept a decoder busy for
// seconds.
#include "GifBytes.h"

#include <QByteArray>

#include <vector>

namespace slowfiles {

// A GIF of `images` one-pixel images, one every 20 bytes. The data
// sub-blocks of each image chain on through every later image to the end of
// the file and hold codes beyond the table, so each image's data is read to
// the end of the file before the reader goes back for the next descriptor.
inline QByteArray gifDamagedImageEvery20Bytes(int images)
{
    QByteArray file = gifbytes::header(1, 1, 2);
    for (int i = 0; i < images; ++i) {
        file += gifbytes::descriptor(0, 0, 1, 1);     // 10 bytes
        file += char(8);                              // minimum code size
        file += char(19);                             // a sub-block reaching the next one
        file += QByteArray(7, char(0xFF));            // codes beyond the table
        file += char(0);                              // the zero the reader looks for
    }
    return file + ";";
}

// A GIF without a global colour table whose `frames` images each declare
// width x height pixels on a screen one pixel larger, with one byte of data
// each: every frame is painted onto a 24-bit canvas of the screen's size.
inline QByteArray gifComposedFramesOfOneByte(int frames, uint32_t width, uint32_t height)
{
    QByteArray file = gifbytes::header(width + 1, height + 1, 0);
    for (int i = 0; i < frames; ++i) {
        file += gifbytes::descriptor(0, 0, width, height, 0x80); // local table of 2 colours
        file += QByteArray("\x10\x20\x30\xF0\xE0\xD0", 6);
        file += char(2);
        file += gifbytes::subBlocks(gifbytes::packCodes({{4, 3}, {1, 3}}));
    }
    return file + ";";
}

// LZW data (minimum code size 8) of `pixels` pixels of index 0, as long
// strings as the table allows: each new code is the previous string and one
// more pixel until the table is full, then the longest string again and again.
inline QByteArray gifFlatImageData(uint64_t pixels)
{
    std::vector<std::pair<uint32_t, int>> codes{{256, 9}, {0, 9}};
    uint64_t done = 1;
    uint32_t next = 258, size = 9;
    while (done < pixels && next < 4096) {
        codes.push_back({next, int(size)}); // the previous string plus its first pixel
        done += next - 256;
        ++next;
        if (next >= (1u << size) && size < 12)
            ++size;
    }
    while (done < pixels) {
        codes.push_back({4095, 12});
        done += 4095 - 256;
    }
    codes.push_back({257, int(size)});
    return QByteArray(1, char(8)) + gifbytes::subBlocks(gifbytes::packCodes(codes));
}

// A GIF without a global colour table of `frames` images of width x height
// pixels, each all of one colour (frame i: grey 10 (i + 1)), on a screen one
// pixel larger: the most pixels a composed file can make its decoder write
// for its size.
inline QByteArray gifComposedFlatFrames(int frames, uint32_t width, uint32_t height)
{
    QByteArray file = gifbytes::header(width + 1, height + 1, 0);
    const QByteArray data = gifFlatImageData(uint64_t(width) * height);
    for (int i = 0; i < frames; ++i) {
        file += gifbytes::descriptor(0, 0, width, height, 0x87); // local table of 256 colours
        file += QByteArray(3, char(10 * (i + 1)));
        for (int c = 1; c < 256; ++c)
            file += QByteArray(3, char(c));
        file += data;
    }
    return file + ";";
}

// A progressive greyscale JPEG of width x height pixels made of `scans`
// scans (a DC scan, then AC scans) of one data byte each.
inline QByteArray jpegProgressiveGrey(int width, int height, int scans)
{
    const auto segment = [](uint8_t marker, const QByteArray &body) {
        QByteArray s("\xFF", 1);
        s += char(marker);
        const int length = int(body.size()) + 2;
        s += char(length >> 8);
        s += char(length & 0xFF);
        return s + body;
    };
    QByteArray quant(65, char(1));
    quant[0] = 0;
    QByteArray frame;
    frame += char(8);
    frame += char(height >> 8);
    frame += char(height & 0xFF);
    frame += char(width >> 8);
    frame += char(width & 0xFF);
    frame += QByteArray("\x01\x01\x11\x00", 4); // one component, 1x1 sampling, table 0
    // DC table 0 and AC table 0, each one code of one bit: DC difference 0,
    // and the end of a block.
    QByteArray tables;
    for (const char cls : {char(0x00), char(0x10)}) {
        tables += cls;
        tables += char(1);
        tables += QByteArray(15, char(0));
        tables += char(0);
    }
    QByteArray file("\xFF\xD8", 2);
    file += segment(0xDB, quant) + segment(0xC2, frame) + segment(0xC4, tables);
    for (int i = 0; i < scans; ++i) {
        const bool dc = i == 0;
        QByteArray scan("\x01\x01\x00", 3);
        scan += char(dc ? 0 : 1);
        scan += char(dc ? 0 : 63);
        scan += char(0);
        file += segment(0xDA, scan);
        file += char(0);
    }
    return file + QByteArray("\xFF\xD9", 2);
}

} // namespace slowfiles
