#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

class QPrinter;

// The printer settings the program keeps for its whole run (the layout
// page and the printing share them), made from the default printer the
// first time they are needed, and the papers that printer offers.
class CReportPapers
{
public:
    struct tPaper
    {
        QString Name;
        qint16 Code = 0;  // the paper's number in the printer's list (9 A4, 1 Letter)
        int Width = 0;    // tenths of a millimetre, portrait
        int Height = 0;
    };

    static CReportPapers &Instance();

    // The kept printer settings; made from the default printer on the
    // first call (plain settings when no printer is installed).
    QPrinter &Printer();
    // The kept settings when a printer is installed; null otherwise.
    QPrinter *InstalledPrinter();
    // The kept settings when the print dialog has somewhere to print: a
    // printer installed, or else a PDF file where the dialog offers one
    // (the settings then print to a file). Null when there is no target
    // at all.
    QPrinter *PrintTarget();
    // Whether the print dialog offers printing to a PDF file: the toolkit's
    // own dialog always does (Linux and the other desktops it draws the
    // dialog for); tests set it.
    bool OffersFileTarget() const { return m_fileTarget; }
    void SetFileTargetOffered(bool offered) { m_fileTarget = offered; }
    // Where the settings come from the first time: the default printer,
    // or for tests a printer of their own (null: none installed). Setting
    // it forgets the kept settings.
    using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
    void SetPrinterSource(PrinterSource source);
    // The default printer's papers; A4 and Letter when there is no printer
    // or it lists none.
    std::vector<tPaper> Papers();
    // The two papers offered without a printer.
    static std::vector<tPaper> FallbackPapers();

private:
    CReportPapers();
    ~CReportPapers();
    std::unique_ptr<QPrinter> m_printer;
    bool m_installed = false;
    bool m_fileTarget = DialogOffersFileTarget();
    PrinterSource m_source;

    static bool DialogOffersFileTarget();
};
