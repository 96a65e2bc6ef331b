#pragma once

// A calendar view that takes entry commands (add, edit, delete, copy,
// cut, paste, resume, cancel a drag...) by their command ids. The calendar
// window offers each command to its shown view first.
class CViewCommandTarget
{
public:
    virtual ~CViewCommandTarget() = default;
    virtual bool HandlesCommand(int id) const = 0;
    virtual bool IsCommandEnabled(int id) const = 0;
    virtual void OnCommand(int id) = 0;
};
