#pragma once
#include "Record.h"

namespace Biff8 {

// End of a substream.
class EOFRecord : public Record
{
public:
    EOFRecord() : Record(0x000A, 0) {}
protected:
    void storeData(std::uint8_t *) override {}
};

} // namespace Biff8
