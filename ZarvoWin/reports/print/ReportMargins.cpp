#include "ReportMargins.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CDrawSection.h"
#include "CReportTemplate.h"
#include "Formatter.h"
#include "ReportCentimetres.h"
#include "Texts.h"
#include "tReportDefinition.h"

#include <algorithm>

namespace ReportMargins {

int NeededHeight(const CReportTemplate *tpl)
{
    if (!tpl || tpl->GetLoadState() != CReportTemplate::Loaded)
        return LeastRoom;
    qint64 needed = 0;
    for (int code : {CReportTemplate::Header, CReportTemplate::Title, CReportTemplate::DataHeader,
                     CReportTemplate::DataLineEven, CReportTemplate::Footer}) {
        if (const CDrawSection *section = tpl->GetSection(code))
            needed += std::max(0, section->GetHeight());
    }
    return int(std::clamp<qint64>(needed, LeastRoom, 1'000'000'000));
}

namespace {

// One way across the paper: the margins `first` and `second` of a paper
// `paper` long, where the report needs `needed`.
tCheck CheckWay(int paper, int first, int second, int firstSide, int secondSide, int needed)
{
    tCheck check;
    check.Paper = paper;
    // A report the paper could not hold without margins is not theirs to
    // make room for: they leave the least room.
    check.Needed = needed <= paper ? needed : std::min(LeastRoom, paper);
    const qint64 taken = qint64(std::max(0, first)) + std::max(0, second);
    check.Room = int(std::clamp<qint64>(qint64(paper) - taken, 0, paper));
    if (taken > 0 && check.Room < check.Needed)
        check.TooLarge = second > first ? secondSide : firstSide;
    return check;
}

} // namespace

tCheck Check(int width, int height, const int margins[4], int neededHeight)
{
    const tCheck across = CheckWay(width, margins[Left], margins[Right], Left, Right, LeastRoom);
    if (across.TooLarge != NoSide)
        return across;
    const tCheck down = CheckWay(height, margins[Top], margins[Bottom], Top, Bottom, std::max(LeastRoom, neededHeight));
    if (down.TooLarge != NoSide)
        return down;
    return tCheck();
}

tCheck Check(const tReportDefinition &definition, const CReportTemplate *tpl)
{
    const int width = std::max<int>(0, definition.Portrait ? definition.PaperWidth : definition.PaperHeight);
    const int height = std::max<int>(0, definition.Portrait ? definition.PaperHeight : definition.PaperWidth);
    const int margins[4] = {definition.MargeLeft, definition.MargeTop, definition.MargeRight, definition.MargeBottom};
    return Check(width, height, margins, NeededHeight(tpl));
}

QString Message(const tCheck &check, QChar separator)
{
    // "La marge de gauche est trop grande...", then right, top, bottom.
    static const Platform::TextId texts[4] = {26103, 26105, 26104, 26106};
    if (check.TooLarge < Left || check.TooLarge > Bottom)
        return QString();
    return Platform::Formatter::sprintf(Platform::Texts::get(texts[check.TooLarge]),
                                        {ReportCentimetres::Format(check.Room, separator),
                                         ReportCentimetres::Format(check.Paper, separator),
                                         ReportCentimetres::Format(check.Needed, separator)});
}

QChar UserSeparator()
{
    const CConfiguration *configuration = CAppData::Configuration();
    const QString point = configuration ? configuration->Locale().decimalPoint() : QString();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

} // namespace ReportMargins
