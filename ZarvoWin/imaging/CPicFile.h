#pragma once
#include <cstddef>
#include <cstdint>

// What the picture decoders read from: a file on disk or a block of memory.
// Offsets are 64-bit so that an offset read from a picture file added to the
// start position can never wrap.
class CPicFile
{
public:
    CPicFile() = default;
    CPicFile(const CPicFile &) = delete;
    CPicFile &operator=(const CPicFile &) = delete;
    virtual ~CPicFile();

    virtual bool Close() = 0;
    // Items of `size` bytes read into buffer; returns the number of whole items read.
    virtual size_t Read(void *buffer, size_t size, size_t count) = 0;
    virtual size_t Write(const void *buffer, size_t size, size_t count) = 0;
    // origin: 0 start, 1 current position, 2 end.
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual int64_t Tell() = 0;
    virtual int64_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual long Error() = 0;
    // Writes one byte through Write.
    virtual bool PutC(uint8_t c);
    // The next byte, or -1 at the end.
    virtual long GetC() = 0;
    virtual char *GetS(char *string, int n) = 0;
    virtual long Scanf(const char *format, void *output) = 0;
};
