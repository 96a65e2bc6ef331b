#include "COwnerDrawListBox.h"

#include "CTrayProjectStore.h"
#include "CTrayToolTip.h"
#include "Settings.h"
#include "TrayTexts.h"
#include "UiUtilities.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

const QColor HoverTop(255, 255, 255);
const QColor HoverBottom(237, 245, 255);
const QColor HeaderBottom(203, 220, 237);
const QColor HoverFrame(185, 215, 252);
const QColor TreeGrey(192, 192, 192);
const QColor RowRule(175, 175, 175);

} // namespace

COwnerDrawListBox::COwnerDrawListBox(bool grouped, const CTrayProjectStore &store, const TrayTexts &texts,
                                     QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_model(grouped)
    , m_store(store)
    , m_texts(texts)
    , m_play(QIcon::fromTheme(QStringLiteral("media-playback-start")))
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_model.SetLineHeight(fontMetrics().height());
    // The row's details in the tray's tip, wrapped to the screen.
    auto *tip = new CTrayToolTip(true, this);
    tip->Attach(viewport(), [this](const QPoint &pos, tToolTipContent &content) {
        const int row = m_model.RowAt(pos.y() + verticalScrollBar()->value());
        content = tToolTipContent();
        content.description = m_model.HoverText(row, m_store, m_texts);
        return !content.description.isEmpty();
    });
}

void COwnerDrawListBox::SetRecords(std::vector<DataItems> records, int sortMode)
{
    // The view loaded from the settings or reset stands until the first
    // fill; afterwards the list's own view is kept, while the order holds.
    FavouritesListModel::tViewState state;
    if (m_keptValid)
        state = m_kept;
    else if (m_model.SortMode() == sortMode)
        state = CaptureView();
    m_model.SetSortMode(sortMode);
    m_model.SetRecords(std::move(records));
    m_keptValid = false;
    m_hover = -1;
    m_current = -1;
    UpdateScrollBar();
    RestoreView(state);
    viewport()->update();
}

void COwnerDrawListBox::SetHistoryCount(int count)
{
    const int top = TopRow();
    m_model.SetHistoryCount(count);
    m_hover = -1;
    m_current = std::min(m_current, count - 1);
    UpdateScrollBar();
    SetTopRow(std::min(top, count - 1));
    viewport()->update();
}

FavouritesListModel::tViewState COwnerDrawListBox::CaptureView() const
{
    return m_model.CaptureView(TopRow());
}

void COwnerDrawListBox::RestoreView(const FavouritesListModel::tViewState &state)
{
    const int top = m_model.RestoreView(state);
    UpdateScrollBar();
    if (top >= 0)
        SetTopRow(top);
}

void COwnerDrawListBox::LoadViewState(int userId)
{
    // Until the first fill, the kept view stands for the list's.
    m_kept = FavouritesListModel::tViewState();
    m_keptValid = true;
    const Platform::Settings settings;
    if (userId == -1 || settings.getInt(u"Tray", u"Favoris", u"User", -1) != userId)
        return;
    m_kept.firstIsHeader = settings.getInt(u"Tray", u"Favoris", u"FirstType", 1) != 0;
    m_kept.firstId = settings.getInt(u"Tray", u"Favoris", u"FirstId", -1);
    m_kept.collapsed =
        FavouritesListModel::ParseCollapsed(settings.getString(u"Tray", u"Favoris", u"Collapsed", QString()));
}

void COwnerDrawListBox::SaveViewState(int userId) const
{
    if (!m_model.IsGrouped())
        return;
    const FavouritesListModel::tViewState state = m_keptValid ? m_kept : CaptureView();
    Platform::Settings settings;
    settings.setInt(u"Tray", u"Favoris", u"User", userId);
    settings.setInt(u"Tray", u"Favoris", u"FirstType", state.firstIsHeader ? 1 : 0);
    settings.setInt(u"Tray", u"Favoris", u"FirstId", state.firstId);
    settings.setString(u"Tray", u"Favoris", u"Collapsed", FavouritesListModel::CollapsedText(state.collapsed));
}

void COwnerDrawListBox::ResetViewState()
{
    m_kept = FavouritesListModel::tViewState();
    m_keptValid = true;
}

// ---------------------------------------------------------------------------
// Rows and scrolling
// ---------------------------------------------------------------------------

int COwnerDrawListBox::TopRow() const
{
    return std::max(0, m_model.RowAt(verticalScrollBar()->value()));
}

void COwnerDrawListBox::SetTopRow(int row)
{
    verticalScrollBar()->setValue(m_model.RowTop(row));
}

QRect COwnerDrawListBox::RowRect(int row) const
{
    if (row < 0 || row >= m_model.RowCount())
        return QRect();
    return QRect(0, m_model.RowTop(row) - verticalScrollBar()->value(), viewport()->width(), m_model.RowHeight(row));
}

