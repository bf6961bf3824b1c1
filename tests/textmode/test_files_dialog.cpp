// The file dialog in a temporary folder tree: captions, the name filter and what Ok returns in each mode.
#include "textmode/Files.h"

#include "chooser/Browser.h"

#include "EnvVar.h"
#include "FileDialogAnswer.h"

#include <QListView>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringListModel>
#include <QToolButton>

namespace {

using namespace testsupport;

class FilesDialog : public ::testing::Test {
protected:
    // Waits for the file list of the folder shown last.
    QStringList listedFiles(Files& dialog)
    {
        if (dialog.isListingFiles()) {
            QSignalSpy listed(&dialog, &Files::filesListed);
            EXPECT_TRUE(listed.wait(5000));
        }
        auto* model = qobject_cast<QStringListModel*>(in<QListView>(&dialog, "File1")->model());
        return model ? model->stringList() : QStringList{"<no list>"};
    }
    void selectFile(Files& dialog, int row)
    {
        auto* list = in<QListView>(&dialog, "File1");
        list->setCurrentIndex(list->model()->index(row, 0));
    }

    TempTree tree{{"a.txt", "B.TXT", "c.mp3", "sub/", "sub/inner.txt", "empty/"}};
};

TEST_F(FilesDialog, OpenCaptionCarriesTheFilterAndTheListObeysIt)
{
    Files dialog;
    dialog.prepareOpen(tree.path(), "Text-Datei auswählen", "NoName.txt");
    EXPECT_EQ(dialog.windowTitle() + u'|' + dialog.mode(), "Text-Datei auswählen    (\"*.txt\")|File");
    EXPECT_EQ(listedFiles(dialog), (QStringList{"a.txt", "B.TXT"}));

    Files plain;
    plain.prepareOpen(tree.path(), QString(), QString());
    EXPECT_EQ(plain.windowTitle() + u'|' + listedFiles(plain).join(u'|'), "Open File|a.txt|B.TXT|c.mp3");
}

TEST_F(FilesDialog, OpenOkTakesTheTypedNameOverTheSelection)
{
    // Blanks are no name: the selection counts.
    for (const auto& [typed, chosen] : {std::pair{"typed.txt", "/typed.txt"}, {"   ", "/c.mp3"}}) {
        Files dialog;
        dialog.prepareOpen(tree.path(), QString(), QString());
        listedFiles(dialog);
        selectFile(dialog, 2);
        dialog.File1_Click();
        auto* name = in<QLineEdit>(&dialog, "FileName");
        EXPECT_EQ(name->text(), "c.mp3");
        name->setText(typed);
        in<QPushButton>(&dialog, "Ok")->click();
        EXPECT_TRUE(dialog.result() == QDialog::Accepted && dialog.chosenPath() == tree.path() + chosen) << dialog.chosenPath().toStdString();
    }
}

TEST_F(FilesDialog, SaveOkJoinsFolderAndNameWithOneSeparator)
{
    Files dialog;
    dialog.prepareSave(tree.path(), "a.txt", QString());
    EXPECT_EQ(dialog.windowTitle() + u'|' + listedFiles(dialog).join(u'|'), "Save File as|a.txt|B.TXT|c.mp3");  // not filtered
    dialog.Ok_Click();
    EXPECT_EQ(dialog.chosenPath(), tree.path() + "/a.txt");

    Files root;
    root.prepareSave("/", "a.txt", "Datei Speichern");
    root.Ok_Click();
    EXPECT_EQ(root.windowTitle() + root.chosenPath(), "Datei Speichern/a.txt");

    Files emptied;  // Ok with no name would name the folder: no choice
    emptied.prepareSave(tree.path(), "a.txt", QString());
    in<QLineEdit>(&emptied, "FileName")->clear();
    emptied.Ok_Click();
    EXPECT_EQ(emptied.chosenPath(), "");
}

TEST_F(FilesDialog, DirModeShowsFoldersOnlyAndReturnsTheFolder)
{
    Files dialog;
    dialog.prepareDir(tree.file("sub"), QString());
    EXPECT_EQ(dialog.windowTitle(), "Open Directory");
    EXPECT_TRUE(in<QListView>(&dialog, "File1")->isHidden() && in<QLineEdit>(&dialog, "FileName")->isHidden()
                && in<QPushButton>(&dialog, "Ok")->isEnabled());
    dialog.Ok_Click();
    EXPECT_EQ(dialog.chosenPath(), tree.file("sub") + "/");
}

TEST_F(FilesDialog, OkFollowsTheFileList)
{
    Files dialog;
    dialog.prepareOpen(tree.file("empty"), QString(), QString());
    auto* ok = in<QPushButton>(&dialog, "Ok");
    EXPECT_TRUE(!ok->isEnabled() && listedFiles(dialog).isEmpty());
    dialog.File1_Click();
    EXPECT_FALSE(ok->isEnabled());

    dialog.Dir1_Change(tree.file("sub"));
    listedFiles(dialog);
    selectFile(dialog, 0);
    dialog.File1_DblClick();  // picks the file and confirms
    EXPECT_TRUE(dialog.result() == QDialog::Accepted && dialog.chosenPath() == tree.file("sub/inner.txt"));
}

TEST_F(FilesDialog, JumpButtonsGoToTheUsersFolders)
{
    TempTree home({"Desktop/", "Desktop/note.txt"});
    EnvVar homeVar("HOME", home.path().toUtf8());
    EnvVar config("XDG_CONFIG_HOME", home.file("config").toUtf8());
    EnvVar data("XDG_DATA_HOME", home.file("share").toUtf8());
    Files dialog;
    dialog.prepareOpen(tree.path(), QString(), QString());
    EXPECT_FALSE(in<QToolButton>(&dialog, "StartmenüBtn")->isEnabled());  // no menu folder in this home
    in<QToolButton>(&dialog, "Command1")->click();
    EXPECT_TRUE(dialog.folder() == home.file("Desktop") && listedFiles(dialog) == QStringList{"note.txt"});
    // The menu entries' folder, once there is one.
    const QString entries = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    ASSERT_TRUE(entries.startsWith(home.path()) && QDir().mkpath(entries)) << entries.toStdString();
    Files later;
    in<QToolButton>(&later, "StartmenüBtn")->click();
    EXPECT_EQ(later.folder(), entries);
}

TEST_F(FilesDialog, ShownModallyCancelGivesEmptyAndOkGivesThePath)
{
    // Ok in each is the text-mode window's business (test_text_mode_window.cpp).
    answerFileDialog("x.txt", "Abbruch");
    EXPECT_EQ(Files::filesaveDialog(tree.path(), "NoName.txt", "Datei Speichern"), "");
    answerFileDialog("sub");  // a folder where a file is wanted
    EXPECT_EQ(Files::FileOpenDialog(tree.path(), "Text-Datei auswählen"), "");
    answerFileDialog(QString(), "Abbruch");
    EXPECT_EQ(Files::FileDirSelectDialog(tree.path()), "");
}

using ChooserThenDialog = FormTest;

TEST_F(ChooserThenDialog, DialogOpensWhereTheChooserWas)
{
    TempTree browsed({"song.txt"});
    newForm()->Form_Load(QString());
    Browser* chooser = form->chooser();
    ASSERT_NE(chooser, nullptr);
    chooser->setCurrentDirectory(browsed.path());
    Files dialog(nullptr, form->lastFolder().folder());
    EXPECT_EQ(dialog.folder(), browsed.path());
}

}  // namespace
