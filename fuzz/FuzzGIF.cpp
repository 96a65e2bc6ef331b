// Feeds arbitrary bytes to the GIF decoder: the first frame, a later frame
// with every frame kept, and the size only.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Very large logical screens are refused only at the memory limit; they
    // are valid, but slow the fuzzer down without reaching new code.
    // A screen of 0 x 0 takes the first image's size: any "," that may be it.
    constexpr uint32_t Large = 4u * 1024 * 1024;
    auto le16 = [&](size_t i) { return uint32_t(data[i] | data[i + 1] << 8); };
    if (size >= 10) {
        if (le16(6) * le16(8) > Large)
            return 0;
        if (le16(6) == 0 && le16(8) == 0)
            for (size_t i = 13; i + 9 <= size; ++i)
                if (data[i] == ',' && le16(i + 5) * le16(i + 7) > Large)
                    return 0;
    }
    std::vector<uint8_t> copy(data, data + size);
    for (int round = 0; round < 3; ++round) {
        CPicMemFile file(copy.data(), copy.size());
        CPicture pic;
        if (round == 1) {
            pic.SetFrameToLoad(2);
            pic.SetKeepAllFrames(true);
        } else if (round == 2) {
            pic.SetCancelRequest(CPicture::SizeOnlyRequest);
        }
        if (pic.Decode(&file, CPicture::TypeGIF) && pic.IsValid()) {
            (void)pic.GetColourAt(long(pic.GetWidth()) - 1, 0);
            for (int32_t i = 0; i < pic.GetKeptFrameCount(); ++i)
                if (const CPicture *f = pic.GetKeptFrame(i))
                    (void)f->GetColourAt(0, long(f->GetHeight()) - 1);
        }
    }
    return 0;
}