void COwnerDrawListBox::UpdateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_model.TotalHeight() - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(std::max(1, m_model.RowHeight(0)));
}

void COwnerDrawListBox::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

void COwnerDrawListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_model.SetLineHeight(fontMetrics().height());
        UpdateScrollBar();
    }
    QAbstractScrollArea::changeEvent(event);
}

void COwnerDrawListBox::SetCurrentRow(int row)
{
    if (m_model.RowCount() == 0) {
        m_current = -1;
        return;
    }
    m_current = std::clamp(row, 0, m_model.RowCount() - 1);
    const QRect r = RowRect(m_current);
    if (r.top() < 0)
        verticalScrollBar()->setValue(m_model.RowTop(m_current));
    else if (r.bottom() >= viewport()->height())
        verticalScrollBar()->setValue(m_model.RowTop(m_current + 1) - viewport()->height());
    viewport()->update();
}

// ---------------------------------------------------------------------------
// Mouse and keyboard
// ---------------------------------------------------------------------------

void COwnerDrawListBox::SetHover(int row)
{
    if (row == m_hover)
        return;
    m_hover = row;
    viewport()->update();
}

QString COwnerDrawListBox::HoverText() const
{
    return m_model.HoverText(m_hover, m_store, m_texts);
}

void COwnerDrawListBox::mouseMoveEvent(QMouseEvent *event)
{
    const int y = event->position().toPoint().y() + verticalScrollBar()->value();
    SetHover(m_model.RowAt(y));
    QAbstractScrollArea::mouseMoveEvent(event);
}

void COwnerDrawListBox::leaveEvent(QEvent *event)
{
    SetHover(-1);
    QAbstractScrollArea::leaveEvent(event);
}

void COwnerDrawListBox::mousePressEvent(QMouseEvent *event)
{
    m_pressed = -1;
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const int row = m_model.RowAt(event->position().toPoint().y() + verticalScrollBar()->value());
    if (row < 0)
        return;
    if (m_model.IsHeader(row)) {
        // A header folds or unfolds; it is never chosen.
        Toggle(row);
        return;
    }
    m_current = row;
    m_pressed = row;
    viewport()->update();
}

void COwnerDrawListBox::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    if (event->button() != Qt::LeftButton || pressed < 0)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    // Released on the row pressed: a click.
    if (m_model.RowAt(event->position().toPoint().y() + verticalScrollBar()->value()) == pressed)
        Activate(pressed);
}

void COwnerDrawListBox::keyPressEvent(QKeyEvent *event)
{
    const int count = m_model.RowCount();
    const int page = std::max(1, viewport()->height() / std::max(1, m_model.RowHeight(std::max(0, m_current))));
    switch (event->key()) {
    case Qt::Key_Up: SetCurrentRow(m_current < 0 ? 0 : m_current - 1); break;
    case Qt::Key_Down: SetCurrentRow(m_current + 1); break;
    case Qt::Key_PageUp: SetCurrentRow(m_current - page); break;
    case Qt::Key_PageDown: SetCurrentRow(m_current + page); break;
    case Qt::Key_Home: SetCurrentRow(0); break;
    case Qt::Key_End: SetCurrentRow(count - 1); break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (m_model.IsHeader(m_current)
            && (m_model.RowItem(m_current).State == DataItems::CollapsedGroup) == (event->key() == Qt::Key_Right))
            Toggle(m_current);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_model.IsHeader(m_current))
            Toggle(m_current);
        else
            Activate(m_current);
        break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void COwnerDrawListBox::Toggle(int row)
{
    const int top = verticalScrollBar()->value();
    m_model.ToggleGroup(row);
    m_hover = -1;
    UpdateScrollBar();
    verticalScrollBar()->setValue(top);
    m_current = row;
    viewport()->update();
}

void COwnerDrawListBox::Activate(int row)
{
    const int id = m_model.StartId(row);
    if (id != -1)
        emit startRequested(id);
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

void COwnerDrawListBox::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), Qt::white);
    for (int row = TopRow(); row < m_model.RowCount(); ++row) {
        const QRect r = RowRect(row);
        if (r.top() >= viewport()->height())
            break;
        PaintRow(p, row, r);
    }
}

