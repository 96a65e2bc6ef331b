#include "DragPayload.h"

#include <QMimeData>
#include <QStringList>

namespace {

struct KindWord
{
    DragKind kind;
    const char16_t *word;
};
constexpr KindWord KindWords[] = {
    {DragKind::Favorite, u"Fav"},          {DragKind::Recent, u"Hist"},
    {DragKind::Project, u"Proj"},          {DragKind::ForecastProject, u"ProjForecast"},
    {DragKind::Activity, u"Act"},          {DragKind::ProjectActivity, u"ProjAct"},
};

// A whole line of decimal digits (with an optional sign), as the writer
// puts it; anything else is no id.
bool readId(const QString &line, int &id)
{
    bool ok = false;
    const int value = line.toInt(&ok, 10);
    if (!ok || line.trimmed() != line)
        return false;
    id = value;
    return true;
}

} // namespace

QString DragPayloadMimeType()
{
    return QStringLiteral("application/x-zarvo-drag-item");
}

QString DragPayloadText(const DragInfo &info)
{
    QString text = QString::number(info.id) + u'\n';
    for (const KindWord &k : KindWords) {
        if (k.kind == info.kind)
            text += QString::fromUtf16(k.word);
    }
    text += u'\n';
    if (info.kind == DragKind::ProjectActivity)
        text += QString::number(info.secondId) + u'\n';
    text += info.openDialog ? QStringLiteral("Dialog\n") : QStringLiteral("Auto\n");
    return text;
}

QMimeData *MakeDragPayload(const DragInfo &info)
{
    auto *data = new QMimeData;
    const QString text = DragPayloadText(info);
    // UTF-16 without byte-order mark or terminator, in the machine's order.
    data->setData(DragPayloadMimeType(),
                  QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * qsizetype(sizeof(char16_t))));
    data->setText(text);
    return data;
}

bool ReadDragPayloadText(const QString &text, DragInfo &info)
{
    info = DragInfo();
    if (!text.endsWith(u'\n'))
        return false;
    const QStringList lines = text.left(text.size() - 1).split(u'\n');
    DragInfo read;
    if (lines.size() < 3 || !readId(lines.at(0), read.id))
        return false;
    for (const KindWord &k : KindWords) {
        if (lines.at(1) == QStringView(k.word))
            read.kind = k.kind;
    }
    qsizetype next = 2;
    if (read.kind == DragKind::ProjectActivity) {
        if (lines.size() < 4 || !readId(lines.at(2), read.secondId))
            return false;
        next = 3;
    }
    read.openDialog = lines.at(next) == QLatin1String("Dialog");
    info = read;
    return true;
}

bool ReadDragPayload(const QMimeData *data, DragInfo &info)
{
    info = DragInfo();
    if (!data || !data->hasFormat(DragPayloadMimeType()))
        return false;
    const QByteArray bytes = data->data(DragPayloadMimeType());
    if (bytes.size() % 2 != 0)
        return false;
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
    return ReadDragPayloadText(text, info);
}
