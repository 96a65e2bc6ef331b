#include "RichMessageBox.h"

#include "MessageBoxAnswers.h"
#include "MessageBoxContent.h"
#include "RichMessageBoxDialog.h"
#include "UnattendedDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

// System-modal errors and warnings use the plain box, with the same
// buttons and nothing of our own (no check box, countdown or colours).
int PlainMessageBox(QWidget *owner, const MessageBoxContent &content, const QString &text,
                    const QString &caption)
{
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(content.icon == MessageBoxType::IconHand ? QMessageBox::Critical : QMessageBox::Warning);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    std::vector<std::pair<QAbstractButton *, int>> ids;
    for (size_t i = 0; i < content.buttons.size(); ++i) {
        const MessageBoxButton &b = content.buttons[i];
        QPushButton *button = box.addButton(b.caption, QMessageBox::ActionRole);
        button->setObjectName(QString::number(b.id));
        ids.emplace_back(button, b.id);
        if (int(i) == content.defaultIndex)
            box.setDefaultButton(button);
        if (b.id == content.escapeAnswer)
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto &[button, id] : ids) {
        if (box.clickedButton() == button)
            return id;
    }
    return content.escapeAnswer != 0 ? content.escapeAnswer : MessageBoxAnswer::Failed;
}

} // namespace

int RichMessageBox(quint32 type, QWidget *owner, const QString &text, const QString &caption,
                   const MessageBoxParams *params)
{
    MessageBoxParams p;
    if (params)
        p = *params;
    const MessageBoxContent content = MessageBoxContent::Build(type, p);
    const QString shownCaption = caption.isNull() ? MessageBoxContent::DefaultCaption() : caption;
    const quint32 icon = type & MessageBoxType::IconMask;
    const bool plain = (type & MessageBoxType::SystemModal) && (icon & MessageBoxType::IconHand);

    MessageBoxAnswers::Asked asked;
    asked.type = type;
    asked.text = text;
    asked.caption = shownCaption;
    asked.buttons = content.buttons;
    asked.defaultId = content.DefaultId();
    asked.escapeAnswer = content.escapeAnswer;
    asked.checkBoxCaption = plain ? QString() : content.checkBoxCaption;
    asked.plain = plain;
    if (MessageBoxAnswers *seam = MessageBoxAnswers::Active()) {
        MessageBoxContent answered = content;
        if (plain)
            answered.checkBoxFlag = 0;
        return seam->Answer(asked, answered, [&]() -> std::unique_ptr<RichMessageBoxDialog> {
            if (plain)
                return nullptr;
            return std::make_unique<RichMessageBoxDialog>(owner, type, text, shownCaption, p);
        });
    }
    if (UnattendedDialogs::Report(MessageBoxAnswers::Describe(asked)))
        return MessageBoxAnswers::UnansweredResult(asked);
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return MessageBoxAnswer::Failed;
    if (!owner) {
        owner = QApplication::activeModalWidget();
        if (!owner)
            owner = QApplication::activeWindow();
    }
    if (plain)
        return PlainMessageBox(owner, content, text, shownCaption);
    if (!(type & MessageBoxType::NoBeep))
        QApplication::beep();
    QPointer<RichMessageBoxDialog> box = new RichMessageBoxDialog(owner, type, text, shownCaption, p);
    box->exec();
    // The owner may have gone while the box was open, taking the box along.
    if (!box)
        return MessageBoxAnswer::Failed;
    const int answer = box->Answer();
    delete box;
    return answer;
}
