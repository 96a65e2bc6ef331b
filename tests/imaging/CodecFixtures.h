#pragma once
// Reading the committed codec fixtures and their reference dumps, and
// decoding byte arrays, for the JPEG and GIF tests.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <vector>

namespace codecfx {

inline QString path(const QString &relative)
{
    return QStringLiteral(IMAGING_FIXTURES) + QLatin1Char('/') + relative;
}

inline QByteArray readFile(const QString &relative)
{
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A binary PGM (P5) or PPM (P6) file: its size, channels and samples.
struct Pnm
{
    int width = 0;
    int height = 0;
    int channels = 0;
    QByteArray samples;
};

inline Pnm readPnm(const QString &relative)
{
    Pnm pnm;
    const QByteArray data = readFile(relative);
    if (data.size() < 3 || data[0] != 'P' || (data[1] != '5' && data[1] != '6'))
        return pnm;
    pnm.channels = data[1] == '5' ? 1 : 3;
    // Three numbers after the magic: width, height, maximum value.
    int pos = 2;
    int values[3] = {};
    for (int &v : values) {
        while (pos < data.size() && (data[pos] == ' ' || data[pos] == '\n' || data[pos] == '\r' || data[pos] == '\t'))
            ++pos;
        while (pos < data.size() && data[pos] >= '0' && data[pos] <= '9')
            v = v * 10 + (data[pos++] - '0');
    }
    ++pos; // the single white-space byte before the samples
    pnm.width = values[0];
    pnm.height = values[1];
    pnm.samples = data.mid(pos);
    return pnm;
}

inline QJsonObject readMeta(const QString &relative)
{
    return QJsonDocument::fromJson(readFile(relative)).object();
}

// Decodes bytes held in memory (the file reads them in place).
inline bool decodeBytes(CPicture &picture, const QByteArray &bytes, int type)
{
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    CPicMemFile file(copy.empty() ? nullptr : copy.data(), copy.size());
    return picture.Decode(&file, type);
}

// Palette indices of the picture, one byte per pixel, top row first.
inline QByteArray indicesTopDown(const CPicture &p)
{
    QByteArray out;
    for (long y = long(p.GetHeight()) - 1; y >= 0; --y)
        for (long x = 0; x < long(p.GetWidth()); ++x)
            out.append(char(p.GetIndexAt(x, y)));
    return out;
}

// Samples of a 24-bit picture as red, green, blue, top row first, or of an
// 8-bit picture as its indices.
inline QByteArray samplesTopDown(const CPicture &p)
{
    if (p.GetBitsPerPixel() != 24)
        return indicesTopDown(p);
    QByteArray out;
    for (long y = long(p.GetHeight()) - 1; y >= 0; --y) {
        const uint8_t *row = p.GetRowPointer(uint32_t(y));
        for (uint32_t x = 0; x < p.GetWidth(); ++x) {
            out.append(char(row[3 * x + 2]));
            out.append(char(row[3 * x + 1]));
            out.append(char(row[3 * x]));
        }
    }
    return out;
}

// Index of the first differing byte, or -1.
inline qsizetype firstDifference(const QByteArray &a, const QByteArray &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i])
            return i;
    return a.size() == b.size() ? -1 : n;
}

} // namespace codecfx
