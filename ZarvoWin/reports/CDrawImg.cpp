#include "CDrawImg.h"

#include "CPicture.h"
#include "TemplateTokens.h"

#include <QFileInfo>

using namespace TemplateTokens;

CDrawImg::CDrawImg() : CDrawObject(KindImage) {}

void CDrawImg::ReadTokens(const QStringList &tokens, const QString &folder)
{
    CDrawObject::ReadTokens(tokens, folder);
    Folder = folder;
    FileName = Text(tokens, 12).replace(u'\\', u'/');
    Mode = Number(tokens, 13);
    const QString suffix = QFileInfo(FileName).suffix();
    ImageType = suffix.isEmpty() ? 0 : CPicture::GetTypeFromExtension(suffix.toLower());
}

QString CDrawImg::GetLine() const
{
    return QLatin1String("img=") + GeometryLine() + u';' + FileName + QStringLiteral(";%1\n").arg(Mode);
}
