#include "CMyDockablePane.h"

#include "CPaneMenuRules.h"
#include "Texts.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace {

QString paneText(int id)
{
    switch (id) {
    case CMyDockablePane::ItemFloating:
        return Platform::Texts::get(604);
    case CMyDockablePane::ItemDocking:
        return Platform::Texts::get(605);
    case CMyDockablePane::ItemTabbedDocument:
        return Platform::Texts::get(606);
    case CMyDockablePane::ItemAutoHide:
        return Platform::Texts::get(607);
    case CMyDockablePane::ItemHide:
        return Platform::Texts::get(608);
    case 16032:
        return Platform::Texts::get(16032);
    case 17038:
        return Platform::Texts::get(17038);
    default:
        return QString();
    }
}

// The caption texts of the six panes.
QString captionText(int id)
{
    switch (id) {
    case 155:
        return Platform::Texts::get(155);
    case 156:
        return Platform::Texts::get(156);
    case 257:
        return Platform::Texts::get(257);
    case 258:
        return Platform::Texts::get(258);
    case 259:
        return Platform::Texts::get(259);
    case 521:
        return Platform::Texts::get(521);
    default:
        return Platform::Texts::get(id);
    }
}

} // namespace

CMyDockablePane::CMyDockablePane(int id, int captionTextId, QWidget *parent)
    : QDockWidget(parent)
    , m_id(id)
    , m_captionTextId(captionTextId)
{
    setObjectName(QString::number(id));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 2, 2, 2);
    layout->setSpacing(2);
    m_caption = new QLabel(bar);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_menuButton = new QToolButton(bar);
    m_menuButton->setObjectName(QStringLiteral("menuButton"));
    m_menuButton->setAutoRaise(true);
    m_menuButton->setArrowType(Qt::DownArrow);
    m_closeButton = new QToolButton(bar);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoRaise(true);
    m_closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_menuButton);
    layout->addWidget(m_closeButton);
    setTitleBarWidget(bar);

    connect(m_menuButton, &QToolButton::clicked, this, &CMyDockablePane::ShowPaneMenu);
    connect(m_closeButton, &QToolButton::clicked, this, &QDockWidget::close);
    ApplyLanguage();
}

void CMyDockablePane::ApplyLanguage()
{
    const QString caption = captionText(m_captionTextId);
    setWindowTitle(caption);
    m_caption->setText(caption);
    m_closeButton->setToolTip(paneText(16032));
    m_menuButton->setToolTip(paneText(17038));
}

void CMyDockablePane::FillPaneMenu(QMenu &menu)
{
    menu.clear();
    CPaneMenuRules::State state;
    state.floats = isFloating();
    state.canFloat = features().testFlag(QDockWidget::DockWidgetFloatable);
    // Panes never hide themselves at the frame's edge here.
    state.canAutoHide = false;
    state.canClose = features().testFlag(QDockWidget::DockWidgetClosable);
    state.anyDockSide = allowedAreas() != Qt::NoDockWidgetArea;
    for (const CPaneMenuRules::ItemState &item : CPaneMenuRules::Items(state, OffersTabbedDocument())) {
        QAction *action = menu.addAction(paneText(item.item));
        action->setData(item.item);
        action->setCheckable(item.item != ItemHide);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
        switch (item.item) {
        case ItemFloating:
            connect(action, &QAction::triggered, this, [this] { setFloating(true); });
            break;
        case ItemDocking:
            connect(action, &QAction::triggered, this, [this] { setFloating(false); });
            break;
        case ItemTabbedDocument:
            connect(action, &QAction::triggered, this, [this] { OnTabbedDocument(); });
            break;
        case ItemHide:
            connect(action, &QAction::triggered, this, &QDockWidget::close);
            break;
        default:
            break;
        }
    }
}

void CMyDockablePane::ShowPaneMenu()
{
    QMenu menu(this);
    FillPaneMenu(menu);
    menu.exec(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height())));
}
