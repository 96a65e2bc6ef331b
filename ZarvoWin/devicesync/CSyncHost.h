#pragma once

class CViewSynchro;
class ImageList;

// What the review of a device synchronisation needs of the application,
// which the main frame implements: a tab of its document area for the
// review, and the application's small pictures. The review never reaches
// the shell otherwise.
class CSyncHost
{
public:
    virtual ~CSyncHost() = default;

    // Shows the review as a tab of the document area and makes it the
    // active one; its title is the review's window title.
    virtual void ShowSyncReview(CViewSynchro *view) = 0;
    // Closes the review's tab (the review then ends as "Annuler" unless it
    // was ended already).
    virtual void CloseSyncReview(CViewSynchro *view) = 0;
    // The application's 16-pixel pictures (project types); null for none.
    virtual const ImageList *SmallImages() const = 0;
};
