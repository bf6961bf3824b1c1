#include "chooser/Browser.h"

#include "settings/SettingsKeys.h"
#include "ui/Messenger.h"
#include "ui/Twips.h"
#include "ui/Version.h"

#include "ui/BackgroundFileList.h"
#include "ui/DriveList.h"
#include "ui/LastFolder.h"
#include "ui/FolderTree.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace {


QStringList localPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

}  // namespace

Browser::Browser(const QString& startDirectory, bool firstStart, ui::LastFolder& lastFolder)
    : QDialog(nullptr), m_startDirectory(startDirectory), m_lastFolder(lastFolder)
{
    // A window of its own: a child of the disabled main window would be disabled too.
    setObjectName(QStringLiteral("Browser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setAcceptDrops(true);
    setWindowTitle(QStringLiteral("Verzeichnis wählen..                 Quillet x.xx"));

    m_drive1 = new ui::DriveList(this);
    m_drive1->setObjectName(QStringLiteral("Drive1"));
    m_dir1 = new ui::FolderTree(this);
    m_dir1->setObjectName(QStringLiteral("Dir1"));
    m_fileModel = new ui::BackgroundFileList(this);
    m_file1 = new QListView(this);
    m_file1->setObjectName(QStringLiteral("File1"));
    m_file1->setModel(m_fileModel);
    m_file1->setUniformItemSizes(true);  // a folder of 100,000 files must not be measured item by item

    m_frame1 = new QGroupBox(this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_renDirs = new QCheckBox(QStringLiteral("Verzeichnisse umbenennen"), m_frame1);
    m_renDirs->setObjectName(QStringLiteral("RenDirs"));
    m_renDirs->setToolTip(QStringLiteral("Neben Dateien auch Verzeichnisse zum umbennen anzeigen"));
    m_nurVerz = new QCheckBox(QStringLiteral("Nur Verz."), m_frame1);
    m_nurVerz->setObjectName(QStringLiteral("NurVerz"));
    m_nurVerz->setEnabled(false);
    m_setToStandard = new QCheckBox(QStringLiteral("Standardwerte zurücksetzten"), m_frame1);
    m_setToStandard->setObjectName(QStringLiteral("SetToStandard"));
    m_setToStandard->setToolTip(QStringLiteral("Setzt die Festerposition & Einstellungen auf die default-Werte zurück"));
    m_firstStart = new QCheckBox(QStringLiteral("FirstStart"), m_frame1);
    m_firstStart->setObjectName(QStringLiteral("FirstStart"));
    m_firstStart->hide();
    m_firstStart->setChecked(firstStart);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Ok"));
    m_ok->setDefault(true);
    m_command2 = new QPushButton(QStringLiteral("Abbruch"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));

    auto* options = new QVBoxLayout(m_frame1);
    options->addWidget(m_renDirs);
    options->addWidget(m_nurVerz);
    options->addWidget(m_setToStandard);
    auto* left = new QVBoxLayout;
    left->addWidget(m_drive1);
    left->addWidget(m_dir1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_file1, 1);
    right->addWidget(m_frame1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_command2);
    right->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 3);
    main->addLayout(right, 2);
    resize(twips::toPixels(9000), twips::toPixels(6000));

    for (QWidget* list : std::initializer_list<QWidget*>{m_drive1, m_dir1->viewport(), m_file1->viewport()}) {
        list->setAcceptDrops(true);
        list->installEventFilter(this);
    }

    connect(m_drive1, &ui::DriveList::driveChosen, this, &Browser::setCurrentDirectory);
    connect(m_dir1, &ui::FolderTree::folderChosen, this, &Browser::Dir1_Change);
    connect(m_file1, &QListView::clicked, this, [this] { File1_Click(); });
    connect(m_renDirs, &QCheckBox::toggled, this, &Browser::RenDirs_Click);
    connect(m_nurVerz, &QCheckBox::toggled, this, &Browser::NurVerz_Click);
    connect(m_ok, &QPushButton::clicked, this, &Browser::Ok_Click);
    connect(m_command2, &QPushButton::clicked, this, &Browser::Command2_Click);

    Form_Load();
}

Browser::~Browser() = default;

void Browser::Form_Load()
{
    setWindowTitle(windowTitle().replace(QStringLiteral("x.xx"), ui::programVersion()));
    const QString start = m_startDirectory.isEmpty() ? QDir::currentPath() : m_startDirectory;
    setCurrentDirectory(start);

    m_renDirs->setChecked(settings::read(settings::keys::kRenameDirectories));
    m_nurVerz->setChecked(settings::read(settings::keys::kOnlyDirectories));
    // Loading runs the click handling as a user's click would, also where the value did not change.
    RenDirs_Click();
    NurVerz_Click();
}

void Browser::setCurrentDirectory(const QString& dir)
{
    QString clean = QDir::cleanPath(QDir::fromNativeSeparators(dir));
    if (!QFileInfo(clean).isDir())
        clean = QDir::rootPath();
    m_dir = clean;
    m_lastFolder.set(clean);
    m_drive1->selectFor(clean);
    m_dir1->showFolder(clean);
    m_fileModel->list(clean);
}

void Browser::Dir1_Change(const QString& dir)
{
    m_dir = dir;
    m_lastFolder.set(dir);
    m_fileModel->list(dir);
}

void Browser::RenDirs_Click()
{
    const bool on = m_renDirs->isChecked();
    settings::write(settings::keys::kRenameDirectories, on);
    m_nurVerz->setEnabled(on);
    m_file1->setEnabled(!(on && m_nurVerz->isChecked()));
}

void Browser::NurVerz_Click()
{
    const bool on = m_nurVerz->isChecked();
    settings::write(settings::keys::kOnlyDirectories, on);
    m_file1->setEnabled(!(on && m_renDirs->isChecked()));
}

void Browser::setFirstStart(bool first)
{
    m_firstStart->setChecked(first);
}

bool Browser::firstStart() const
{
    return m_firstStart->isChecked();
}

void Browser::confirmOnTop()
{
    if (settings::read(settings::keys::kOnTop))
        Q_EMIT onTopRequested();
}

void Browser::scanShownDirectory()
{
    const QString kept = windowTitle();
    setWindowTitle(QStringLiteral("Verzeichnis wird eingelesen.  Bitte Warten..."));
    m_ok->setEnabled(false);
    m_command2->setEnabled(false);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);  // show the caption before the scan
    Q_EMIT directoryChosen(m_dir);
    // Let the window paint, but keep clicks out: they would start another command in the middle of this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_ok->setEnabled(true);
    m_command2->setEnabled(true);
    setWindowTitle(kept);
}

void Browser::applyStandardValues()
{
    if (!m_setToStandard->isChecked())
        return;
    Q_EMIT standardValuesRequested();
}

void Browser::loadWithoutConfirm()
{
    // A file click or a drop on a list loads the shown folder as a confirm would, but is no first start
    // any more and adds no CD prefix.
    confirmOnTop();
    setFirstStart(false);
    scanShownDirectory();
    applyStandardValues();
}

void Browser::Ok_Click()
{
    confirmOnTop();
    // With "Auto", the new CD prefix is put in place first, so one scan appends it once.
    Q_EMIT autoCdRequested();
    scanShownDirectory();
    applyStandardValues();
    // The chooser's own reading: a first start without a stored value keeps the upper toolbar.
    if (firstStart() && !settings::read(settings::keys::kUpperToolbarVisible, true))
        Q_EMIT upperToolbarHideRequested();
    setFirstStart(false);
    closeSilently();
}

void Browser::Command2_Click()
{
    if (m_cancelHandled)
        return;
    m_cancelHandled = true;
    if (firstStart()) {
        ui::endProgram();
        closeSilently();
        return;
    }
    m_command2->setEnabled(false);
    Q_EMIT cancelled();
    m_command2->setEnabled(true);
    closeSilently();
}

void Browser::File1_Click()
{
    loadWithoutConfirm();
}

void Browser::dropOnList(const QStringList& paths)
{
    loadWithoutConfirm();
    if (!paths.isEmpty())
        Q_EMIT pathDropped(paths.first());
    closeSilently();
}

void Browser::dropOnSurface(const QStringList& paths)
{
    setFirstStart(false);
    if (!paths.isEmpty())
        Q_EMIT pathDropped(paths.first());
    closeSilently();
}

void Browser::closeSilently()
{
    m_cancelHandled = true;
    Q_EMIT released();
    if (!m_closing) {
        m_closing = true;
        close();
    }
}

void Browser::closeEvent(QCloseEvent* event)
{
    // The title bar's close button is a cancel.
    if (!m_cancelHandled) {
        Command2_Click();
    }
    Q_EMIT released();
    event->accept();
}

void Browser::reject()
{
    Command2_Click();
}

void Browser::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Browser::dropEvent(QDropEvent* event)
{
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    dropOnSurface(paths);
}

bool Browser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* e = static_cast<QDropEvent*>(event);
        if (!localPaths(e->mimeData()).isEmpty()) {
            e->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* e = static_cast<QDropEvent*>(event);
        const QStringList paths = localPaths(e->mimeData());
        if (!paths.isEmpty()) {
            e->acceptProposedAction();
            dropOnList(paths);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
