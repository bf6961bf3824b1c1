// The tool commands that rewrite the name text, and the wiring of the tool frames.
#include "mainwindow/Form1.h"

#include "mainwindow/Messenger.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/ToolFrames.h"
#include "names/NameText.h"
#include "transforms/LineTools.h"
#include "transforms/StringOps.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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

// Runs a batch of search-and-replace passes on an in-memory copy of the name text, written back once.
class BatchScope {
public:
    BatchScope(bool& active, QString& buffer, NameTextEdit* box) : m_active(active), m_buffer(buffer), m_box(box)
    {
        m_buffer = box->text();
        m_original = m_buffer;
        m_active = true;
    }
    ~BatchScope()
    {
        m_active = false;
        if (m_buffer != m_original)
            m_box->setText(m_buffer);
        m_buffer.clear();
    }

private:
    bool& m_active;
    QString& m_buffer;
    NameTextEdit* m_box;
    QString m_original;
};

}  // namespace

void Form1::wireToolFrames()
{
    // Main search-and-replace tool.
    QLineEdit* such = m_frame1->search();
    QLineEdit* ersetz = m_frame1->replace();
    connect(such, &QLineEdit::textChanged, this, [this](const QString& t) {
        m_frame1->button()->setEnabled(!t.isEmpty());
        m_menuNamenSetzen->setEnabled(!t.isEmpty());
    });
    connect(such, &QLineEdit::returnPressed, ersetz, [ersetz] { ersetz->setFocus(); });
    connect(ersetz, &QLineEdit::returnPressed, this, [this] {
        if (m_frame1->button()->isEnabledTo(this))
            Ersetzen_Click();
    });
    connect(m_frame1->matchCase(), &QCheckBox::toggled, this, [this](bool on) { m_matchCase = on; });
    connect(m_frame1->button(), &QPushButton::clicked, this, &Form1::Ersetzen_Click);
    for (SearchReplaceFrame* copy : {m_frame3, m_frame5, m_frame10}) {
        connect(copy->search(), &QLineEdit::textChanged, this, [this, copy](const QString& t) {
            m_frame1->search()->setText(t);
            if (t.contains(QStringLiteral("^p")) && copy->replace()->text().isEmpty())
                copy->replace()->setText(QStringLiteral("^p"));
            copy->button()->setEnabled(m_frame1->button()->isEnabledTo(this));
        });
        connect(copy->button(), &QPushButton::clicked, this, [this, copy] {
            m_frame1->search()->setText(copy->search()->text());
            m_frame1->replace()->setText(copy->replace()->text());
            m_frame1->matchCase()->setChecked(copy->matchCase()->isChecked());
            m_matchCase = m_frame1->matchCase()->isChecked();
            Ersetzen_Click();
        });
    }

    // Main append tool.
    QLineEdit* anhaengen = m_textAnhaengen->text();
    connect(anhaengen, &QLineEdit::textChanged, this,
            [this](const QString& t) { m_textAnhaengen->button()->setEnabled(!t.isEmpty()); });
    connect(anhaengen, &QLineEdit::returnPressed, this, &Form1::BtnAnhaengen_Click);
    connect(m_textAnhaengen->button(), &QPushButton::clicked, this, &Form1::BtnAnhaengen_Click);
    for (AppendFrame* copy : {m_frame4, m_frame6, m_frame9}) {
        connect(copy->text(), &QLineEdit::textChanged, this, [this, copy](const QString& t) {
            m_textAnhaengen->text()->setText(t);
            copy->button()->setEnabled(m_textAnhaengen->button()->isEnabledTo(this));
        });
        connect(copy->button(), &QPushButton::clicked, this, [this, copy] { appendFromCopy(copy); });
    }
    connect(m_frame4->cdButton(), &QPushButton::clicked, this, &Form1::Command19_Click);
    connect(m_frame6->cdButton(), &QPushButton::clicked, this, &Form1::Command20_Click);

    // Main cut tool.
    connect(m_frame2->count(), &QLineEdit::returnPressed, this, &Form1::Beschneiden_Click);
    connect(m_frame2->button(), &QPushButton::clicked, this, &Form1::Beschneiden_Click);
    for (CutFrame* copy : {m_frame7, m_frame8}) {
        connect(copy->button(), &QPushButton::clicked, this, [this, copy] {
            m_frame2->count()->setText(copy->count()->text());
            m_frame2->right()->setChecked(copy->right()->isChecked());
            m_frame2->left()->setChecked(copy->left()->isChecked());
            Beschneiden_Click();
        });
    }

    // One-click commands and their menu items.
    connect(m_command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(m_command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(m_wordUcase, &QPushButton::clicked, this, &Form1::WordUcase_Click);
    connect(m_nummerieren, &QPushButton::clicked, this, &Form1::Nummerieren_Click);
    connect(m_nummernEntf, &QPushButton::clicked, this, &Form1::Nummern_Entf_Click);
    // The numbering buttons shrink a selection to one character when they take the focus.
    m_nummerieren->installEventFilter(this);
    m_nummernEntf->installEventFilter(this);
    connect(m_menErsetzen, &QAction::triggered, this, &Form1::WordUcase_Click);
    connect(m_menGrossKlein, &QAction::triggered, this, &Form1::Command4_Click);
    connect(m_menUmlaute, &QAction::triggered, this, &Form1::Command5_Click);
    connect(m_menUnterstrich, &QAction::triggered, this, &Form1::Command1_Click);
    connect(m_menLeerzeichen, &QAction::triggered, this, &Form1::Command2_Click);
    connect(m_menNummernEntfernen, &QAction::triggered, this, [this] {
        if (!m_locked)
            Nummern_Entf_Click();
    });
    connect(m_menNummernSetzen, &QAction::triggered, this, [this] {
        if (!m_locked)
            Nummerieren_Click();
    });
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_nummerieren || watched == m_nummernEntf) &&
        m_nameBox->selectionLength() > 0)
        m_nameBox->setSelection(m_nameBox->selectionStart(), 1);
    return QMainWindow::eventFilter(watched, event);
}

