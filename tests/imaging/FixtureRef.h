#pragma once
// Reference pixel dumps made by fixtures/make-fixtures.sh: a line
// "ZREF width height bpp transparent-index" then RGBA pixels, top row first,
// alpha 255 where the decoded picture has no alpha plane.
#include "CPicFile.h"
#include "CPicMemFile.h"
#include "CPicture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace fixture {

inline QString dir(const QString &sub)
{
    return QStringLiteral(IMAGING_FIXTURES "/") + sub;
}

inline QStringList files(const QString &sub, const QStringList &patterns)
{
    QStringList out;
    const QDir d(dir(sub));
    for (const QString &name : d.entryList(patterns, QDir::Files, QDir::Name))
        out << d.filePath(name);
    return out;
}

inline QByteArray read(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

struct Ref
{
    int width = 0, height = 0, bpp = 0, trans = -1;
    QByteArray rgba;
};

inline bool readRef(const QString &path, Ref &ref)
{
    const QByteArray data = read(path);
    const int eol = data.indexOf('\n');
    if (eol < 0)
        return false;
    const QList<QByteArray> fields = data.left(eol).split(' ');
    if (fields.size() != 5 || fields[0] != "ZREF")
        return false;
    ref.width = fields[1].toInt();
    ref.height = fields[2].toInt();
    ref.bpp = fields[3].toInt();
    ref.trans = fields[4].toInt();
    ref.rgba = data.mid(eol + 1);
    return ref.rgba.size() == qsizetype(ref.width) * ref.height * 4;
}

// Every pixel of the picture (colour and alpha) equals the reference.
inline ::testing::AssertionResult matches(const CPicture &pic, const Ref &ref)
{
    if (!pic.IsValid())
        return ::testing::AssertionFailure() << "no picture: " << pic.GetErrorText();
    if (int(pic.GetWidth()) != ref.width || int(pic.GetHeight()) != ref.height)
        return ::testing::AssertionFailure() << "size " << pic.GetWidth() << "x" << pic.GetHeight();
    if (pic.GetBitsPerPixel() != ref.bpp)
        return ::testing::AssertionFailure() << "bpp " << pic.GetBitsPerPixel() << " expected " << ref.bpp;
    if (pic.GetTransparentIndex() != ref.trans)
        return ::testing::AssertionFailure() << "transparent index " << pic.GetTransparentIndex() << " expected " << ref.trans;
    const auto *expected = reinterpret_cast<const uint8_t *>(ref.rgba.constData());
    for (int y = 0; y < ref.height; y++) {
        for (int x = 0; x < ref.width; x++) {
            const RGBQUAD c = pic.GetColourAt(x, ref.height - 1 - y, false);
            const uint8_t a = pic.HasAlphaPlane() ? pic.GetAlphaAt(x, ref.height - 1 - y) : 255;
            const uint8_t *e = expected + (size_t(y) * ref.width + x) * 4;
            if (c.rgbRed != e[0] || c.rgbGreen != e[1] || c.rgbBlue != e[2] || a != e[3]) {
                char text[160];
                std::snprintf(text, sizeof text, "pixel (%d,%d) from the top: %d,%d,%d,%d expected %d,%d,%d,%d", x, y,
                              c.rgbRed, c.rgbGreen, c.rgbBlue, a, e[0], e[1], e[2], e[3]);
                return ::testing::AssertionFailure() << text;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Decodes bytes held in memory.
inline bool decodeBytes(CPicture &pic, QByteArray bytes, int type)
{
    CPicMemFile file(reinterpret_cast<uint8_t *>(bytes.data()), size_t(bytes.size()));
    return pic.Decode(&file, type);
}

} // namespace fixture
