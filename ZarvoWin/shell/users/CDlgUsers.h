#pragma once
#include <QDialog>
#include <QString>
#include <functional>

class CConfiguration;
class CLanguageSelector;
class CUsers;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
struct tUsers;

// "Gestion des utilisateurs": the users of the installation with a few
// facts on the selected one's database; add (through the new-user wizard),
// modify, copy, delete and select a user.
class CDlgUsers : public QDialog
{
    Q_OBJECT
public:
    enum { DialogId = 438, List = 1214, ModifyButton = 1087, DeleteButton = 1088, SelectButton = 1216,
           CloseButton = 2, CopyButton = 1089, AddButton = 1086, Information = 1383 };
    // A text of ours: the user was deleted but the folder (named) stays.
    static constexpr int TextFolderKept = 20201;

    // Runs the new-user wizard; the new user's id, or -1 when none was made.
    using NewUserRunner = std::function<int(QWidget *owner)>;

    CDlgUsers(CUsers &users, const CConfiguration &settings, NewUserRunner newUser, QWidget *parent = nullptr);
    ~CDlgUsers() override;

    // The user chosen by "Sélectionner" (-1 until then).
    int ChosenUserId() const { return m_chosen; }

    // The lines on a user's database: last synchronisation (or the file's
    // creation), last change, and the numbers of entries, projects and
    // activities (-1 when the database cannot be opened). The database is
    // only looked at, never created.
    static QString InformationText(const tUsers &user, const CConfiguration &settings);

    QListWidget *ListControl() const { return m_list; }
    QPlainTextEdit *InformationControl() const { return m_information; }
    // The id of the selected row, -1 for none.
    int SelectedUserId() const;

    void accept() override;

private:
    void Refill(int selectId);
    void UpdateSelection();
    void OnAdd();
    void OnModify();
    void OnCopy();
    void OnDelete();
    int Warn(const QString &text);

    CUsers &m_users;
    const CConfiguration &m_settings;
    NewUserRunner m_newUser;
    int m_chosen = -1;
    QListWidget *m_list = nullptr;
    QPlainTextEdit *m_information = nullptr;
    QPushButton *m_modify = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_select = nullptr;
    QPushButton *m_copy = nullptr;
};
