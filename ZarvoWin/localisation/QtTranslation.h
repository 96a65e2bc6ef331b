#pragma once
#include <QString>
#include <QtGlobal>

// Qt's own texts (the file and folder dialogs, the context menu of text
// fields, the standard buttons) in the interface language: Qt's translation
// of that language ("qtbase_<language>.qm"), installed in the application in
// place of the one installed before, and after it ours of the texts Qt's
// lacks ("zarvo_qt_<language>.qm", built into the program from
// res/<language>/zarvo_qt_<language>.ts) where we have one. A language Qt
// has no translation for leaves Qt's own English, quietly.
class QtTranslation
{
public:
    // Installs the translation of a language (a Windows language id, as
    // the language selector numbers them); false when Qt has none, English
    // then stands. Nothing happens without an application object.
    static bool Apply(quint16 languageId);
    // The language whose translation is installed, 0 when none is.
    static quint16 Installed();
    // Where Qt's translations are looked for.
    static QString Folder();
    // Where ours of the texts Qt's lack are, and whether one is installed.
    static QString SupplementFolder();
    static bool SupplementInstalled();
};
