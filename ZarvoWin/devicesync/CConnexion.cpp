#include "CConnexion.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CDlgSynchro.h"
#include "ContextHelp.h"
#include "CProgressDlg.h"
#include "CUsers.h"
#include "CViewPcInfos.h"
#include "CViewSynchro.h"
#include "DeviceFolderWatcher.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Settings.h"
#include "SyncAnalysis.h"
#include "SyncPending.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "UnattendedDialogs.h"
#include "WidgetIds.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

int g_minimumAnalysisMs = 1000;

// A date and time in the user's formats, as the users pane shows them.
QString DateText(qint64 seconds)
{
    if (seconds <= 0)
        return QString();
    if (const CConfiguration *config = CAppData::Configuration())
        return config->FormatDate(seconds, false, true);
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

// A database's size in bytes, the digits grouped by thousands as the
// interface writes numbers (the backups list does the same).
QString SizeText(qint64 bytes)
{
    const CConfiguration *config = CAppData::Configuration();
    const QString digits = config ? config->Locale().toString(bytes) : QLocale().toString(bytes);
    return Platform::Formatter::sprintf(Platform::Texts::get(437), {digits});
}

QString DateOf(const QString &stamp)
{
    bool ok = false;
    const qint64 seconds = stamp.toLongLong(&ok);
    return ok ? DateText(seconds) : QString();
}

QString CreatedText(const QFileInfo &file)
{
    const QDateTime created = file.birthTime().isValid() ? file.birthTime() : file.lastModified();
    return Platform::Texts::get(438) + DateText(created.toSecsSinceEpoch());
}

QLabel *Picture(const char *icon, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(QIcon::fromTheme(QString::fromLatin1(icon)).pixmap(48, 48));
    return label;
}

} // namespace

void CConnexion::SetMinimumAnalysisTime(int ms)
{
    g_minimumAnalysisMs = ms;
}

CConnexion::CConnexion(CUsers &users, CSyncHost *host, Hooks hooks, const QString &deviceRoot, QWidget *parent)
    : QDialog(parent)
    , m_users(users)
    , m_host(host)
    , m_hooks(std::move(hooks))
    , m_exchange(deviceRoot)
{
    // Copies left by a session that ended without closing (a crash) are
    // nobody's any more; the record of a stopped run stays.
    DeviceExchange::RemoveWorkingCopies();
    WidgetIds::SetDialogId(this, DialogId);
    BuildControls();
    TranslateDialog(this, DialogId);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("folder-sync")));
    m_devicePane->SetCaption(Platform::Texts::get(230));
    m_localPane->SetCaption(Platform::Texts::get(229));

    const Platform::Settings settings;
    const bool device = settings.getInt(u"Synchronisation", u"", u"Wmdc", 1) != 0;
    QString usb = settings.getString(u"Synchronisation", u"", u"UsbFile");
    if (!usb.isEmpty() && !QFileInfo(usb).isFile())
        usb.clear();
    m_exchange.SetUsbDatabasePath(usb);
    if (usb.isEmpty() && m_exchange.ScanUsbDrives())
        usb = m_exchange.UsbDatabasePath();
    m_usbPath->setText(usb);
    m_transport->addItem(Platform::Texts::get(651));
    m_transport->addItem(Platform::Texts::get(652));
    m_transport->setCurrentIndex(device ? 0 : 1);
    m_exchange.SetTransport(device ? DeviceExchange::Transport::Device : DeviceExchange::Transport::UsbDisk);
    connect(m_transport, &QComboBox::currentIndexChanged, this, &CConnexion::OnTransportChanged);

    m_watcher = std::make_unique<Platform::DeviceFolderWatcher>(deviceRoot);
    connect(m_watcher.get(), &Platform::DeviceFolderWatcher::notice, this, &CConnexion::OnDeviceNotice);
    connect(m_watcher.get(), &Platform::DeviceFolderWatcher::contentChanged, this,
            &CConnexion::OnDeviceContentChanged);
    if (m_watcher->state() == Platform::DeviceFolder::State::Present)
        m_exchange.Connect();
    m_files = new QFileSystemWatcher(this);
    connect(m_files, &QFileSystemWatcher::fileChanged, this, [this] {
        // A database changed by another connection (the tray, another
        // program): the panes and a pending review's warning follow.
        if (!m_analysing && !m_running)
            RefreshState();
    });
    FillUsers(-1);
    RefreshState();
    RestoreWindowPosition(this, QStringLiteral("Connexion"));
}

