#include "CReportView.h"

#include "CBdD.h"
#include "CDlgName.h"
#include "CDlgPage.h"
#include "CDlgOptColProject.h"
#include "CNewToolTipCtrl.h"
#include "CDlgColumn.h"
#include "CReportFrame.h"
#include "CReportGrid.h"
#include "CReportHost.h"
#include "CReportModel.h"
#include "CReportPageView.h"
#include "CReportPapers.h"
#include "CReportStore.h"
#include "CReportTemplate.h"
#include "CTranslationStore.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "ReportEntryCommands.h"
#include "ReportExportCommand.h"
#include "ReportPrinting.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"
#include "tReportDefinition.h"
#include "tReportEntry.h"

#include "DialogAnswers.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QPaintEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>

namespace {

// The buttons of a toolbar in order (0: a separator), the text shown
// beside some of them (0: none), their pictures, and the text of their
// status prompt and tooltip when it is not the command's own.
struct tButton
{
    int id;
    int text;
    const char *icon;
    int tip = 0;
};
constexpr tButton Buttons[] = {
    {CReportView::CmdSettings, 0, "configure"},
    {CReportView::CmdRefresh, 0, "view-refresh"},
    {CReportView::CmdSave, 0, "document-save"},
    {CReportView::CmdSaveAs, 0, "document-save-as"},
    {CReportView::CmdExport, 346, "document-export"},
    {0, 0, nullptr},
    {CReportView::CmdPrintLayout, 129, "document-print-preview", 21611},
    {0, 0, nullptr},
    {CReportView::CmdExpand, 131, "expand-all"},
    {CReportView::CmdCollapse, 133, "collapse-all"},
    {CReportView::CmdGroups, 134, "view-group"},
    {CReportView::CmdColumns, 504, "view-file-columns"},
    {CReportView::CmdBilling, 415, "view-bank"},
};
// The toolbar of the print layout.
constexpr tButton PrintButtons[] = {
    {CReportView::CmdSettings, 0, "configure"},
    {CReportView::CmdRefresh, 0, "view-refresh"},
    {CReportView::CmdSave, 0, "document-save"},
    {CReportView::CmdSaveAs, 0, "document-save-as"},
    {CReportView::CmdPrint, 136, "document-print", 21610},
    {0, 0, nullptr},
    {CReportView::CmdDataMode, 135, "view-list-details", 21609},
    {0, 0, nullptr},
    {CReportView::CmdPageSetup, 0, "document-page-setup", 21608},
    {CReportView::CmdSeveralPages, 0, "view-list-icons", 21600},
    {CReportView::CmdOnePage, 0, "zoom-fit-best", 21601},
    {CReportView::CmdActualSize, 0, "zoom-original", 21602},
    {CReportView::CmdWindowWidth, 0, "zoom-fit-width", 21603},
    {0, 0, nullptr},
    {CReportView::CmdFirstPage, 0, "go-first", 21604},
    {CReportView::CmdPreviousPage, 0, "go-previous", 21605},
    {CReportView::CmdNextPage, 0, "go-next", 21606},
    {CReportView::CmdLastPage, 0, "go-last", 21607},
};

template <class Function>
void forEachButton(bool printLayout, Function function)
{
    if (printLayout) {
        for (const tButton &button : PrintButtons)
            function(button);
    } else {
        for (const tButton &button : Buttons)
            function(button);
    }
}

// The zoom mode of a zoom command; -1 for other commands.
int zoomOf(int id)
{
    switch (id) {
    case CReportView::CmdSeveralPages: return 0;
    case CReportView::CmdOnePage: return 1;
    case CReportView::CmdActualSize: return 2;
    case CReportView::CmdWindowWidth: return 3;
    default: return -1;
    }
}

constexpr int MainMenu = 128;

QString toolTipOf(int id, int tip)
{
    const QString text = Platform::Texts::get(tip ? tip : id);
    const QString label = text.contains(u'\n') ? CNewToolTipCtrl::Split(text).label : QString();
    if (!label.isEmpty())
        return label;
    CTranslationStore store;
    return store.GetMenuString(MainMenu, id).remove(u'&');
}

QString applicationTitle()
{
    return Platform::Texts::get(128);
}

} // namespace

