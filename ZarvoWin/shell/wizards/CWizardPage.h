#pragma once
#include "CPrefsSubDlg.h"

#include <QString>

class QBoxLayout;
class QLabel;
class QVBoxLayout;

// What the pages of the first-run and new-user wizards share: the side
// picture at the left of the page, the column of controls beside it, and
// warning boxes owned by the page.
class CWizardPage : public CPrefsSubDlg
{
    Q_OBJECT
public:
    using CPrefsSubDlg::CPrefsSubDlg;

protected:
    // Lays the page out: the picture `pictureId` at the left and, at its
    // right, the column returned, into which the page puts its controls;
    // with `white` the page is drawn on white. The column is as wide as
    // a text of about `widthInCharacters` average characters.
    QVBoxLayout *BuildFrame(int pictureId, bool white, int widthInCharacters = 52);
    // A label for a long text that wraps within the column.
    QLabel *WrappedText(int controlId);

    // A warning box owned by the page, with the common error caption.
    int Warn(const QString &text);
};