CConnexion::~CConnexion()
{
    if (m_review) {
        m_review->SetCancelHandler({});
        m_review->SetSynchroniseRunner({});
        // Without a host the review is a window of this dialog's alone,
        // which nothing else would ever close and free.
        if (!m_host)
            delete m_review;
    }
}

void CConnexion::BuildControls()
{
    const auto keep = [this](int id, QWidget *widget) {
        WidgetIds::SetControlId(widget, id);
        m_controls.insert(id, widget);
        return widget;
    };
    m_state = new QLabel(this);
    keep(StateText, m_state);
    m_user = new QLabel(this);
    keep(UserText, m_user);
    m_usersCombo = new QComboBox(this);
    keep(UsersCombo, m_usersCombo);
    auto *associate = new QPushButton(this);
    keep(AssociateButton, associate);
    auto *addUser = new QPushButton(this);
    keep(AddUserButton, addUser);
    auto *modify = new QPushButton(this);
    keep(ModifyButton, modify);
    m_guidance = new QLabel(this);
    m_guidance->setWordWrap(true);
    m_guidance->setAlignment(Qt::AlignCenter);
    keep(GuidanceText, m_guidance);
    m_version = new QLabel(this);
    m_version->setWordWrap(true);
    keep(VersionText, m_version);
    m_identical = new QLabel(this);
    m_identical->setAlignment(Qt::AlignCenter);
    keep(IdenticalText, m_identical);
    m_transport = new QComboBox(this);
    keep(TransportCombo, m_transport);
    auto *transportLabel = new QLabel(this);
    keep(TransportLabel, transportLabel);
    m_usbPath = new QLineEdit(this);
    m_usbPath->setReadOnly(true);
    keep(UsbPathEdit, m_usbPath);
    auto *usbLabel = new QLabel(this);
    keep(UsbPathLabel, usbLabel);
    auto *usbSelect = new QPushButton(this);
    keep(UsbSelectButton, usbSelect);
    keep(DevicePicture, Picture("smartphone", this));
    keep(ComputerPicture, Picture("computer", this));
    keep(ConnectedPicture, Picture("network-connect", this));
    keep(WaitingPicture, Picture("network-disconnect", this));
    const auto imageButton = [&](int id, const char *icon, int tip) {
        auto *button = new QPushButton(this);
        button->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
        button->setIconSize(QSize(32, 32));
        button->setToolTip(Platform::Texts::get(tip));
        keep(id, button);
        return button;
    };
    auto *synchronise = imageButton(SynchroniseButton, "folder-sync", 24300);
    auto *toLocal = imageButton(CopyToLocalButton, "go-next", 24301);
    auto *toDevice = imageButton(CopyToDeviceButton, "go-previous", 24302);
    m_close = new QPushButton(this);
    keep(CloseButton, m_close);
    m_devicePane = new CViewPcInfos(this);
    m_localPane = new CViewPcInfos(this);

    connect(associate, &QPushButton::clicked, this, &CConnexion::OnAssociate);
    connect(addUser, &QPushButton::clicked, this, &CConnexion::OnAddUser);
    connect(modify, &QPushButton::clicked, this, &CConnexion::OnModify);
    connect(usbSelect, &QPushButton::clicked, this, &CConnexion::OnSelectUsbFile);
    connect(synchronise, &QPushButton::clicked, this, &CConnexion::OnSynchronise);
    connect(toLocal, &QPushButton::clicked, this, [this] { OnWholeCopy(0); });
    connect(toDevice, &QPushButton::clicked, this, [this] { OnWholeCopy(1); });
    connect(m_close, &QPushButton::clicked, this, &CConnexion::reject);
    connect(m_usersCombo, &QComboBox::currentIndexChanged, this,
            [this, associate](int index) { associate->setEnabled(index >= 0); });

    auto *transport = new QGridLayout;
    transport->addWidget(transportLabel, 0, 0);
    transport->addWidget(m_transport, 0, 1, 1, 2);
    transport->addWidget(usbLabel, 1, 0);
    transport->addWidget(m_usbPath, 1, 1);
    transport->addWidget(usbSelect, 1, 2);
    transport->setColumnStretch(1, 1);

    auto *pictures = new QHBoxLayout;
    pictures->addWidget(Control(DevicePicture));
    pictures->addWidget(Control(ConnectedPicture));
    pictures->addWidget(Control(WaitingPicture));
    pictures->addStretch(1);
    pictures->addWidget(m_state);
    pictures->addStretch(1);
    pictures->addWidget(Control(ComputerPicture));

    auto *user = new QHBoxLayout;
    user->addStretch(1);
    user->addWidget(m_user);
    user->addWidget(modify);
    user->addWidget(m_usersCombo, 1);
    user->addWidget(associate);
    user->addWidget(addUser);
    user->addStretch(1);

    auto *panes = new QHBoxLayout;
    panes->addWidget(m_devicePane, 1);
    auto *actions = new QVBoxLayout;
    actions->addStretch(1);
    actions->addWidget(synchronise);
    actions->addWidget(toLocal);
    actions->addWidget(toDevice);
    actions->addStretch(1);
    panes->addLayout(actions);
    panes->addWidget(m_localPane, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_close);
    ContextHelp::Install(this, DialogId);
    ContextHelp::AddButton(bottom, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(transport);
    layout->addLayout(pictures);
    layout->addWidget(m_guidance);
    layout->addWidget(m_version);
    layout->addLayout(user);
    layout->addLayout(panes);
    layout->addWidget(m_identical);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(640);
}

void CConnexion::FillUsers(int selectId)
{
    int selected = -1;
    const QList<CUsers::Choice> choices = m_users.ReadUserChoices(selectId < 0 ? -1 : selectId, &selected);
    const QSignalBlocker block(m_usersCombo);
    m_usersCombo->clear();
    for (const CUsers::Choice &choice : choices)
        m_usersCombo->addItem(choice.name, choice.id);
    m_usersCombo->setCurrentIndex(selectId < 0 ? -1 : selected);
    Control(AssociateButton)->setEnabled(m_usersCombo->currentIndex() >= 0);
}

void CConnexion::OnDeviceNotice(int code)
{
    m_copyFresh = false;
    if (code == 0) {
        if (!m_exchange.IsConnected())
            m_exchange.Connect();
    } else if (m_exchange.IsConnected()) {
        m_exchange.Disconnect();
    }
    // During an analysis or a run the copies are in use: the state is read
    // again when they end.
    if (!m_running && !m_analysing)
        RefreshState();
}

void CConnexion::OnDeviceContentChanged()
{
    // During an analysis or a run the copies are in use (and the run writes
    // the device itself): the state is read again when they end.
    if (!m_running && !m_analysing)
        RefreshState();
}

bool CConnexion::LookForDevice()
{
    const bool present = Platform::DeviceFolder::StateOf(m_exchange.DeviceRoot()) == Platform::DeviceFolder::State::Present;
    if (present && !m_exchange.IsConnected())
        m_exchange.Connect();
    else if (!present && m_exchange.IsConnected())
        m_exchange.Disconnect();
    if (!m_exchange.IsReady())
        return false;
    bool found = m_exchange.LocateDeviceDatabase();
    // What the search read is followed from now on. Looked for again once
    // followed, the device shows what came before the watch began; what
    // comes after is told.
    for (int round = 0; round < 4; ++round) {
        const QStringList looked = m_exchange.LookedAt();
        if (round > 0 && looked == m_watcher->followed())
            break;
        m_watcher->Follow(looked);
        found = m_exchange.LocateDeviceDatabase();
    }
    return found;
}

void CConnexion::RefreshState()
{
    m_local = ConnexionState::Stamps();
    m_device = ConnexionState::Stamps();
    m_localShown = m_localHasSize = m_deviceShown = m_deviceCopyOk = m_deviceVersionRead = false;
    m_localVersion = m_deviceVersion = -1;
    m_copyFresh = false;
    m_exchange.SetAssociatedUser(-1, QString(), QString());
    const bool located = LookForDevice();
    const bool ready = m_exchange.IsReady();
    bool baseKnown = false;
    if (located) {
        baseKnown = true;
        if (m_exchange.ReadDeviceUserName())
            m_exchange.FindAssociatedUser(m_users);
    } else if (ready && m_exchange.GetTransport() == DeviceExchange::Transport::Device) {
        // The device program's base as last tried: its database was not found.
        baseKnown = false;
    }
    if (baseKnown) {
        RefreshLocalInfo();
        RefreshDeviceInfo();
    }
    if (m_reviewPending && m_review) {
        const int text = ConnexionState::WarningText(m_snapshot, ready, CurrentSnapshot());
        m_review->SetMessage(text ? Platform::Texts::get(text) : QString());
    }
    WatchDatabases();
    UpdateControls();
}

void CConnexion::WatchDatabases()
{
    if (!m_files->files().isEmpty())
        m_files->removePaths(m_files->files());
    QStringList paths;
    if (!m_exchange.GetLocalDatabasePath().isEmpty() && QFileInfo(m_exchange.GetLocalDatabasePath()).isFile())
        paths << m_exchange.GetLocalDatabasePath();
    // The USB disk's database too: its owner may write it while a review
    // waits. The device folder's own watcher follows the device database.
    const QString device = m_exchange.GetTransport() == DeviceExchange::Transport::UsbDisk
                               ? m_exchange.UsbDatabasePath()
                               : QString();
    if (!device.isEmpty() && QFileInfo(device).isFile())
        paths << device;
    if (!paths.isEmpty())
        m_files->addPaths(paths);
}

void CConnexion::RefreshLocalInfo()
{
    for (int line = 0; line < 3; ++line)
        m_localPane->SetLine(line, QString());
    if (m_exchange.GetLocalUserId() < 0)
        return;
    m_localShown = true;
    const QString path = m_exchange.GetLocalDatabasePath();
    const QFileInfo file(path);
    if (!file.isFile()) {
        m_localPane->SetLine(0, Platform::Texts::get(253));
        return;
    }
    UpgradeLocalDatabase(path);
    // With the change counter, which a pending review's warning compares.
    m_local = SyncAnalysis::ReadStamps(path, QFileInfo(path).size(), &m_localVersion, true);
    m_localPane->SetLine(0, m_local.sync.isEmpty()
                                ? CreatedText(file)
                                : Platform::Texts::get(209) + DateOf(m_local.sync));
    m_localPane->SetLine(1, m_local.change.isEmpty() ? QString() : Platform::Texts::get(208) + DateOf(m_local.change));
    m_localPane->SetLine(2, SizeText(m_local.size));
    m_localHasSize = true;
}

void CConnexion::UpgradeLocalDatabase(const QString &path)
{
    // A user not opened since this program was updated keeps a database of
    // an earlier version: brought up as opening the user would, so that
    // only a device of another version is told apart (599).
    int version = -1;
    {
        CBdD look(path, CBdD::ReadOnly);
        version = look.IsOpen() ? look.GetVersion() : -1;
    }
    if (version < 0 || version >= CBdD::CurrentVersion)
        return;
    CBdD db(path, CBdD::ExistingFile);
    if (db.IsOpen())
        db.UpdateDb();
}

QString CConnexion::WorkingCopy() const
{
    return DeviceExchange::WorkingFile(m_reviewPending ? DeviceExchange::PaneCopyFile : DeviceExchange::DeviceCopyFile);
}

void CConnexion::RefreshDeviceInfo()
{
    for (int line = 0; line < 3; ++line)
        m_devicePane->SetLine(line, QString());
    m_deviceShown = true;
    const QFileInfo file(m_exchange.DeviceDatabaseFile());
    if (!file.isFile()) {
        m_devicePane->SetLine(1, Platform::Texts::get(436));
        return;
    }
    const QString copy = WorkingCopy();
    // A copy stopped halfway (its journal beside it) would hold this one up.
    DeviceExchange::RemoveWorkingCopy(copy);
    if (copy.isEmpty() || !m_exchange.CopyDatabaseFromDevice(copy)) {
        // No stale copy is ever analysed: a failed copy leaves none.
        if (!copy.isEmpty())
            QFile::remove(copy);
        // A file of a later program is told as such (the versions differ),
        // its version read from the device file itself.
        m_deviceVersion = m_exchange.RefusedVersion();
        m_deviceVersionRead = m_deviceVersion >= 0;
        m_devicePane->SetLine(1, Platform::Texts::get(208) + Platform::Texts::get(173));
        return;
    }
    m_deviceCopyOk = true;
    // The analysis may compare this copy while nothing writes it.
    if (!m_reviewPending)
        m_copyFresh = CDatabaseFile::ReadChangeCounter(copy, m_copyCounter);
    m_device = SyncAnalysis::ReadStamps(copy, file.size(), &m_deviceVersion);
    m_devicePane->SetLine(0, m_device.sync.isEmpty()
                                 ? CreatedText(file)
                                 : Platform::Texts::get(209) + DateOf(m_device.sync));
    m_devicePane->SetLine(1, m_device.change.isEmpty() ? QString() : Platform::Texts::get(208) + DateOf(m_device.change));
    m_devicePane->SetLine(2, SizeText(m_device.size));
}

ConnexionState::Input CConnexion::CurrentInput() const
{
    ConnexionState::Input in;
    in.usbMode = m_exchange.GetTransport() == DeviceExchange::Transport::UsbDisk;
    in.ready = m_exchange.IsReady();
    in.baseKnown = in.ready && !m_exchange.DeviceBase().isEmpty() && m_deviceShown;
    in.userId = m_exchange.GetLocalUserId();
    in.userName = m_exchange.GetUserFolder();
    in.localShown = m_localShown;
    in.localHasSize = m_localHasSize;
    in.deviceShown = m_deviceShown;
    in.deviceCopyOk = m_deviceCopyOk;
    in.deviceVersionRead = m_deviceVersionRead;
    in.localVersion = m_localVersion;
    in.deviceVersion = m_deviceVersion;
    in.local = m_local;
    in.device = m_device;
    in.reviewPending = m_reviewPending;
    in.reviewCount = m_review ? m_review->Count() : 0;
    in.busy = m_analysing;
    return in;
}

ConnexionState::Snapshot CConnexion::CurrentSnapshot() const
{
    return ConnexionState::Snapshot{m_exchange.DeviceUserName(), m_exchange.GetLocalUserId(), m_device, m_local};
}

void CConnexion::UpdateControls()
{
    const ConnexionState::Input in = CurrentInput();
    const ConnexionState::Controls c = ConnexionState::Compute(in);
    setWindowTitle(c.titleId == 395 ? Platform::Formatter::sprintf(Platform::Texts::get(395), {in.reviewCount})
                                    : Platform::Texts::get(394));
    const bool dialog = !c.reviewShown;
    m_state->setText(Platform::Texts::get(c.stateTextId));
    m_state->setVisible(dialog && c.showState);
    Control(TransportCombo)->setVisible(dialog);
    Control(TransportLabel)->setVisible(dialog);
    for (int id : {int(UsbPathEdit), int(UsbPathLabel), int(UsbSelectButton)})
        Control(id)->setVisible(dialog && c.showUsbPath);
    Control(DevicePicture)->setVisible(dialog);
    Control(ComputerPicture)->setVisible(dialog);
    Control(ConnectedPicture)->setVisible(c.showConnected);
    Control(WaitingPicture)->setVisible(c.showWaiting);
    QString guidance;
    if (c.guidanceUnknownUser)
        guidance = Platform::Texts::get(442) + u'\n' + Platform::Texts::get(246);
    else if (c.guidanceId)
        guidance = Platform::Texts::get(c.guidanceId);
    m_guidance->setText(guidance);
    m_guidance->setVisible(!guidance.isEmpty());
    m_version->setText(c.versionsDiffer ? Platform::Texts::get(470) : QString());
    m_version->setVisible(c.versionsDiffer);
    m_user->setText(Platform::Formatter::sprintf(Platform::Texts::get(443), {in.userName}));
    m_user->setVisible(c.showUser);
    Control(ModifyButton)->setVisible(c.showUser);
    for (int id : {int(UsersCombo), int(AssociateButton), int(AddUserButton)})
        Control(id)->setVisible(c.showUserChoice);
    m_localPane->setVisible(c.showLocalPane);
    m_devicePane->setVisible(c.showDevicePane);
    for (int id : {int(SynchroniseButton), int(CopyToLocalButton), int(CopyToDeviceButton)})
        Control(id)->setVisible(c.showActions);
    Control(SynchroniseButton)->setEnabled(c.synchroniseEnabled);
    Control(CopyToLocalButton)->setEnabled(c.copyToLocalEnabled);
    Control(CopyToDeviceButton)->setEnabled(c.copyToDeviceEnabled);
    m_identical->setText(c.identical ? Platform::Texts::get(245) : QString());
    m_identical->setVisible(c.showLocalPane && c.showDevicePane);
    m_close->setVisible(c.closeShown);
    m_close->setEnabled(!m_analysing);
}

void CConnexion::Warn(int textId)
{
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, this, Platform::Texts::get(textId),
                   Platform::Texts::get(173));
}

