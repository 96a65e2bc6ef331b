// Feeds arbitrary bytes to the JPEG decoder, for the size only and then with
// the output settings picked by the input's length: library defaults, grey,
// quantised colours or half size. Pictures of any declared size are decoded:
// the work a file can cause is bounded by the file.
#include "CPicMemFile.h"
#include "CPicture.h"
#include "CPictureJPG.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> copy(data, data + size);
    {
        CPicMemFile file(copy.data(), copy.size());
        CPicture pic;
        pic.SetCancelRequest(CPicture::SizeOnlyRequest);
        if (!pic.Decode(&file, CPicture::TypeJPG))
            return 0;
    }
    CPicMemFile file(copy.data(), copy.size());
    CPicture pic;
    switch (size & 3) {
    case 1: pic.SetDecoderOptions(CPictureJPG::OptionGrey, CPicture::TypeJPG); break;
    case 2: pic.SetDecoderOptions(CPictureJPG::OptionQuantise, CPicture::TypeJPG); break;
    case 3: pic.SetJpegScaleDenominator(2); break;
    default: break;
    }
    if (pic.Decode(&file, CPicture::TypeJPG) && pic.IsValid())
        (void)pic.GetColourAt(long(pic.GetWidth()) - 1, 0);
    return 0;
}
