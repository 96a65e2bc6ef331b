#pragma once
#include "MessageBoxParams.h"

#include <QString>
#include <QtGlobal>

class QWidget;

// Asks a question in a message box and returns the answer: the id of the
// button pressed (MessageBoxAnswer), plus the check-box flag when its check
// box was left checked, plus MessageBoxAnswer::Countdown when the countdown
// pressed the default button; MessageBoxAnswer::Failed (-1) when no box
// could be shown. `type` combines MessageBoxType flags; `params` may be
// null. A null caption shows "Error"; a null owner means the active
// window. While a MessageBoxAnswers seam lives, nothing is shown.
int RichMessageBox(quint32 type, QWidget *owner, const QString &text, const QString &caption,
                   const MessageBoxParams *params = nullptr);
