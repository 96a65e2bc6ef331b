#pragma once
#include <QString>

// One favourite as the favourites lists read it: its id, its project and
// activity (in the project order -1 when the project store does not know
// them), a fourth number kept for the callers that carry one, its title, and
// in the activity order the name of its activity.
struct tFavorite
{
    int Id = -1;
    int IdProject = -1;
    int IdActivite = -1;
    int Extra = 0;
    QString Title;
    QString ActivityName;
};
