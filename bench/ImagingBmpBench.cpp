// Decoding the same BMP files from memory with the picture decoder and with
// Qt's own reader, in one run, so the two figures compare directly.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

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

void decodePicture(benchmark::State &state, const QByteArray &source)
{
    QByteArray data = source;
    for (auto _ : state) {
        CPicMemFile file(reinterpret_cast<uint8_t *>(data.data()), size_t(data.size()));
        CPicture pic;
        if (!pic.Decode(&file, CPicture::TypeBMP))
            state.SkipWithError(pic.GetLastError());
        benchmark::DoNotOptimize(pic.GetBits());
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

BENCHMARK(BM_Bmp24_CPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24_QImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp8_CPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp8_QImage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
