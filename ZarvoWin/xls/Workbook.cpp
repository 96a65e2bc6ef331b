#include "Workbook.h"

namespace Biff8 {

XF Workbook::styleXF(std::uint32_t i)
{
    XF x;
    if (i > 0) {
        // Every attribute but the font is left to the cells.
        x.usedAttributes = 0xF4;
    }
    return x;
}

XF Workbook::defaultCellXF()
{
    XF x;
    x.typeProtection = XF::CellType;
    return x;
}

std::uint16_t Workbook::fileXFIndex(std::uint32_t index) const
{
    if (index >= xfs.size())
        index = 0;
    return std::uint16_t(StyleXFCount + index);
}

std::uint32_t Workbook::Size()
{
    std::uint32_t size = bof.RecordSize() + window1.RecordSize();
    for (Font &f : fonts)
        size += f.RecordSize();
    for (Format &f : formats)
        if (f.index >= FirstUserFormat)
            size += f.RecordSize();
    size += StyleXFCount * XF().RecordSize();
    for (XF &x : xfs)
        size += x.RecordSize();
    for (Style &s : styles)
        size += s.RecordSize();
    for (BoundSheet &b : boundSheets)
        size += b.RecordSize();
    return size + sst.RecordSize() + eof.RecordSize();
}

std::uint32_t Workbook::Write(Buffer &out)
{
    std::uint32_t n = bof.Write(out) + window1.Write(out);
    for (Font &f : fonts)
        n += f.Write(out);
    for (Format &f : formats)
        if (f.index >= FirstUserFormat)
            n += f.Write(out);
    for (std::uint32_t i = 0; i < StyleXFCount; ++i)
        n += styleXF(i).Write(out);
    for (XF &x : xfs)
        n += x.Write(out);
    for (Style &s : styles)
        n += s.Write(out);
    for (BoundSheet &b : boundSheets)
        n += b.Write(out);
    return n + sst.Write(out) + eof.Write(out);
}

} // namespace Biff8
