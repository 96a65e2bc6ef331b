#include "COptMouse.h"

#include "BitmapResources.h"
#include "CConfiguration.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "CTransparentImage.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace OptionPageTools;

namespace {
const QList<int> gridSteps{5, 10, 15};
} // namespace

COptMouse::COptMouse(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

void COptMouse::OnInitDialog()
{
    m_snap = Numbered(new QCheckBox(this), SnapCheck);
    m_grid = Numbered(new CReadOnlyCB(this), GridCombo);
    auto *gridLabel = Numbered(new QLabel(this), GridLabel);
    gridLabel->setBuddy(m_grid);
    m_picture = Numbered(new CTransparentImage(this), Picture);
    const QImage picture = LoadBitmapResource(508);
    m_picture->setFixedSize(picture.size());
    m_hint = Numbered(new QLabel(this), Hint);
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *gridRow = new QHBoxLayout;
    gridRow->addWidget(gridLabel);
    gridRow->addWidget(m_grid);
    gridRow->addStretch(1);
    auto *hintRow = new QHBoxLayout;
    hintRow->addWidget(m_picture, 0, Qt::AlignTop);
    hintRow->addWidget(m_hint, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_snap);
    layout->addLayout(gridRow);
    layout->addSpacing(fontMetrics().height());
    layout->addLayout(hintRow);
    layout->addStretch(1);

    connect(m_snap, &QCheckBox::clicked, this, [this] { ShowHint(); });

    TranslatePage();
    m_snap->setChecked(m_context.Config().snapToGrid);
    ShowHint();
    m_picture->SetTransparentColor(PictureKey);
    m_picture->SetImage(picture);
    m_initialised = true;
}

void COptMouse::TranslatePage()
{
    if (!IsCreated() || !m_snap)
        return;
    TranslateDialog(this, DialogId);
    const int grid = m_initialised && m_grid->currentIndex() >= 0 ? m_grid->currentData().toInt()
                                                                  : m_context.Config().grid;
    // A stored step that is not offered shows the first.
    FillTextCombo(m_grid, QList<Platform::TextId>{685, 686, 687}, gridSteps, gridSteps.contains(grid) ? grid : gridSteps[0]);
    ShowHint();
}

void COptMouse::ShowHint()
{
    // With snapping on, Alt lets a task go free; with it off, Alt snaps.
    m_hint->setText(Platform::Texts::get(m_snap->isChecked() ? 683 : 684));
}

void COptMouse::OnOK()
{
    CConfiguration &config = m_context.Config();
    config.snapToGrid = m_snap->isChecked();
    if (m_grid->currentIndex() >= 0)
        config.grid = m_grid->currentData().toInt();
    Platform::Settings settings;
    settings.setInt(u"Config", u"Align", u"SnapToGrid", config.snapToGrid ? 1 : 0);
    settings.setInt(u"Config", u"Align", u"Grid", config.grid);
    settings.sync();
}
