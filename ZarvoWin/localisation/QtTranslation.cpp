#include "QtTranslation.h"

#include "LanguageTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace {

// Owned by the application object, so that it goes with it.
QPointer<QTranslator> &installed()
{
    static QPointer<QTranslator> translator;
    return translator;
}

quint16 installedLanguage = 0;

} // namespace

bool QtTranslation::Apply(quint16 languageId)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    if (languageId == installedLanguage && installed())
        return true;
    if (QTranslator *previous = installed()) {
        QCoreApplication::removeTranslator(previous);
        delete previous;
    }
    installedLanguage = 0;
    const LanguageTable::Entry *entry = LanguageTable::Find(languageId);
    if (!entry)
        return false;
    auto translator = std::make_unique<QTranslator>(application);
    if (!translator->load(QLocale(entry->language, entry->territory), QStringLiteral("qtbase"),
                          QStringLiteral("_"), Folder())
        || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed() = translator.release();
    installedLanguage = languageId;
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
