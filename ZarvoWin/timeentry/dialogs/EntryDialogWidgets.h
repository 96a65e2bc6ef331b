#pragma once
#include "WidgetIds.h"

#include <QString>
#include <QtGlobal>

class CComboBoxSuper;
class QIcon;
class CTransparentImage;
class QComboBox;
class QLabel;
class QWidget;

// Pieces the entry dialogs are built from.

// Gives a control of a dialog built in code its number, by which the
// translation finds its text and tests and callers find the control, and
// returns it.
template <class Widget>
Widget *Numbered(Widget *widget, int controlId)
{
    WidgetIds::SetControlId(widget, controlId);
    return widget;
}

// The control of `dialog` carrying that number; null when none does.
QWidget *FindControl(const QWidget *dialog, int controlId);

// A warning picture with the tooltip text `tipText` that keeps its place
// in the layout while hidden.
CTransparentImage *MakeWarningImage(QWidget *parent, int controlId, int tipText);

// The question icon of the system's message boxes. It carries no number:
// a picture takes no text.
QLabel *MakeQuestionIcon(QWidget *parent);

// The project, activity and rate combos wide enough for their names; the
// project combo indented by the depth of each project, its closed field
// showing the project's full name.
void SetUpRecordCombos(CComboBoxSuper *project, QComboBox *activity, QComboBox *rate);

// An instant as the entry dialogs show it: the date in the configured
// form with the time of day; empty for 0.
QString EntryDateTimeText(qint64 instant);
// The same with the seconds of the time when `withSeconds`.
QString EntryDateTimeText(qint64 instant, bool withSeconds);

// An icon of the desktop's theme, Breeze behind it.
QIcon ThemeIcon(const char *name);
