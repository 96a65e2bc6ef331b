#include "CPicFile.h"

CPicFile::~CPicFile() = default;

bool CPicFile::PutC(uint8_t c)
{
    return Write(&c, 1, 1) == 1;
}
