#pragma once
#include <QString>
#include <QtGlobal>

class QWidget;

// A yes/no question whose answer can be remembered: the answer stored under
// the settings base "MsgBox", value `questionId`, is returned at once with
// no window; otherwise the box is shown with Yes, No and Cancel captioned
// from the interface texts and, by `kind`:
//   0  a check box "Ne plus demander"          (remembered when checked,
//                                              unless the answer is Cancel)
//   1  the same; checking it disables Yes
//   2  the same; checking it disables No
//   3  a button "Non et ne plus demander"      (answers No, remembered)
//   4  a button "Oui et ne plus demander"      (answers Yes, remembered)
//   other: nothing to remember.
// `type` holds the caller's flags (36: Yes/No with the question icon;
// 35: Yes/No/Cancel). Returns the answer (6 Yes, 7 No, 2 Cancel); a box
// that could not be shown answers 2 and is never remembered.
int RememberedMessageBox(const QString &text, const QString &caption, QWidget *owner,
                         int questionId, int kind, quint32 type);
