#pragma once

#include "CDrawSection.h"

#include <array>
#include <memory>
#include <vector>

// A report template (".tpl"): how the printed pages of a report look. Nine
// fixed sections and three lists of per-level group sections, each section
// a list of drawing objects, read from a text file whose first line is
// "[Zarvo template, Version=<n>]".
class CReportTemplate
{
public:
    enum SectionCode {
        Title = 0,
        End = 1,
        Header = 2,
        Footer = 3,
        DataHeader = 4,
        DataLineOdd = 5,
        DataLineEven = 6,
        DataFooter = 7,
        DataFooterRecap = 8,
        GroupHeader = 9,
        GroupFooter = 10,
        GroupLine = 11,
    };
    enum LoadState { Loaded = 0, NotFound = 1, NotATemplate = 2 };
    static constexpr int MaxGroupLevels = 5;
    // Files beyond this size are not templates: nothing of this kind comes
    // near it, and it keeps a stray large file from being read into memory.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    CReportTemplate();
    ~CReportTemplate();
    CReportTemplate(const CReportTemplate &) = delete;
    CReportTemplate &operator=(const CReportTemplate &) = delete;

    // Empties the template and loads "<firstFolder><name>.tpl", or
    // "<secondFolder><name>.tpl" when the first does not exist. Without a
    // first folder `name` is the whole path. Folders end with "/". Returns
    // the load state.
    int Load(const QString &firstFolder, const QString &name, const QString &secondFolder);
    // Deletes every section's objects and the group sections.
    void Empty();

    // Codes 0 to 8: the fixed section (index ignored); 9 to 11: the group
    // section of level index + 1, when the file made one; otherwise none.
    CDrawSection *GetSection(int code, int index = 0) const;
    // The number of sections of a group list (codes 9 to 11).
    int GetGroupCount(int code) const;

    // The height a section needs in pixels for the cell texts: the largest
    // Measure of its objects over the band from `top` down the section's
    // height (0 for a missing section).
    int MeasureSection(int code, int index, const tDrawContext &context, int left, int top, int right,
                       const QStringList *texts, const std::vector<tColumn> *columns) const;
    // Draws a section from y down between left and right; y grows by the
    // section's height, or by more when a data line needed it.
    void DrawSection(int code, int index, double &y, const tDrawContext &context, int left, int right,
                     const QStringList *texts, const std::vector<tColumn> *columns, int indent) const;
    // The nominal height of a section in pixels (its height across the
    // page's horizontal factor, rounded), 0 for a missing one.
    int SectionHeight(int code, int index, const tDrawContext &context) const;
    // Keeps the fonts of the detail lines' data lines made for one device
    // from the first call to the second, for a page of lines.
    void CreateDataLineResources(const tDrawContext &context);
    void ReleaseDataLineResources();

    // The folder of the loaded file with a trailing "/", or "".
    QString GetTemplateFolder() const;
    const QString &GetPath() const { return m_path; }
    int GetVersion() const { return m_version; }
    int GetLoadState() const { return m_state; }

private:
    void Parse(const QString &text);
    // The section a heading (the text between the brackets) selects, or none.
    CDrawSection *SelectSection(const QString &heading);

    std::array<CDrawSection, 9> m_sections;
    std::array<std::vector<std::unique_ptr<CDrawSection>>, 3> m_groups;
    QString m_path;
    int m_version = 0;
    int m_state = Loaded;
};