CReportView::CReportView(CReportFrame &frame, CReportHost &host, tReportDefinition &definition, QWidget *parent)
    : QWidget(parent)
    , m_frame(frame)
    , m_host(host)
    , m_definition(definition)
    , m_model(std::make_unique<CReportModel>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_model->SetProjectStore(host.ProjectStore());
    m_toolBar = CreateToolBar(ToolBarId, false);
    m_printToolBar = CreateToolBar(PrintToolBarId, true);
    m_printToolBar->hide();
    m_pages = new CReportPageView(this);
    m_pages->hide();
    connect(m_pages, &CReportPageView::stateChanged, this, [this] {
        UpdateToolBar();
        m_frame.UpdateTitle();
    });
    m_grid = new CReportGrid(this);
    m_grid->SetSmallImageList(host.SmallImages());
    m_grid->SetDefinition(&m_definition);
    m_grid->hide();
    connect(m_grid, &CReportGrid::definitionModified, this, &CReportView::commandStatesChanged);
    connect(m_grid, &CTreeGridCtrl::currentRowChanged, this, &CReportView::commandStatesChanged);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ShowContextMenu(m_grid->viewport()->mapToGlobal(pos)); });
    setFocusProxy(m_grid);
    RefreshLabels();
    LayOut();
}

CReportView::~CReportView()
{
    // The pages and the grid go first: they read the model until then.
    delete m_pages;
    m_pages = nullptr;
    delete m_grid;
    m_grid = nullptr;
}

QToolBar *CReportView::CreateToolBar(int id, bool printLayout)
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QString::number(id));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    forEachButton(printLayout, [&](const tButton &button) {
        if (button.id == 0) {
            bar->addSeparator();
            return;
        }
        QAction *action = bar->addAction(QIcon::fromTheme(QString::fromLatin1(button.icon)), QString());
        action->setObjectName(QString::number(button.id));
        action->setData(button.id);
        action->setCheckable(zoomOf(button.id) >= 0);
        connect(action, &QAction::triggered, this, [this, id = button.id] {
            if (IsCommandEnabled(id))
                OnCommand(id);
            UpdateToolBar();
        });
        // The buttons without a text of their own show their picture only.
        if (button.text == 0) {
            if (auto *tool = qobject_cast<QToolButton *>(bar->widgetForAction(action)))
                tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    });
    return bar;
}

QAction *CReportView::ToolBarAction(int id) const
{
    QToolBar *shown = m_printLayout ? m_printToolBar : m_toolBar;
    QToolBar *other = m_printLayout ? m_toolBar : m_printToolBar;
    for (QToolBar *bar : {shown, other}) {
        if (!bar)
            continue;
        for (QAction *action : bar->actions()) {
            if (action->data().toInt() == id && !action->isSeparator())
                return action;
        }
    }
    return nullptr;
}

void CReportView::RefreshLabels()
{
    for (const bool printLayout : {false, true}) {
        QToolBar *bar = printLayout ? m_printToolBar : m_toolBar;
        forEachButton(printLayout, [&](const tButton &button) {
            if (button.id == 0)
                return;
            for (QAction *action : bar->actions()) {
                if (action->data().toInt() != button.id || action->isSeparator())
                    continue;
                const QString tip = toolTipOf(button.id, button.tip);
                action->setText(button.text ? Platform::Texts::get(button.text) : tip);
                action->setToolTip(tip);
                action->setStatusTip(Platform::Texts::get(button.tip ? button.tip : button.id).section(u'\n', 0, 0));
            }
        });
    }
    if (!m_building && m_grid->Model() && m_model->Tree().RowCount() > 0) {
        m_model->ReloadLabels();
        m_grid->setUpdatesEnabled(false);
        m_grid->RelabelColumns();
        m_model->SetFirstRowLabel(Platform::Texts::get(316));
        m_grid->setUpdatesEnabled(true);
        m_grid->viewport()->update();
    }
    LayOut();
    // The pages print the labels too.
    if (m_printLayout)
        LayOutPages();
}

