#include "EntryDialogWidgets.h"

#include "CAppData.h"
#include "CComboBoxSuper.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "CTransparentImage.h"
#include "ImageList.h"
#include "LocalTime.h"
#include "Texts.h"

#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QStyle>

namespace {
constexpr int WarningSize = 16;
// The warning pictures are drawn with yellow as their transparent colour.
constexpr quint32 WarningTransparent = 0x00FFFF;
} // namespace

QWidget *FindControl(const QWidget *dialog, int controlId)
{
    for (QWidget *child : dialog->findChildren<QWidget *>()) {
        if (WidgetIds::ControlId(child) == controlId)
            return child;
    }
    return nullptr;
}

CTransparentImage *MakeWarningImage(QWidget *parent, int controlId, int tipText)
{
    auto *image = Numbered(new CTransparentImage(parent), controlId);
    image->SetTransparentColor(WarningTransparent);
    image->SetIcon(ThemeIcon("dialog-warning").pixmap(WarningSize, WarningSize));
    image->setFixedSize(WarningSize, WarningSize);
    image->setToolTip(Platform::Texts::get(tipText));
    QSizePolicy policy = image->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    image->setSizePolicy(policy);
    return image;
}

QLabel *MakeQuestionIcon(QWidget *parent)
{
    // The same picture whichever dialog is opened first: the style looks
    // the question up in the icon theme, which may not be set up yet.
    ImageList::UseFallbackIconTheme();
    auto *icon = new QLabel(parent);
    QStyle *style = parent->style();
    const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
    icon->setPixmap(style->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, parent).pixmap(size, size));
    return icon;
}

void SetUpRecordCombos(CComboBoxSuper *project, QComboBox *activity, QComboBox *rate)
{
    for (QComboBox *combo : {static_cast<QComboBox *>(project), activity, rate}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(28);
    }
    project->setIconSize(QSize(16, 16));
    project->SetTreeLines(true);
    if (CProjectStore *store = CAppData::ProjectStore()) {
        project->SetFullNameProvider([store](qlonglong id) { return store->GetNodeFullName(int(id), -2); });
        project->SetShowFullName(true);
    }
}

QString EntryDateTimeText(qint64 instant)
{
    return EntryDateTimeText(instant, false);
}

QString EntryDateTimeText(qint64 instant, bool withSeconds)
{
    if (instant == 0)
        return QString();
    if (const CConfiguration *config = CAppData::Configuration()) {
        if (!withSeconds)
            return config->FormatDate(instant, false, true);
        return config->FormatDate(instant, false) + u' ' + config->FormatLocaleTime(instant, true);
    }
    return QLocale::system().toString(Platform::LocalTime::toLocal(instant),
                                      withSeconds ? QLocale::LongFormat : QLocale::ShortFormat);
}

QIcon ThemeIcon(const char *name)
{
    ImageList::UseFallbackIconTheme();
    return QIcon::fromTheme(QString::fromLatin1(name));
}
