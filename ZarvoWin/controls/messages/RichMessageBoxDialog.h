#pragma once
#include "MessageBoxContent.h"
#include "MessageBoxParams.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

// The message box window: icon, text, a row of buttons and an optional
// check box, built from a MessageBoxContent. Each button's object name is
// the id it answers ("6" for Yes); the icon, text and check box are named
// "1000", "1001" and "5555". It ends with the answer as its result (see
// MessageBoxAnswer); RichMessageBox runs it modally.
class RichMessageBoxDialog : public QDialog
{
    Q_OBJECT
public:
    RichMessageBoxDialog(QWidget *owner, quint32 type, const QString &text, const QString &caption,
                         const MessageBoxParams &params);
    ~RichMessageBoxDialog() override;

    // The answer once the box has ended, MessageBoxAnswer::Failed before.
    int Answer() const { return m_answer; }
    const MessageBoxContent &Content() const { return m_content; }
    QPushButton *Button(int id) const;
    QCheckBox *CheckBox() const { return m_checkBox; }
    // The text put on the clipboard by Ctrl+C.
    QString CopyText() const;

    // What the Help button opens; the application plugs in its help.
    using HelpHandler = std::function<void(quint32 helpId)>;
    static void SetHelpHandler(HelpHandler handler);
    // Length of one second of the countdown and of the disabled time, in
    // milliseconds (tests shorten it; 0 restores 1000).
    static void SetTickMs(int ms);

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildWindow(const QString &text);
    void OnButton(int id);
    void OnCheckToggled(bool checked);
    void OnCountdownTick();
    void OnDisabledTick();
    void StopCountdown();
    void End(int answer);
    void SetButtonsEnabled(bool enabled);
    int CheckFlag() const;

    quint32 m_type;
    QString m_text;
    QString m_caption;
    MessageBoxParams m_params;
    MessageBoxContent m_content;
    std::vector<QPushButton *> m_buttons;
    QCheckBox *m_checkBox = nullptr;
    QTimer m_countdownTimer;
    QTimer m_disabledTimer;
    int m_countdownLeft = 0;
    int m_disabledLeft = 0;
    bool m_shownOnce = false;
    int m_answer;
};
