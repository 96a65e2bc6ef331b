#pragma once
#include "CPicFile.h"

#include <QString>

#include <cstdio>

// A picture file over a stdio stream. A stream passed to the constructor
// stays the caller's; a stream opened by Open is closed with this object.
class CPicIOFile : public CPicFile
{
public:
    explicit CPicIOFile(FILE *stream = nullptr);
    ~CPicIOFile() override;

    // Fails when a stream is already attached.
    bool Open(const QString &path, const QString &mode);
    FILE *GetStream() const { return m_stream; }

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
    FILE *m_stream = nullptr;
    bool m_closesStream = false;
};
