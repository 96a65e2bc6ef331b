#pragma once
#include <QIcon>
#include <functional>

// What the entry dialogs take from the program around them, registered
// once by the program (tests set their own and put it back): the pictures
// of the project types in the project combo, and the record editors that
// the "Ajouter" buttons open. Each editor runs on a new record and returns
// the id of the record it saved, -1 when none was saved; an editor left
// unset keeps its "Ajouter" button disabled.
struct EntryDialogServices
{
    // The picture of an image index of the application's 16-pixel list
    // (the project type images); unset: no pictures.
    std::function<QIcon(int image)> projectImage;
    std::function<int()> newProject;
    std::function<int()> newActivity;
    std::function<int()> newRate;

    static EntryDialogServices &Registered();
};
