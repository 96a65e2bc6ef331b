#include "CReportTemplate.h"

#include "CDrawBox.h"
#include "CDrawDataLine.h"
#include "CDrawImg.h"
#include "CDrawLine.h"
#include "CDrawText.h"
#include "TemplateTokens.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QLatin1String headerStart("[Zarvo template, Version=");

const QLatin1String fixedNames[] = {
    QLatin1String("Title"),      QLatin1String("End"),          QLatin1String("Header"),
    QLatin1String("Footer"),     QLatin1String("DataHeader"),   QLatin1String("DataLineOdd"),
    QLatin1String("DataLineEven"), QLatin1String("DataFooter"), QLatin1String("DataFooterRecap"),
};

const QLatin1String groupPrefixes[] = {
    QLatin1String("GroupHeader="),
    QLatin1String("GroupFooter="),
    QLatin1String("GroupLine="),
};

std::unique_ptr<CDrawObject> MakeObject(const QString &key)
{
    if (key == QLatin1String("box"))
        return std::make_unique<CDrawBox>();
    if (key == QLatin1String("line"))
        return std::make_unique<CDrawLine>();
    if (key == QLatin1String("text"))
        return std::make_unique<CDrawText>();
    if (key == QLatin1String("data"))
        return std::make_unique<CDrawDataLine>();
    if (key == QLatin1String("img"))
        return std::make_unique<CDrawImg>();
    return nullptr;
}

} // namespace

CReportTemplate::CReportTemplate() = default;

CReportTemplate::~CReportTemplate()
{
    Empty();
}

void CReportTemplate::Empty()
{
    for (CDrawSection &section : m_sections)
        section.Empty();
    for (auto &list : m_groups) {
        for (auto &section : list)
            section.reset();
        list.clear();
    }
}

int CReportTemplate::Load(const QString &firstFolder, const QString &name, const QString &secondFolder)
{
    Empty();
    m_version = 0;
    m_state = Loaded;
    if (firstFolder.isEmpty()) {
        m_path = name;
    } else {
        m_path = firstFolder + name + QLatin1String(".tpl");
        if (!QFileInfo::exists(m_path) && !secondFolder.isEmpty())
            m_path = secondFolder + name + QLatin1String(".tpl");
    }

    const QFileInfo info(m_path);
    if (m_path.isEmpty() || !info.exists() || info.isDir()) {
        m_path.clear();
        m_state = NotFound;
        return m_state;
    }
    QFile file(m_path);
    if (info.size() > MaxFileSize || !file.open(QIODevice::ReadOnly)) {
        m_path.clear();
        m_state = NotATemplate;
        return m_state;
    }
    const QString text = TemplateTokens::Decode(file.read(MaxFileSize + 1));
    file.close();

    qsizetype end = text.indexOf(u'\n');
    QString header = text.left(end < 0 ? text.size() : end);
    if (header.endsWith(u'\r'))
        header.chop(1);
    if (header.startsWith(headerStart)) {
        // The version is what follows, less its last character (the "]").
        QString version = header.mid(headerStart.size());
        version.chop(1);
        m_version = TemplateTokens::ToNumber(version);
    }
    if (text.isEmpty() || !header.startsWith(headerStart) || m_version <= 0) {
        m_version = 0;
        m_path.clear();
        m_state = NotATemplate;
        return m_state;
    }
    if (end >= 0)
        Parse(text.mid(end + 1));
    return m_state;
}

void CReportTemplate::Parse(const QString &text)
{
    const QString folder = GetTemplateFolder();
    CDrawSection *current = nullptr;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QString line = QStringView(text).mid(start, end - start).trimmed().toString();
        start = end + 1;
        if (line.isEmpty() || line.startsWith(u'!'))
            continue;
        if (line.startsWith(u'[')) {
            current = SelectSection(line.size() >= 2 ? line.mid(1, line.size() - 2) : QString());
            continue;
        }
        if (!current)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const QStringList tokens = line.mid(equals + 1).split(u';');
        if (key == QLatin1String("params")) {
            current->SetHeight(TemplateTokens::Number(tokens, 0));
            continue;
        }
        std::unique_ptr<CDrawObject> object = MakeObject(key);
        if (!object)
            continue;
        object->ReadTokens(tokens, folder);
        current->Append(std::move(object));
    }
}