void CReportView::LayOut()
{
    const int bar = std::max(m_toolBar->sizeHint().height(), m_printToolBar->sizeHint().height());
    m_toolBar->setGeometry(0, 0, width(), bar);
    m_printToolBar->setGeometry(0, 0, width(), bar);
    m_grid->setGeometry(0, bar, width(), std::max(height() - bar, 0));
    m_pages->setGeometry(0, bar, width(), std::max(height() - bar, 0));
}

void CReportView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

// ---------------------------------------------------------------- states

void CReportView::SetMessage(const QString &text)
{
    m_message = text;
    ShowMode(m_printLayout);
    update();
}

void CReportView::SetBuilding(bool building)
{
    // Before the build starts (it keeps the checks of the entries it finds
    // again) and after it ends.
    ShowCheckBoxes();
    m_building = building;
    if (building) {
        // The build fills the model on another thread: nothing here reads
        // it until the build is over, the pages neither. The current row
        // is followed through it: a row the build keeps stays current.
        DiscardPages();
        m_model->Tree().SetMarkedRow(m_grid->Item(m_grid->SelectedRow()));
        m_grid->SetModel(nullptr);
        m_grid->hide();
    } else {
        m_grid->SetModel(m_model.get());
        if (const CTreeItem *current = m_model->Tree().MarkedRow(); current && current->ListIndex >= 0)
            m_grid->SetSelectedRow(current->ListIndex);
        m_model->Tree().SetMarkedRow(nullptr);
        if (m_model->Tree().RowCount() > 0)
            m_grid->RelabelColumns();
        ShowMode(m_printLayout);
    }
    update();
    UpdateToolBar();
}

void CReportView::ShowMode(bool printLayout)
{
    const bool wasPrintLayout = m_printLayout;
    m_printLayout = printLayout;
    m_toolBar->setVisible(!printLayout);
    m_printToolBar->setVisible(printLayout);
    const bool content = !m_building && m_message.isEmpty();
    m_grid->setVisible(content && !printLayout);
    if (printLayout && content) {
        ShowPages();
    } else {
        DiscardPages();
        if (wasPrintLayout && !printLayout && content)
            m_grid->setFocus();
    }
    UpdateToolBar();
}

void CReportView::ShowPages()
{
    m_pages->show();
    LayOutPages();
    if (m_grid->hasFocus())
        m_pages->setFocus();
}

void CReportView::DiscardPages()
{
    m_pages->hide();
    m_pages->Clear();
    // The print lines point into the model's rows: none is kept past the
    // pages that use them.
    m_grid->SetPrintTemplate(nullptr);
    m_template.reset();
}

void CReportView::SetZoom(int zoom)
{
    m_pages->SetZoom(zoom);
}

int CReportView::Zoom() const
{
    return m_pages->Zoom();
}

