#include "textmode/Files.h"

#include "ui/Twips.h"
#include "files/PathUtils.h"
#include "ui/BackgroundFileList.h"
#include "ui/DriveList.h"
#include "ui/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

const QString Files::kModeFile = QStringLiteral("File");
const QString Files::kModeSaveFile = QStringLiteral("SaveFile");
const QString Files::kModeDir = QStringLiteral("Dir");

namespace {

constexpr int kWidthTwips = 7500;
constexpr int kHeightTwips = 5610;
constexpr int kDirModeWidthTwips = 5805;
constexpr int kDirModeHeightTwips = 5610;

}  // namespace

Files::Files(QWidget* parent, const QString& folder) : QDialog(parent)
{
    setObjectName(QStringLiteral("Files"));
    setModal(true);
    setWindowTitle(QStringLiteral("Open File"));

    auto* frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    m_command1 = new QToolButton(frame1);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setToolTip(QStringLiteral("Desktop"));
    m_command1->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
    m_startmenueBtn = new QToolButton(frame1);
    m_startmenueBtn->setObjectName(QStringLiteral("StartmenüBtn"));
    m_startmenueBtn->setToolTip(QStringLiteral("Startmenü"));
    m_startmenueBtn->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    // Without a start menu folder the button would do nothing.
    m_startmenueBtn->setEnabled(!files::GetStartMenuPath().isEmpty());

    m_drive1 = new ui::DriveList(this);
    m_drive1->setObjectName(QStringLiteral("Drive1"));
    m_dir1 = new ui::FolderTree(this);
    m_dir1->setObjectName(QStringLiteral("Dir1"));
    m_files = new ui::BackgroundFileList(this);
    m_file1 = new QListView(this);
    m_file1->setObjectName(QStringLiteral("File1"));
    m_file1->setModel(m_files);
    m_file1->setUniformItemSizes(true);  // a folder of 100,000 files must not be measured item by item
    m_file1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(QStringLiteral("FileName"));
    m_fileName->hide();

    auto* frame2 = new QFrame(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    m_ok = new QPushButton(QStringLiteral("Ok"), frame2);
    m_ok->setObjectName(QStringLiteral("Ok"));
    m_ok->setEnabled(false);
    m_ok->setDefault(true);
    m_abbruch = new QPushButton(QStringLiteral("Abbruch"), frame2);
    m_abbruch->setObjectName(QStringLiteral("Abbruch"));

    auto* jumps = new QVBoxLayout(frame1);
    jumps->setContentsMargins(0, 0, 0, 0);
    jumps->addWidget(m_command1);
    jumps->addWidget(m_startmenueBtn);
    jumps->addStretch();
    auto* buttons = new QHBoxLayout(frame2);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_abbruch);
    auto* folders = new QVBoxLayout;
    folders->addWidget(m_drive1);
    folders->addWidget(m_dir1, 1);
    auto* names = new QVBoxLayout;
    names->addWidget(m_fileName);
    names->addWidget(m_file1, 1);
    names->addStretch();  // keeps Ok and Abbruch at the bottom while the file list is hidden
    names->addWidget(frame2);
    auto* main = new QHBoxLayout(this);
    main->addWidget(frame1);
    main->addLayout(folders, 1);
    main->addLayout(names, 1);
    resize(twips::toPixels(kWidthTwips), twips::toPixels(kHeightTwips));

    connect(m_drive1, &ui::DriveList::driveChosen, this, &Files::Drive1_Change);
    connect(m_dir1, &ui::FolderTree::folderChosen, this, &Files::Dir1_Change);
    connect(m_file1, &QListView::clicked, this, [this] { File1_Click(); });
    connect(m_file1, &QListView::doubleClicked, this, [this] { File1_DblClick(); });
    connect(m_fileName, &QLineEdit::textChanged, this, [this] { FileName_Change(); });
    connect(m_command1, &QToolButton::clicked, this, &Files::Command1_Click);
    connect(m_startmenueBtn, &QToolButton::clicked, this, &Files::StartmenueBtn_Click);
    connect(m_ok, &QPushButton::clicked, this, &Files::Ok_Click);
    connect(m_abbruch, &QPushButton::clicked, this, &Files::Abbruch_Click);
    connect(m_files, &ui::BackgroundFileList::listed, this, &Files::filesListed);

    goToFolder(startFolder(folder));
}

Files::~Files() = default;

QString Files::startFolder(const QString& DefaultPath) const
{
    return DefaultPath.isEmpty() ? QDir::currentPath() : DefaultPath;
}

void Files::goToFolder(const QString& dir)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(dir));
    if (clean.isEmpty() || !QFileInfo(clean).isDir())
        return;  // a folder that does not exist leaves the lists as they were
    m_drive1->selectFor(clean);
    m_dir1->showFolder(clean);
    Dir1_Change(clean);
}