CDrawSection *CReportTemplate::SelectSection(const QString &heading)
{
    for (int code = 0; code < int(m_sections.size()); ++code) {
        if (heading == fixedNames[code])
            return &m_sections[code];
    }
    for (int list = 0; list < 3; ++list) {
        if (!heading.startsWith(groupPrefixes[list]))
            continue;
        const int level = TemplateTokens::ToNumber(heading.mid(groupPrefixes[list].size()));
        if (level < 1 || level > MaxGroupLevels)
            return nullptr;
        auto &sections = m_groups[list];
        while (int(sections.size()) < level)
            sections.push_back(std::make_unique<CDrawSection>());
        return sections[level - 1].get();
    }
    return nullptr;
}

CDrawSection *CReportTemplate::GetSection(int code, int index) const
{
    if (code >= Title && code <= DataFooterRecap)
        return const_cast<CDrawSection *>(&m_sections[code]);
    if (code < GroupHeader || code > GroupLine)
        return nullptr;
    const auto &list = m_groups[code - GroupHeader];
    if (index < 0 || index >= int(list.size()))
        return nullptr;
    return list[index].get();
}

int CReportTemplate::GetGroupCount(int code) const
{
    if (code < GroupHeader || code > GroupLine)
        return 0;
    return int(m_groups[code - GroupHeader].size());
}

QString CReportTemplate::GetTemplateFolder() const
{
    if (m_path.isEmpty())
        return QString();
    return QFileInfo(m_path).absolutePath() + u'/';
}

// --------------------------------------------------------------- drawing

int CReportTemplate::SectionHeight(int code, int index, const tDrawContext &context) const
{
    const CDrawSection *section = GetSection(code, index);
    if (!section)
        return 0;
    // A section's height goes with the horizontal factor, as the files
    // were laid out for.
    return tDrawContext::Clamp(section->GetHeight() * context.ScaleX + 0.5);
}

int CReportTemplate::MeasureSection(int code, int index, const tDrawContext &context, int left, int top,
                                    int right, const QStringList *texts, const std::vector<tColumn> *columns) const
{
    const CDrawSection *section = GetSection(code, index);
    if (!section)
        return 0;
    const tBand band{left, top, right, tDrawContext::Clamp(double(top) + SectionHeight(code, index, context))};
    int needed = 0;
    for (const auto &object : section->Objects())
        needed = std::max(needed, object->Measure(context, band, texts, columns));
    return needed;
}

void CReportTemplate::DrawSection(int code, int index, double &y, const tDrawContext &context, int left, int right,
                                  const QStringList *texts, const std::vector<tColumn> *columns, int indent) const
{
    const CDrawSection *section = GetSection(code, index);
    if (!section)
        return;
    const int top = tDrawContext::Clamp(y);
    const int height = SectionHeight(code, index, context);
    const int bottom = tDrawContext::Clamp(double(top) + height);
    int extent = height;
    for (const auto &object : section->Objects()) {
        tBand band{left, top, right, bottom};
        object->Draw(context, band, texts, columns, indent);
        extent = std::max(extent, band.Bottom - top);
    }
    y += extent;
}

void CReportTemplate::CreateDataLineResources(const tDrawContext &context)
{
    for (int code : {DataLineOdd, DataLineEven}) {
        for (const auto &object : m_sections[code].Objects())
            object->CreateResources(context);
    }
}

void CReportTemplate::ReleaseDataLineResources()
{
    for (int code : {DataLineOdd, DataLineEven}) {
        for (const auto &object : m_sections[code].Objects())
            object->ReleaseResources();
    }
}
