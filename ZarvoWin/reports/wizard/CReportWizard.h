#pragma once
#include <QString>
#include <memory>

class CReportDates;
class CReportDivers;
class CReportGroupBy;
class CReportProject;
class CWizardDialog;
class ImageList;
class QWidget;
struct tReportDefinition;
struct tReportSnapshot;

// The report settings as the report window runs them: the step frame and
// its six pages (kind and grouping, period, projects, project and activity
// pairs, activities, layout) set up on a definition, with the pages of the
// report's kind shown.
class CReportWizard
{
public:
    // What the pages show besides the definition.
    struct tSources
    {
        std::shared_ptr<const tReportSnapshot> Projects;
        bool ShowActivities = true;
        const ImageList *Images = nullptr; // the application's 16-pixel pictures
        QString UserTemplates;
        QString ProgramTemplates;
    };

    CReportWizard(tReportDefinition &definition, const tSources &sources, QWidget *owner);
    ~CReportWizard();

    CWizardDialog &Frame() { return *m_frame; }
    CReportGroupBy &GroupingPage() { return *m_grouping; }
    CReportDates &PeriodPage() { return *m_period; }
    CReportProject &ProjectsPage() { return *m_projects; }
    CReportProject &PairsPage() { return *m_pairs; }
    CReportProject &ActivitiesPage() { return *m_activities; }
    CReportDivers &LayoutPage() { return *m_layout; }

    // Runs the frame: true after "Terminer".
    bool Run();

private:
    tSources m_sources;
    // The pages outlive the frame, which only borrows them.
    std::unique_ptr<CReportGroupBy> m_grouping;
    std::unique_ptr<CReportDates> m_period;
    std::unique_ptr<CReportProject> m_projects;
    std::unique_ptr<CReportProject> m_pairs;
    std::unique_ptr<CReportProject> m_activities;
    std::unique_ptr<CReportDivers> m_layout;
    std::unique_ptr<CWizardDialog> m_frame;
};