void CReportView::LayOutPages()
{
    if (!m_printLayout || m_building || !m_message.isEmpty() || !m_grid->Model())
        return;
    m_pages->Clear();
    // The paper in screen pixels, from tenths of a millimetre.
    const int dpiX = logicalDpiX() > 0 ? logicalDpiX() : 96;
    const int dpiY = logicalDpiY() > 0 ? logicalDpiY() : 96;
    const int paperWidth = std::max<int>(0, m_definition.Portrait ? m_definition.PaperWidth : m_definition.PaperHeight);
    const int paperHeight = std::max<int>(0, m_definition.Portrait ? m_definition.PaperHeight : m_definition.PaperWidth);
    const QSize page(std::max(1, int(qint64(paperWidth) * dpiX / 254)), std::max(1, int(qint64(paperHeight) * dpiY / 254)));

    m_template = std::make_unique<CReportTemplate>();
    const QString userFolder = m_host.UserTemplatesFolder();
    const QString programFolder = m_host.ProgramTemplatesFolder();
    m_template->Load(userFolder.isEmpty() ? programFolder : userFolder, m_definition.Modele, programFolder);
    // Margins and paper changed in this window reach the pages before a
    // rebuild does.
    m_model->SetDefinition(m_definition);
    m_grid->SetPrintTemplate(m_template.get());
    m_grid->BuildPrintLines();
    QImage measure(1, 1, QImage::Format_RGB32);
    measure.setDotsPerMeterX(qRound(dpiX / 0.0254));
    measure.setDotsPerMeterY(qRound(dpiY / 0.0254));
    m_grid->SetUpPrintContext(0, &measure, QRect(QPoint(0, 0), page));
    m_pages->SetPageDrawer([this](QPainter &painter, int number) {
        if (m_template && m_template->GetLoadState() != CReportTemplate::Loaded) {
            // The message is centred on the image as it shows.
            painter.resetTransform();
        }
        m_grid->DrawPage(0, painter, number);
    });
    m_pages->SetPages(page, m_grid->PrintLayout().GetPageCount(), dpiX);
}

void CReportView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = rect().adjusted(0, m_toolBar->height(), 0, 0);
    painter.fillRect(event->rect(), Qt::white);
    if (m_building || m_message.isEmpty())
        return;
    const int top = m_toolBar->height();
    const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    icon.paint(&painter, QRect((width() - 32) / 2, top + 10, 32, 32));
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * 1.3 : 12);
    font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.setPen(QColor(0x50, 0x50, 0x50));
    const QRect text(area.left() + 10, top + 50, area.width() - 20, std::max(area.bottom() - (top + 50), 0));
    painter.drawText(text, int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap), m_message);
}

// ---------------------------------------------------------------- commands

bool CReportView::HasRows() const
{
    return !m_building && m_grid->Model() && m_model->Tree().RowCount() > 0;
}

// The commands whose availability follows the report's state alone.
bool CReportView::IsOwnCommand(int id) const
{
    switch (id) {
    case CmdExport:
    case CmdColumns:
    case CmdMenuColumns:
    case CmdFitColumns:
    case CmdBilling:
    case CmdMenuBilling:
    case CmdDeleteChecked:
    case CmdChangeChecked:
    case CmdEditEntry:
    case CmdShowInCalendar:
        return true;
    default:
        return false;
    }
}

bool CReportView::HandlesCommand(int id) const
{
    switch (id) {
    case CmdPrintLayout:
    case CmdDataMode:
    case CmdSeveralPages:
    case CmdOnePage:
    case CmdActualSize:
    case CmdWindowWidth:
    case CmdFirstPage:
    case CmdPreviousPage:
    case CmdNextPage:
    case CmdLastPage:
    case CmdPrint:
    case CmdPageSetup:
    case CmdRefresh:
    case CmdSave:
    case CmdSaveAs:
    case CmdExpand:
    case CmdCollapse:
    case CmdGroups:
        return true;
    case CmdSettings:
        return CReportFrame::HasSettingsEditor();
    default:
        return IsOwnCommand(id);
    }
}

ReportViewCommands::tState CReportView::CommandState() const
{
    ReportViewCommands::tState state;
    state.PrintLayoutShown = m_printLayout;
    state.Kind = m_definition.Type;
    state.Detail = m_definition.Detail;
    state.GrpCol = m_definition.Grp_Col;
    state.HasLines = HasRows();
    state.EntrySelected = state.HasLines && m_grid->GetSelectedEntry();
    state.SettingsEditor = CReportFrame::HasSettingsEditor();
    state.ColumnChooser = true;
    return state;
}