void CConnexion::OnAssociate()
{
    const int id = m_usersCombo->currentData().toInt();
    tUsers user;
    if (m_usersCombo->currentIndex() < 0 || !m_users.LoadUserById(user, id) || !m_exchange.WriteDeviceUserName(user.Nom)) {
        Warn(444);
        return;
    }
    RefreshState();
}

void CConnexion::OnModify()
{
    int id = m_exchange.GetLocalUserId();
    const int before = id;
    if (m_hooks.chooseUser && m_hooks.chooseUser(id) && id != before) {
        tUsers user;
        if (!m_users.LoadUserById(user, id) || !m_exchange.WriteDeviceUserName(user.Nom))
            Warn(444);
    }
    RefreshState();
    FillUsers(m_exchange.GetLocalUserId());
}

void CConnexion::OnAddUser()
{
    if (!m_hooks.addUser)
        return;
    const int id = m_hooks.addUser(this);
    if (id < 0)
        return;
    m_usersAdded = true;
    FillUsers(id);
}

void CConnexion::OnTransportChanged()
{
    const bool device = m_transport->count() == 2 && m_transport->currentIndex() == 0;
    Platform::Settings().setInt(u"Synchronisation", u"", u"Wmdc", device ? 1 : 0);
    m_exchange.SetTransport(device ? DeviceExchange::Transport::Device : DeviceExchange::Transport::UsbDisk);
    if (!device) {
        if (!QFileInfo(m_exchange.UsbDatabasePath()).isFile()) {
            m_exchange.SetUsbDatabasePath(QString());
            m_exchange.ScanUsbDrives();
        }
        m_usbPath->setText(m_exchange.UsbDatabasePath());
    }
    RefreshState();
}

