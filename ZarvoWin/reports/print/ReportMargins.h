#pragma once
#include <QChar>
#include <QString>

class CReportTemplate;
struct tReportDefinition;

// Whether a report's margins leave its pages room for the report: across,
// a width of at least LeastRoom; down, the height one page of the
// template needs (its page heading, the report's title, the column
// headings, one line and the page's footer), and at least LeastRoom. A
// template taller than the paper itself is not the margins' doing: the
// margins then only have to leave LeastRoom. Lengths are tenths of a
// millimetre, the paper as the pages are laid out (its width across,
// landscape included).
namespace ReportMargins {

// The sides, in the order the margins are kept everywhere.
enum Side { NoSide = -1, Left = 0, Top = 1, Right = 2, Bottom = 3 };

constexpr int LeastRoom = 200;

struct tCheck
{
    // The margin too large: the larger of the two that take the room
    // (left before right, top before bottom when equal); NoSide when the
    // margins leave room.
    int TooLarge = NoSide;
    int Room = 0;   // what the two margins leave of the paper
    int Paper = 0;  // the paper's length that way
    int Needed = 0; // what the report needs that way
};

// The height one page of `tpl` needs; LeastRoom without a loaded template.
int NeededHeight(const CReportTemplate *tpl);
// Margins left, top, right and bottom on a paper `width` across and
// `height` down, for a report whose pages need `neededHeight` down.
tCheck Check(int width, int height, const int margins[4], int neededHeight);
// The definition's margins on its paper, laid out in its orientation.
tCheck Check(const tReportDefinition &definition, const CReportTemplate *tpl);
// What the user is told: which margin is too large, what it leaves of the
// paper and what the report needs, in centimetres with `separator`. Empty
// when the margins leave room.
QString Message(const tCheck &check, QChar separator);
// The decimal separator of the user's formats ('.' without settings).
QChar UserSeparator();

} // namespace ReportMargins
