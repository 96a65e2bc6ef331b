#include "CDlgExport.h"

#include "CReadOnlyCB.h"
#include "ContextHelp.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "ReportExportOptions.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int PictureSize = 48;

} // namespace

CDlgExport::CDlgExport(QWidget *parent)
    : QDialog(parent)
{
    // The picture carries no number: it takes no text.
    auto *picture = new QLabel(this);
    picture->setPixmap(ThemeIcon("document-export").pixmap(PictureSize, PictureSize));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *formatGroup = Numbered(new QGroupBox(this), IdFormatGroup);
    auto *formatLabel = Numbered(new QLabel(formatGroup), IdFormatLabel);
    m_formatCombo = Numbered(new CReadOnlyCB(formatGroup), IdFormat);
    m_separatorLabel = Numbered(new QLabel(formatGroup), IdSeparatorLabel);
    m_separatorCombo = Numbered(new CReadOnlyCB(formatGroup), IdSeparator);
    m_separatorEdit = Numbered(new QLineEdit(formatGroup), IdSeparatorEdit);
    m_separatorEdit->setMaxLength(16);
    m_separatorEdit->setMinimumWidth(m_separatorEdit->fontMetrics().averageCharWidth() * 8);
    formatLabel->setBuddy(m_formatCombo);
    m_separatorLabel->setBuddy(m_separatorCombo);
    auto *formatGrid = new QGridLayout(formatGroup);
    formatGrid->addWidget(formatLabel, 0, 0);
    formatGrid->addWidget(m_formatCombo, 0, 1, 1, 2);
    formatGrid->addWidget(m_separatorLabel, 1, 0);
    formatGrid->addWidget(m_separatorCombo, 1, 1);
    formatGrid->addWidget(m_separatorEdit, 1, 2);
    formatGrid->setColumnStretch(1, 1);
    // The separator row keeps its height while hidden, so the dialog does
    // not jump when the format changes.
    for (QWidget *w : {static_cast<QWidget *>(m_separatorLabel), static_cast<QWidget *>(m_separatorCombo),
                       static_cast<QWidget *>(m_separatorEdit)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    auto *dataGroup = Numbered(new QGroupBox(this), IdDataGroup);
    auto *dataLabel = Numbered(new QLabel(dataGroup), IdDataLabel);
    m_dataCombo = Numbered(new CReadOnlyCB(dataGroup), IdData);
    dataLabel->setBuddy(m_dataCombo);
    auto *dataRow = new QHBoxLayout(dataGroup);
    dataRow->addWidget(dataLabel);
    dataRow->addWidget(m_dataCombo, 1);

    auto *ok = Numbered(new QPushButton(this), IdOk);
    ok->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *groups = new QVBoxLayout;
    groups->addWidget(formatGroup);
    groups->addWidget(dataGroup);
    auto *body = new QHBoxLayout;
    body->addWidget(picture);
    body->addLayout(groups, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(ButtonRow({ok, cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_formatCombo, &QComboBox::currentIndexChanged, this, [this] { UpdateSeparatorControls(); });
    connect(m_separatorCombo, &QComboBox::currentIndexChanged, this, [this] { UpdateSeparatorControls(); });

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
}

void CDlgExport::Fill()
{
    const QSignalBlocker formatBlock(m_formatCombo);
    const QSignalBlocker separatorBlock(m_separatorCombo);
    m_formatCombo->clear();
    for (int format : ReportExportOptions::Formats(m_officeSuite))
        m_formatCombo->addItem(Platform::Texts::get(ReportExportOptions::FormatText(format)));
    m_formatCombo->setCurrentIndex(ReportExportOptions::IndexOfFormat(m_format, m_officeSuite));

    m_dataCombo->clear();
    static const Platform::TextId dataTexts[] = {323, 324, 325};
    for (int i = 0; i < ReportExportOptions::DataItemCount(m_offerEntries); ++i)
        m_dataCombo->addItem(Platform::Texts::get(dataTexts[i]));
    m_dataCombo->setCurrentIndex(0);

    m_separatorCombo->clear();
    m_separatorCombo->addItem(Platform::Texts::get(322));
    m_separatorCombo->addItem(QStringLiteral(";"));
    m_separatorCombo->addItem(Platform::Texts::get(161));
    m_separatorCombo->setCurrentIndex(0);
    m_separatorEdit->clear();
    UpdateSeparatorControls();
    m_formatCombo->setFocus();
}

int CDlgExport::exec()
{
    Fill();
    if (DialogAnswers<CDlgExport> *answers = DialogAnswers<CDlgExport>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgExport::UpdateSeparatorControls()
{
    const int format = m_formatCombo->currentIndex();
    const bool separator = ReportExportOptions::ShowsSeparator(format, m_officeSuite);
    m_separatorLabel->setVisible(separator);
    m_separatorCombo->setVisible(separator);
    m_separatorEdit->setVisible(
        ReportExportOptions::ShowsSeparatorEdit(format, m_officeSuite, m_separatorCombo->currentIndex()));
}

void CDlgExport::OnOk()
{
    const int format = ReportExportOptions::FormatOfIndex(m_formatCombo->currentIndex(), m_officeSuite);
    const QString separator =
        ReportExportOptions::SeparatorOf(m_separatorCombo->currentIndex(), m_separatorEdit->text());
    if (format == ReportExportOptions::Csv && !ReportExportOptions::IsUsableSeparator(separator)) {
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, this, Platform::Texts::get(21400),
                       Platform::Texts::get(173));
        m_separatorEdit->setFocus();
        return;
    }
    m_format = format;
    m_mode = m_dataCombo->currentIndex();
    m_separator = separator;
    accept();
}
