#pragma once
#include "CPicFile.h"

// A picture file over a block of memory. A block passed to the constructor
// stays the caller's: it is read and written in place and never grown or
// freed. Without a block the file owns one, grown by writes.
class CPicMemFile : public CPicFile
{
public:
    explicit CPicMemFile(uint8_t *buffer = nullptr, size_t size = 0);
    ~CPicMemFile() override;

    uint8_t *GetBlock() const { return m_block; }

    bool Close() override;
    size_t Read(void *buffer, size_t size, size_t count) override;
    size_t Write(const void *buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override;
    int64_t Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    bool PutC(uint8_t c) override;
    long GetC() override;
    char *GetS(char *string, int n) override;
    long Scanf(const char *format, void *output) override;

private:
    bool GrowTo(size_t length);

    uint8_t *m_block = nullptr;
    size_t m_dataSize = 0; // bytes of data
    size_t m_offset = 0;   // may lie past m_dataSize after a seek
    size_t m_capacity = 0;
    bool m_ownsBlock = true;
};
