#include "CReportWizard.h"

#include "CReportDates.h"
#include "CReportDivers.h"
#include "CReportGroupBy.h"
#include "CReportProject.h"
#include "CWizardDialog.h"
#include "ReportWizardPageSet.h"
#include "Texts.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

CReportWizard::CReportWizard(tReportDefinition &definition, const tSources &sources, QWidget *owner)
    : m_sources(sources)
    , m_grouping(std::make_unique<CReportGroupBy>())
    , m_period(std::make_unique<CReportDates>())
    , m_projects(std::make_unique<CReportProject>(true, false))
    , m_pairs(std::make_unique<CReportProject>(true, true))
    , m_activities(std::make_unique<CReportProject>(false, false))
    , m_layout(std::make_unique<CReportDivers>())
    , m_frame(std::make_unique<CWizardDialog>(owner))
{
    if (!m_sources.Projects)
        m_sources.Projects = std::make_shared<const tReportSnapshot>();
    for (CReportProject *page : {m_projects.get(), m_pairs.get(), m_activities.get()}) {
        page->SetSnapshot(m_sources.Projects.get());
        page->SetShowActivities(m_sources.ShowActivities);
        page->SetImages(m_sources.Images);
    }
    m_layout->SetTemplateFolders(m_sources.UserTemplates, m_sources.ProgramTemplates);

    CReportWizardPage *pages[] = {m_grouping.get(), m_projects.get(), m_pairs.get(), m_activities.get(),
                                  m_layout.get(), m_period.get()};
    for (CReportWizardPage *page : pages)
        page->SetDefinition(&definition);

    const auto captions = ReportWizardPageSet::CaptionIds();
    const auto hidden = ReportWizardPageSet::HiddenForKind(definition.Type);
    CReportWizardPage *ordered[] = {m_grouping.get(), m_period.get(), m_projects.get(),
                                    m_pairs.get(), m_activities.get(), m_layout.get()};
    for (int i = 0; i < ReportWizardPageSet::PageCount; ++i)
        m_frame->AddPage(ordered[i], captions[size_t(i)], Platform::Texts::get(captions[size_t(i)]), hidden[size_t(i)]);
    m_frame->SetTitle(Platform::Texts::get(281));
    m_frame->SetCaptionText(Platform::Texts::get(128));
}

CReportWizard::~CReportWizard()
{
    // The frame lets go of the pages before they go.
    m_frame.reset();
}

bool CReportWizard::Run()
{
    return m_frame->DoModal() == 1;
}
