#pragma once
#include <QString>

class QPainter;
class QWidget;

// The caption band the tray's frameless windows draw for themselves: a
// gradient in the look's highlight colour with the title in bold, cut with
// "..." before the caption buttons, and the window's edge.
namespace TrayCaption {

// Where the title begins, and the room it keeps before the caption buttons.
constexpr int TextLeft = 6;
constexpr int TextGap = 5;

// Fills the window's background and its band `height` high; the title ends
// at `textRight`; with `edge` a one-pixel frame around the window.
void Paint(QPainter &painter, const QWidget &window, int height, const QString &title, int textRight, bool edge);

} // namespace TrayCaption