bool CReportView::IsCommandEnabled(int id) const
{
    if (!HandlesCommand(id) || m_frame.IsBuilding())
        return false;
    if (IsOwnCommand(id))
        return ReportViewCommands::IsEnabled(id, CommandState());
    const bool pages = m_printLayout && HasRows() && m_pages->PageCount() > 0;
    const CPageZoomLayout &layout = m_pages->Layout();
    switch (id) {
    case CmdExpand:
    case CmdCollapse:
    case CmdGroups:
        return HasRows();
    case CmdOnePage:
    case CmdActualSize:
    case CmdFirstPage:
    case CmdLastPage:
        return pages;
    case CmdSeveralPages:
        return pages && layout.CacheLength() >= 2;
    case CmdWindowWidth:
        return pages && CPageZoomLayout::WindowWidthFits(m_pages->PageSize().width(), layout.AreaSize().width());
    case CmdNextPage:
        return pages && layout.CanGoToNextPage(m_pages->Position());
    case CmdPreviousPage:
        return pages && layout.CanGoToPreviousPage(m_pages->Position());
    case CmdPrint:
        // From the data too: the print lays the pages out for itself.
        return m_printLayout ? pages : HasRows() && m_message.isEmpty();
    case CmdPageSetup:
        return m_printLayout;
    default:
        return true;
    }
}

bool CReportView::IsZoomChecked(int id) const
{
    return m_printLayout && HasRows() && zoomOf(id) == Zoom();
}

void CReportView::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return;
    switch (id) {
    case CmdRefresh: Refresh(); break;
    case CmdSettings: m_frame.EditReportSettings(); break;
    case CmdSave: Save(); break;
    case CmdSaveAs: SaveAs(); break;
    case CmdExpand: m_grid->ExpandAll(); break;
    case CmdCollapse: m_grid->CollapseAll(); break;
    case CmdGroups: m_grid->ShowGroupsOnly(); break;
    case CmdExport: Export(); break;
    case CmdColumns:
    case CmdMenuColumns: EditColumns(); break;
    case CmdFitColumns: FitColumns(); break;
    case CmdEditEntry: EditEntry(); break;
    case CmdShowInCalendar: ShowInCalendar(); break;
    case CmdBilling:
    case CmdMenuBilling: {
        CBdD db;
        if (ReportEntryCommands::Bill(m_host.OwnerWindow(), *m_model, db))
            AfterWrite();
        break;
    }
    case CmdDeleteChecked: {
        CBdD db;
        if (ReportEntryCommands::DeleteChecked(m_host.OwnerWindow(), *m_model, db))
            AfterWrite();
        break;
    }
    case CmdChangeChecked: {
        CBdD db;
        if (ReportEntryCommands::ChangeChecked(m_host.OwnerWindow(), *m_model, db))
            AfterWrite();
        break;
    }
    case CmdPrintLayout:
    case CmdDataMode:
        ShowMode(!m_printLayout);
        m_frame.UpdateTitle();
        break;
    case CmdSeveralPages:
    case CmdOnePage:
    case CmdActualSize:
    case CmdWindowWidth:
        if (zoomOf(id) != Zoom()) {
            m_pages->SetZoom(zoomOf(id));
            m_frame.UpdateTitle();
        }
        break;
    case CmdFirstPage: m_pages->GoToFirstPage(); break;
    case CmdPreviousPage: m_pages->GoToPreviousPage(); break;
    case CmdNextPage: m_pages->GoToNextPage(); break;
    case CmdLastPage: m_pages->GoToLastPage(); break;
    case CmdPrint: Print(); break;
    case CmdPageSetup: EditPageSetup(); break;
    default: break;
    }
    UpdateToolBar();
}

void CReportView::AfterWrite()
{
    // The report first: its build takes the new change stamp, so that the
    // views' refresh finds nothing to offer here.
    Refresh();
    m_host.RefreshViews();
}

