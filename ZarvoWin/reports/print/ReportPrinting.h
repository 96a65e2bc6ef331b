#pragma once
#include <QPageSize>
#include <QString>

#include <functional>
#include <memory>

class CReportGrid;
class QPrinter;
struct tReportDefinition;

// Printing a report's pages, without a window: the report's paper written into them and read
// back from what the print dialog chose, the pages a print range covers,
// and the pages drawn on a printer from the paper's edge.
namespace ReportPrinting {

// Copies the settings a print dialog shows and changes (printer, paper,
// orientation, copies, output file, colour, duplex).
void CopySettings(const QPrinter &from, QPrinter &to);

// The PDF file a print to a file proposes for the report `reportName`:
// its name made fit for a file name, with ".pdf", in the folder of the
// file printed last (`lastFile`), else in `defaultFolder`. A name with
// nothing left gives the file of `fallbackName`.
QString PdfFileName(const QString &lastFile, const QString &reportName, const QString &defaultFolder,
                    const QString &fallbackName);

// The definition's paper as a page size (tenths of a millimetre); an
// invalid size for a paper of size 0.
QPageSize PageSizeOf(const tReportDefinition &definition);
// The report's paper and orientation written into `printer`.
void WritePaper(const tReportDefinition &definition, QPrinter &printer);
// The printer's paper and orientation read back into the definition;
// true when anything changed. A paper whose size is 0 or less is left
// alone.
bool ReadPaper(const QPrinter &printer, tReportDefinition &definition);

// The pages printed: the dialog's range (both ends clamped to the pages),
// the selection (the first visible page, and the next one when several
// pages show), or every page.
enum class Range { AllPages, PageRange, Selection };
struct tPages
{
    int First = 1;
    int Last = 0;
};
tPages PagesToPrint(Range range, int fromPage, int toPage, int firstVisible, bool severalPages, int pageCount);

// What a print came to: printed; a printer that would not start; or a PDF
// file that could not be written, `Cause` saying why (the system's words).
struct tPrintOutcome
{
    enum Result { Printed, PrinterFailed, FileFailed };
    Result Outcome = Printed;
    QString Cause;
};

// Draws the grid's pages `pages` on `printer` in the printer context, from
// the paper's edge. A printer set to PDF writes its file as a whole or not
// at all: through a file beside it, put in its place only once every page
// is written, so that a full disk or a folder that takes no file leaves
// the one there before as it was.
tPrintOutcome PrintPages(CReportGrid &grid, QPrinter &printer, tPages pages);

} // namespace ReportPrinting
