#pragma once
#include <QPalette>

// The visual styles ("ApplicationLook" 210 to 218) of both programs: Qt's
// Fusion style with one palette per look, so the main window and the tray
// look alike.
class LookPalette
{
public:
    // The look used when none is stored.
    static constexpr int DefaultLook = 214;

    // The palette of a look; any unknown look gets the blue one.
    static QPalette ForLook(int look);
    // Puts Fusion and the look's palette on the whole application.
    static void Apply(int look);
};