void CReportView::ShowCheckBoxes()
{
    // Called outside a build only: the model is this thread's.
    const bool checks = ReportViewCommands::HasCheckBoxes(m_definition.Type, m_definition.Detail);
    m_model->SetShowCheckBoxes(checks);
    m_grid->ShowCheckBoxes(checks);
}

void CReportView::Export()
{
    ReportExportCommand::Run(m_host.OwnerWindow(), *m_model, m_definition, m_exportFormat,
                             [this](const QString &text) { m_host.ShowStatusText(text); });
}

void CReportView::EditColumns()
{
    if (!ReportViewCommands::UsesProjectColumnOptions(m_definition.Type, m_definition.Grp_Col)) {
        ChooseColumns();
        return;
    }
    CDlgOptColProject dialog(m_host.OwnerWindow());
    dialog.SetFullName(m_definition.DetailCross);
    if (dialog.exec() != QDialog::Accepted || dialog.FullName() == m_definition.DetailCross)
        return;
    m_definition.DetailCross = dialog.FullName();
    m_definition.Modified = true;
    m_model->SetDefinition(m_definition);
    m_grid->setUpdatesEnabled(false);
    m_grid->RelabelColumns();
    m_grid->setUpdatesEnabled(true);
    m_grid->viewport()->update();
    emit commandStatesChanged();
}

void CReportView::ChooseColumns()
{
    if (m_definition.Type == 3)
        return;
    CReportColumnSet copy = m_definition.Columns;
    CDlgColumn chooser(&m_definition, copy, true, m_host.OwnerWindow());
    if (chooser.exec() != QDialog::Accepted || !copy.Differs(m_definition.Columns))
        return;
    m_definition.Modified = true;
    m_definition.Columns = copy;
    m_definition.Columns.SetDefault(false);
    m_model->SetDefinition(m_definition);
    m_grid->setUpdatesEnabled(false);
    m_model->BuildColumns();
    m_grid->BuildColumns();
    m_grid->AutoFitColumns(-1, false);
    m_grid->setUpdatesEnabled(true);
    m_grid->viewport()->update();
    emit commandStatesChanged();
}

void CReportView::FitColumns()
{
    m_grid->setUpdatesEnabled(false);
    m_grid->AutoFitColumns(-1, true);
    m_grid->setUpdatesEnabled(true);
    m_grid->viewport()->update();
}

void CReportView::EditEntry()
{
    const tReportEntry *selected = m_grid->GetSelectedEntry();
    if (!selected)
        return;
    const tReportEntry entry = *selected;
    CBdD db;
    if (ReportEntryCommands::EditEntry(m_host.OwnerWindow(), entry, db))
        AfterWrite();
}

void CReportView::ShowInCalendar()
{
    const tReportEntry *entry = m_grid->GetSelectedEntry();
    if (!entry)
        return;
    m_host.GoToDate(ReportEntryCommands::EntryDate(*entry), &m_frame);
}

std::unique_ptr<QMenu> CReportView::CreateContextMenu()
{
    if (m_printLayout || m_building)
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    // The command runs once the menu has closed (ShowContextMenu): the
    // focus it gives back would otherwise make this window the active one
    // again after "show in calendar" brought the calendar forward.
    const auto add = [this](QMenu *to, int id) {
        QAction *action = to->addAction(QString());
        WidgetIds::SetCommandId(action, id);
        action->setEnabled(IsCommandEnabled(id));
    };
    for (int item : ReportViewCommands::ContextMenuItems(m_definition.Type, m_definition.Detail,
                                                         m_definition.Grp_Col)) {
        if (item == ReportViewCommands::Separator) {
            menu->addSeparator();
        } else if (item == ReportViewCommands::CheckedEntriesMenu) {
            QMenu *checked = menu->addMenu(QString());
            WidgetIds::SetPopupKey(checked, ReportViewCommands::CheckedEntriesMenu);
            for (int id : ReportViewCommands::CheckedEntriesMenuItems())
                add(checked, id);
        } else {
            add(menu.get(), item);
        }
    }
    CTranslationStore store;
    TranslateMenu(menu.get(), ContextMenuId, store);
    return menu;
}

