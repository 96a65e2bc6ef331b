#pragma once
#include <QString>
#include <QtGlobal>
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
    // first call.
    QPrinter &Printer();
    // The default printer's papers; A4 and Letter when there is no printer
    // or it lists none.
    std::vector<tPaper> Papers();
    // The two papers offered without a printer.
    static std::vector<tPaper> FallbackPapers();

private:
    CReportPapers();
    ~CReportPapers();
    std::unique_ptr<QPrinter> m_printer;
};
