#include "CReportPapers.h"

#include "Texts.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

CReportPapers::CReportPapers() = default;
CReportPapers::~CReportPapers() = default;

CReportPapers &CReportPapers::Instance()
{
    static CReportPapers papers;
    return papers;
}

QPrinter &CReportPapers::Printer()
{
    if (!m_printer) {
        if (m_source) {
            m_printer = m_source();
        } else {
            const QPrinterInfo info = QPrinterInfo::defaultPrinter();
            if (!info.isNull())
                m_printer = std::make_unique<QPrinter>(info);
        }
        m_installed = bool(m_printer);
        if (!m_printer)
            m_printer = std::make_unique<QPrinter>();
    }
    return *m_printer;
}

QPrinter *CReportPapers::InstalledPrinter()
{
    Printer();
    return m_installed ? m_printer.get() : nullptr;
}

QPrinter *CReportPapers::PrintTarget()
{
    QPrinter &printer = Printer();
    if (m_installed)
        return &printer;
    if (!m_fileTarget)
        return nullptr;
    printer.setOutputFormat(QPrinter::PdfFormat);
    return &printer;
}

bool CReportPapers::DialogOffersFileTarget()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return true;
#else
    // The system's dialog prints to a file only through a printer driver.
    return false;
#endif
}

void CReportPapers::SetPrinterSource(PrinterSource source)
{
    m_source = std::move(source);
    m_printer.reset();
    m_installed = false;
}

std::vector<CReportPapers::tPaper> CReportPapers::FallbackPapers()
{
    return {{Platform::Texts::get(434), 9, 2100, 2970}, {Platform::Texts::get(435), 1, 2159, 2794}};
}

std::vector<CReportPapers::tPaper> CReportPapers::Papers()
{
    std::vector<tPaper> papers;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
        Printer();
        for (const QPageSize &size : info.supportedPageSizes()) {
            const QSizeF mm = size.size(QPageSize::Millimeter);
            tPaper paper;
            paper.Name = size.name();
            paper.Code = qint16(size.windowsId());
            paper.Width = qRound(mm.width() * 10);
            paper.Height = qRound(mm.height() * 10);
            papers.push_back(paper);
        }
    }
    if (papers.empty())
        papers = FallbackPapers();
    return papers;
}
