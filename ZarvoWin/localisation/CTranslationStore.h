#pragma once
#include "BuiltInTexts.h"
#include "CmyDataBase.h"

#include <QString>

class CLanguageSelector;

// The texts of the interface language, made on the stack for one operation
// (or held by a dialog while it lives). Every lookup is one query on the
// read-only language database; a text that file lacks comes from the
// fallback language's file (opened on first need), and a text no file has
// comes from the French compiled into the program, so nothing shows empty
// because a file is missing or incomplete.
class CTranslationStore
{
public:
    using Program = Platform::BuiltInTexts::Program;

    // The application's language selector and its program's texts.
    CTranslationStore();
    // The texts of `selector`'s language; `program` picks the text space
    // (the tray reads the main program's texts for the data store).
    explicit CTranslationStore(const CLanguageSelector *selector);
    CTranslationStore(const CLanguageSelector *selector, Program program);
    ~CTranslationStore();
    CTranslationStore(const CTranslationStore &) = delete;
    CTranslationStore &operator=(const CTranslationStore &) = delete;

    // The text of a string id, with "\n" pairs made into line breaks; a text
    // found empty stays empty; empty when the id has no text anywhere.
    QString GetString(int id);
    // The same, but null (QString::isNull) when no table has the id.
    QString FindString(int id);
    // The text of a menu item (pop-ups by their key) or of a dialog control
    // (-1 for the caption); empty when no table has it.
    QString GetMenuString(int menuId, int itemId);
    QString GetDialogString(int dialogId, int controlId);
    void GetTranslatorInfo(QString &name, QString &email, QString &website);

    bool IsDebug() const { return m_debug; }
    bool IsOpen() const { return m_primary.IsOpen(); }
    Program GetProgram() const { return m_program; }

private:
    bool Open();
    bool OpenFallback();
    // The first text of a query's first row; false when no row came back.
    static bool QueryText(SQLite::CmyDataBase &db, const QString &sql, QString &text);
    QString FetchString(int id, bool &found);
    QString Lookup(const QString &sql, bool nonEmptyOnly, const char16_t *builtIn);

    const CLanguageSelector *m_selector = nullptr;
    Program m_program = Program::Main;
    SQLite::CmyDataBase m_primary;
    SQLite::CmyDataBase m_fallback;
    bool m_fallbackTried = false;
    QString m_buffer;
    bool m_debug = false;
};