void Form1::appendFromCopy(AppendFrame* copy)
{
    m_textAnhaengen->text()->setText(copy->text()->text());
    m_textAnhaengen->right()->setChecked(copy->right()->isChecked());
    m_textAnhaengen->left()->setChecked(copy->left()->isChecked());
    BtnAnhaengen_Click();
}

void Form1::Ersetzen_Click()
{
    QLineEdit* such = m_frame1->search();
    QLineEdit* ersetz = m_frame1->replace();
    if (such->text().isEmpty())
        return;
    const QString find = transforms::expandLineBreakMarks(such->text());
    const QString replacement = transforms::expandLineBreakMarks(ersetz->text());
    ui::beep();

    const QString full = Get_Eingabe_Text();
    qsizetype selStart = 0;
    qsizetype selLen = full.size();
    bool selectionOnly = false;
    if (!m_batchFlag && !m_batchBufferActive) {
        const QString selected = m_nameBox->selectedText();
        if (!selected.isEmpty() && selected != full) {
            const ui::Answer a = ui::message(
                this, QStringLiteral("Sie haben einen Textbereich markiert. Nur in diesem Textbereich ersetzen?"), QString(),
                ui::Buttons::YesNoCancel, ui::Icon::Question);
            if (a == ui::Answer::Cancel)
                return;
            if (a == ui::Answer::Yes && !lessMessageBoxes()) {
                // The range the user selected, not the first place where the same text occurs.
                selectionOnly = true;
                selStart = m_nameBox->selectionStart();
                selLen = m_nameBox->selectionLength();
            }
        }
    }
    const QString work = selectionOnly ? full.mid(selStart, selLen) : full;
    auto reattach = [&](const QString& rewritten) {
        return selectionOnly ? full.left(selStart) + rewritten + full.mid(selStart + selLen) : rewritten;
    };

    const QString star = QStringLiteral("*");
    if (such->text().contains(star) || ersetz->text().contains(star)) {
        Set_Eingabe_Text(reattach(ReplaceWithPlaceholder(work, find, replacement, star, m_matchCase)));
        m_origNamen->setEnabled(true);
        syncRestoreMenu();
        return;
    }

    const transforms::PlainReplaceResult result = transforms::replaceAllPlain(work, find, replacement, m_matchCase);
    // Guard against a runaway replacement: more replacements than the text can hold.
    const qint64 limit = qint64(work.size()) * qMax(find.size(), replacement.size());
    if (result.count > limit) {
        const ui::Answer a = ui::message(this, QStringLiteral("Error...ich glaube es gab eine Endlos-Schleife!\rOperation Abbrechen?"),
                                         QString(), ui::Buttons::YesNo, ui::Icon::Stop);
        if (a == ui::Answer::Yes)
            return;
    }
    ui::beep();
    Set_Eingabe_Text(reattach(result.text));
    if (m_batchFlag) {
        m_batchTotal += result.count;
    } else if (!lessMessageBoxes()) {
        ui::message(this, QStringLiteral("Es wurde(n): %1 Ersetzungen vorgenommen!").arg(result.count),
                    QStringLiteral("Suchen & ersetzen"), ui::Buttons::Ok, ui::Icon::Information);
    }
}

