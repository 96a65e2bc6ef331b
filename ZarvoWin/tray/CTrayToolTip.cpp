#include "CTrayToolTip.h"

#include "CNewToolTipCtrl.h"
#include "CTrayProjectStore.h"
#include "TrayTexts.h"

#include <QPainterPath>
#include <QRegion>

#include <algorithm>

namespace {

// The cursor picture's height the tip keeps clear of.
constexpr int CursorHeight = 20;

// "Projet : name\nActivité : name", a name left out when there is none.
QString projectAndActivity(const tTacheFull &task, const TrayTexts &texts, const CTrayProjectStore &store)
{
    QString text = texts.Text(TrayTexts::Project) + QStringLiteral(" :");
    if (task.IdProjet != -1)
        text += u' ' + store.GetProjectName(task.IdProjet, texts);
    text += u'\n' + texts.Text(TrayTexts::Activity) + QStringLiteral(" :");
    if (task.IdActivite != -1)
        text += u' ' + store.GetActivityName(task.IdActivite, texts);
    return text;
}

// "Début : ...\nFin : ...\nDurée : ...".
QString times(const tTacheFull &task, qint64 now, const TrayTexts &texts)
{
    const qint64 end = task.IsRunning() ? now : task.Fin;
    return texts.Text(TrayTexts::Start) + QStringLiteral(" : ") + texts.DateText(task.Debut, false, true) + u'\n'
        + texts.Text(TrayTexts::End) + QStringLiteral(" : ")
        + (task.IsRunning() ? texts.Text(TrayTexts::Running) : texts.DateText(task.Fin, false, true)) + u'\n'
        + texts.Text(TrayTexts::Duration) + QStringLiteral(" : ") + texts.DurationText(end - task.Debut);
}

} // namespace

CTrayToolTip::CTrayToolTip(bool picture, QWidget *parent)
    : CMyToolTipCtrl(parent)
{
    SetMaxTextWidth(TextWidthLimit);
    if (picture)
        SetIcon(QIcon::fromTheme(QStringLiteral("dialog-information")), PictureSize);
}

void CTrayToolTip::SetRoundedCorners(bool rounded)
{
    m_rounded = rounded;
    if (!rounded)
        clearMask();
    resizeEvent(nullptr);
}

void CTrayToolTip::resizeEvent(QResizeEvent *)
{
    if (!m_rounded)
        return;
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 4, 4);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

QString CTrayToolTip::BuildTaskDescription(const tTacheFull &task, qint64 now, const TrayTexts &texts,
                                           const CTrayProjectStore &store, const TextLookup &text)
{
    if (task.Id == -1)
        return text(178);
    if (task.Debut > now || task.Fin > now)
        return text(120);
    QString description;
    if (!task.Title.isEmpty())
        description = task.Title + u'\n';
    description += projectAndActivity(task, texts, store) + u'\n' + times(task, now, texts);
    // The hint only where a click can act now: an entry that began this
    // very second has nothing to pause yet.
    if (task.Debut < now && (task.IsRunning() || task.Fin < now))
        description += QStringLiteral("\n\n")
            + texts.Text(task.IsRunning() ? TrayTexts::ClickToPause : TrayTexts::ClickToResume);
    return description;
}

QString CTrayToolTip::BuildDaySummary(size_t count, const QString &todayTotal, const TrayTexts &texts,
                                      const TextLookup &text)
{
    if (count == 0)
        return text(178);
    QString summary = count == 1 ? text(179) : QString(text(180)).replace(QStringLiteral("%d"), QString::number(count));
    return summary + u'\n' + texts.Text(TrayTexts::Duration) + QStringLiteral(" : ") + todayTotal;
}

tToolTipContent CTrayToolTip::EntryContent(const tTacheFull &task, qint64 now, const TrayTexts &texts,
                                           const CTrayProjectStore &store)
{
    tToolTipContent content;
    if (!task.Title.isEmpty())
        content.title = task.Title + u'\n';
    content.title += projectAndActivity(task, texts, store);
    content.description = times(task, now, texts);
    if (!task.Notes.isEmpty())
        content.description += QStringLiteral("\n\n") + task.Notes;
    return content;
}

tToolTipContent CTrayToolTip::CommandContent(const QString &commandText)
{
    const CNewToolTipCtrl::Parts parts = CNewToolTipCtrl::Split(commandText);
    tToolTipContent content;
    content.title = parts.label;
    content.description = parts.description;
    return content;
}

QPoint CTrayToolTip::Placement(const QSize &size, const QPoint &cursor, int cursorHeight, const QRect &area,
                               int maxBottom)
{
    QPoint place(cursor.x(), cursor.y() + cursorHeight);
    bool moved = false;
    if (place.y() + size.height() + 2 > area.bottom()) {
        const int above = maxBottom != -1 ? std::min(cursor.y(), maxBottom) : cursor.y();
        place.setY(above - size.height() - 1);
        moved = true;
    }
    if (place.x() + size.width() + 2 > area.right())
        place.setX(moved ? cursor.x() - size.width() - 1 : area.right() - size.width() - 1);
    // Never off the work area, whatever the cursor's place.
    place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - size.width())));
    place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    return place;
}

QSize CTrayToolTip::Room(const QPoint &cursor, int cursorHeight, const QRect &area, int maxBottom)
{
    const int below = area.bottom() - 2 - (cursor.y() + cursorHeight);
    const int above = (maxBottom != -1 ? std::min(cursor.y(), maxBottom) : cursor.y()) - 1 - area.top();
    return QSize(area.width(), std::max(below, above));
}

int CTrayToolTip::MaxBottom() const
{
    return m_keepAbove ? m_keepAbove->mapToGlobal(QPoint(0, 0)).y() - 1 : -1;
}

QPoint CTrayToolTip::TipPosition(const QPoint &globalPos, const QRect &area) const
{
    const QRect within = area.isValid() ? area : QRect(globalPos - QPoint(5000, 5000), QSize(10000, 10000));
    return Placement(size(), globalPos, CursorHeight, within, MaxBottom());
}

QSize CTrayToolTip::RoomAt(const QPoint &globalPos, const QRect &area) const
{
    return Room(globalPos, CursorHeight, area, MaxBottom());
}
