#pragma once

#include "CDrawObject.h"

#include <memory>
#include <vector>

// One section of a report template: its drawing objects in file order and
// its height in tenths of a millimetre.
class CDrawSection
{
public:
    CDrawSection() = default;
    ~CDrawSection();
    CDrawSection(const CDrawSection &) = delete;
    CDrawSection &operator=(const CDrawSection &) = delete;

    // Deletes the objects front to back and sets the height to 0.
    void Empty();
    void Append(std::unique_ptr<CDrawObject> object) { m_objects.push_back(std::move(object)); }

    const std::vector<std::unique_ptr<CDrawObject>> &Objects() const { return m_objects; }
    int GetHeight() const { return m_height; }
    void SetHeight(int height) { m_height = height; }

private:
    std::vector<std::unique_ptr<CDrawObject>> m_objects;
    int m_height = 0;
};
