#include "CReportDivers.h"

#include "CMyEdit.h"
#include "CPreviewTemplate.h"
#include "CReadOnlyCB.h"
#include "CWaitCursor.h"
#include "MessageBoxParams.h"
#include "ReportCentimetres.h"
#include "ReportMargins.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"
#include "tReportDefinition.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <typename T> T *numbered(T *widget, int id)
{
    WidgetIds::SetControlId(widget, id);
    widget->setObjectName(QString::number(id));
    return widget;
}

const int marginControls[4] = {CReportDivers::LeftMargin, CReportDivers::RightMargin, CReportDivers::TopMargin,
                               CReportDivers::BottomMargin};

int &marginOf(tReportDefinition &d, int i)
{
    switch (i) {
    case 0: return d.MargeLeft;
    case 1: return d.MargeRight;
    case 2: return d.MargeTop;
    default: return d.MargeBottom;
    }
}

void showLength(CMyEdit *edit, int tenths)
{
    edit->setText(ReportCentimetres::Format(tenths, edit->DecimalSeparator()));
}

} // namespace

CReportDivers::CReportDivers()
    : CReportWizardPage(DialogId)
{
}

void CReportDivers::SetTemplateFolders(const QString &userFolder, const QString &programFolder)
{
    m_userFolder = userFolder;
    m_programFolder = programFolder;
}

void CReportDivers::SetPapers(std::vector<CReportPapers::tPaper> papers)
{
    m_papers = std::move(papers);
    m_papersSet = true;
}

CMyEdit *CReportDivers::Edit(int control) const
{
    if (control == WidthEdit)
        return m_width;
    if (control == HeightEdit)
        return m_height;
    for (int i = 0; i < 4; ++i) {
        if (marginControls[i] == control)
            return m_margins[i];
    }
    return nullptr;
}

