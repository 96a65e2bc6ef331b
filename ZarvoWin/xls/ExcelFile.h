#pragma once
#include "CompoundFile.h"
#include "ExcelWorksheet.h"
#include "Workbook.h"
#include "Worksheet.h"

#include <QString>

#include <memory>
#include <vector>

namespace Biff8 {

// One workbook filled cell by cell through its sheet grids and saved as the
// stream "Workbook" of a compound file. Throws nothing and shows nothing:
// every operation reports failure through its result.
class ExcelFile
{
public:
    static constexpr const char *StreamName = "Workbook";

    ExcelFile();
    ~ExcelFile();
    ExcelFile(const ExcelFile &) = delete;
    ExcelFile &operator=(const ExcelFile &) = delete;

    // Resets to one sheet "Sheet1" with the default font, cell format
    // (index 0) and style; the new grid is 1 by 1 with one empty cell.
    void NewWorkbook();

    Workbook &Globals() { return m_globals; }
    std::vector<Worksheet> &WorksheetRecords() { return m_worksheets; }
    const std::vector<std::shared_ptr<ExcelWorksheet>> &Worksheets() const { return m_grids; }

    // Creates the compound file for path, releasing any held one first; the
    // previous file there stays until a save succeeds. False on failure.
    bool CreateStorage(const QString &path);
    // Takes a storage the caller made.
    void SetStorage(std::unique_ptr<CompoundFile> storage) { m_storage = std::move(storage); }
    void ReleaseStorage() { m_storage.reset(); }
    bool HasStorage() const { return m_storage != nullptr; }

    // Creates the stream "Workbook": 1, or -1 on failure.
    int CreateWorkbookStream();
    // Builds the stream and writes it; true when the file holds it.
    bool SaveWorkbook();
    // Rebuilds the sheet records and lays the whole stream out in out.
    // False only if the records do not add up to their sizes.
    bool BuildStream(Buffer &out);

private:
    std::unique_ptr<CompoundFile> m_storage;
    Workbook m_globals;
    std::vector<Worksheet> m_worksheets;
    std::vector<std::shared_ptr<ExcelWorksheet>> m_grids;
};

} // namespace Biff8
