#include "CDrawSection.h"

CDrawSection::~CDrawSection()
{
    Empty();
}

void CDrawSection::Empty()
{
    for (auto &object : m_objects)
        object.reset();
    m_objects.clear();
    m_height = 0;
}
