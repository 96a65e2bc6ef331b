// Small files that declare far more work than they hold, decoded from
// memory: what each one costs is bounded by the file, not by what it
// declares. Failures (a refused file) are part of the measure.
#include "CPicMemFile.h"
#include "CPicture.h"
#include "SlowFiles.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <vector>

namespace {

void decode(benchmark::State &state, const QByteArray &source, int type)
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
    decode(state, slowfiles::gifDamagedImageEvery20Bytes(12000), CPicture::TypeGIF);
}
void BM_GifComposedFramesOfOneByte(benchmark::State &state)
{
    decode(state, slowfiles::gifComposedFramesOfOneByte(100, 9000, 9000), CPicture::TypeGIF);
}
void BM_GifComposedFlatFrames(benchmark::State &state)
{
    decode(state, slowfiles::gifComposedFlatFrames(int(state.range(0)), 9000, 9000), CPicture::TypeGIF);
}
void BM_GifFlatSingleFrame(benchmark::State &state)
{
    decode(state, gifFlatSingleFrame(), CPicture::TypeGIF);
}
void BM_JpegProgressiveManyScans(benchmark::State &state)
{
    decode(state, slowfiles::jpegProgressiveGrey(int(state.range(0)), int(state.range(0)), 497), CPicture::TypeJPG);
}
void BM_JpegBaselineCutShort(benchmark::State &state)
{
    decode(state, jpegBaselineCutShort(), CPicture::TypeJPG);
}

} // namespace

BENCHMARK(BM_GifDamagedImageEvery20Bytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifComposedFramesOfOneByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifComposedFlatFrames)->Arg(1)->Arg(26)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifFlatSingleFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegProgressiveManyScans)->Arg(8192)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegBaselineCutShort)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
