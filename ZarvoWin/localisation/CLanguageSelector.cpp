#include "CLanguageSelector.h"

#include "CmyDataBase.h"
#include "LanguageTable.h"
#include "MessageBus.h"
#include "MyTable.h"
#include "QtTranslation.h"
#include "RegisteredMessages.h"
#include "Settings.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <clocale>

namespace {
std::atomic<int> languageGeneration{0};
CLanguageSelector *applicationSelector = nullptr;

const char16_t LanguageIdName[] = u"LanguageId";
const char16_t HelpLanguageIdName[] = u"HelpLanguageId";
} // namespace

CLanguageSelector::SystemLanguages CLanguageSelector::SystemLanguages::FromLocale()
{
    SystemLanguages s;
    const QLocale system = QLocale::system();
    const QStringList ui = system.uiLanguages();
    if (!ui.isEmpty())
        s.userInterface = LanguageTable::IdOfName(ui.first());
    // The process locale stands for the system's interface language.
    const QByteArray lang = qgetenv("LANG");
    s.systemInterface = LanguageTable::IdOfName(QString::fromLatin1(lang.left(lang.indexOf('.'))));
    s.userDefault = LanguageTable::IdOfLocale(system);
    s.systemDefault = s.systemInterface;
    return s;
}

CLanguageSelector::CLanguageSelector()
    : CLanguageSelector(QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString())
{
}

CLanguageSelector::CLanguageSelector(const QString &programFilePath)
{
    InitPaths(programFilePath);
}

CLanguageSelector::~CLanguageSelector()
{
    if (applicationSelector == this)
        applicationSelector = nullptr;
}

CLanguageSelector *CLanguageSelector::Application()
{
    return applicationSelector;
}

void CLanguageSelector::SetApplication(CLanguageSelector *selector)
{
    applicationSelector = selector;
    ++languageGeneration;
    if (selector)
        selector->FollowLanguage();
}

int CLanguageSelector::LanguageGeneration()
{
    return languageGeneration.load();
}

void CLanguageSelector::InitPaths(const QString &programFilePath)
{
    m_languages.clear();
    const QFileInfo info(programFilePath);
    m_programFolder = programFilePath.isEmpty() ? QString() : info.absolutePath() + u'/';
    m_baseName = info.completeBaseName();
    if (m_baseName.isEmpty())
        m_baseName = QStringLiteral("Zarvo");
}

bool CLanguageSelector::IsTray() const
{
    return m_baseName.compare(u"ZarvoTray", Qt::CaseInsensitive) == 0;
}

