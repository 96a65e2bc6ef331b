#include "COptionsContext.h"

#include "CBdD.h"
#include "CConfiguration.h"
#include "CLanguageSelector.h"

#include <QFileDialog>

COptionsContext::COptionsContext(CConfiguration &config)
    : m_config(&config)
{
}

CLanguageSelector *COptionsContext::Languages() const
{
    return languages ? languages : CLanguageSelector::Application();
}

void COptionsContext::PostChange(int kind) const
{
    if (postChange)
        postChange(kind);
    else
        CBdD::PostChange(kind);
}

void COptionsContext::RetranslateApplication() const
{
    if (retranslateApplication)
        retranslateApplication();
}

void COptionsContext::ApplyBigIcons(bool big) const
{
    if (applyBigIcons)
        applyBigIcons(big);
}

QString COptionsContext::OpenFileName(QWidget *owner, const QString &start, const QString &filter) const
{
    if (openFileName)
        return openFileName(owner, start, filter);
    return QFileDialog::getOpenFileName(owner, QString(), start, filter);
}

QLocale COptionsContext::SystemLocale() const
{
    // The locale the settings object reads the first day from at start-up.
    return systemLocale ? systemLocale() : m_config->Locale();
}
