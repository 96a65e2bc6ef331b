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
    if (size >= 10 && uint32_t(data[6] | data[7] << 8) * uint32_t(data[8] | data[9] << 8) > 4u * 1024 * 1024)
        return 0;
    std::vector<uint8_t> copy(data, data + size);
    for (int round = 0; round < 3; ++round) {
        CPicMemFile file(copy.data(), copy.size());
        CPicture pic;
        if (round == 1) {
            pic.SetFrame(2);
            pic.SetRetreiveAllFrames(true);
        } else if (round == 2) {
            pic.SetEscape(-1);
        }
        if (pic.Decode(&file, CPicture::TypeGIF) && pic.IsValid()) {
            (void)pic.GetPixelColor(long(pic.GetWidth()) - 1, 0);
            for (int32_t i = 0; i < pic.GetFrameSlots(); ++i)
                if (const CPicture *f = pic.GetFrameAt(i))
                    (void)f->GetPixelColor(0, long(f->GetHeight()) - 1);
        }
    }
    return 0;
}
