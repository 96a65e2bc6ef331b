#pragma once
// What the BMP and icon decoders share: little-endian header fields and
// the way a decoding body's failure is reported.
#include <cstdint>

class CPicFile;

namespace DecodeHelpers {

inline uint16_t le16(const uint8_t *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

inline uint32_t le32(const uint8_t *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Runs the codec's decoding `body` on the file; a failure the body names
// becomes the picture's last error. False without a file.
template <typename Codec>
bool decodeReporting(Codec &codec, CPicFile *file, bool (Codec::*body)(CPicFile *, const char *&))
{
    if (!file)
        return false;
    const char *error = nullptr;
    const bool ok = (codec.*body)(file, error);
    if (!ok && error)
        codec.SetErrorText(error);
    return ok;
}

} // namespace DecodeHelpers
