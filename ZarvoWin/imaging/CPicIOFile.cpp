#include "CPicIOFile.h"

#include <QFile>

CPicIOFile::CPicIOFile(FILE *fp)
    : m_fp(fp), m_closeFile(fp == nullptr)
{
}

CPicIOFile::~CPicIOFile()
{
    Close();
}

bool CPicIOFile::Open(const QString &path, const QString &mode)
{
    if (m_fp)
        return false;
    m_fp = std::fopen(QFile::encodeName(path).constData(), mode.toLatin1().constData());
    if (!m_fp)
        return false;
    m_closeFile = true;
    return true;
}

bool CPicIOFile::Close()
{
    int ret = 0;
    if (m_fp && m_closeFile) {
        ret = std::fclose(m_fp);
        m_fp = nullptr;
    }
    return ret == 0;
}

size_t CPicIOFile::Read(void *buffer, size_t size, size_t count)
{
    if (!m_fp || !buffer)
        return 0;
    return std::fread(buffer, size, count, m_fp);
}

size_t CPicIOFile::Write(const void *buffer, size_t size, size_t count)
{
    if (!m_fp || !buffer)
        return 0;
    return std::fwrite(buffer, size, count, m_fp);
}

bool CPicIOFile::Seek(int64_t offset, int origin)
{
    if (!m_fp)
        return false;
    const int whence = origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET;
    return fseeko(m_fp, off_t(offset), whence) == 0;
}

int64_t CPicIOFile::Tell()
{
    if (!m_fp)
        return 0;
    return int64_t(ftello(m_fp));
}

int64_t CPicIOFile::Size()
{
    if (!m_fp)
        return -1;
    const off_t pos = ftello(m_fp);
    fseeko(m_fp, 0, SEEK_END);
    const off_t size = ftello(m_fp);
    fseeko(m_fp, pos, SEEK_SET);
    return int64_t(size);
}

bool CPicIOFile::Flush()
{
    if (!m_fp)
        return false;
    return std::fflush(m_fp) == 0;
}

bool CPicIOFile::Eof()
{
    if (!m_fp)
        return true;
    return std::feof(m_fp) != 0;
}

long CPicIOFile::Error()
{
    if (!m_fp)
        return -1;
    return std::ferror(m_fp);
}

bool CPicIOFile::PutC(uint8_t c)
{
    if (!m_fp)
        return false;
    return std::fputc(c, m_fp) == c;
}

long CPicIOFile::GetC()
{
    if (!m_fp)
        return -1;
    return std::getc(m_fp);
}

char *CPicIOFile::GetS(char *string, int n)
{
    if (!m_fp || !string || n <= 0)
        return nullptr;
    return std::fgets(string, n, m_fp);
}

long CPicIOFile::Scanf(const char *format, void *output)
{
    if (!m_fp || !format)
        return -1;
    return std::fscanf(m_fp, format, output);
}
