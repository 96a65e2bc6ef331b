// The same JPEG and GIF files decoded from memory by the picture decoders
// and by Qt's own image readers, in the same run; then small files that
// declare far more work than they hold (what each one costs is bounded by
// the file, not by what it declares; a refused file is part of the measure).
#include "CPicMemFile.h"
#include "CPicture.h"
#include "SlowFiles.h"

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

void decodeHostile(benchmark::State &state, const QByteArray &source, int type)
{
    std::vector<uint8_t> bytes(source.begin(), source.end());
    bool decoded = false;
    for (auto _ : state) {
        CPicMemFile file(bytes.data(), bytes.size());
        CPicture pic;
        decoded = pic.Decode(&file, type);
        benchmark::DoNotOptimize(pic.GetBlock());
    }
    state.counters["file_KB"] = double(bytes.size()) / 1024.0;
    state.counters["decoded"] = decoded ? 1 : 0;
}

// The largest picture one GIF frame may be, all of one colour.
QByteArray gifFlatSingleFrame()
{
    const uint32_t side = 16384;
    return gifbytes::header(side, side - 1, 256) + gifbytes::descriptor(0, 0, side, side - 1)
           + slowfiles::gifFlatImageData(uint64_t(side) * (side - 1)) + ";";
}

// A baseline greyscale JPEG declaring the largest picture, cut right after
// the start of its only scan.
QByteArray jpegBaselineCutShort()
{
    QByteArray file = slowfiles::jpegProgressiveGrey(16384, 16384, 1);
    file[file.indexOf(QByteArray("\xFF\xC2", 2)) + 1] = char(0xC0);
    // A baseline scan covers all 64 coefficients.
    const qsizetype scan = file.indexOf(QByteArray("\xFF\xDA", 2));
    file[scan + 8] = char(63);
    return file;
}

void BM_GifDamagedImageEvery20Bytes(benchmark::State &state)
{
    decodeHostile(state, slowfiles::gifDamagedImageEvery20Bytes(12000), CPicture::TypeGIF);
}
void BM_GifComposedFramesOfOneByte(benchmark::State &state)
{
    decodeHostile(state, slowfiles::gifComposedFramesOfOneByte(100, 9000, 9000), CPicture::TypeGIF);
}
void BM_GifComposedFlatFrames(benchmark::State &state)
{
    decodeHostile(state, slowfiles::gifComposedFlatFrames(int(state.range(0)), 9000, 9000), CPicture::TypeGIF);
}
void BM_GifFlatSingleFrame(benchmark::State &state)
{
    decodeHostile(state, gifFlatSingleFrame(), CPicture::TypeGIF);
}
void BM_JpegProgressiveManyScans(benchmark::State &state)
{
    decodeHostile(state, slowfiles::jpegProgressiveGrey(int(state.range(0)), int(state.range(0)), 497), CPicture::TypeJPG);
}
void BM_JpegBaselineCutShort(benchmark::State &state)
{
    decodeHostile(state, jpegBaselineCutShort(), CPicture::TypeJPG);
}

} // namespace

BENCHMARK(BM_Jpeg_Picture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif_Picture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifAnimationLastFrame_Picture)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_GifDamagedImageEvery20Bytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifComposedFramesOfOneByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifComposedFlatFrames)->Arg(1)->Arg(26)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifFlatSingleFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegProgressiveManyScans)->Arg(8192)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegBaselineCutShort)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Qt finds its image reader plugins through the application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
