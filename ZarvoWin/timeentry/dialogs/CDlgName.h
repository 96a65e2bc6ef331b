#pragma once
#include <QDialog>
#include <QString>

class QLineEdit;

// Asks for the name under which a report is saved. OK takes the text as
// typed (blanks included) and refuses only an empty one, with a message;
// Cancel leaves the name as it was given. DialogAnswers<CDlgName> answers
// it in tests.
class CDlgName : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 367;
    enum : int { IdOk = 1, IdCancel = 2, IdPrompt = 1089, IdName = 1090 };

    explicit CDlgName(const QString &name, QWidget *parent = nullptr);

    int exec() override;
    QString GetName() const { return m_name; }
    QLineEdit *NameEdit() const { return m_edit; }
    // What OK does.
    void OnOk();

private:
    QString m_name;
    QLineEdit *m_edit = nullptr;
};
