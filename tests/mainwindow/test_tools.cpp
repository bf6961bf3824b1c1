// The tool commands through the main window's frames, buttons and menu items.
#include "WindowTest.h"

#include <QComboBox>
#include <QRadioButton>

using namespace testsupport;

namespace {

class Tools : public FilesWindowTest {
protected:
    void SetUp() override
    {
        FilesWindowTest::SetUp();
        child<QAction>("ShowMessageBox")->setChecked(false);  // every message shows
    }
    // A directory with `count` files, scanned, and the name text set to `text`.
    void withText(const QString& text, int count = 1)
    {
        dir = std::make_unique<TempTree>();
        for (int i = 0; i < count; ++i)
            dir->add(QStringLiteral("f%1.mp3").arg(i, 4, 10, QLatin1Char('0')));
        open(*dir);
        form->Set_Eingabe_Text(text);
    }
    void type(const char* box, const QString& text) { child<QLineEdit>(box)->setText(text); }
    void replace(const char* searchBox, const char* replaceBox, const QString& search, const QString& by, const char* button)
    {
        type(searchBox, search);
        type(replaceBox, by);
        click(button);
    }

    std::unique_ptr<TempTree> dir;
};

}  // namespace

TEST_F(Tools, SearchAndReplaceThroughEachCopyAndTheLineBreakMarks)
{
    withText("aa");
    replace("Text4", "Text5", "a", "b", "Command11");
    EXPECT_EQ(text(), "bb");
    EXPECT_EQ(messenger.shown, QList<ShownMessage>({{"Es wurde(n): 2 Ersetzungen vorgenommen!", "Suchen & ersetzen", ui::Buttons::Ok,
                                                     ui::Icon::Information}}));
    form->Set_Eingabe_Text("ABC");
    replace("Text1", "Text2", "b", "x", "Command9");
    EXPECT_EQ(text(), "AxC");
    child<QCheckBox>("Check3")->setChecked(true);
    replace("Text11", "Text12", "b", "y", "Command17");
    EXPECT_EQ(text() + messenger.shown.last().text, "AxCEs wurde(n): 0 Ersetzungen vorgenommen!");

    // The placeholder's way shows no count.
    messenger.shown.clear();
    form->Set_Eingabe_Text("abc");
    replace("Text4", "Text5", "a*c", "x*z", "Command11");
    EXPECT_TRUE(text() == "xbz" && messenger.shown.isEmpty());

    // A line break mark typed as the search fills the replacement box with one, in the first copy only.
    form->Set_Eingabe_Text(crlf({"a", "b"}));
    for (const char* box : {"Text2", "Text5"})
        type(box, "");
    type("Text1", "a^p");
    type("Text4", "a^P");
    EXPECT_EQ(child<QLineEdit>("Text2")->text() + u'|' + child<QLineEdit>("Text5")->text(), "^p|");
    type("Text4", "");
    EXPECT_FALSE(child<QPushButton>("Command11")->isEnabled() || child<QPushButton>("Ersetzen")->isEnabled());
    replace("Text4", "Text5", "^P", " - ", "Command11");
    EXPECT_EQ(text(), "a - b");
}

TEST_F(Tools, SelectionOnlyUsesTheRealSelection)
{
    withText(crlf({"b", "abc"}), 2);
    auto* box = child<NameTextEdit>("Eingabe_Mit");
    box->setSelection(4, 1);  // the "b" of the second line, not the first line's "b"
    messenger.answerNext(ui::Answer::Yes);
    replace("Text4", "Text5", "b", "XY", "Command11");
    EXPECT_EQ(text(), crlf({"b", "aXYc"}));
    EXPECT_TRUE(messenger.shown[0].text == "Sie haben einen Textbereich markiert. Nur in diesem Textbereich ersetzen?"
                && messenger.shown[0].buttons == ui::Buttons::YesNoCancel);

    box->setSelection(0, 1);
    messenger.answerNext(ui::Answer::Cancel);
    click("Command11");
    EXPECT_EQ(text(), crlf({"b", "aXYc"}));

    // With fewer message boxes, Yes works on the whole text and no count is shown.
    child<QAction>("ShowMessageBox")->setChecked(true);
    const qsizetype before = messenger.shown.size();
    box->setSelection(0, 1);
    messenger.answerNext(ui::Answer::Yes);
    click("Command11");
    EXPECT_TRUE(text() == crlf({"XY", "aXYc"}) && messenger.shown.size() == before + 1);
}

