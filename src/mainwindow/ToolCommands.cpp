#include "mainwindow/ToolCommands.h"

#include "mainwindow/MainWindowUi.h"
#include "mainwindow/Messages.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/ToolFrames.h"
#include "transforms/StringOps.h"
#include "transforms/TextCommands.h"
#include "ui/Messenger.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace {

const QString kUnderscoreToBlank = QStringLiteral("'_'  => '  '");
const QString kBlankToUnderscore = QStringLiteral("'  '  => '_'");
const QString kToLower = QStringLiteral("ABCD => abcd");
const QString kToUpper = QStringLiteral("abcd => ABCD");
const QString kUmlautsOut = QStringLiteral("ü -> &ue");
const QString kUmlautsIn = QStringLiteral("&ue -> ü");
constexpr int kTitleUpdateMs = 100;

}  // namespace

ToolCommands::ToolCommands(QWidget* window, MainWindowUi& ui, Host host)
    : QObject(window), m_window(window), m_ui(ui), m_host(std::move(host))
{
    wireSearchReplace();
    wireAppend();
    wireCut();
    wireOneClickCommands();
    fillCdLists();
}

QString ToolCommands::text() const
{
    return m_host.nameBox()->text();
}

void ToolCommands::setText(const QString& text)
{
    m_host.nameBox()->setText(text);
}

void ToolCommands::report(const QString& text)
{
    m_ui.nameTextCaption->setText(text);
}

void ToolCommands::wireSearchReplace()
{
    SearchReplaceFrame* main = m_ui.searchMain;
    connect(main->search(), &QLineEdit::textChanged, this, [this, main](const QString& t) {
        main->button()->setEnabled(!t.isEmpty());
        m_ui.menuRename->setEnabled(!t.isEmpty());
    });
    connect(main->search(), &QLineEdit::returnPressed, main->replace(), [main] { main->replace()->setFocus(); });
    connect(main->replace(), &QLineEdit::returnPressed, this, [this, main] {
        if (main->button()->isEnabledTo(m_window))
            Ersetzen_Click();
    });
    connect(main->button(), &QPushButton::clicked, this, &ToolCommands::Ersetzen_Click);
    for (SearchReplaceFrame* copy : {m_ui.searchTop, m_ui.searchFixed, m_ui.searchTop2}) {
        connect(copy->search(), &QLineEdit::textChanged, this, [this, main, copy](const QString& t) {
            main->search()->setText(t);
            if (t.contains(QStringLiteral("^p")) && copy->replace()->text().isEmpty())
                copy->replace()->setText(QStringLiteral("^p"));
            copy->button()->setEnabled(main->button()->isEnabledTo(m_window));
        });
        connect(copy->button(), &QPushButton::clicked, this, [this, main, copy] {
            main->search()->setText(copy->search()->text());
            main->replace()->setText(copy->replace()->text());
            main->matchCase()->setChecked(copy->matchCase()->isChecked());
            Ersetzen_Click();
        });
    }
}

void ToolCommands::wireAppend()
{
    AppendFrame* main = m_ui.appendMain;
    connect(main->text(), &QLineEdit::textChanged, this, [main](const QString& t) { main->button()->setEnabled(!t.isEmpty()); });
    connect(main->text(), &QLineEdit::returnPressed, this, &ToolCommands::BtnAnhaengen_Click);
    connect(main->button(), &QPushButton::clicked, this, &ToolCommands::BtnAnhaengen_Click);
    for (AppendFrame* copy : {m_ui.appendFixed, m_ui.appendTop, m_ui.appendTop2}) {
        connect(copy->text(), &QLineEdit::textChanged, this, [this, main, copy](const QString& t) {
            main->text()->setText(t);
            copy->button()->setEnabled(main->button()->isEnabledTo(m_window));
        });
        connect(copy->button(), &QPushButton::clicked, this, [this, copy] { appendFromCopy(copy); });
    }
    connect(m_ui.appendFixed->cdButton(), &QPushButton::clicked, this, [this] { addCdPrefixTo(m_ui.appendFixed); });
    connect(m_ui.appendTop->cdButton(), &QPushButton::clicked, this, [this] { addCdPrefixTo(m_ui.appendTop); });
}

void ToolCommands::wireCut()
{
    CutFrame* main = m_ui.cutMain;
    connect(main->count(), &QLineEdit::returnPressed, this, &ToolCommands::Beschneiden_Click);
    connect(main->button(), &QPushButton::clicked, this, &ToolCommands::Beschneiden_Click);
    for (CutFrame* copy : {m_ui.cutTop, m_ui.cutFixed}) {
        connect(copy->button(), &QPushButton::clicked, this, [this, main, copy] {
            main->count()->setText(copy->count()->text());
            main->right()->setChecked(copy->right()->isChecked());
            main->left()->setChecked(copy->left()->isChecked());
            Beschneiden_Click();
        });
    }
}

