// Feeds arbitrary bytes to the BMP decoder, in full and size-only mode.
#include "CPicMemFile.h"
#include "CPicture.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> copy(data, data + size);
    {
        CPicMemFile file(copy.data(), copy.size());
        CPicture pic;
        if (pic.Decode(&file, CPicture::TypeBMP) && pic.IsValid()) {
            // Touch the result the way the drawers and callers read it.
            (void)pic.GetColourAt(long(pic.GetWidth()) - 1, long(pic.GetHeight()) - 1);
        }
    }
    {
        CPicMemFile file(copy.data(), copy.size());
        CPicture pic;
        pic.SetCancelRequest(CPicture::SizeOnlyRequest);
        pic.Decode(&file, CPicture::TypeBMP);
    }
    return 0;
}