void CConnexion::OnSelectUsbFile()
{
    const QString current = m_exchange.UsbDatabasePath();
    const QString folder = QFileInfo(current).isFile() ? QFileInfo(current).absolutePath() : QString();
    QString path;
    if (m_hooks.chooseUsbFile)
        path = m_hooks.chooseUsbFile(this, folder);
    else if (!UnattendedDialogs::Report(QStringLiteral("file dialog to open the device's database")))
        path = QFileDialog::getOpenFileName(this, QString(), folder + QStringLiteral("/Zarvo.sdb"),
                                            QStringLiteral("Zarvo.sdb (Zarvo.sdb)"));
    if (path.isEmpty())
        return;
    if (const int text = ConnexionState::CheckUsbPath(path)) {
        Warn(text);
        return;
    }
    m_exchange.SetUsbDatabasePath(path);
    m_usbPath->setText(path);
    Platform::Settings().setString(u"Synchronisation", u"", u"UsbFile", path);
    RefreshState();
}

void CConnexion::OnWholeCopy(int direction)
{
    const int question = direction == 0 ? 241 : 242;
    if (RichMessageBox(MessageBoxType::YesNo | MessageBoxType::IconQuestion, this, Platform::Texts::get(question),
                       Platform::Texts::get(166))
        != MessageBoxAnswer::Yes)
        return;
    if (m_exchange.GetTransport() == DeviceExchange::Transport::UsbDisk)
        Platform::Settings().setString(u"Synchronisation", u"", u"UsbFile", m_exchange.UsbDatabasePath());
    DeviceExchange::WholeCopyOptions options;
    options.backupFirst = m_hooks.backupFirst ? m_hooks.backupFirst() : true;
    options.sharedFolder = m_hooks.sharedFolder ? m_hooks.sharedFolder() : QString();
    options.currentUser = m_hooks.currentUserId && m_hooks.currentUserId() == m_exchange.GetLocalUserId();
    const DeviceExchange::WholeCopyResult result = m_exchange.CopyWholeDatabase(direction, options);
    RichMessageBox(MessageBoxType::Ok
                       | (result == DeviceExchange::WholeCopyResult::Copied ? MessageBoxType::IconAsterisk
                                                                             : MessageBoxType::IconExclamation),
                   this, Platform::Texts::get(DeviceExchange::TextId(result)), Platform::Texts::get(394));
    if (result == DeviceExchange::WholeCopyResult::Copied) {
        // Both sides hold the same file now: nothing of a stopped run of
        // this database is left to finish.
        SyncPending::DropFor(m_exchange.GetLocalUserId(), m_exchange.GetLocalDatabasePath());
        // Closes at once.
        accept();
        return;
    }
    RefreshState();
}