// The commands without a question: each changes the text with what its own boxes hold, the one-click
// ones report in the label, without a message box, and the toggles turn around with each click.
TEST_F(Tools, CommandsWithoutAQuestionTakeTheirOwnBoxesAndReportInTheLabel)
{
    withText(QString(), 3);
    for (const char* side : {"RechtsAnh", "Option10", "Option6"})  // append on the left, cut from the left
        child<QRadioButton>(side)->setChecked(true);
    const QString title = form->windowTitle();
    const struct {
        const char* command;  // a button, or a menu item ("Men...")
        QString before;       // null: the text the step before left
        QString after;
        QString label;    // null: not looked at
        QString caption;  // the button's caption afterwards, where it turns around
        std::pair<const char*, const char*> typed = {};  // a box and what is typed into it first
    } steps[] = {
        {"Command16", crlf({"a", "b"}), crlf({"xa", "xb"}), {}, {}, {"Text10", "x"}},
        {"Command10", {}, crlf({"xa!", "xb!"}), {}, {}, {"Text3", "!"}},
        {"Command13", {}, crlf({"x", "x"}), {}, {}, {"Text8", "2,9"}},  // lines of two characters or fewer would stay
        {"Command3", crlf({"abcd", "ab"}), crlf({"cd", "ab"}), {}, {}, {"Text7", "2"}},
        {"Command1", "a_b c", "a b c", "('_'  => '  ')  --> Es wurden 1 Zeichen ersetzt", "'  '  => '_'"},
        {"Command1", {}, "a_b_c", "('  '  => '_')  --> Es wurden 2 Zeichen ersetzt", {}},
        {"Command2", crlf({"  a  ", "b "}), crlf({"a", "b"}), "(..abc..  =>  abc)  --> Es wurden 5 Zeichen abgeschnitten", {}},
        {"Command4", "Straße ÄB", "straße äb", "(ABCD => abcd) --> wurde ausgeführt!", {}},
        {"MenGroßKleinschreibung", {}, "STRAßE ÄB", "(abcd => ABCD) --> wurde ausgeführt!", {}},
        {"WordUcase", crlf({"das lied (live) - teil_zwei", "mp3 cd"}), crlf({"Das Lied (Live) - Teil_Zwei", "MP3 Cd"}),
         "(abcd => Abcd) --> wurde ausgeführt!", {}},
        {"Command5", "Grüße, Tschüss!", "Gruesse- Tschuess", "(ü -> &ue)  -->  Es wurde(n): 5 Umlaute und Sonderzeichen ersetzt!",
         "&ue -> ü"},
        {"Nummerieren", crlf({"a", " b", "c"}), crlf({"01-a", "02-b", "03-c"}), "(Nr. set&zen) --> wurde ausgeführt!", {}},
        {"Nummern_Entf", {}, crlf({"a", "b", "c"}), {}, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        if (!step.before.isNull())
            form->Set_Eingabe_Text(step.before);
        if (step.typed.first)
            type(step.typed.first, step.typed.second);
        const int beeps = messenger.beeps;
        if (QByteArray(step.command).startsWith("Men"))
            child<QAction>(step.command)->trigger();
        else
            click(step.command);
        EXPECT_EQ(text(), step.after);
        const QString label = child<QLabel>("Label2")->text();
        EXPECT_TRUE(step.label.isNull() || label == step.label) << label.toStdString();
        EXPECT_TRUE(step.caption.isNull() || child<QPushButton>(step.command)->text() == step.caption);
        EXPECT_TRUE(QByteArray(step.command) != "Command2" || messenger.beeps == beeps + 1);
    }
    EXPECT_TRUE(messenger.shown.isEmpty() && form->windowTitle() == title && child<QPushButton>("Nummerieren")->isEnabled()
                && child<QLineEdit>("Such")->text().isEmpty());

    form->Set_Eingabe_Text("");
    click("WordUcase");
    EXPECT_TRUE(messenger.shown.last().text == "Überlauf!!" && child<QPushButton>("WordUcase")->isEnabled());
}

TEST_F(Tools, NumberRemovalAsksWhenTheNumbersDoNotFit)
{
    withText(crlf({"a", "b", "c"}), 3);
    form->Set_Eingabe_Text(crlf({"01-a", "2-b", "03-c"}));
    messenger.answerNext(ui::Answer::No);
    child<QAction>("MenNummernEntfernen")->trigger();
    EXPECT_EQ(text(), crlf({"01-a", "2-b", "03-c"}));
    EXPECT_EQ(messenger.shown.value(0).title + messenger.shown.value(0).text,
              "Falsche NummerierungNummern stimmen nicht überein 'XX-' ist das normale Format!\r\n"
              "sollen die ersten 3 Buchstaben trotzdem abgeschnitten werden?");
    EXPECT_TRUE(child<QPushButton>("Abbruch")->isEnabled());
}

TEST_F(Tools, CdPrefixAdvancesWithEachRename)
{
    withText("x", 1);
    auto* combo = child<QComboBox>("CDCombo");
    auto* combo2 = child<QComboBox>("CDCombo2");
    type("Text3", "CD1-x");
    combo->setCurrentIndex(2);
    click("Command19");  // the prefix goes in front of what is appended, in place of the one there
    EXPECT_EQ(child<QLineEdit>("Text3")->text() + u' ' + child<QLineEdit>("Anhaengen")->text() + u' '
                  + QString::number(child<QRadioButton>("Option2")->isChecked()), "CD3-x CD3-x 1");

    combo2->setCurrentIndex(29);
    ASSERT_EQ(combo2->currentText(), "CD30-");
    form->Set_Eingabe_Text("renamed");
    form->SetzenClick();
    EXPECT_EQ(dir->entries(), QStringList({"renamed.mp3"}));
    EXPECT_EQ(combo->currentText() + QString::number(combo2->currentIndex()), "CD4-29");  // the last entry stays
}

TEST_F(Tools, AutoChainAppendsThePrefixAndOpensTheChooser)
{
    withText("x", 1);
    auto prefixAndText = [this] { return child<QLineEdit>("Text3")->text() + u'|' + text(); };
    // A confirm in the chooser puts the CD prefix in place only with "Auto".
    for (const bool autoPrefix : {false, true}) {
        child<QCheckBox>("AutoCDCombo")->setChecked(autoPrefix);
        form->Verzeichnis_Click();
        ASSERT_TRUE(form->chooser());
        form->chooser()->Ok_Click();
        EXPECT_EQ(prefixAndText(), autoPrefix ? "CD1-|CD1-f0000" : "|f0000");
    }
    messenger.shown.clear();  // the question that discarded "x"
    form->Set_Eingabe_Text("song");
    form->SetzenClick();
    EXPECT_EQ(dir->entries(), QStringList({"song.mp3"}));
    // The next directory is chosen at once, without a question.
    EXPECT_TRUE(form->chooser() && messenger.shown.isEmpty() && !form->isEnabled());
    // Confirming the next CD's folder (while the window is still disabled) puts the next prefix in front, once.
    TempTree next({"track.mp3"});
    form->chooser()->setCurrentDirectory(next.path());
    form->chooser()->Ok_Click();
    EXPECT_EQ(prefixAndText(), "CD2-|CD2-track");
    EXPECT_TRUE(form->isEnabled() && child<QPushButton>("Setzen")->isEnabled());
}