void Files::prepareOpen(const QString& DefaultPath, const QString& WindowCaption, const QString& DefaultFilename)
{
    const QString folder = startFolder(DefaultPath);
    QString caption = WindowCaption.isEmpty() ? QStringLiteral("Open File") : WindowCaption;
    m_namePattern = files::GetExtensionFilter(DefaultFilename);
    if (!DefaultFilename.isEmpty())
        caption += QStringLiteral("    (\"") + m_namePattern + QStringLiteral("\")");
    setWindowTitle(caption);
    m_mode = kModeFile;
    goToFolder(folder);
    m_fileName->setText(DefaultFilename);
    m_fileName->show();
    m_file1->show();
    m_drive1->show();
}

void Files::prepareSave(const QString& DefaultPath, const QString& DefaultFilename, const QString& WindowCaption)
{
    const QString folder = startFolder(DefaultPath);
    m_mode = kModeSaveFile;
    setWindowTitle(WindowCaption.isEmpty() ? QStringLiteral("Save File as") : WindowCaption);
    // The save list shows every file, so the user sees what a name would replace.
    m_namePattern.clear();
    goToFolder(folder);
    m_fileName->clear();
    m_fileName->setText(DefaultFilename);
    m_fileName->show();
    m_file1->show();
    m_drive1->show();
}

void Files::prepareDir(const QString& DefaultPath, const QString& WindowCaption)
{
    m_mode = kModeDir;
    resize(twips::toPixels(kDirModeWidthTwips), twips::toPixels(kDirModeHeightTwips));
    if (!DefaultPath.isEmpty())
        goToFolder(DefaultPath);
    m_fileName->hide();
    m_file1->hide();
    m_drive1->show();
    setWindowTitle(WindowCaption.isEmpty() ? QStringLiteral("Open Directory") : WindowCaption);
}

QString Files::chosenPath() const
{
    if (m_mode == kModeDir || m_result.isEmpty())
        return m_result;
    if (files::isPathSeparator(m_result.back()) || QFileInfo(m_result).isDir())
        return QString();
    return m_result;
}

bool Files::isListingFiles() const
{
    return m_files->isListing();
}

QString Files::selectedFile() const
{
    const QModelIndex current = m_file1->currentIndex();
    return current.isValid() ? current.data().toString() : QString();
}

void Files::Drive1_Change(const QString& root)
{
    goToFolder(root);
}

void Files::Dir1_Change(const QString& dir)
{
    m_folder = dir;
    if (m_mode == kModeDir)
        m_ok->setEnabled(true);
    else
        m_files->list(dir, m_namePattern);
}

void Files::File1_Click()
{
    if (m_mode != kModeDir && !selectedFile().isEmpty())
        m_fileName->setText(selectedFile());
    m_ok->setEnabled(m_files->rowCount() > 0);
}

void Files::File1_DblClick()
{
    File1_Click();
    if (!m_fileName->text().isEmpty() && m_ok->isEnabled())
        Ok_Click();
}

void Files::FileName_Change()
{
    if (!m_fileName->text().isEmpty())
        m_ok->setEnabled(true);
}

void Files::Command1_Click()
{
    goToFolder(files::GetDesktopPath());
}

void Files::StartmenueBtn_Click()
{
    goToFolder(files::GetStartMenuPath());
}

void Files::Ok_Click()
{
    QString result = m_folder;
    if (!result.isEmpty() && !files::isPathSeparator(result.back()))
        result += QLatin1Char('/');
    if (m_mode == kModeFile || m_mode == kModeSaveFile) {
        const QString typed = m_fileName->text();
        QString name = typed;
        if (m_mode == kModeFile && typed.trimmed().isEmpty())
            name = selectedFile();
        // A full path typed by the user stands for itself.
        result = QDir::isAbsolutePath(name) ? name : result + name;
    }
    m_result = result;
    accept();
}

void Files::Abbruch_Click()
{
    m_result.clear();
    reject();
}

QString Files::FileOpenDialog(const QString& DefaultPath, const QString& WindowCaption, const QString& DefaultFilename,
                              QWidget* parent)
{
    Files dialog(parent, DefaultPath);
    dialog.prepareOpen(DefaultPath, WindowCaption, DefaultFilename);
    dialog.exec();
    return dialog.chosenPath();
}

QString Files::filesaveDialog(const QString& DefaultPath, const QString& DefaultFilename, const QString& WindowCaption,
                              QWidget* parent)
{
    Files dialog(parent, DefaultPath);
    dialog.prepareSave(DefaultPath, DefaultFilename, WindowCaption);
    dialog.exec();
    return dialog.chosenPath();
}

QString Files::FileDirSelectDialog(const QString& DefaultPath, const QString& WindowCaption, QWidget* parent)
{
    Files dialog(parent, DefaultPath);
    dialog.prepareDir(DefaultPath, WindowCaption);
    dialog.exec();
    return dialog.chosenPath();
}
