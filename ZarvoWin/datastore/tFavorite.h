#pragma once
#include <QString>

// One favourite as the favourites tree reads it: its id, its project and
// activity (-1 when the project store does not know them), a fourth number
// kept for the callers that carry one, and its title.
struct tFavorite
{
    int Id = -1;
    int IdProject = -1;
    int IdActivite = -1;
    int Extra = 0;
    QString Title;
};