void CReportView::ShowContextMenu(const QPoint &globalPos)
{
    std::unique_ptr<QMenu> menu = CreateContextMenu();
    if (!menu)
        return;
    if (QAction *chosen = menu->exec(globalPos))
        OnCommand(WidgetIds::CommandId(chosen));
}

void CReportView::UpdateToolBar()
{
    for (const bool printLayout : {false, true}) {
        QToolBar *bar = printLayout ? m_printToolBar : m_toolBar;
        for (QAction *action : bar->actions()) {
            const int id = action->data().toInt();
            if (action->isSeparator() || id == 0)
                continue;
            action->setEnabled(IsCommandEnabled(id));
            if (action->isCheckable())
                action->setChecked(IsZoomChecked(id));
        }
    }
    emit commandStatesChanged();
}

void CReportView::Refresh()
{
    m_frame.RebuildReport();
}

void CReportView::ShowWriteFailure()
{
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, m_host.OwnerWindow(),
                   Platform::Texts::get(226), Platform::Texts::get(173));
}

bool CReportView::Save()
{
    if (m_definition.Nom.isEmpty() || m_definition.Id == -1)
        return SaveAs();
    if (!CReportStore(m_host.ReportDatabasePath()).SaveReport(m_definition)) {
        ShowWriteFailure();
        return false;
    }
    m_definition.Modified = false;
    m_host.ReloadReportPane();
    UpdateToolBar();
    return true;
}

bool CReportView::SaveAs()
{
    CDlgName dialog(m_definition.GetDisplayName(), m_host.OwnerWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QString name = dialog.GetName();
    int found = -1;
    const int count = CReportStore(m_host.ReportDatabasePath()).FindReportByName(name, found);
    int id = -1;
    if (count == 1) {
        const int answer = RichMessageBox(MessageBoxType::YesNoCancel | MessageBoxType::IconQuestion,
                                          m_host.OwnerWindow(),
                                          Platform::Formatter::sprintf(Platform::Texts::get(640), {name}),
                                          applicationTitle());
        if (answer == MessageBoxAnswer::Yes)
            id = found;
        else if (answer != MessageBoxAnswer::No)
            return false;
    } else if (count > 1) {
        const int answer = RichMessageBox(MessageBoxType::YesNo | MessageBoxType::IconQuestion, m_host.OwnerWindow(),
                                          Platform::Formatter::sprintf(Platform::Texts::get(641), {name}),
                                          applicationTitle());
        if (answer != MessageBoxAnswer::Yes)
            return false;
    }
    return StoreAs(name, id);
}

bool CReportView::StoreAs(const QString &name, int id)
{
    // The copy is stored first: a failed write leaves the report's name,
    // id and title as they were.
    tReportDefinition copy = m_definition;
    copy.Nom = name;
    copy.Id = id;
    if (!CReportStore(m_host.ReportDatabasePath()).SaveReport(copy)) {
        ShowWriteFailure();
        return false;
    }
    m_definition.Nom = copy.Nom;
    m_definition.Id = copy.Id;
    m_definition.Modified = false;
    m_frame.UpdateTitle();
    m_host.ReloadReportPane();
    UpdateToolBar();
    return true;
}

void CReportView::Print()
{
    // A printer, or else a PDF file where the dialog offers one.
    QPrinter *kept = CReportPapers::Instance().PrintTarget();
    if (!kept) {
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, m_host.OwnerWindow(),
                       Platform::Texts::get(677), applicationTitle());
        return;
    }
    // From the data the pages are laid out for the print, shown behind its
    // dialog, and the data comes back once it is over.
    const bool fromData = !m_printLayout;
    if (fromData)
        ShowMode(true);
    PrintOn(*kept);
    if (fromData)
        ShowMode(false);
}

