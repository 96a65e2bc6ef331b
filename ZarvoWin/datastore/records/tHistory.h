#pragma once

// One recently used combination of project, activity and rate ids.
struct tHistory
{
    int IdProjet = -1;
    int IdActivite = -1;
    int IdTauxHoraire = -1;

    bool operator==(const tHistory &o) const
    {
        return IdProjet == o.IdProjet && IdActivite == o.IdActivite
            && IdTauxHoraire == o.IdTauxHoraire;
    }
};