void COwnerDrawListBox::PaintRow(QPainter &p, int row, const QRect &r)
{
    const DataItems item = m_model.RowItem(row);
    int projectId = item.IdProject;
    int activityId = item.IdActivite;
    if (!m_model.IsGrouped()) {
        int rate = -1;
        if (!m_store.Store().GetHistoryEntry(item.Id, projectId, activityId, rate))
            return;
    }
    const QString project = m_store.GetProjectName(projectId, m_texts);
    const QString activity = m_store.GetActivityName(activityId, m_texts);
    const bool hovered = row == m_hover;
    const bool header = item.IsGroup();
    const bool grouped = m_model.IsGroupedDisplay();
    const int level = grouped ? item.Level : 0;
    const int top = r.top();
    const int bottom = r.top() + r.height();
    const int h = r.height();
    const int mid = (top + bottom) / 2;

    // Background.
    if (header || hovered) {
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, HoverTop);
        fill.setColorAt(1, header ? HeaderBottom : HoverBottom);
        p.fillRect(r, fill);
    } else {
        p.fillRect(r, Qt::white);
    }
    QFont normal = font();
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics normalMetrics(normal);
    const QFontMetrics boldMetrics(bold);
    p.setPen(palette().color(QPalette::Text));

    // Tree lines.
    if (grouped) {
        const FavouritesListModel::tTreeLines tree = m_model.TreeLines(row);
        const int x = 16 * level + 8;
        p.setPen(TreeGrey);
        if (!header) {
            p.drawLine(x, top, x, tree.last ? mid : bottom - 1);
            p.drawLine(x, mid, 16 * level + 16, mid);
        } else {
            p.drawRect(16 * level + 3, mid - 5, 10, 10);
            if (level > 0) {
                p.drawLine(x, top, x, mid - 5);
                if (!tree.last)
                    p.drawLine(x, mid + 5, x, bottom - 1);
            }
            p.setPen(palette().color(QPalette::Text));
            p.drawLine(16 * level + 6, mid, 16 * level + 10, mid);
            if (item.State == DataItems::CollapsedGroup)
                p.drawLine(x, mid - 2, x, mid + 2);
        }
        p.setPen(TreeGrey);
        for (int k : tree.passing)
            p.drawLine(16 * k + 8, top, 16 * k + 8, bottom - 1);
        p.setPen(palette().color(QPalette::Text));
    }

    const auto drawText = [&p](const QFont &f, const QRect &box, const QString &text) {
        p.setFont(f);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   EllipsizeText(QFontMetrics(f), text, box.width(), true));
    };

    if (header) {
        const QIcon picture = QIcon::fromTheme(QLatin1String(m_model.SortMode() == 1 ? "folder" : "view-list-details"));
        picture.paint(&p, QRect(16 * (level + 1), top + (h - 16) / 2, 16, 16));
        drawText(bold, QRect(QPoint(16 * level + 36, top), QPoint(r.right() - 2, bottom - 1)), item.Text);
    } else if (grouped) {
        const bool titled = !item.Text.isEmpty();
        const int left = 16 * level + 20;
        QString second = m_model.SortMode() == 1 ? activity : project;
        const int secondRight = r.right() - 5 - (hovered ? 28 : 0);
        if (titled) {
            const int line = (h - 4) / 2;
            drawText(normal, QRect(QPoint(left, top + 2), QPoint(r.right() - 5, top + 2 + line - 1)), item.Text);
            drawText(normal, QRect(QPoint(left, top + 2 + line), QPoint(secondRight, top + 2 + 2 * line - 1)), second);
        } else {
            drawText(normal, QRect(QPoint(left, top + 2), QPoint(secondRight, bottom - 3)), second);
        }
    } else {
        const bool titled = !item.Text.isEmpty();
        const int line = (h - 4) / (titled ? 3 : 2);
        QStringList labels;
        QStringList values;
        if (titled) {
            labels << m_texts.Text(TrayTexts::Title);
            values << item.Text;
        }
        labels << m_texts.Text(TrayTexts::Project) << m_texts.Text(TrayTexts::Activity);
        values << project << activity;
        int widest = 0;
        for (const QString &label : labels)
            widest = std::max(widest, boldMetrics.horizontalAdvance(label));
        const QString colon = QStringLiteral(" : ");
        const int valueLeft = 5 + widest + boldMetrics.horizontalAdvance(colon);
        for (int i = 0; i < labels.size(); ++i) {
            const int y = top + 2 + i * line;
            drawText(bold, QRect(5, y, widest, line), labels[i]);
            drawText(bold, QRect(5 + widest, y, valueLeft - 5 - widest, line), colon);
            const bool named = !titled || i > 0;
            const int right = r.right() - ((hovered && named) ? 33 : 5);
            drawText(normal, QRect(QPoint(valueLeft, y), QPoint(right, y + line - 1)), values[i]);
        }
    }

    // The play picture on the entry under the mouse.
    if (hovered && !header) {
        const bool titled = !item.Text.isEmpty();
        int y = top + ((h - 4) / 2 - 6);
        if (titled)
            y = grouped ? top + (h - 18) : top + (2 * ((h - 4) / 3) - 6);
        m_play.paint(&p, QRect(r.right() - 24, y, 16, 16));
    }

    // Row rule, hover frame and the keyboard's current row.
    QPen dotted(RowRule, 1, Qt::DotLine);
    p.setPen(dotted);
    p.drawLine(r.left(), bottom - 1, r.right(), bottom - 1);
    if (hovered) {
        p.setPen(QPen(HoverFrame, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(1, 1, -1, -1));
    }
    if (row == m_current && hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}
