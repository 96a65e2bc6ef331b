#include "ExcelFile.h"
#include "StringIndex.h"

namespace Biff8 {

ExcelFile::ExcelFile() = default;

ExcelFile::~ExcelFile()
{
    // A grid kept by a caller must not reach a workbook that is gone.
    for (auto &grid : m_grids)
        grid->detach();
}

void ExcelFile::NewWorkbook()
{
    m_globals = Workbook();
    m_worksheets.clear();
    m_globals.fonts.emplace_back();
    m_globals.xfs.push_back(Workbook::defaultCellXF());
    m_globals.styles.emplace_back();
    m_globals.boundSheets.emplace_back();
    m_worksheets.emplace_back();
    for (auto &grid : m_grids)
        grid->detach();
    m_grids.clear();
    for (std::size_t i = 0; i < m_worksheets.size(); ++i)
        m_grids.push_back(std::make_shared<ExcelWorksheet>(this, int(i), m_worksheets[i].colInfos));
}

bool ExcelFile::CreateStorage(const QString &path)
{
    m_storage.reset();
    m_storage = CompoundFile::Create(path);
    return m_storage != nullptr;
}

int ExcelFile::CreateWorkbookStream()
{
    if (!m_storage)
        return -1;
    return m_storage->CreateStream(QString::fromLatin1(StreamName)) ? 1 : -1;
}

bool ExcelFile::BuildStream(Buffer &out)
{
    out.clear();
    // Sheet records and shared strings are rebuilt from the grids each time.
    m_worksheets.clear();
    m_worksheets.resize(m_grids.size());
    StringIndex strings(m_globals.sst);
    for (std::size_t i = 0; i < m_grids.size(); ++i)
        m_worksheets[i].build(*m_grids[i], int(i), strings, m_globals);

    // Each sheet starts where the previous one ends; placing a sheet also
    // sets its Index and DBCell positions.
    std::uint32_t start = m_globals.Size();
    for (std::size_t i = 0; i < m_worksheets.size(); ++i) {
        if (i < m_globals.boundSheets.size())
            m_globals.boundSheets[i].position = start;
        start = m_worksheets[i].place(start);
    }

    const std::uint32_t total = start;
    out.reserve(total);
    std::uint32_t written = m_globals.Write(out);
    for (Worksheet &sheet : m_worksheets)
        written += sheet.Write(out);
    return written == total && out.size() == total;
}

bool ExcelFile::SaveWorkbook()
{
    if (!m_storage)
        return false;
    Buffer stream;
    if (!BuildStream(stream))
        return false;
    return m_storage->WriteStream(QString::fromLatin1(StreamName), stream.data(), stream.size());
}

} // namespace Biff8
