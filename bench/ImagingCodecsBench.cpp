// The same JPEG and GIF files decoded from memory by the picture decoders
// and by Qt's own image readers, in the same run.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <vector>

namespace {

std::vector<uint8_t> fixture(const char *relative)
{
    QFile f(QStringLiteral(IMAGING_FIXTURES "/") + QString::fromLatin1(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void decodePicture(benchmark::State &state, const char *relative, int type)
{
    std::vector<uint8_t> bytes = fixture(relative);
    if (bytes.empty()) {
        state.SkipWithError("fixture missing");
        return;
    }
    for (auto _ : state) {
        CPicMemFile file(bytes.data(), bytes.size());
        CPicture pic;
        if (!pic.Decode(&file, type)) {
            state.SkipWithError(pic.GetErrorText());
            return;
        }
        benchmark::DoNotOptimize(pic.GetRowPointer());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void decodeQt(benchmark::State &state, const char *relative, const char *format)
{
    const std::vector<uint8_t> raw = fixture(relative);
    if (raw.empty()) {
        state.SkipWithError("fixture missing");
        return;
    }
    QByteArray bytes(reinterpret_cast<const char *>(raw.data()), qsizetype(raw.size()));
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        QImage image = reader.read();
        if (image.isNull()) {
            state.SkipWithError("Qt could not read the picture");
            return;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_Jpeg_Picture(benchmark::State &state) { decodePicture(state, "jpg/bench.jpg", CPicture::TypeJPG); }
void BM_Jpeg_Qt(benchmark::State &state) { decodeQt(state, "jpg/bench.jpg", "jpeg"); }
void BM_Gif_Picture(benchmark::State &state) { decodePicture(state, "gif/bench.gif", CPicture::TypeGIF); }
void BM_Gif_Qt(benchmark::State &state) { decodeQt(state, "gif/bench.gif", "gif"); }
void BM_GifAnimationLastFrame_Picture(benchmark::State &state)
{
    std::vector<uint8_t> bytes = fixture("gif/anim.gif");
    for (auto _ : state) {
        CPicMemFile file(bytes.data(), bytes.size());
        CPicture pic;
        pic.SetFrameToLoad(4);
        benchmark::DoNotOptimize(pic.Decode(&file, CPicture::TypeGIF));
    }
}

} // namespace

BENCHMARK(BM_Jpeg_Picture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif_Picture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifAnimationLastFrame_Picture)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    // Qt finds its image reader plugins through the application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