bool CReportView::TellNoRoom()
{
    const QString noRoom = m_grid->PrintLayout().NoRoomMessage();
    if (noRoom.isEmpty())
        return false;
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, m_host.OwnerWindow(), noRoom,
                   applicationTitle());
    return true;
}

void CReportView::PrintOn(QPrinter &kept)
{
    // Margins that leave no room would print blank pages.
    if (TellNoRoom())
        return;
    ReportPrinting::WritePaper(m_definition, kept);
    // The dialog works on a copy: Annuler leaves the kept settings alone.
    QPrinter printer(QPrinter::HighResolution);
    ReportPrinting::CopySettings(kept, printer);
    printer.setDocName(m_definition.GetDisplayName());
    // Printing to a file proposes one under the report's name, beside the
    // last one (a name set on a printer's settings would turn them to a file).
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        printer.setOutputFileName(ReportPrinting::PdfFileName(kept.outputFileName(), m_definition.GetDisplayName(),
                                                              documents.isEmpty() ? QDir::homePath() : documents,
                                                              applicationTitle()));
    }
    const int pageCount = std::max(m_pages->PageCount(), 1);
    QPrintDialog dialog(&printer, m_host.OwnerWindow());
    QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintSelection
        | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize;
    if (CReportPapers::Instance().OffersFileTarget())
        options |= QAbstractPrintDialog::PrintToFile;
    dialog.setOptions(options);
    dialog.setMinMax(1, pageCount);
    dialog.setFromTo(1, pageCount);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    DialogAnswers<QPrintDialog> *answers = DialogAnswers<QPrintDialog>::Active();
    const int result = answers ? answers->Answer(dialog) : dialog.exec();
    if (result != QDialog::Accepted)
        return;

    ReportPrinting::CopySettings(printer, kept);
    ReportPrinting::Range range = ReportPrinting::Range::AllPages;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange)
        range = ReportPrinting::Range::PageRange;
    else if (dialog.printRange() == QAbstractPrintDialog::Selection)
        range = ReportPrinting::Range::Selection;
    const int fromPage = dialog.fromPage();
    const int toPage = dialog.toPage();
    const int firstVisible = m_pages->FirstVisiblePage();
    if (ReportPrinting::ReadPaper(printer, m_definition)) {
        m_definition.Modified = true;
        LayOutPages();
        UpdateToolBar();
        // A smaller paper chosen in the dialog may leave the margins no room.
        if (TellNoRoom())
            return;
    }
    const ReportPrinting::tPages pages = ReportPrinting::PagesToPrint(
        range, fromPage, toPage, firstVisible, Zoom() == CPageZoomLayout::SeveralPages, m_pages->PageCount());
    if (pages.Last < pages.First)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportPrinting::tPrintOutcome outcome = ReportPrinting::PrintPages(*m_grid, printer, pages);
    QApplication::restoreOverrideCursor();
    QString failure;
    if (outcome.Outcome == ReportPrinting::tPrintOutcome::FileFailed)
        failure = Platform::Formatter::sprintf(Platform::Texts::get(26100),
                                               {QDir::toNativeSeparators(printer.outputFileName()), outcome.Cause});
    else if (outcome.Outcome == ReportPrinting::tPrintOutcome::PrinterFailed)
        failure = Platform::Formatter::sprintf(Platform::Texts::get(26101), {printer.printerName()});
    if (!failure.isEmpty())
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, m_host.OwnerWindow(), failure,
                       applicationTitle());
}

bool CReportView::EditPageSetup()
{
    CDlgPage dialog(m_definition, m_host.UserTemplatesFolder(), m_host.ProgramTemplatesFolder(), m_host.OwnerWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.ApplyTo(m_definition);
    m_definition.Modified = true;
    LayOutPages();
    UpdateToolBar();
    return true;
}