void ToolCommands::wireOneClickCommands()
{
    connect(m_ui.underscores, &QPushButton::clicked, this, &ToolCommands::Command1_Click);
    connect(m_ui.trimBlanks, &QPushButton::clicked, this, &ToolCommands::Command2_Click);
    connect(m_ui.letterCase, &QPushButton::clicked, this, &ToolCommands::Command4_Click);
    connect(m_ui.umlauts, &QPushButton::clicked, this, &ToolCommands::Command5_Click);
    connect(m_ui.capitalise, &QPushButton::clicked, this, &ToolCommands::WordUcase_Click);
    connect(m_ui.number, &QPushButton::clicked, this, &ToolCommands::Nummerieren_Click);
    connect(m_ui.removeNumbers, &QPushButton::clicked, this, &ToolCommands::Nummern_Entf_Click);
    // The numbering buttons shrink a selection to one character when they take the focus.
    m_ui.number->installEventFilter(this);
    m_ui.removeNumbers->installEventFilter(this);
    connect(m_ui.menuCapitalise, &QAction::triggered, this, &ToolCommands::WordUcase_Click);
    connect(m_ui.menuLetterCase, &QAction::triggered, this, &ToolCommands::Command4_Click);
    connect(m_ui.menuUmlauts, &QAction::triggered, this, &ToolCommands::Command5_Click);
    connect(m_ui.menuUnderscores, &QAction::triggered, this, &ToolCommands::Command1_Click);
    connect(m_ui.menuTrimBlanks, &QAction::triggered, this, &ToolCommands::Command2_Click);
    connect(m_ui.menuRemoveNumbers, &QAction::triggered, this, [this] {
        if (!m_host.buttonsLocked())
            Nummern_Entf_Click();
    });
    connect(m_ui.menuNumber, &QAction::triggered, this, [this] {
        if (!m_host.buttonsLocked())
            Nummerieren_Click();
    });
}

bool ToolCommands::eventFilter(QObject* watched, QEvent* event)
{
    NameTextEdit* box = m_host.nameBox();
    if (event->type() == QEvent::FocusIn && (watched == m_ui.number || watched == m_ui.removeNumbers) &&
        box->selectionLength() > 0)
        box->setSelection(box->selectionStart(), 1);
    return QObject::eventFilter(watched, event);
}

void ToolCommands::appendFromCopy(AppendFrame* copy)
{
    AppendFrame* main = m_ui.appendMain;
    main->text()->setText(copy->text()->text());
    main->right()->setChecked(copy->right()->isChecked());
    main->left()->setChecked(copy->left()->isChecked());
    BtnAnhaengen_Click();
}

void ToolCommands::Ersetzen_Click()
{
    SearchReplaceFrame* main = m_ui.searchMain;
    const transforms::ReplaceRequest request{main->search()->text(), main->replace()->text(), main->matchCase()->isChecked()};
    if (request.search.isEmpty())
        return;
    ui::beep();

    NameTextEdit* box = m_host.nameBox();
    const QString full = box->text();
    qsizetype selStart = 0;
    qsizetype selLen = full.size();
    bool selectionOnly = false;
    const QString selected = box->selectedText();
    if (!selected.isEmpty() && selected != full) {
        const ui::Answer a =
            ui::message(m_window, msg::replaceInSelectionQuestion(), QString(), ui::Buttons::YesNoCancel, ui::Icon::Question);
        if (a == ui::Answer::Cancel)
            return;
        if (a == ui::Answer::Yes && !m_host.fewerMessages()) {
            // The range the user selected, not the first place where the same text occurs.
            selectionOnly = true;
            selStart = box->selectionStart();
            selLen = box->selectionLength();
        }
    }
    const transforms::ReplaceResult result =
        selectionOnly ? transforms::runInRange(request, full, selStart, selLen) : transforms::run(request, full);
    if (request.usesPlaceholder()) {
        setText(result.text);
        m_host.allowRestore();
        return;
    }
    ui::beep();
    setText(result.text);
    if (!m_host.fewerMessages())
        ui::message(m_window, msg::replaceReport(result.count), msg::replaceReportTitle(), ui::Buttons::Ok, ui::Icon::Information);
}

void ToolCommands::BtnAnhaengen_Click()
{
    AppendFrame* main = m_ui.appendMain;
    const transforms::AppendRequest request{main->text()->text(), main->left()->isChecked()};
    if (request.add.isEmpty())
        return;
    setText(transforms::run(request, text()));
}

