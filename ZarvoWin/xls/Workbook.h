#pragma once
#include "SharedStringTable.h"
#include "BOF.h"
#include "BoundSheet.h"
#include "EOFRecord.h"
#include "Font.h"
#include "Format.h"
#include "Style.h"
#include "Window1.h"
#include "XF.h"

#include <vector>

namespace Biff8 {

// The workbook-globals substream: fonts, number formats, cell formats,
// styles, the sheet directory and the shared string table.
class Workbook
{
public:
    using Window1 = Biff8::Window1;
    using Font = Biff8::Font;
    using Format = Biff8::Format;
    using XF = Biff8::XF;
    using Style = Biff8::Style;
    using BoundSheet = Biff8::BoundSheet;
    using SharedStringTable = Biff8::SharedStringTable;

    // Formats below this index are built in: held but never written.
    static constexpr std::uint16_t FirstUserFormat = 164;

    BOF bof{BOF::Globals};
    Window1 window1;
    std::vector<Font> fonts;
    std::vector<XF> xfs;
    std::vector<Style> styles;
    std::vector<Format> formats;
    std::vector<BoundSheet> boundSheets;
    SharedStringTable sst;
    EOFRecord eof;

    // Bytes that Write produces.
    std::uint32_t Size();
    std::uint32_t Write(Buffer &out);
};

} // namespace Biff8
