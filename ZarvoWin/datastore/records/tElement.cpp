#include "tElement.h"

#include "UiUtilities.h"

tElement::tElement()
{
    Color = GetRandomLightColor();
}

void tElement::Reset()
{
    *this = tElement();
}

bool tElement::IsDifferent(const tElement &o) const
{
    return Id != o.Id || Nom != o.Nom || Commentaire != o.Commentaire || Title != o.Title
        || Color != o.Color || IdExtra != o.IdExtra || Activity != o.Activity
        || IdTauxHoraire != o.IdTauxHoraire || Valeur != o.Valeur || Parent != o.Parent
        || Type != o.Type;
}