QStringList CReportDivers::ListTemplates(const QString &userFolder, const QString &programFolder)
{
    QStringList names;
    for (const QString &folder : {userFolder, programFolder}) {
        if (folder.isEmpty())
            continue;
        const QDir dir(folder);
        // Files only: a folder named "x.tpl" is no template.
        const QStringList files = dir.entryList({QStringLiteral("*.tpl")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &file : files) {
            const QString name = file.left(file.size() - 4);
            if (name.isEmpty() || names.contains(name, Qt::CaseInsensitive))
                continue;
            names << name;
        }
    }
    return names;
}

void CReportDivers::OnInitDialog()
{
    CWaitCursor wait;
    m_autoTitle = numbered(new QCheckBox(this), AutoTitleCheck);
    m_title = numbered(new QLineEdit(this), TitleEdit);
    auto *templateLabel = numbered(new QLabel(this), TemplateLabel);
    m_template = numbered(new CReadOnlyCB(this), TemplateCombo);
    templateLabel->setBuddy(m_template);
    m_preview = new CPreviewTemplate(this);
    WidgetIds::SetControlId(m_preview, Preview);
    m_preview->setObjectName(QString::number(Preview));
    m_preview->setMinimumSize(150, 212);

    auto *paperGroup = numbered(new QGroupBox(this), PaperGroup);
    auto *paperLabel = numbered(new QLabel(paperGroup), PaperLabel);
    m_paper = numbered(new CReadOnlyCB(paperGroup), PaperCombo);
    paperLabel->setBuddy(m_paper);
    auto *widthLabel = numbered(new QLabel(paperGroup), WidthLabel);
    auto *heightLabel = numbered(new QLabel(paperGroup), HeightLabel);
    m_width = numbered(new CMyEdit(paperGroup), WidthEdit);
    m_height = numbered(new CMyEdit(paperGroup), HeightEdit);
    widthLabel->setBuddy(m_width);
    heightLabel->setBuddy(m_height);
    m_portrait = numbered(new QRadioButton(paperGroup), PortraitRadio);
    m_landscape = numbered(new QRadioButton(paperGroup), LandscapeRadio);

    auto *marginGroup = numbered(new QGroupBox(this), MarginsGroup);
    static const int labels[4] = {LeftLabel, RightLabel, TopLabel, BottomLabel};
    auto *marginGrid = new QGridLayout(marginGroup);
    for (int i = 0; i < 4; ++i) {
        auto *label = numbered(new QLabel(marginGroup), labels[i]);
        m_margins[i] = numbered(new CMyEdit(marginGroup), marginControls[i]);
        label->setBuddy(m_margins[i]);
        marginGrid->addWidget(label, i / 2, (i % 2) * 2);
        marginGrid->addWidget(m_margins[i], i / 2, (i % 2) * 2 + 1);
    }
    for (CMyEdit *e : {m_width, m_height, m_margins[0], m_margins[1], m_margins[2], m_margins[3]})
        e->SetNumberMode(false);

    auto *paperGrid = new QGridLayout(paperGroup);
    paperGrid->addWidget(paperLabel, 0, 0);
    paperGrid->addWidget(m_paper, 0, 1, 1, 3);
    paperGrid->addWidget(widthLabel, 1, 0);
    paperGrid->addWidget(m_width, 1, 1);
    paperGrid->addWidget(heightLabel, 1, 2);
    paperGrid->addWidget(m_height, 1, 3);
    paperGrid->addWidget(m_portrait, 2, 1);
    paperGrid->addWidget(m_landscape, 2, 3);
    paperGrid->setColumnStretch(1, 1);
    paperGrid->setColumnStretch(3, 1);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(m_autoTitle);
    titleRow->addWidget(m_title, 1);
    auto *templateRow = new QHBoxLayout;
    templateRow->addWidget(templateLabel);
    templateRow->addWidget(m_template, 1);

    auto *left = new QVBoxLayout;
    left->addLayout(templateRow);
    left->addWidget(paperGroup);
    left->addWidget(marginGroup);
    left->addStretch(1);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addWidget(m_preview, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(titleRow);
    layout->addLayout(body, 1);

    TranslatePage();
    if (!m_papersSet)
        SetPapers(CReportPapers::Instance().Papers());
    if (!m_definition)
        return;
    tReportDefinition &d = *m_definition;
    m_filling = true;
    m_autoTitle->setChecked(d.TitreAuto);
    m_title->setEnabled(!d.TitreAuto);
    m_title->setText(d.ShownTitle());

    const QStringList names = ListTemplates(m_userFolder, m_programFolder);
    m_template->addItems(names);
    int selected = -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(d.Modele, Qt::CaseInsensitive) == 0)
            selected = i;
    }
    if (selected < 0 && !names.isEmpty() && d.Modele.isEmpty())
        selected = 0;
    m_template->setCurrentIndex(selected);

    for (size_t i = 0; i < m_papers.size(); ++i) {
        m_paper->addItem(m_papers[i].Name, int(i));
        if (m_papers[i].Code == d.PaperSize && m_paper->currentIndex() < 0)
            m_paper->setCurrentIndex(int(i));
    }
    if (m_papers.empty() || m_paper->count() == 0)
        m_paper->setCurrentIndex(-1);
    else
        m_paper->setCurrentIndex(m_paper->currentIndex());
    // An unknown paper code selects nothing.
    bool known = false;
    for (const CReportPapers::tPaper &p : m_papers)
        known = known || p.Code == d.PaperSize;
    if (!known)
        m_paper->setCurrentIndex(-1);

    m_portrait->setChecked(d.Portrait);
    m_landscape->setChecked(!d.Portrait);
    showLength(d.Portrait ? m_width : m_height, d.PaperWidth);
    showLength(d.Portrait ? m_height : m_width, d.PaperHeight);
    for (int i = 0; i < 4; ++i)
        showLength(m_margins[i], marginOf(d, i));
    m_filling = false;

    LoadPreview();

    connect(m_autoTitle, &QCheckBox::clicked, this, [this](bool checked) {
        m_definition->TitreAuto = checked;
        if (checked) {
            m_definition->BuildAutoTitle();
            m_title->setText(m_definition->ShownTitle());
        }
        m_title->setEnabled(!checked);
    });
    connect(m_template, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            LoadPreview();
    });
    connect(m_paper, &QComboBox::activated, this, [this] { ShowPaperSize(); });
    connect(m_portrait, &QRadioButton::clicked, this, [this] {
        m_definition->Portrait = true;
        ShowPaperSize();
    });
    connect(m_landscape, &QRadioButton::clicked, this, [this] {
        m_definition->Portrait = false;
        ShowPaperSize();
    });
    for (int i = 0; i < 4; ++i) {
        const int control = marginControls[i];
        connect(m_margins[i], &QLineEdit::textChanged, this, [this, control] { MarginEdited(control); });
    }
}

void CReportDivers::TranslatePage()
{
    if (!IsCreated() || !m_title)
        return;
    TranslateDialog(this, DialogId);
}