void ToolCommands::Beschneiden_Click()
{
    const transforms::CutRequest request{m_ui.cutMain->count()->text(), m_ui.cutMain->left()->isChecked()};
    if (const std::optional<QString> cut = transforms::run(request, text()))
        setText(*cut);
}

void ToolCommands::Command1_Click()
{
    QPushButton* button = m_ui.underscores;
    const bool toBlanks = m_underscoresToBlanks;
    const QString& old = toBlanks ? kUnderscoreToBlank : kBlankToUnderscore;
    m_underscoresToBlanks = !toBlanks;
    button->setToolTip(msg::underscoreTooltip(m_underscoresToBlanks));
    const QString before = text();
    const transforms::ReplaceResult result = transforms::run(transforms::UnderscoreRequest{toBlanks}, before);
    ui::beep();
    if (result.text != before)
        setText(result.text);
    button->setText(toBlanks ? kBlankToUnderscore : kUnderscoreToBlank);
    report(msg::underscoreReport(old, result.count));
}

void ToolCommands::Command2_Click()
{
    const QString before = text();
    const transforms::TrimResult result = transforms::run(transforms::TrimRequest{}, before);
    if (!before.isEmpty())
        setText(result.text);
    report(msg::trimReport(m_ui.trimBlanks->text(), result.removed));
    ui::beep();
}

void ToolCommands::Command4_Click()
{
    QPushButton* button = m_ui.letterCase;
    const bool toLower = m_toLower;
    m_toLower = !toLower;
    setText(transforms::run(transforms::CaseRequest{toLower}, text()));
    report(msg::doneReport(toLower ? kToLower : kToUpper));
    button->setText(toLower ? kToUpper : kToLower);
}

void ToolCommands::Command5_Click()
{
    QPushButton* button = m_ui.umlauts;
    const bool remove = m_umlautsOut;
    const QString& old = remove ? kUmlautsOut : kUmlautsIn;
    m_umlautsOut = !remove;
    button->setToolTip(msg::umlautTooltip(m_umlautsOut));
    const QString before = text();
    const transforms::ReplaceResult result = transforms::run(transforms::UmlautRequest{remove}, before);
    ui::beep();
    if (result.text != before)
        setText(result.text);
    button->setText(remove ? kUmlautsIn : kUmlautsOut);
    report(msg::umlautReport(old, result.count));
}

void ToolCommands::WordUcase_Click()
{
    m_ui.capitalise->setEnabled(false);
    const transforms::CapitaliseResult result = transforms::run(transforms::CapitaliseRequest{}, text());
    setText(result.text);
    m_ui.capitalise->setEnabled(true);
    if (result.overflow) {
        ui::message(m_window, msg::overflow());
        return;
    }
    report(msg::doneReport(m_ui.capitalise->text()));
    ui::beep();
}

std::function<void(qint64, qint64)> ToolCommands::progressInTitle()
{
    // " 5 von 40" in the title, at most ten times a second; the window paints meanwhile, but clicks are
    // kept out: they would start another command in the middle of this one.
    auto sincePaint = std::make_shared<QElapsedTimer>();
    sincePaint->start();
    return [this, sincePaint](qint64 done, qint64 total) {
        if (sincePaint->elapsed() < kTitleUpdateMs)
            return;
        sincePaint->restart();
        m_window->setWindowTitle(msg::numberingProgress(done, total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

void ToolCommands::Nummerieren_Click()
{
    const QString doneText = msg::doneReport(m_ui.number->text());
    NameTextEdit* box = m_host.nameBox();
    if (box->selectionLength() > 0)
        box->setSelection(box->selectionStart(), 1);
    const QString title = m_window->windowTitle();
    m_host.lockButtons(true);
    setText(transforms::run(transforms::NumberingRequest{m_host.entryCount(), progressInTitle()}, text()));
    // After the text: its change handling rewrites the label with the line count.
    report(doneText);
    m_window->setWindowTitle(title);
    m_host.lockButtons(false);
}

void ToolCommands::Nummern_Entf_Click()
{
    const QString title = m_window->windowTitle();
    const transforms::NumberRemovalRequest request{m_host.entryCount(), progressInTitle()};
    m_host.lockButtons(true);
    const QString current = text();
    if (!request.looksRight(current)) {
        const ui::Answer a = ui::message(m_window, msg::numberingMismatchQuestion(request.width()), msg::numberingMismatchTitle(),
                                         ui::Buttons::YesNo, ui::Icon::None);
        if (a != ui::Answer::Yes) {
            m_host.lockButtons(false);
            return;
        }
    }
    setText(transforms::run(request, current));
    m_host.lockButtons(false);
    m_window->setWindowTitle(title);
}
