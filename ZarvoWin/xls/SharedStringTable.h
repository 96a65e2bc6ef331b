#pragma once
#include "LongString.h"
#include "Record.h"

#include <vector>

namespace Biff8 {

// The workbook's table of unique cell texts. A string that crosses the end
// of a chunk goes on in the next CONTINUE record after one byte repeating
// its width flag; neither a string header nor a surrogate pair is ever cut.
class SharedStringTable : public Record
{
public:
    SharedStringTable() : Record(0x00FC, 8) {}

    std::uint32_t total = 0;
    std::uint32_t unique = 0;
    std::vector<LongString> strings;

    void clear();
    // Computes the split points with the size.
    std::uint32_t DataSize() override;
    std::uint32_t RecordSize() override;
    std::uint32_t Write(Buffer &out) override;
    // Where CONTINUE records begin, as offsets into the data part.
    const std::vector<std::uint32_t> &splitPoints() const { return m_splitPoints; }

protected:
    void storeData(std::uint8_t *p) override;

private:
    // Lays the strings out; stores them at p unless p is null.
    std::uint32_t layout(std::uint8_t *p);

    std::vector<std::uint32_t> m_splitPoints;
};

} // namespace Biff8
