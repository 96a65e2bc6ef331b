#include "CDlgPage.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CMyEdit.h"
#include "CPreviewTemplate.h"
#include "CReadOnlyCB.h"
#include "ContextHelp.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "CReportDivers.h"
#include "MessageBoxParams.h"
#include "ReportCentimetres.h"
#include "ReportMargins.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "tReportDefinition.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int PreviewWidth = 198;
constexpr int PreviewHeight = 280;

QChar UserSeparator()
{
    const CConfiguration *configuration = CAppData::Configuration();
    const QString point = configuration ? configuration->Locale().decimalPoint() : QString();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

} // namespace

CDlgPage::CDlgPage(const tReportDefinition &definition, const QString &userFolder, const QString &programFolder,
                   QWidget *parent)
    : QDialog(parent)
    , m_page(std::make_unique<tReportDefinition>(definition))
    , m_userFolder(userFolder)
    , m_programFolder(programFolder)
    , m_separator(UserSeparator())
{
    m_margins[0] = definition.MargeLeft;
    m_margins[1] = definition.MargeTop;
    m_margins[2] = definition.MargeRight;
    m_margins[3] = definition.MargeBottom;

    const auto centimetres = [](QWidget *parent) { return Numbered(new QLabel(parent), IdCentimetres); };
    const auto edit = [this](QWidget *parent, int id) {
        auto *field = Numbered(new CMyEdit(parent), id);
        field->SetNumberMode(false);
        field->SetDecimalSeparator(m_separator);
        field->setMaxLength(8);
        field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 9);
        return field;
    };

    auto *layoutGroup = Numbered(new QGroupBox(this), IdLayoutGroup);
    auto *templateLabel = Numbered(new QLabel(layoutGroup), IdTemplateLabel);
    m_templates = Numbered(new CReadOnlyCB(layoutGroup), IdTemplate);
    templateLabel->setBuddy(m_templates);
    auto *layoutRow = new QHBoxLayout(layoutGroup);
    layoutRow->addWidget(templateLabel);
    layoutRow->addWidget(m_templates, 1);

    auto *paperGroup = Numbered(new QGroupBox(this), IdPaperGroup);
    auto *paperLabel = Numbered(new QLabel(paperGroup), IdPaperLabel);
    m_papers = Numbered(new CReadOnlyCB(paperGroup), IdPaper);
    paperLabel->setBuddy(m_papers);
    auto *widthLabel = Numbered(new QLabel(paperGroup), IdWidthLabel);
    m_width = edit(paperGroup, IdWidth);
    widthLabel->setBuddy(m_width);
    auto *heightLabel = Numbered(new QLabel(paperGroup), IdHeightLabel);
    m_height = edit(paperGroup, IdHeight);
    heightLabel->setBuddy(m_height);
    auto *paperGrid = new QGridLayout(paperGroup);
    paperGrid->addWidget(paperLabel, 0, 0);
    paperGrid->addWidget(m_papers, 0, 1, 1, 2);
    paperGrid->addWidget(widthLabel, 1, 0);
    paperGrid->addWidget(m_width, 1, 1);
    paperGrid->addWidget(centimetres(paperGroup), 1, 2);
    paperGrid->addWidget(heightLabel, 2, 0);
    paperGrid->addWidget(m_height, 2, 1);
    paperGrid->addWidget(centimetres(paperGroup), 2, 2);
    paperGrid->setColumnStretch(1, 1);

    auto *orientationGroup = Numbered(new QGroupBox(this), IdOrientationGroup);
    m_portrait = Numbered(new QRadioButton(orientationGroup), IdPortrait);
    m_landscape = Numbered(new QRadioButton(orientationGroup), IdLandscape);
    auto *orientationRow = new QHBoxLayout(orientationGroup);
    orientationRow->addWidget(m_portrait);
    orientationRow->addWidget(m_landscape);
    orientationRow->addStretch(1);

    auto *marginsGroup = Numbered(new QGroupBox(this), IdMarginsGroup);
    auto *marginsGrid = new QGridLayout(marginsGroup);
    // Left, top, right, bottom: the order of the margins everywhere.
    const int labels[4] = {IdLeftLabel, IdTopLabel, IdRightLabel, IdBottomLabel};
    const int edits[4] = {IdLeft, IdTop, IdRight, IdBottom};
    for (int i = 0; i < 4; ++i) {
        auto *label = Numbered(new QLabel(marginsGroup), labels[i]);
        m_marginEdits[i] = edit(marginsGroup, edits[i]);
        label->setBuddy(m_marginEdits[i]);
        const int row = i % 2;
        const int column = (i / 2) * 3;
        marginsGrid->addWidget(label, row, column);
        marginsGrid->addWidget(m_marginEdits[i], row, column + 1);
        marginsGrid->addWidget(centimetres(marginsGroup), row, column + 2);
    }

    m_preview = Numbered(new CPreviewTemplate(this), IdPreview);
    m_preview->setFixedSize(PreviewWidth, PreviewHeight);
    m_preview->SetTemplateFolders(m_userFolder, m_programFolder);
    m_preview->SetDefinition(m_page.get());

    auto *ok = Numbered(new QPushButton(this), IdOk);
    ok->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *fields = new QVBoxLayout;
    fields->addWidget(layoutGroup);
    fields->addWidget(paperGroup);
    fields->addWidget(orientationGroup);
    fields->addWidget(marginsGroup);
    fields->addStretch(1);
    auto *body = new QHBoxLayout;
    body->addLayout(fields, 1);
    body->addWidget(m_preview, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(ButtonRow({ok, cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    Fill();

    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_papers, &QComboBox::currentIndexChanged, this, [this] { ShowPaperSize(); });
    connect(m_portrait, &QRadioButton::clicked, this, [this] { ShowPaperSize(); });
    connect(m_landscape, &QRadioButton::clicked, this, [this] { ShowPaperSize(); });
    connect(m_templates, &QComboBox::currentIndexChanged, this,
            [this] { m_preview->LoadTemplate(m_templates->currentText()); });
    for (int i = 0; i < 4; ++i)
        connect(m_marginEdits[i], &QLineEdit::textChanged, this, [this, i] { OnMarginEdited(i); });
}

CDlgPage::~CDlgPage() = default;

int CDlgPage::exec()
{
    if (DialogAnswers<CDlgPage> *answers = DialogAnswers<CDlgPage>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgPage::Fill()
{
    m_templates->clear();
    const QStringList names = CReportDivers::ListTemplates(m_userFolder, m_programFolder);
    for (const QString &name : names)
        m_templates->addItem(name);
    int selected = -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(m_page->Modele, Qt::CaseInsensitive) == 0)
            selected = i;
    }
    {
        const QSignalBlocker blocker(m_templates);
        m_templates->setCurrentIndex(selected);
    }

    m_paperList = CReportPapers::Instance().Papers();
    {
        const QSignalBlocker blocker(m_papers);
        m_papers->clear();
        int paper = -1;
        for (size_t i = 0; i < m_paperList.size(); ++i) {
            m_papers->addItem(m_paperList[i].Name, int(i));
            if (paper < 0 && m_paperList[i].Code == m_page->PaperSize)
                paper = int(i);
        }
        m_papers->setCurrentIndex(paper);
    }
    m_portrait->setChecked(m_page->Portrait);
    m_landscape->setChecked(!m_page->Portrait);
    m_width->setText(ReportCentimetres::Format(m_page->Portrait ? m_page->PaperWidth : m_page->PaperHeight,
                                                           m_separator));
    m_height->setText(ReportCentimetres::Format(m_page->Portrait ? m_page->PaperHeight : m_page->PaperWidth,
                                                            m_separator));
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker blocker(m_marginEdits[i]);
        m_marginEdits[i]->setText(ReportCentimetres::Format(m_margins[i], m_separator));
    }
    m_preview->SetMargins(m_margins[0], m_margins[1], m_margins[2], m_margins[3]);
    m_preview->LoadTemplate(selected >= 0 ? names[selected] : QString());
}

void CDlgPage::ShowPaperSize()
{
    const int index = m_papers->currentData().toInt();
    if (m_papers->currentIndex() < 0 || index < 0 || index >= int(m_paperList.size()))
        return;
    const CReportPapers::tPaper &paper = m_paperList[size_t(index)];
    const bool portrait = m_portrait->isChecked();
    m_width->setText(ReportCentimetres::Format(portrait ? paper.Width : paper.Height, m_separator));
    m_height->setText(ReportCentimetres::Format(portrait ? paper.Height : paper.Width, m_separator));
}

int CDlgPage::ReadTenths(const CMyEdit *edit) const
{
    int tenths = 0;
    return ReportCentimetres::Parse(edit->text(), m_separator, tenths) ? std::max(0, tenths) : 0;
}

void CDlgPage::OnMarginEdited(int index)
{
    m_margins[index] = ReadTenths(m_marginEdits[index]);
    m_preview->SetMargins(m_margins[0], m_margins[1], m_margins[2], m_margins[3]);
    m_preview->repaint();
}

CMyEdit *CDlgPage::MarginEdit(int controlId) const
{
    switch (controlId) {
    case IdLeft: return m_marginEdits[0];
    case IdTop: return m_marginEdits[1];
    case IdRight: return m_marginEdits[2];
    case IdBottom: return m_marginEdits[3];
    default: return nullptr;
    }
}

bool CDlgPage::MarginsLeaveRoom()
{
    const bool portrait = m_portrait->isChecked();
    // The paper as the page is laid out: the width edit holds what goes
    // across; a size left empty keeps the paper's.
    int across = ReadTenths(m_width);
    int down = ReadTenths(m_height);
    if (across <= 0 || down <= 0) {
        across = portrait ? m_page->PaperWidth : m_page->PaperHeight;
        down = portrait ? m_page->PaperHeight : m_page->PaperWidth;
    }
    int margins[4];
    for (int i = 0; i < 4; ++i)
        margins[i] = ReadTenths(m_marginEdits[i]);
    const ReportMargins::tCheck check =
        ReportMargins::Check(across, down, margins, ReportMargins::NeededHeight(&m_preview->Template()));
    if (check.TooLarge == ReportMargins::NoSide)
        return true;
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, this,
                   ReportMargins::Message(check, m_separator), Platform::Texts::get(128));
    CMyEdit *edit = m_marginEdits[check.TooLarge];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

void CDlgPage::OnOk()
{
    // Margins that leave the report no room are not taken: the pages
    // would be blank.
    if (!MarginsLeaveRoom())
        return;
    m_page->Modele = m_templates->currentIndex() >= 0 ? m_templates->currentText() : m_page->Modele;
    const int index = m_papers->currentData().toInt();
    if (m_papers->currentIndex() >= 0 && index >= 0 && index < int(m_paperList.size()))
        m_page->PaperSize = m_paperList[size_t(index)].Code;
    m_page->Portrait = m_portrait->isChecked();
    const int width = std::min(ReadTenths(m_width), 32767);
    const int height = std::min(ReadTenths(m_height), 32767);
    // A size left empty keeps the paper's: a page of no size prints nothing.
    if (width > 0 && height > 0) {
        m_page->PaperWidth = qint16(m_page->Portrait ? width : height);
        m_page->PaperHeight = qint16(m_page->Portrait ? height : width);
    }
    for (int i = 0; i < 4; ++i)
        m_margins[i] = ReadTenths(m_marginEdits[i]);
    m_page->MargeLeft = m_margins[0];
    m_page->MargeTop = m_margins[1];
    m_page->MargeRight = m_margins[2];
    m_page->MargeBottom = m_margins[3];
    accept();
}

void CDlgPage::ApplyTo(tReportDefinition &definition) const
{
    definition.Modele = m_page->Modele;
    definition.PaperSize = m_page->PaperSize;
    definition.PaperWidth = m_page->PaperWidth;
    definition.PaperHeight = m_page->PaperHeight;
    definition.Portrait = m_page->Portrait;
    definition.MargeLeft = m_page->MargeLeft;
    definition.MargeTop = m_page->MargeTop;
    definition.MargeRight = m_page->MargeRight;
    definition.MargeBottom = m_page->MargeBottom;
}