void CReportDivers::showEvent(QShowEvent *event)
{
    CReportWizardPage::showEvent(event);
    // Other pages may have changed what the automatic title is made of.
    if (m_definition && m_title)
        m_title->setText(m_definition->ShownTitle());
}

void CReportDivers::LoadPreview()
{
    if (!m_definition)
        return;
    m_preview->SetTemplateFolders(m_userFolder, m_programFolder);
    m_preview->LoadTemplate(m_template->currentText());
    m_preview->SetDefinition(m_definition);
    m_preview->SetMargins(m_definition->MargeLeft, m_definition->MargeTop, m_definition->MargeRight,
                          m_definition->MargeBottom);
    m_preview->BuildSample();
    m_preview->update();
}

void CReportDivers::ShowPaperSize()
{
    const int index = m_paper->currentIndex();
    if (index < 0 || index >= int(m_papers.size()))
        return;
    const CReportPapers::tPaper &paper = m_papers[size_t(index)];
    const bool portrait = m_portrait->isChecked();
    showLength(m_width, portrait ? paper.Width : paper.Height);
    showLength(m_height, portrait ? paper.Height : paper.Width);
}

void CReportDivers::MarginEdited(int control)
{
    if (m_filling || !m_definition)
        return;
    for (int i = 0; i < 4; ++i) {
        if (marginControls[i] != control)
            continue;
        int tenths = 0;
        if (!ReportCentimetres::Parse(m_margins[i]->text(), m_margins[i]->DecimalSeparator(), tenths))
            return;
        marginOf(*m_definition, i) = tenths;
    }
    m_preview->SetMargins(m_definition->MargeLeft, m_definition->MargeTop, m_definition->MargeRight,
                          m_definition->MargeBottom);
    m_preview->update();
}

bool CReportDivers::ValidatePage()
{
    if (!m_definition || !m_title)
        return true;
    const tReportDefinition &d = *m_definition;
    // The paper as the page is laid out: the width edit holds what goes
    // across; a size that does not read keeps the paper's.
    int across = 0;
    int down = 0;
    if (!ReportCentimetres::Parse(m_width->text(), m_width->DecimalSeparator(), across)
        || !ReportCentimetres::Parse(m_height->text(), m_height->DecimalSeparator(), down) || across <= 0
        || down <= 0) {
        across = d.Portrait ? d.PaperWidth : d.PaperHeight;
        down = d.Portrait ? d.PaperHeight : d.PaperWidth;
    }
    const int margins[4] = {d.MargeLeft, d.MargeTop, d.MargeRight, d.MargeBottom};
    const ReportMargins::tCheck check =
        ReportMargins::Check(across, down, margins, ReportMargins::NeededHeight(&m_preview->Template()));
    if (check.TooLarge == ReportMargins::NoSide)
        return true;
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, this,
                   ReportMargins::Message(check, m_margins[0]->DecimalSeparator()), Platform::Texts::get(128));
    // The edits stand left, right, top, bottom.
    static const int editOfSide[4] = {0, 2, 1, 3};
    CMyEdit *edit = m_margins[editOfSide[check.TooLarge]];
    // Once the frame has shown the page again, which gives it the focus.
    QTimer::singleShot(0, edit, [edit] {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    });
    return false;
}

void CReportDivers::OnOK()
{
    if (!m_definition || !m_title)
        return;
    tReportDefinition &d = *m_definition;
    // The edit shows an automatic title as it is now; it stays automatic.
    if (d.TitreAuto)
        d.BuildAutoTitle();
    else
        d.Titre = m_title->text();
    if (m_template->currentIndex() >= 0)
        d.Modele = m_template->currentText();
    const int paper = m_paper->currentIndex();
    if (paper >= 0 && paper < int(m_papers.size()))
        d.PaperSize = m_papers[size_t(paper)].Code;
    int width = 0;
    int height = 0;
    // A length that does not read keeps the stored one.
    const bool widthOk = ReportCentimetres::Parse(m_width->text(), m_width->DecimalSeparator(), width);
    const bool heightOk = ReportCentimetres::Parse(m_height->text(), m_height->DecimalSeparator(), height);
    if (d.Portrait) {
        if (widthOk)
            d.PaperWidth = qint16(width);
        if (heightOk)
            d.PaperHeight = qint16(height);
    } else {
        if (heightOk)
            d.PaperWidth = qint16(height);
        if (widthOk)
            d.PaperHeight = qint16(width);
    }
}
