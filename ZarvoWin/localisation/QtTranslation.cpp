#include "QtTranslation.h"

#include "LanguageTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace {

// Owned by the application object, so that they go with it: Qt's
// catalogue, and ours of the texts it lacks.
QPointer<QTranslator> &installed()
{
    static QPointer<QTranslator> translator;
    return translator;
}
QPointer<QTranslator> &supplement()
{
    static QPointer<QTranslator> translator;
    return translator;
}

quint16 installedLanguage = 0;

void remove(QPointer<QTranslator> &translator)
{
    if (QTranslator *previous = translator) {
        QCoreApplication::removeTranslator(previous);
        delete previous;
    }
}

} // namespace

bool QtTranslation::Apply(quint16 languageId)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    if (languageId == installedLanguage && installed())
        return true;
    remove(installed());
    remove(supplement());
    installedLanguage = 0;
    const LanguageTable::Entry *entry = LanguageTable::Find(languageId);
    if (!entry)
        return false;
    const QLocale locale(entry->language, entry->territory);
    auto translator = std::make_unique<QTranslator>(application);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), Folder())
        || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed() = translator.release();
    installedLanguage = languageId;
    // Installed after Qt's, so that it is searched first; it holds only
    // what Qt's lacks.
    auto ours = std::make_unique<QTranslator>(application);
    if (ours->load(locale, QStringLiteral("zarvo_qt"), QStringLiteral("_"), SupplementFolder())
        && QCoreApplication::installTranslator(ours.get()))
        supplement() = ours.release();
    return true;
}

quint16 QtTranslation::Installed()
{
    return installed() ? installedLanguage : 0;
}

QString QtTranslation::Folder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QString QtTranslation::SupplementFolder()
{
    return QStringLiteral(":/translations");
}

bool QtTranslation::SupplementInstalled()
{
    return supplement();
}
