#include "CAutoUpdater.h"

#include "CFileVersionInfo.h"
#include "CProgressDlg.h"
#include "IntParse.h"
#include "MessageBoxParams.h"
#include "ProgressDlgShared.h"
#include "RichMessageBox.h"
#include "Formatter.h"
#include "Texts.h"

#include "DesktopOpen.h"
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

// The build sets both addresses (CMake cache values, see update_check.cmake).
#ifndef ZARVO_UPDATE_ADDRESS
#define ZARVO_UPDATE_ADDRESS "http://www.example.com/updates/"
#endif
#ifndef ZARVO_WEBSITE_ADDRESS
#define ZARVO_WEBSITE_ADDRESS "http://www.example.com/"
#endif

namespace {

CAutoUpdater::Environment &environment()
{
    static CAutoUpdater::Environment e;
    return e;
}

} // namespace

CAutoUpdater::CAutoUpdater()
    : m_session(std::make_unique<QNetworkAccessManager>())
{
}

CAutoUpdater::~CAutoUpdater() = default;

quint64 CAutoUpdater::ParseDottedVersion(QStringView text)
{
    quint64 version = 0;
    qsizetype from = 0;
    for (int part = 0; part < 4; ++part) {
        quint64 value = 0;
        if (from <= text.size()) {
            qsizetype dot = text.indexOf(u'.', from);
            if (dot < 0)
                dot = text.size();
            value = quint64(Platform::wtoi(text.mid(from, dot - from))) & 0xFFFF;
            from = dot + 1;
        }
        version = (version << 16) | value;
    }
    return version;
}

quint64 CAutoUpdater::GetOwnFileVersion()
{
    CFileVersionInfo info;
    if (!info.Create())
        return 0;
    return (quint64(info.Fixed().fileVersionMS) << 32) | info.Fixed().fileVersionLS;
}

QUrl CAutoUpdater::NoticeUrl()
{
    return QUrl(QStringLiteral(ZARVO_UPDATE_ADDRESS)).resolved(QUrl(QStringLiteral("ZarvoWin.txt")));
}

QUrl CAutoUpdater::SiteUrl()
{
    return QUrl(QStringLiteral(ZARVO_WEBSITE_ADDRESS));
}

bool CAutoUpdater::SystemSaysConnected()
{
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return true;
    const QNetworkInformation *info = QNetworkInformation::instance();
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

int CAutoUpdater::CheckForUpdate(const Request &request, QString &notice)
{
    notice.clear();
    if (!m_session || !request.connected)
        return NotConnected;

    QNetworkRequest get(request.noticeUrl);
    get.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("AutoUpdateZarvo"));
    // Always from the server, never from a cache on the way.
    get.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    get.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    get.setRawHeader("Cache-Control", "no-cache");
    get.setRawHeader("Pragma", "no-cache");
    get.setTransferTimeout(request.timeoutMs);

    std::unique_ptr<QNetworkReply> reply(m_session->get(get));
    QByteArray received;
    bool full = false;
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        // Only what arrived, and never more than the notice can hold.
        received += reply->read(MaxNoticeBytes - received.size());
        if (received.size() >= MaxNoticeBytes) {
            full = true;
            loop.quit();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    if (!full && reply->bytesAvailable() > 0)
        received += reply->read(MaxNoticeBytes - received.size());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool failed = !full && reply->error() != QNetworkReply::NoError;
    reply->abort();
    reply.reset();

    // Only the notice itself counts: a page of the server (a 404 page, a
    // redirection's body) is no answer.
    if (failed || status != 200)
        return CannotOpen;
    if (received.isEmpty() || received.at(0) < '0' || received.at(0) > '9')
        return NothingRead;
    const quint64 own = request.ownVersion;
    if (own == 0)
        return NoOwnVersion;
    const QString text = QString::fromLatin1(received);
    const quint64 offered = ParseDottedVersion(text);
    if (own < offered) {
        notice = text.trimmed();
        return NewerVersion;
    }
    return UpToDate;
}

quint8 UpdateCheckJob(ProgressDlgShared &shared)
{
    auto *data = static_cast<UpdateCheckJobData *>(shared.JobParameter());
    shared.SendText(Platform::Texts::get(464));
    CAutoUpdater updater;
    data->result = updater.CheckForUpdate(data->request, data->notice);
    return 1;
}

void CAutoUpdater::SetEnvironment(Environment e)
{
    environment() = std::move(e);
}

int CAutoUpdater::RunCheck(QWidget *owner)
{
    UpdateCheckJobData data;
    if (environment().makeRequest) {
        data.request = environment().makeRequest();
    } else {
        data.request.connected = SystemSaysConnected();
    }
    {
        CProgressDlg progress(owner, UpdateCheckJob, &data, Platform::Texts::get(463), false);
        if (progress.DoModal() != UPD_SUCCESS)
            data.result = CannotOpen;
    }
    TellResult(owner, data.result, data.notice);
    return data.result;
}

void CAutoUpdater::TellResult(QWidget *owner, int result, const QString &notice)
{
    const QString caption = Platform::Texts::get(128);
    int answer = 0;
    if (result == UpToDate) {
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconAsterisk, owner, Platform::Texts::get(396),
                       Platform::Texts::get(222));
        return;
    }
    if (result == NewerVersion)
        answer = RichMessageBox(MessageBoxType::YesNo | MessageBoxType::IconQuestion, owner,
                                Platform::Formatter::sprintf(Platform::Texts::get(432), {notice}), caption);
    else
        answer = RichMessageBox(MessageBoxType::YesNo | MessageBoxType::IconQuestion, owner,
                                Platform::Texts::get(397), caption);
    if (answer == MessageBoxAnswer::Failed || (answer & 0xFFFF) != MessageBoxAnswer::Yes)
        return;
    if (environment().openUrl)
        environment().openUrl(SiteUrl());
    else
        Platform::OpenUrl(SiteUrl());
}