void Form1::BtnAnhaengen_Click()
{
    const QString add = m_textAnhaengen->text()->text();
    if (add.isEmpty())
        return;
    Set_Eingabe_Text(transforms::appendToLines(Get_Eingabe_Text(), add, m_textAnhaengen->left()->isChecked()));
}

void Form1::Beschneiden_Click()
{
    const std::optional<qint64> n = transforms::parseCutCount(m_frame2->count()->text());
    if (!n)
        return;
    Set_Eingabe_Text(transforms::cutLines(Get_Eingabe_Text(), *n, m_frame2->left()->isChecked()));
}

void Form1::Command1_Click()
{
    m_batchFlag = true;
    m_batchTotal = 0;
    const QString old = m_command1->text();
    const bool toBlank = old == kUnderscoreToBlank;
    m_command1->setToolTip(toBlank ? QStringLiteral("Leerzeichen durch Unterstrich ersetzten")
                                   : QStringLiteral("Unterstriche durch Leerzeichen ersetzten"));
    const QString savedSuch = m_frame1->search()->text();
    const QString savedErsetz = m_frame1->replace()->text();
    {
        BatchScope batch(m_batchBufferActive, m_batchBuffer, m_nameBox);
        m_frame1->search()->setText(toBlank ? QStringLiteral("_") : QStringLiteral(" "));
        m_frame1->replace()->setText(toBlank ? QStringLiteral(" ") : QStringLiteral("_"));
        Ersetzen_Click();
        m_frame1->search()->setText(savedSuch);
        m_frame1->replace()->setText(savedErsetz);
    }
    // Restoring the search box disabled "Namen Setzen"; an unchanged text did not re-enable it.
    m_menuNamenSetzen->setEnabled(m_setzen->isEnabledTo(this));
    m_command1->setText(toBlank ? kBlankToUnderscore : kUnderscoreToBlank);
    m_label2->setText(QStringLiteral("(%1)  --> Es wurden %2 Zeichen ersetzt").arg(old).arg(m_batchTotal));
    m_batchTotal = 0;
    m_batchFlag = false;
}

void Form1::Command2_Click()
{
    const QString text = Get_Eingabe_Text();
    QString trimmed = text;
    if (!text.isEmpty()) {
        trimmed = transforms::trimLineBlanks(text);
        Set_Eingabe_Text(trimmed);
    }
    m_label2->setText(QStringLiteral("(%1)  --> Es wurden %2 Zeichen abgeschnitten")
                          .arg(m_command2->text())
                          .arg(text.size() - trimmed.size()));
    ui::beep();
}

void Form1::Command4_Click()
{
    const QString caption = m_command4->text();
    if (caption == kToLower) {
        Set_Eingabe_Text(transforms::lowerSameLength(Get_Eingabe_Text()));
        m_label2->setText(QStringLiteral("(ABCD => abcd) --> wurde ausgeführt!"));
        m_command4->setText(kToUpper);
    } else {
        Set_Eingabe_Text(transforms::upperSameLength(Get_Eingabe_Text()));
        m_label2->setText(QStringLiteral("(%1) --> wurde ausgeführt!").arg(caption));
        m_command4->setText(kToLower);
    }
}

