#include "ReportColumnCatalogue.h"

#include "ReportFieldKeys.h"
#include "Settings.h"
#include "Texts.h"

#include <array>

namespace {

// Caption and description texts and default alignment of kinds 0 to 36,
// in kind order.
const Platform::TextId captionIds[ReportColumnKindCount] = {
    140, 141, 142, 143, 144, 145, 345, 342, 374, 338, 473, 612, 613, 474, 475, 345, 496, 140, 140,
    476, 477, 183, 184, 540, 559, 304, 597, 526, 527, 311, 538, 512, 525, 513, 515, 514, 473,
};
const Platform::TextId descriptionIds[ReportColumnKindCount] = {
    478, 479, 480, 481, 482, 483, 484, 485, 486, 487, 488, 614, 615, 489, 490, 491, 497, 492, 493,
    494, 495, 629, 528, 541, 560, 529, 598, 530, 531, 532, 539, 533, 537, 534, 536, 535, 488,
};
constexpr int defaultAligns[ReportColumnKindCount] = {
    0, 0, 0, 1, 1, 1, 1, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    1, 1, 0, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0,
};
static_assert(ReportFieldKeys.size() == ReportColumnKindCount);

struct Override
{
    QString caption;
    int align = ColumnAlignDefault;
};
std::array<Override, ReportColumnKindCount> overrides;

bool keyed(int kind)
{
    return kind >= 0 && kind < ReportColumnKindCount;
}

int validAlign(int align)
{
    return align >= ColumnAlignLeft && align <= ColumnAlignCentre ? align : ColumnAlignDefault;
}

} // namespace

QString GetReportColumnKey(int kind)
{
    return keyed(kind) ? QString::fromUtf16(ReportFieldKeys[kind]) : QString();
}

int FindReportColumnKind(QStringView key)
{
    for (int kind = 0; kind < ReportColumnKindCount; ++kind) {
        if (key == QStringView(ReportFieldKeys[kind]))
            return kind;
    }
    return -1;
}

QString GetReportColumnCaption(int kind)
{
    return keyed(kind) ? Platform::Texts::get(captionIds[kind]) : QString();
}

QString GetReportColumnDescription(int kind)
{
    return keyed(kind) ? Platform::Texts::get(descriptionIds[kind]) : QString();
}

int GetReportColumnDefaultAlign(int kind)
{
    if (kind == CrossTabValueKind)
        return ColumnAlignRight;
    return keyed(kind) ? defaultAligns[kind] : ColumnAlignLeft;
}

QString GetReportColumnCaptionOverride(int kind)
{
    return keyed(kind) ? overrides[kind].caption : QString();
}

int GetReportColumnAlignOverride(int kind)
{
    return keyed(kind) ? overrides[kind].align : ColumnAlignDefault;
}

void SetReportColumnOverride(int kind, const QString &caption, int align)
{
    if (!keyed(kind))
        return;
    overrides[kind].caption = caption;
    overrides[kind].align = validAlign(align);
}

void PersistReportColumn(bool load, int kind, Platform::Settings &settings)
{
    if (!keyed(kind))
        return;
    const QString key = GetReportColumnKey(kind);
    if (load) {
        overrides[kind].caption = settings.getString(u"Colonnes", key, u"Name");
        overrides[kind].align = validAlign(settings.getInt(u"Colonnes", key, u"Align", ColumnAlignDefault));
    } else {
        settings.setString(u"Colonnes", key, u"Name", overrides[kind].caption);
        settings.setInt(u"Colonnes", key, u"Align", overrides[kind].align);
    }
}

void PersistReportColumnSettings(bool load, Platform::Settings &settings)
{
    for (int kind = 0; kind < ReportColumnKindCount; ++kind)
        PersistReportColumn(load, kind, settings);
    if (!load)
        settings.sync();
}

void PersistReportColumnSettings(bool load)
{
    Platform::Settings settings;
    PersistReportColumnSettings(load, settings);
}
