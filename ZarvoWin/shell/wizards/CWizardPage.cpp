#include "CWizardPage.h"

#include "BitmapResources.h"
#include "MessageBoxParams.h"
#include "OptionPageTools.h"
#include "RichMessageBox.h"
#include "Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

QVBoxLayout *CWizardPage::BuildFrame(int pictureId, bool white, int widthInCharacters)
{
    if (white) {
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
        setAutoFillBackground(true);
    }
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    const QPixmap pixmap = QPixmap::fromImage(LoadBitmapResource(pictureId));
    picture->setPixmap(pixmap);
    picture->setFixedSize(pixmap.size());
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(picture, 0, Qt::AlignLeft | Qt::AlignTop);
    auto *column = new QVBoxLayout;
    const int margin = fontMetrics().averageCharWidth() * 2;
    column->setContentsMargins(margin, margin, margin, margin);
    row->addLayout(column, 1);
    setMinimumWidth(pixmap.width() + fontMetrics().averageCharWidth() * widthInCharacters + 2 * margin);
    return column;
}

QLabel *CWizardPage::WrappedText(int controlId)
{
    auto *label = OptionPageTools::Numbered(new QLabel(this), controlId);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

int CWizardPage::Warn(const QString &text)
{
    return RichMessageBox(MessageBoxType::IconExclamation, this, text, Platform::Texts::get(173));
}