void CConnexion::OnSynchronise()
{
    if (m_analysing || m_reviewPending || m_running)
        return;
    if (m_exchange.GetTransport() == DeviceExchange::Transport::UsbDisk)
        Platform::Settings().setString(u"Synchronisation", u"", u"UsbFile", m_exchange.UsbDatabasePath());
    SyncAnalysis::Input input;
    input.exchange = m_exchange;
    input.copyPath = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
    input.localPath = m_exchange.GetLocalDatabasePath();
    input.userId = m_exchange.GetLocalUserId();
    input.copyAtHand = m_copyFresh;
    input.copyCounter = m_copyCounter;
    if (const CConfiguration *config = CAppData::Configuration())
        input.formats = *config;
    input.minimumMs = g_minimumAnalysisMs;
    m_copyFresh = false;

    SyncAnalysis::Result result;
    m_analysing = true;
    UpdateControls();
    {
        const QString title = Platform::Texts::get(277);
        CProgressDlg progress(
            this,
            [&input, &result, title](ProgressDlgShared &shared) -> quint8 {
                // Also in the window: a desktop may show no title bars.
                shared.SendText(title);
                result = SyncAnalysis::Run(input, &shared);
                return result.outcome == SyncAnalysis::Outcome::Differences
                               || result.outcome == SyncAnalysis::Outcome::NoDifference
                           ? 1
                           : 2;
            },
            nullptr, title, true);
        if (progress.DoModal() > 0xFFFF)
            result.outcome = SyncAnalysis::Outcome::Cancelled;
    }
    m_analysing = false;
    AnalysisEnded(std::move(result));
}

