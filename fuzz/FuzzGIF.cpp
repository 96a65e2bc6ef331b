// Feeds arbitrary bytes to the GIF decoder: the first frame, a later frame
// with every frame kept, and the size only. Pictures of any declared size
// are decoded: the work a file can cause is bounded by the file.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
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