QString CLanguageSelector::FindEntry(const QString &folder, const QString &name, bool wantFolder)
{
    const QFileInfo exact(folder + name);
    if (exact.exists() && exact.isDir() == wantFolder)
        return exact.filePath();
    const QDir dir(folder);
    const QDir::Filters filters = (wantFolder ? QDir::Dirs : QDir::Files) | QDir::NoDotAndDotDot | QDir::Hidden;
    for (const QString &entry : dir.entryList(filters)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return QString();
}

// "<folder>/<Abbr>/<Program><Abbr><extension>", found whatever the letter
// case of the folder and the file; the path as written when it does not exist.
QString CLanguageSelector::LanguagePath(quint16 id, const QString &extension) const
{
    return LanguagePath(id, m_baseName, extension);
}

QString CLanguageSelector::LanguagePath(quint16 id, const QString &baseName, const QString &extension) const
{
    const QString abbr = LanguageTable::Abbreviation(id);
    if (abbr.isEmpty() || m_programFolder.isEmpty())
        return QString();
    const QString fileName = baseName + abbr + extension;
    const QString folder = FindEntry(m_programFolder, abbr, true);
    if (!folder.isEmpty()) {
        const QString found = FindEntry(folder + u'/', fileName, extension.isEmpty());
        if (!found.isEmpty())
            return found;
    }
    return m_programFolder + abbr + u'/' + fileName;
}

QString CLanguageSelector::GetLanguageFilePath(quint16 id) const
{
    return LanguagePath(id, QStringLiteral(".sdb"));
}

QString CLanguageSelector::GetFallbackFilePath() const
{
    if (m_language == English || m_language == BuiltInLanguage)
        return QString();
    for (const quint16 id : {English, BuiltInLanguage}) {
        const QString path = GetLanguageFilePath(id);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

QString CLanguageSelector::GetHelpFilePath(quint16 id) const
{
    const QString folder = LanguagePath(id, QStringLiteral("Zarvo"), QString());
    if (folder.isEmpty())
        return QString();
    const QString index = FindEntry(folder + u'/', QStringLiteral("index.html"), false);
    return index.isEmpty() ? folder + QStringLiteral("/index.html") : index;
}

bool CLanguageSelector::IsLanguageAvailable(quint16 id) const
{
    if (id == m_builtInLanguage)
        return true;
    const QString path = GetLanguageFilePath(id);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void CLanguageSelector::SetLanguage(quint16 id)
{
    m_language = id;
    ++languageGeneration;
    FollowLanguage();
}

void CLanguageSelector::FollowLanguage() const
{
    // Qt's own texts follow the application's interface language.
    if (applicationSelector == this && m_language != 0)
        QtTranslation::Apply(m_language);
}

bool CLanguageSelector::TryLanguage(quint16 id)
{
    if (id == 0)
        return false;
    ++languageGeneration;
    m_language = id;
    if (IsLanguageAvailable(id))
        return true;
    if (id >= 1024) {
        // The primary language alone.
        m_language = id & 0x3FF;
        if (IsLanguageAvailable(m_language))
            return true;
    }
    if ((id >> 10) != 1) {
        // The primary language in its main form (sublanguage 1).
        m_language = (id & 0x3FF) | 0x400;
        if (IsLanguageAvailable(m_language))
            return true;
    }
    return false;
}

void CLanguageSelector::ChooseLanguage()
{
    Platform::Settings settings;
    const int stored = settings.getInt(u"", u"", LanguageIdName, 0);
    if (!m_systemSet) {
        m_system = SystemLanguages::FromLocale();
        m_systemSet = true;
    }
    const int candidates[] = {stored,
                              m_system.userInterface,
                              m_system.systemInterface,
                              m_system.userDefault,
                              m_system.systemDefault,
                              English};
    bool chosen = false;
    for (const int candidate : candidates) {
        if (candidate > 0 && candidate <= 0xFFFF && TryLanguage(quint16(candidate))) {
            chosen = true;
            break;
        }
    }
    if (!chosen)
        m_language = m_builtInLanguage;
    ++languageGeneration;
    FollowLanguage();
    // The tray only reads the main program's settings.
    if (m_language != stored && !IsTray()) {
        settings.setInt(u"", u"", LanguageIdName, m_language);
        settings.sync();
        if (m_toolbarReset)
            m_toolbarReset();
        else
            settings.removePrefix(QStringLiteral("Workspace/MFCToolBar"));
    }
}

QString CLanguageSelector::ChooseHelpLanguage()
{
    Platform::Settings settings;
    const int stored = settings.getInt(u"", u"", HelpLanguageIdName, 0);
    const int candidates[] = {stored, m_language, English, m_builtInLanguage, BuiltInLanguage};
    m_helpLanguage = 0;
    m_helpFile.clear();
    for (const int candidate : candidates) {
        if (candidate <= 0 || candidate > 0xFFFF)
            continue;
        const QString path = GetHelpFilePath(quint16(candidate));
        if (!path.isEmpty() && QFileInfo(path).isFile()) {
            m_helpLanguage = quint16(candidate);
            m_helpFile = path;
            break;
        }
    }
    return m_helpFile;
}

void CLanguageSelector::SelectLanguage(int index)
{
    if (index < 0 || index >= m_languages.size() || m_languages[index] == m_language)
        return;
    {
        Platform::Settings settings;
        settings.setInt(u"", u"", LanguageIdName, m_languages[index]);
        settings.sync();
    }
    const quint16 before = m_language;
    ChooseLanguage();
    if (m_language != before) {
        // Toolbars are rebuilt with the texts of the new language.
        if (m_toolbarReset) {
            m_toolbarReset();
        } else {
            Platform::Settings settings;
            settings.removePrefix(QStringLiteral("Workspace/MFCToolBar"));
        }
    }
    PostChange(2);
}

void CLanguageSelector::SelectHelpLanguage(quint16 id)
{
    if (id == m_helpLanguage)
        return;
    const QString path = GetHelpFilePath(id);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    {
        Platform::Settings settings;
        settings.setInt(u"", u"", HelpLanguageIdName, id);
        settings.sync();
    }
    m_helpFile = path;
    m_helpLanguage = id;
    PostChange(3);
}

bool CLanguageSelector::ScanLanguages()
{
    m_languages.clear();
    if (m_builtInLanguage != 0)
        m_languages.append(m_builtInLanguage);
    if (m_programFolder.isEmpty())
        return false;
    const QDir dir(m_programFolder);
    for (const QString &entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        if (entry.size() != 3 || entry.compare(u"fra", Qt::CaseInsensitive) == 0)
            continue;
        const QString file = FindEntry(dir.filePath(entry) + u'/', m_baseName + entry + QStringLiteral(".sdb"), false);
        if (file.isEmpty())
            continue;
        SQLite::CmyDataBase db;
        if (db.OpenReadOnly(file) != 0)
            continue;
        const SQLite::MyTablePtr table = db.Query(u"select Value from Infos where Name='LangId'");
        const int id = table && table->rowCount() > 0 ? table->GetIntAt(0, 0) : 0;
        if (id > 0 && id <= 0xFFFF && !m_languages.contains(quint16(id)))
            m_languages.append(quint16(id));
    }
    return m_languages.size() > 1;
}

void CLanguageSelector::FillLanguageCombo(QComboBox *combo)
{
    ScanLanguages();
    combo->clear();
    for (const quint16 id : m_languages)
        combo->addItem(GetLanguageDisplayName(id), int(id));
    combo->setCurrentIndex(int(m_languages.indexOf(m_language)));
}

void CLanguageSelector::FillHelpLanguageCombo(QComboBox *combo)
{
    combo->clear();
    for (const quint16 id : m_languages) {
        if (QFileInfo(GetHelpFilePath(id)).isFile())
            combo->addItem(GetLanguageDisplayName(id), int(id));
    }
    combo->setCurrentIndex(combo->findData(int(m_helpLanguage)));
}

QString CLanguageSelector::GetLanguageDisplayName(quint16 id)
{
    if (const LanguageTable::Entry *e = LanguageTable::Find(id)) {
        const QLocale locale(e->language, e->territory);
        QString name = locale.nativeLanguageName();
        if (name.isEmpty())
            name = QLocale::languageToString(e->language);
        if (!name.isEmpty()) {
            name[0] = locale.toUpper(name.left(1)).at(0);
            return name;
        }
    }
    return QStringLiteral("%1 - ???").arg(id);
}

bool CLanguageSelector::ApplyRunTimeLocale() const
{
    bool ok = false;
    if (const LanguageTable::Entry *e = LanguageTable::Find(m_language)) {
        const QByteArray name = QLocale(e->language, e->territory).name().toLatin1();
        for (const char *codeset : {".UTF-8", ".utf8"}) {
            if (std::setlocale(LC_ALL, (name + codeset).constData())) {
                ok = true;
                break;
            }
        }
    }
    // Numbers are always written and read with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    return ok;
}

QString CLanguageSelector::GetTemplatesFolder() const
{
    for (const QString &abbr : {LanguageTable::Abbreviation(m_language), QStringLiteral("Enu")}) {
        if (abbr.isEmpty() || m_programFolder.isEmpty())
            continue;
        const QString folder = FindEntry(m_programFolder, abbr, true);
        if (folder.isEmpty())
            continue;
        const QString templates = FindEntry(folder + u'/', QStringLiteral("Templates"), true);
        if (!templates.isEmpty())
            return templates + u'/';
    }
    return QString();
}

QString CLanguageSelector::GetSampleDataPath(bool reports) const
{
    const QString extension = reports ? QStringLiteral(".rpt") : QStringLiteral(".sdb");
    for (const QString &abbr : {LanguageTable::Abbreviation(m_language), QStringLiteral("Enu")}) {
        if (abbr.isEmpty() || m_programFolder.isEmpty())
            continue;
        const QString folder = FindEntry(m_programFolder, abbr, true);
        const QString demo = folder.isEmpty() ? QString() : FindEntry(folder + u'/', QStringLiteral("Demo"), true);
        const QString file = demo.isEmpty() ? QString()
                                            : FindEntry(demo + u'/', QStringLiteral("Zarvo") + abbr + extension, false);
        if (!file.isEmpty())
            return file;
    }
    return QString();
}

void CLanguageSelector::SetSystemLanguages(const SystemLanguages &languages)
{
    m_system = languages;
    m_systemSet = true;
}

void CLanguageSelector::SetChangePoster(std::function<void(int kind)> poster)
{
    m_poster = std::move(poster);
}

void CLanguageSelector::SetToolbarLayoutReset(std::function<void()> reset)
{
    m_toolbarReset = std::move(reset);
}

void CLanguageSelector::PostChange(int kind) const
{
    if (m_poster) {
        m_poster(kind);
        return;
    }
    static const quint32 change = Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange);
    Platform::MessageBus::post(change, quint64(kind), 0);
}
