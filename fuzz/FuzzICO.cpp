// Feeds arbitrary bytes to the icon and cursor decoder, for the first and the
// second image of the directory.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> copy(data, data + size);
    for (int frame = 0; frame < 2; frame++) {
        CPicMemFile file(copy.data(), copy.size());
        CPicture pic;
        pic.SetFrameToLoad(frame);
        if (pic.Decode(&file, CPicture::TypeICO) && pic.IsValid())
            (void)pic.GetColourAt(0, 0);
    }
    return 0;
}
