#include "ReportPrinting.h"

#include "CGreyPaintDevice.h"
#include "CReportGrid.h"
#include "MakeFileName.h"
#include "tReportDefinition.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <functional>

namespace ReportPrinting {

void CopySettings(const QPrinter &from, QPrinter &to)
{
    to.setOutputFormat(from.outputFormat());
    if (from.outputFormat() == QPrinter::NativeFormat)
        to.setPrinterName(from.printerName());
    to.setOutputFileName(from.outputFileName());
    to.setPageLayout(from.pageLayout());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setColorMode(from.colorMode());
    to.setDuplex(from.duplex());
    to.setDocName(from.docName());
    to.setFullPage(true);
}

QString PdfFileName(const QString &lastFile, const QString &reportName, const QString &defaultFolder,
                    const QString &fallbackName)
{
    QString name = MakeFileName(reportName).trimmed();
    if (name.isEmpty())
        name = MakeFileName(fallbackName).trimmed();
    const QString folder = lastFile.isEmpty() ? defaultFolder : QFileInfo(lastFile).absolutePath();
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

QPageSize PageSizeOf(const tReportDefinition &definition)
{
    if (definition.PaperWidth <= 0 || definition.PaperHeight <= 0)
        return QPageSize();
    const QSizeF size(definition.PaperWidth / 10.0, definition.PaperHeight / 10.0);
    return QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

void WritePaper(const tReportDefinition &definition, QPrinter &printer)
{
    const QPageSize size = PageSizeOf(definition);
    if (size.isValid())
        printer.setPageSize(size);
    printer.setPageOrientation(definition.Portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setFullPage(true);
}

bool ReadPaper(const QPrinter &printer, tReportDefinition &definition)
{
    bool changed = false;
    const QPageLayout layout = printer.pageLayout();
    const QPageSize size = layout.pageSize();
    // The paper's own size, upright, in tenths of a millimetre.
    const QSizeF millimetres = size.isValid() ? size.size(QPageSize::Millimeter) : QSizeF();
    const int width = int(std::lround(std::min(millimetres.width(), millimetres.height()) * 10));
    const int height = int(std::lround(std::max(millimetres.width(), millimetres.height()) * 10));
    if (width > 0 && height > 0 && width <= 32767 && height <= 32767
        && (width != definition.PaperWidth || height != definition.PaperHeight)) {
        definition.PaperWidth = qint16(width);
        definition.PaperHeight = qint16(height);
        const int code = size.windowsId();
        if (code > 0)
            definition.PaperSize = qint16(code);
        changed = true;
    }
    const bool portrait = layout.orientation() == QPageLayout::Portrait;
    if (portrait != definition.Portrait) {
        definition.Portrait = portrait;
        changed = true;
    }
    return changed;
}

tPages PagesToPrint(Range range, int fromPage, int toPage, int firstVisible, bool severalPages, int pageCount)
{
    tPages pages;
    if (pageCount <= 0)
        return tPages{1, 0};
    switch (range) {
    case Range::PageRange:
        pages.First = std::clamp(fromPage, 1, pageCount);
        pages.Last = std::clamp(toPage, 1, pageCount);
        if (fromPage <= 0 && toPage <= 0)
            pages = tPages{1, pageCount};
        break;
    case Range::Selection:
        pages.First = std::clamp(firstVisible, 1, pageCount);
        pages.Last = std::min(pages.First + (severalPages ? 1 : 0), pageCount);
        break;
    case Range::AllPages:
        pages = tPages{1, pageCount};
        break;
    }
    if (pages.Last < pages.First)
        std::swap(pages.First, pages.Last);
    return pages;
}

namespace {

// Draws the pages on a device already set up; false when a new page could
// not be started.
bool drawPages(CReportGrid &grid, QPaintDevice &device, QPainter &painter, tPages pages,
               const std::function<bool()> &newPage)
{
    grid.SetUpPrintContext(CReportPrintLayout::PrinterContext, &device, QRect());
    for (int page = pages.First; page <= pages.Last; ++page) {
        if (page > pages.First && !newPage())
            return false;
        grid.DrawPage(CReportPrintLayout::PrinterContext, painter, page);
    }
    return true;
}

tPrintOutcome printPdf(CReportGrid &grid, const QPrinter &printer, tPages pages)
{
    QSaveFile file(printer.outputFileName());
    if (!file.open(QIODevice::WriteOnly))
        return {tPrintOutcome::FileFailed, file.errorString()};
    bool drawn = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(printer.resolution());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        // The pages are drawn from the paper's edge, as on a printer.
        QPageLayout layout = printer.pageLayout();
        layout.setMinimumMargins(QMarginsF());
        layout.setMargins(QMarginsF());
        layout.setMode(QPageLayout::FullPageMode);
        writer.setPageLayout(layout);
        QPainter painter;
        if (painter.begin(&writer)) {
            const auto newPage = [&writer] { return writer.newPage(); };
            if (printer.colorMode() == QPrinter::GrayScale) {
                // The writer knows no greyscale: the pages reach it greyed.
                CGreyPaintDevice grey(painter, writer);
                QPainter greyPainter;
                drawn = greyPainter.begin(&grey) && drawPages(grid, grey, greyPainter, pages, newPage);
                drawn = (!greyPainter.isActive() || greyPainter.end()) && drawn;
            } else {
                drawn = drawPages(grid, writer, painter, pages, newPage);
            }
            drawn = painter.end() && drawn;
        }
    }
    // A write that failed while the pages were buffered (a full disk) is
    // told by the last flush, which the commit does not check.
    const bool written = file.flush() && file.error() == QFileDevice::NoError;
    if (!drawn || !written) {
        const QString cause = file.error() != QFileDevice::NoError ? file.errorString() : QString();
        file.cancelWriting();
        return {tPrintOutcome::FileFailed, cause};
    }
    if (!file.commit())
        return {tPrintOutcome::FileFailed, file.errorString()};
    return {};
}

} // namespace

tPrintOutcome PrintPages(CReportGrid &grid, QPrinter &printer, tPages pages)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printPdf(grid, printer, pages);
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return {tPrintOutcome::PrinterFailed, QString()};
    const bool drawn = drawPages(grid, printer, painter, pages, [&printer] { return printer.newPage(); });
    if (!painter.end() || !drawn)
        return {tPrintOutcome::PrinterFailed, QString()};
    return {};
}

} // namespace ReportPrinting
