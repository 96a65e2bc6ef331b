#pragma once

// A report that was on screen when the program closed or changed user:
// its id, whether it showed its print layout, and its zoom mode (0 several
// pages, 1 one page, 2 actual size, 3 window width).
struct tOnScreenReport
{
    static constexpr int DefaultZoom = 2;

    int Id = -1;
    bool Preview = false;
    int Zoom = DefaultZoom;

    friend bool operator==(const tOnScreenReport &, const tOnScreenReport &) = default;
};
