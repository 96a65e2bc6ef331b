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
//
// Cell formats: every workbook starts its XF records with the built-in
// style formats, the Normal style first, which no cell may use. They are
// written ahead of the list xfs and are not part of it, so that index i of
// xfs, the index a cell and the format manager hold, is the XF record
// StyleXFCount + i of the file (fileXFIndex is that mapping). xfs[0] is the
// default cell format.
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
    // Style formats every workbook holds before its cell formats.
    static constexpr std::uint32_t StyleXFCount = 15;

    BOF bof{BOF::Globals};
    Window1 window1;
    std::vector<Font> fonts;
    std::vector<XF> xfs;
    std::vector<Style> styles;
    std::vector<Format> formats;
    std::vector<BoundSheet> boundSheets;
    SharedStringTable sst;
    EOFRecord eof;

    // The built-in style format i (0 the Normal style, 1 to 14 the outline
    // level styles, which only name the default font).
    static XF styleXF(std::uint32_t i);
    // The default cell format of a new workbook.
    static XF defaultCellXF();
    // The XF record in the file of cell format index; an index the list
    // does not hold gives the default cell format.
    std::uint16_t fileXFIndex(std::uint32_t index) const;

    // Bytes that Write produces.
    std::uint32_t Size();
    std::uint32_t Write(Buffer &out);
};

} // namespace Biff8
