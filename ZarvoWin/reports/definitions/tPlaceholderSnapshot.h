#pragma once
#include <QDate>
#include <QString>
#include <array>

// Every value of the report placeholder table at one moment, taken and
// put back by a drawer that fills the table for a drawing of its own (the
// template preview), so that the report being drawn finds its values as
// they were.
struct tPlaceholderSnapshot
{
    bool initialised = false;
    std::array<QString, 6> values;
    QDate today;
    QDate start;
    QDate end;
    int extraValue = 0;

    friend bool operator==(const tPlaceholderSnapshot &, const tPlaceholderSnapshot &) = default;
};
