#pragma once
#include <QString>

// What a rich tooltip (CMyToolTipCtrl) shows: a bold title, a description
// of one or more lines, and the index of its image.
struct tToolTipContent
{
    QString title;
    QString description;
    int image = 0;

    bool operator==(const tToolTipContent &other) const
    {
        return title == other.title && description == other.description && image == other.image;
    }
    bool operator!=(const tToolTipContent &other) const { return !(*this == other); }
};
