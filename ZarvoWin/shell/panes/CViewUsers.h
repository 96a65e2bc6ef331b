#pragma once
#include <QString>
#include <QWidget>

class CConfiguration;
class CReadOnlyCB;
class CZarvoWinApp;
class QAction;
class QGroupBox;
class QLabel;
class QToolButton;
struct tUsers;

// The users pane's content: the current user chosen in a combo box, and
// when that user's database was last synchronised (or created) and last
// changed. Looking at a user never creates a database: the stamps are read
// from the file opened read-only, and a missing file shows no dates.
class CViewUsers : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DialogId = 342;
    enum ControlId { UsersCombo = 1023, ManageButton = 1024, FirstLine = 1069, ModifiedLine = 1071, DatabaseGroup = 1152 };

    // `manageUsers` is the manage-users command: the button runs it and is
    // greyed with it (null: the button stays greyed). The view is empty
    // until the first Refill (the frame refills it with its own user combo).
    CViewUsers(CZarvoWinApp &app, QAction *manageUsers, QWidget *parent = nullptr);

    // Fills the combo box with the users, the current one selected, and
    // shows its database lines. Switches nobody.
    void Refill();
    // Takes the texts of the interface language again.
    void Translate();
    // The modification line shows `time`.
    void ShowLastModified(qint64 time);

    // The two database lines of a user (first: synchronised, else created;
    // second: modified). With no user, `shown` is false.
    struct DatabaseLines
    {
        bool shown = false;
        QString first;
        QString modified;
    };
    static DatabaseLines ReadDatabaseLines(const tUsers *user, const CConfiguration &config);
    // When a file came into being: its birth time where the file system
    // keeps one, else its last change; 0 when it does not exist.
    static qint64 FileCreationTime(const QString &path);

    CReadOnlyCB *Combo() const { return m_combo; }
    QToolButton *ManageButtonWidget() const { return m_manage; }
    QLabel *FirstLineLabel() const { return m_firstLine; }
    QLabel *ModifiedLineLabel() const { return m_modifiedLine; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void FitLineMargins();
    void SetTexts();
    void ShowDatabaseLines();
    void OnUserChosen(int index);

    CZarvoWinApp &m_app;
    QAction *m_manageUsers = nullptr;
    CReadOnlyCB *m_combo = nullptr;
    QToolButton *m_manage = nullptr;
    QGroupBox *m_group = nullptr;
    QLabel *m_firstLine = nullptr;
    QLabel *m_modifiedLine = nullptr;
};
