#include "CPicIOFile.h"

#include <QFile>

CPicIOFile::CPicIOFile(FILE *stream)
    : m_stream(stream), m_closesStream(stream == nullptr)
{
}

CPicIOFile::~CPicIOFile()
{
    Close();
}

bool CPicIOFile::Open(const QString &path, const QString &mode)
{
    if (m_stream)
        return false;
    m_stream = std::fopen(QFile::encodeName(path).constData(), mode.toLatin1().constData());
    if (!m_stream)
        return false;
    m_closesStream = true;
    return true;
}

bool CPicIOFile::Close()
{
    int ret = 0;
    if (m_stream && m_closesStream) {
        ret = std::fclose(m_stream);
        m_stream = nullptr;
    }
    return ret == 0;
}

size_t CPicIOFile::Read(void *buffer, size_t size, size_t count)
{
    if (!m_stream || !buffer)
        return 0;
    return std::fread(buffer, size, count, m_stream);
}

size_t CPicIOFile::Write(const void *buffer, size_t size, size_t count)
{
    if (!m_stream || !buffer)
        return 0;
    return std::fwrite(buffer, size, count, m_stream);
}

bool CPicIOFile::Seek(int64_t offset, int origin)
{
    if (!m_stream)
        return false;
    const int whence = origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET;
    return fseeko(m_stream, off_t(offset), whence) == 0;
}

int64_t CPicIOFile::Tell()
{
    if (!m_stream)
        return 0;
    return int64_t(ftello(m_stream));
}

int64_t CPicIOFile::Size()
{
    if (!m_stream)
        return -1;
    const off_t pos = ftello(m_stream);
    fseeko(m_stream, 0, SEEK_END);
    const off_t size = ftello(m_stream);
    fseeko(m_stream, pos, SEEK_SET);
    return int64_t(size);
}

bool CPicIOFile::Flush()
{
    if (!m_stream)
        return false;
    return std::fflush(m_stream) == 0;
}

bool CPicIOFile::Eof()
{
    if (!m_stream)
        return true;
    return std::feof(m_stream) != 0;
}

long CPicIOFile::Error()
{
    if (!m_stream)
        return -1;
    return std::ferror(m_stream);
}

bool CPicIOFile::PutC(uint8_t c)
{
    if (!m_stream)
        return false;
    return std::fputc(c, m_stream) == c;
}

long CPicIOFile::GetC()
{
    if (!m_stream)
        return -1;
    return std::getc(m_stream);
}

char *CPicIOFile::GetS(char *string, int n)
{
    if (!m_stream || !string || n <= 0)
        return nullptr;
    return std::fgets(string, n, m_stream);
}

long CPicIOFile::Scanf(const char *format, void *output)
{
    if (!m_stream || !format)
        return -1;
    return std::fscanf(m_stream, format, output);
}
