// Decoding the same BMP files from memory with the picture decoder and with
// Qt's own reader, in one run, so the two figures compare directly.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <random>

namespace {

// A 1600 x 1200 photograph-like picture (smooth gradients and noise) saved by
// Qt's writer as a 24-bit or an 8-bit BMP.
QByteArray makeBmp(bool eightBit)
{
    QImage img(1600, 1200, QImage::Format_RGB32);
    std::mt19937 rng(7);
    for (int y = 0; y < img.height(); y++) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); x++)
            line[x] = qRgb((x / 7) & 0xFF, (y / 5) & 0xFF, int(rng() & 0x3F) + ((x + y) & 0x7F));
    }
    if (eightBit)
        img = img.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return data;
}

// The 8-bit file again with its rows run-length encoded (RLE8): runs of equal
// bytes, literal stretches of three bytes or more, an end code per row.
QByteArray makeRle8(const QByteArray &bmp)
{
    const auto *d = reinterpret_cast<const uint8_t *>(bmp.constData());
    const auto u32 = [&](int at) { return uint32_t(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (uint32_t(d[at + 3]) << 24)); };
    const uint32_t offset = u32(10);
    const int width = int(u32(18));
    const int height = int(u32(22));
    const int stride = ((width * 8 + 31) / 32) * 4;
    QByteArray out;
    for (int y = 0; y < height; y++) {
        const uint8_t *row = d + offset + size_t(y) * stride;
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 255 && row[x + run] == row[x])
                run++;
            if (run >= 2 || width - x < 3) {
                out += char(run);
                out += char(row[x]);
                x += run;
                continue;
            }
            int n = 1;
            while (x + n < width && n < 255 && (x + n + 1 >= width || row[x + n] != row[x + n + 1]))
                n++;
            if (n < 3) {
                out += char(1);
                out += char(row[x]);
                x++;
                continue;
            }
            out += char(0);
            out += char(n);
            out.append(reinterpret_cast<const char *>(row + x), n);
            if (n & 1)
                out += char(0);
            x += n;
        }
        out += char(0);
        out += char(y + 1 == height ? 1 : 0);
    }
    QByteArray file = bmp.left(int(offset)) + out;
    auto *f = reinterpret_cast<uint8_t *>(file.data());
    const auto put32 = [&](int at, uint32_t v) {
        for (int k = 0; k < 4; k++)
            f[at + k] = uint8_t(v >> (8 * k));
    };
    put32(2, uint32_t(file.size()));
    put32(30, 1); // compression RLE8
    put32(34, uint32_t(out.size()));
    return file;
}

const QByteArray &bmp24()
{
    static const QByteArray data = makeBmp(false);
    return data;
}

const QByteArray &bmp8()
{
    static const QByteArray data = makeBmp(true);
    return data;
}

const QByteArray &rle8()
{
    static const QByteArray data = makeRle8(bmp8());
    return data;
}

void decodePicture(benchmark::State &state, const QByteArray &source)
{
    QByteArray data = source;
    for (auto _ : state) {
        CPicMemFile file(reinterpret_cast<uint8_t *>(data.data()), size_t(data.size()));
        CPicture pic;
        if (!pic.Decode(&file, CPicture::TypeBMP))
            state.SkipWithError(pic.GetErrorText());
        benchmark::DoNotOptimize(pic.GetRowPointer());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * source.size());
}

void decodeQt(benchmark::State &state, const QByteArray &source)
{
    for (auto _ : state) {
        QImage img;
        if (!img.loadFromData(source, "BMP"))
            state.SkipWithError("Qt could not read the BMP");
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * source.size());
}

void BM_Bmp24_CPicture(benchmark::State &state) { decodePicture(state, bmp24()); }
void BM_Bmp24_QImage(benchmark::State &state) { decodeQt(state, bmp24()); }
void BM_Bmp8_CPicture(benchmark::State &state) { decodePicture(state, bmp8()); }
void BM_Bmp8_QImage(benchmark::State &state) { decodeQt(state, bmp8()); }
void BM_BmpRle8_CPicture(benchmark::State &state) { decodePicture(state, rle8()); }
void BM_BmpRle8_QImage(benchmark::State &state) { decodeQt(state, rle8()); }

BENCHMARK(BM_Bmp24_CPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24_QImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp8_CPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp8_QImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpRle8_CPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpRle8_QImage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Both readers must see the same pixels in the run-length file.
    {
        QByteArray data = rle8();
        CPicMemFile file(reinterpret_cast<uint8_t *>(data.data()), size_t(data.size()));
        CPicture pic;
        QImage img;
        bool same = pic.Decode(&file, CPicture::TypeBMP) && img.loadFromData(data, "BMP")
            && int(pic.GetWidth()) == img.width() && int(pic.GetHeight()) == img.height();
        for (int y = 0; same && y < img.height(); y++)
            for (int x = 0; same && x < img.width(); x++)
                same = pic.GetIndexAt(x, img.height() - 1 - y) == img.pixelIndex(x, y);
        if (!same) {
            std::fprintf(stderr, "the run-length file decodes differently\n");
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