void CConnexion::AnalysisEnded(SyncAnalysis::Result result)
{
    m_snapshot = ConnexionState::Snapshot{m_exchange.DeviceUserName(), m_exchange.GetLocalUserId(), result.device,
                                          result.local};
    // A stopped run compared afresh: the user learns why it could not be
    // finished before the differences are shown.
    const QString notFinished = SyncAnalysis::NotFinishedMessage(result);
    if (!notFinished.isEmpty()
        && (result.outcome == SyncAnalysis::Outcome::Differences
            || result.outcome == SyncAnalysis::Outcome::NoDifference)) {
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, this, notFinished,
                       Platform::Texts::get(394));
        // A record that is not this database's is told once.
        SyncAnalysis::Told(result);
    }
    switch (result.outcome) {
    case SyncAnalysis::Outcome::Differences: {
        if (m_review)
            m_review->deleteLater();
        m_review = new CViewSynchro(m_host);
        m_review->SetAssociatedUserId(m_exchange.GetLocalUserId());
        m_review->SetMessage(QString());
        m_review->TakeDifferences(DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile),
                                  m_exchange.GetLocalDatabasePath(), std::move(result.list), result.count);
        m_review->SetSynchroniseRunner([this](CViewSynchro &view) { RunSynchronisation(&view.List()); });
        m_review->SetCancelHandler([this] {
            m_reviewPending = false;
            ComeBack();
            RefreshState();
        });
        m_reviewPending = true;
        m_review->Open();
        hide();
        RefreshState();
        break;
    }
    case SyncAnalysis::Outcome::NoDifference:
        // Nothing differs: the run still carries the favourite order over
        // and aligns the stamps of both sides.
        RunSynchronisation(nullptr);
        break;
    case SyncAnalysis::Outcome::Finished:
        // The local database now holds what the stopped run wrote to the
        // device: as after any run, the undo history and the network copy
        // no longer describe it.
        if (m_hooks.currentUserId && m_hooks.currentUserId() == m_exchange.GetLocalUserId() && m_hooks.emptyUndo)
            m_hooks.emptyUndo();
        DeviceExchange::RemoveSharedCopy(m_hooks.sharedFolder ? m_hooks.sharedFolder() : QString(),
                                         m_exchange.GetUserFolder());
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconAsterisk, this, Platform::Texts::get(FinishedText),
                       Platform::Texts::get(394));
        RefreshState();
        break;
    case SyncAnalysis::Outcome::Cancelled:
    case SyncAnalysis::Outcome::Failed:
        Warn(result.outcome == SyncAnalysis::Outcome::Cancelled ? 372 : 219);
        RefreshState();
        break;
    }
    emit analysisEnded();
}

