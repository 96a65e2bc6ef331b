#pragma once
#include "Texts.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QWidget>

class QComboBox;

// Small helpers shared by the option pages.
namespace OptionPageTools {

// Gives a control its dialog control id (its "controlId" property and its
// object name, by which tests find it).
template<typename W>
W *Numbered(W *widget, int id)
{
    widget->setProperty("controlId", id);
    widget->setObjectName(QString::number(id));
    return widget;
}

// Refills a combo box with texts by number, each entry's item data its
// value (the entry's index when `values` is empty), without telling its
// listeners, and selects the entry whose data is `selected` (none when no
// entry has it).
void FillTextCombo(QComboBox *combo, const QList<Platform::TextId> &texts, const QList<int> &values,
                   int selected);
// Fills a combo box with the given entries and item data, silently, and
// selects the entry whose data is `selected`.
void FillCombo(QComboBox *combo, const QStringList &entries, const QList<int> &values, int selected);

// A file-dialog filter written as "Name|*.a;*.b|Other|*.*||" in Qt's form
// "Name (*.a *.b);;Other (*)"; "*.*" matches every file.
QString ConvertFileFilter(const QString &filter);

// A folder as the settings keep it: absolute, cleaned, ending with "/".
// Empty for an empty text.
QString FolderWithSlash(const QString &folder);

// A message box of an option page, with the application's caption.
int ShowPageMessage(QWidget *owner, quint32 type, const QString &text);

} // namespace OptionPageTools
