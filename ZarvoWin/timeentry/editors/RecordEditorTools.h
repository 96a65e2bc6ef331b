#pragma once
#include <QString>
#include <QtGlobal>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// Small pieces the record editors share: the message boxes they show, the
// rate list and reading combo rows. Their controls take
// their numbers by Numbered (EntryDialogWidgets.h).
namespace RecordEditorTools {

// A message box of `text` under the caption of `captionId`; the button
// pressed.
int Ask(QWidget *owner, quint32 type, const QString &text, int captionId);
// "Veuillez saisir un nom" under "Erreur" with the question icon.
void ShowNameMissing(QWidget *owner);
// "Erreur lors de l'écriture dans la base de données." under "Erreur".
void ShowWriteFailure(QWidget *owner);

// Refills a rate list: the row "<Taux horaire non défini>" (data -1),
// selected, then the live rates with the row of `currentId` selected.
void FillRateList(QComboBox *combo, int currentId);
// The item data of the selected row; -1 when no row is selected.
int SelectedData(const QComboBox *combo);
// Selects the first row from `firstRow` on whose item data is `data`;
// false (the selection left alone) when there is none.
bool SelectRowWithData(QComboBox *combo, qint64 data, int firstRow = 0);

// Refills a tree of parents: the top item "Projets" (data -1) with every
// project of the store below it (data = the project id), expanded; the
// project `excludedId` and what lies below it are left out (-1: none).
// Returns the top item.
QTreeWidgetItem *FillParentTree(QTreeWidget *tree, int excludedId);
// The item of a project id in such a tree (-1: the top item); null when
// the tree does not hold it.
QTreeWidgetItem *FindParentItem(const QTreeWidget *tree, int projectId);

} // namespace RecordEditorTools