void CConnexion::RunSynchronisation(const SyncReviewList *list)
{
    SyncFileStages::Setup setup;
    setup.localPath = m_exchange.GetLocalDatabasePath();
    setup.copyPath = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
    setup.list = list;
    setup.exchange = m_exchange;
    setup.localCounter = m_snapshot.local.counter;
    setup.userId = m_exchange.GetLocalUserId();
    setup.sharedFolder = m_hooks.sharedFolder ? m_hooks.sharedFolder() : QString();
    setup.userName = m_exchange.GetUserFolder();
    if (m_hooks.currentUserId && m_hooks.currentUserId() == m_exchange.GetLocalUserId())
        setup.emptyUndo = m_hooks.emptyUndo;
    m_running = true;
    {
        CDlgSynchro run(setup, m_review && m_reviewPending ? static_cast<QWidget *>(m_review) : this);
        run.exec();
    }
    m_running = false;
    m_reviewPending = false;
    if (m_review) {
        m_review->SetCancelHandler({});
        m_review->EndReview();
    }
    ComeBack();
    RefreshState();
    emit runEnded();
}

void CConnexion::ComeBack()
{
    // Shown again after the review in the main window, which had the
    // keyboard: the dialog takes it back, or Escape and every key would
    // still go to the main window until the user clicked the dialog.
    show();
    raise();
    activateWindow();
}

void CConnexion::closeEvent(QCloseEvent *event)
{
    if (m_analysing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CConnexion::done(int result)
{
    // However it closes (Fermer, the window's close, a whole copy): the
    // working copies hold the user's whole data and go with the dialog.
    SaveWindowPosition(this, QStringLiteral("Connexion"));
    DeviceExchange::RemoveWorkingCopies();
    QDialog::done(result);
}

void CConnexion::reject()
{
    if (m_analysing)
        return;
    if (m_reviewPending) {
        if (m_review)
            m_review->Cancel();
        return;
    }
    QDialog::reject();
}
