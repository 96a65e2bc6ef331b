#pragma once
#include <QList>
#include <QString>

#include <functional>

class COptionsContext;
class CPrefsDialog;
class CZarvoWinApp;
class QWidget;

// The options dialog of the application: the settings frame with the
// option pages asked for, each known by the number of its caption's text
// (109 general, 110 display, 622 days off, 210 formats, 197 folders, 205
// network, 348 backups, 347 report customisation, 521 project tracking,
// 688 grid, 561 misc), title 198 and the program's name in its band.
class COptionsDialog
{
public:
    struct PageEntry
    {
        int captionId = 0;
        QString caption;
    };

    // Runs the frame once it is built: 1 for OK, 2 for Annuler. Tests
    // drive the frame here; the program shows it modally.
    using Runner = std::function<int(CPrefsDialog &frame)>;
    static void SetRunner(Runner runner);

    // Whether a page of that caption number exists.
    static bool HasPage(int captionId);
    // Makes this dialog the application's options window (and the
    // translation store the frames' texts).
    static void Register(CZarvoWinApp &app);

    // Builds the frame with the pages in the order given (unknown ones
    // left out), shows page `startIndex` first, runs it; true on OK.
    static bool Run(QWidget *owner, COptionsContext &context, const QList<PageEntry> &pages, int startIndex);
};