void Form1::Command5_Click()
{
    m_batchFlag = true;
    m_batchTotal = 0;
    const bool savedMatchCase = m_matchCase;
    m_matchCase = true;
    const QString old = m_command5->text();
    const bool removal = old == kUmlautsOut;
    m_command5->setToolTip(removal ? QStringLiteral("Umlaute herstellen") : QStringLiteral("Umlaute und Sonderzeichen entfernen"));
    const QString savedSuch = m_frame1->search()->text();
    const QString savedErsetz = m_frame1->replace()->text();
    {
        BatchScope batch(m_batchBufferActive, m_batchBuffer, m_nameBox);
        const auto& table = transforms::umlautTable();
        const qsizetype rows = removal ? table.size() : 7;
        for (qsizetype i = 0; i < rows; ++i) {
            m_frame1->search()->setText(removal ? table.at(i).first : table.at(i).second);
            m_frame1->replace()->setText(removal ? table.at(i).second : table.at(i).first);
            Ersetzen_Click();
            letWindowPaint();
        }
        m_frame1->search()->setText(savedSuch);
        m_frame1->replace()->setText(savedErsetz);
    }
    m_menuNamenSetzen->setEnabled(m_setzen->isEnabledTo(this));
    m_command5->setText(removal ? kUmlautsIn : kUmlautsOut);
    m_label2->setText(QStringLiteral("(%1)  -->  Es wurde(n): %2 Umlaute und Sonderzeichen ersetzt!").arg(old).arg(m_batchTotal));
    m_batchTotal = 0;
    m_batchFlag = false;
    m_matchCase = savedMatchCase;
}

void Form1::WordUcase_Click()
{
    m_wordUcase->setEnabled(false);
    const transforms::CapitaliseResult result = transforms::capitaliseWords(Get_Eingabe_Text());
    Set_Eingabe_Text(result.text);
    m_wordUcase->setEnabled(true);
    if (result.overflow) {
        ui::message(this, QStringLiteral("Überlauf!!"));
        return;
    }
    m_label2->setText(QStringLiteral("(%1) --> wurde ausgeführt!").arg(m_wordUcase->text()));
    ui::beep();
}

std::function<void(qint64, qint64)> Form1::progressInTitle()
{
    // " 5 von 40" in the title, at most ten times a second, with the window painting meanwhile.
    auto sincePaint = std::make_shared<QElapsedTimer>();
    sincePaint->start();
    return [this, sincePaint](qint64 done, qint64 total) {
        if (sincePaint->elapsed() < 100)
            return;
        sincePaint->restart();
        setWindowTitle(QStringLiteral(" %1 von %2").arg(done).arg(total));
        letWindowPaint();
    };
}

void Form1::Nummerieren_Click()
{
    const QString report = QStringLiteral("(%1) --> wurde ausgeführt!").arg(m_nummerieren->text());
    if (m_nameBox->selectionLength() > 0)
        m_nameBox->setSelection(m_nameBox->selectionStart(), 1);
    const QString title = windowTitle();
    ElementeSperren(true);
    const QString numbered = transforms::numberLines(Get_Eingabe_Text(), m_originalNames.size(), progressInTitle());
    Set_Eingabe_Text(numbered);
    // After the text: its change handling rewrites the label with the line count.
    m_label2->setText(report);
    setWindowTitle(title);
    ElementeSperren(false);
}

void Form1::Nummern_Entf_Click()
{
    const QString title = windowTitle();
    const qint64 c = m_originalNames.size();
    const int width = c > 99 ? 4 : 3;
    ElementeSperren(true);
    const QString text = Get_Eingabe_Text();
    if (!transforms::numberingLooksRight(text, c)) {
        const QString format = width == 4 ? QStringLiteral("XXX-") : QStringLiteral("XX-");
        const ui::Answer a = ui::message(this,
                                         QStringLiteral("Nummern stimmen nicht überein '%1' ist das normale Format!\r\n"
                                                        "sollen die ersten %2 Buchstaben trotzdem abgeschnitten werden?")
                                             .arg(format)
                                             .arg(width),
                                         QStringLiteral("Falsche Nummerierung"), ui::Buttons::YesNo, ui::Icon::None);
        if (a != ui::Answer::Yes) {
            ElementeSperren(false);
            return;
        }
    }
    const QString stripped = transforms::removeNumbers(text, c, progressInTitle());
    Set_Eingabe_Text(stripped);
    ElementeSperren(false);
    setWindowTitle(title);
}

void Form1::addCdPrefixTo(AppendFrame* frame)
{
    frame->left()->setChecked(true);
    QStringList entries;
    for (int i = 0; i < frame->cdCombo()->count(); ++i)
        entries << frame->cdCombo()->itemText(i);
    frame->text()->setText(transforms::addCdPrefix(frame->text()->text(), entries, frame->cdCombo()->currentText()));
    frame->button()->setFocus();
}

void Form1::Command19_Click()
{
    addCdPrefixTo(m_frame4);
}

void Form1::Command20_Click()
{
    addCdPrefixTo(m_frame6);
}
