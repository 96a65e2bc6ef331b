#include "CTranslationStore.h"

#include "CLanguageSelector.h"
#include "Formatter.h"
#include "IntParse.h"
#include "MyTable.h"
#include "Texts.h"

#include <QFileInfo>

using Platform::BuiltInTexts;
using Platform::Formatter;

namespace {
CTranslationStore::Program programOf(const CLanguageSelector *selector)
{
    return selector && selector->IsTray() ? CTranslationStore::Program::Tray : CTranslationStore::Program::Main;
}
} // namespace

CTranslationStore::CTranslationStore()
    : CTranslationStore(CLanguageSelector::Application())
{
}

CTranslationStore::CTranslationStore(const CLanguageSelector *selector)
    : CTranslationStore(selector, programOf(selector))
{
}

CTranslationStore::CTranslationStore(const CLanguageSelector *selector, Program program)
    : m_selector(selector)
    , m_program(program)
{
    Open();
}

CTranslationStore::~CTranslationStore() = default;

// The file of the store's own program in the selector's language.
static QString languageFile(const CLanguageSelector *selector, CTranslationStore::Program program, bool fallback)
{
    if (!selector)
        return QString();
    if (programOf(selector) == program)
        return fallback ? selector->GetFallbackFilePath() : selector->GetLanguageFilePath();
    // The other program's texts: its file beside this program's.
    CLanguageSelector other(selector->GetProgramFolder()
                            + (program == CTranslationStore::Program::Tray ? QStringLiteral("ZarvoTray")
                                                                           : QStringLiteral("Zarvo")));
    other.SetLanguage(selector->GetLanguage());
    return fallback ? other.GetFallbackFilePath() : other.GetLanguageFilePath();
}

bool CTranslationStore::Open()
{
    if (m_primary.IsOpen())
        return true;
    const QString path = languageFile(m_selector, m_program, false);
    if (path.isEmpty() || !QFileInfo(path).isFile() || m_primary.OpenReadOnly(path) != 0) {
        m_primary.Close();
        return false;
    }
    QString debug;
    if (QueryText(m_primary, QStringLiteral("select Value from Infos where Name='Debug'"), debug))
        m_debug = Platform::wtoi(debug) != 0;
    return true;
}

bool CTranslationStore::OpenFallback()
{
    if (m_fallback.IsOpen())
        return true;
    if (m_fallbackTried)
        return false;
    m_fallbackTried = true;
    const QString path = languageFile(m_selector, m_program, true);
    if (path.isEmpty() || !QFileInfo(path).isFile() || m_fallback.OpenReadOnly(path) != 0) {
        m_fallback.Close();
        return false;
    }
    return true;
}

bool CTranslationStore::QueryText(SQLite::CmyDataBase &db, const QString &sql, QString &text)
{
    if (!db.IsOpen())
        return false;
    const SQLite::MyTablePtr table = db.Query(sql);
    if (!table || table->rowCount() == 0 || table->columnCount() == 0)
        return false;
    text = table->GetCell(0, 0);
    return true;
}

QString CTranslationStore::FetchString(int id, bool &found)
{
    m_buffer.clear();
    found = false;
    const QString sql = Formatter::sprintf(u"Select String from StringTable where Id=%d", {id});
    QString text;
    if (QueryText(m_primary, sql, text) || (OpenFallback() && QueryText(m_fallback, sql, text))) {
        found = true;
    } else if (const char16_t *builtIn = BuiltInTexts::String(m_program, id)) {
        text = QString::fromUtf16(builtIn);
        found = true;
    }
    m_buffer = Platform::Texts::expandLineBreaks(text);
    if (m_debug)
        m_buffer.prepend(Formatter::sprintf(u"{%d}", {id}));
    return m_buffer;
}

QString CTranslationStore::GetString(int id)
{
    bool found = false;
    return FetchString(id, found);
}

QString CTranslationStore::FindString(int id)
{
    bool found = false;
    const QString text = FetchString(id, found);
    return found ? text : QString();
}

QString CTranslationStore::Lookup(const QString &sql, bool nonEmptyOnly, const char16_t *builtIn)
{
    Open();
    QString text;
    if (QueryText(m_primary, sql, text) && (!nonEmptyOnly || !text.isEmpty()))
        return Platform::Texts::expandLineBreaks(text);
    text.clear();
    if (OpenFallback() && QueryText(m_fallback, sql, text) && (!nonEmptyOnly || !text.isEmpty()))
        return Platform::Texts::expandLineBreaks(text);
    return builtIn ? Platform::Texts::expandLineBreaks(QString::fromUtf16(builtIn)) : QString();
}

QString CTranslationStore::GetMenuString(int menuId, int itemId)
{
    QString text = Lookup(Formatter::sprintf(u"Select String from Menu where IdMenu=%d and Id=%d", {menuId, itemId}),
                          true, BuiltInTexts::Menu(m_program, menuId, itemId));
    if (m_debug)
        text.prepend(Formatter::sprintf(u"[%d-%d]", {menuId, itemId}));
    return text;
}

QString CTranslationStore::GetDialogString(int dialogId, int controlId)
{
    QString text = Lookup(
        Formatter::sprintf(u"Select String from Dialog where IdDialog=%d and Id=%d", {dialogId, controlId}), true,
        BuiltInTexts::Dialog(m_program, dialogId, controlId));
    if (m_debug) {
        if (controlId == -1)
            text.prepend(Formatter::sprintf(u"[%d]", {dialogId}));
        else
            text = Formatter::sprintf(u"%d.%d", {dialogId, controlId});
    }
    return text;
}

void CTranslationStore::GetTranslatorInfo(QString &name, QString &email, QString &website)
{
    Open();
    QString *const targets[] = {&name, &email, &website};
    const char16_t *const names[] = {u"AuthorName", u"AuthorEmail", u"AuthorWebsite"};
    for (int i = 0; i < 3; ++i) {
        targets[i]->clear();
        QString value;
        if (QueryText(m_primary, Formatter::sprintf(u"select Value from Infos where Name='%s'", {names[i]}), value))
            *targets[i] = value;
    }
}
