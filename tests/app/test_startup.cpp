#include "AppTestSupport.h"
#include "app/Translations.h"
#include "app/WindowStart.h"
#include "chooser/Browser.h"
#include "mainwindow/NameTextEdit.h"
#include "support/TestSupport.h"
#include "ui/Messenger.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

namespace {

using apptest::quillet;

// The real question box says "Ja" and "Nein"; the name text's menu is German too.
TEST(Translations, QuestionBoxAndNameTextMenuAreGerman)
{
    const QStringList loaded = app::loadGermanTranslations();
    EXPECT_TRUE(loaded.contains(QStringLiteral("qtbase_de")) && loaded.contains(QStringLiteral("qscintilla_de")));
    ui::setMessenger(nullptr);  // the box users see
    QStringList buttonTexts;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            buttonTexts.append(button->text().remove(QLatin1Char('&')));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ui::message(nullptr, QStringLiteral("Weiter?"), QString(), ui::Buttons::YesNo), ui::Answer::No);
    buttonTexts.sort();
    EXPECT_EQ(buttonTexts, QStringList({"Ja", "Nein"}));

    NameTextEdit box;
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions.append(action->text().remove(QLatin1Char('&')));
    EXPECT_TRUE(captions.contains(QStringLiteral("Rückgängig"))) << captions.join(QLatin1Char('|')).toStdString();
}

TEST(WindowIcon, IsCompiledInAndDraws)
{
    const QIcon icon(QStringLiteral(":/icons/org.quillet.Quillet.svg"));
    const QImage drawn = icon.pixmap(48, 48).toImage();
    ASSERT_EQ(drawn.size(), QSize(48, 48));
    EXPECT_NE(drawn.pixelColor(24, 24).alpha(), 0) << "the middle of the icon is not transparent";
}

TEST(CommandLine, HelpAndVersionNeedNoDisplay)
{
    apptest::Run run = quillet({QStringLiteral("--help")});
    EXPECT_TRUE(apptest::ended(run, 0));
    for (const char* usage : {"Aufruf:", "--apply <NAMEN.txt>", "quillet --recover finish|rollback VERZEICHNIS", "quillet --undo VERZEICHNIS"})
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(usage))) << usage;
    run = quillet({QStringLiteral("-v")});
    EXPECT_TRUE(apptest::ended(run, 0) && run.out.startsWith(QStringLiteral("Quillet 2."))) << run.out.toStdString();
}

TEST(CommandLine, DisplayIsCheckedOnlyWhenNoPlatformWasChosenAndWrongArgumentsEndWithTwo)
{
    // Nothing chosen, nothing to show on: a German reason instead of Qt's abort. Options of the window
    // system are no wrong arguments.
    for (const QStringList& args : {QStringList(), QStringList({"-style", "fusion", "-reverse"})})
        EXPECT_TRUE(apptest::ended(quillet(args), 1, QStringLiteral("DISPLAY")));
    // A chosen platform passes the check; the unknown option then ends the start, in the same words.
    for (const QStringList& args : {QStringList{"--bogus"}, QStringList{"-platform", "offscreen", "--bogus"}}) {
        const apptest::Run run = quillet(args);
        EXPECT_TRUE(apptest::ended(run, 2, QStringLiteral("Unbekannte Option")) && run.err.contains(QStringLiteral("bogus"))
                    && run.err.contains(QStringLiteral("quillet --help")));
    }
    EXPECT_TRUE(apptest::ended(quillet({QStringLiteral("eins"), QStringLiteral("zwei")}), 2, QStringLiteral("Zu viele Argumente")));
}

using WindowStart = testsupport::FormTest;

TEST_F(WindowStart, MissingPathIsToldAndTheChooserOpens)
{
    testsupport::TempTree files{{"a.txt"}};
    // The folder around the missing path exists: it is still no reason to open it unasked.
    const QString missing = files.file(QStringLiteral("Albun"));
    app::openWindow(*newForm(), missing);
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_TRUE(messenger.shown[0].text.contains(QStringLiteral("„%1“ gibt es nicht").arg(missing))) << messenger.shown[0].text.toStdString();
    EXPECT_TRUE(form->chooser() && form->chooser()->isVisible() && form->isVisible());

    // A path that exists opens at once, without a word.
    app::openWindow(*newForm(), files.file(QStringLiteral("a.txt")));
    EXPECT_TRUE(messenger.shown.size() == 1 && form->chooser() == nullptr && form->isVisible());
    EXPECT_EQ(form->startPfad(), files.path() + QLatin1Char('/'));
}

TEST(Install, PutsEveryFileWhereTheDesktopLooksForIt)
{
    QTemporaryDir prefix;
    QProcess install;
    install.start(QStringLiteral(QUILLET_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(QUILLET_BUILD_DIR), QStringLiteral("--prefix"), prefix.path()});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    QStringList installed;
    const QDir root(prefix.path());
    for (QDirIterator it(prefix.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        installed.append(root.relativeFilePath(it.next()));
    installed.sort();
    EXPECT_EQ(installed, QStringList({"bin/quillet", "share/applications/org.quillet.Quillet.desktop", "share/doc/quillet/LICENSE",
                                      "share/doc/quillet/README.md", "share/doc/quillet/changelog.gz", "share/doc/quillet/copyright",
                                      "share/icons/hicolor/scalable/apps/org.quillet.Quillet.svg", "share/lintian/overrides/quillet",
                                      "share/man/man1/quillet.1.gz", "share/metainfo/org.quillet.quillet.metainfo.xml"}));

    // The installed program and its metainfo carry the same version.
    const QString printed = quillet({QStringLiteral("--version")}, apptest::withoutDisplay(), root.filePath("bin/quillet")).out.trimmed();
    ASSERT_TRUE(printed.startsWith(QStringLiteral("Quillet "))) << printed.toStdString();
    QFile metainfo(root.filePath(QStringLiteral("share/metainfo/org.quillet.quillet.metainfo.xml")));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(metainfo.readAll().contains(
        QStringLiteral("<release version=\"%1\"").arg(printed.mid(8)).toUtf8()));
}

}  // namespace
