#pragma once

// A pane that takes the commands "Modifier" (32789) and "Supprimer" (32791)
// when it (or a widget inside it) has the focus.
class CPaneCommandTarget
{
public:
    virtual ~CPaneCommandTarget() = default;
    virtual bool HandlesCommand(int id) const = 0;
    virtual void OnCommand(int id) = 0;
};
