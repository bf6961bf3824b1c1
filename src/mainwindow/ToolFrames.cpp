#include "mainwindow/ToolFrames.h"

#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

template <class W>
W* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    return ui::placeNew<W>(parent, name, QRect(left, top, width, height));
}

void setupFrame(QGroupBox* frame, const char* name, const QString& caption, const QRect& r)
{
    frame->setObjectName(QString::fromUtf8(name));
    frame->setTitle(caption);
    frame->setGeometry(twips::rect(r.x(), r.y(), r.width(), r.height()));
}

}  // namespace

SearchReplaceFrame::SearchReplaceFrame(QWidget* parent, const SearchReplaceNames& n, const QRect& r, bool copy)
    : QGroupBox(parent)
{
    setupFrame(this, n.frame, QString::fromUtf8(n.caption), r);
    const int inner = r.width() - 240;
    const int sideWidth = 1150;  // wide enough for "mach case" with its box
    const int boxWidth = inner - sideWidth - 60;
    m_search = place<QLineEdit>(this, n.search, 120, 270, boxWidth, 300);
    m_replace = place<QLineEdit>(this, n.replace, 120, 600, boxWidth, 300);
    m_button = place<QPushButton>(this, n.button, 180 + boxWidth, 255, sideWidth, 330);
    m_button->setText(QStringLiteral("E&rsetzen"));
    m_button->setEnabled(false);
    m_matchCase = place<QCheckBox>(this, n.matchCase, 180 + boxWidth, 615, sideWidth, 270);
    m_matchCase->setText(QStringLiteral("mach &case"));
    m_matchCase->setToolTip(QStringLiteral("Klein- und Großschreibung beachten"));
    if (copy) {
        ui::paintWhenIdle(m_search, toolcolors::kSearch);
        ui::paintWhenIdle(m_replace, toolcolors::kReplace);
    }
}

AppendFrame::AppendFrame(QWidget* parent, const AppendNames& n, const QRect& r, bool copy) : QGroupBox(parent)
{
    setupFrame(this, n.frame, QStringLiteral("Text an jede Zeile anhängen"), r);
    const bool withCd = n.cdCombo != nullptr;
    const int cdWidth = withCd ? 1170 : 0;
    const int buttonWidth = 900;
    const int textWidth = r.width() - 240 - cdWidth - buttonWidth - 60 - (withCd ? 60 : 0);
    m_text = place<QLineEdit>(this, n.text, 120, 270, textWidth, 300);
    m_left = place<QRadioButton>(this, n.left, 120, 615, 780, 270);
    m_left->setText(QStringLiteral("Links"));
    m_right = place<QRadioButton>(this, n.right, 900, 615, 900, 270);
    m_right->setText(QStringLiteral("Rechts"));
    m_right->setChecked(true);
    m_button = place<QPushButton>(this, n.button, 180 + textWidth, 255, buttonWidth, 330);
    m_button->setText(QStringLiteral("&Anhängen"));
    m_button->setEnabled(false);
    if (withCd) {
        const int x = r.width() - 120 - cdWidth;
        m_cdCombo = place<QComboBox>(this, n.cdCombo, x, 255, cdWidth - 270, 330);
        m_cdButton = place<QPushButton>(this, n.cdButton, x + cdWidth - 255, 255, 255, 330);
        m_cdButton->setText(QStringLiteral(">"));
        m_cdButton->setToolTip(QStringLiteral("CD Nummer hinzufügen  (alte Nummer wird ggf. ersetzt)"));
        if (n.autoCheck) {
            m_auto = place<QCheckBox>(this, n.autoCheck, x, 615, cdWidth, 270);
            m_auto->setText(QStringLiteral("Auto"));
        }
        ui::paintWhenIdle(m_cdCombo, toolcolors::kYellow);
    }
    if (copy)
        ui::paintWhenIdle(m_text, toolcolors::kYellow);
}

CutFrame::CutFrame(QWidget* parent, const CutNames& n, const QRect& r, bool copy) : QGroupBox(parent)
{
    setupFrame(this, n.frame, QStringLiteral("Zeilen-Beschneidung"), r);
    const int inner = r.width() - 240;
    const int boxWidth = qMin(390, inner / 3);
    const QString tip = QStringLiteral("Anzahl der Zeichen die Abgeschnitten werden sollen");
    m_count = place<QLineEdit>(this, n.count, 120, 270, boxWidth, 300);
    m_count->setText(QStringLiteral("1"));
    m_count->setToolTip(tip);
    m_button = place<QPushButton>(this, n.button, 180 + boxWidth, 255, inner - boxWidth - 60, 330);
    m_button->setText(QStringLiteral("&Beschneiden"));
    m_button->setToolTip(QStringLiteral("Beschneiden von Zeilen"));
    m_left = place<QRadioButton>(this, n.left, 120, 615, 735, 270);
    m_left->setText(QStringLiteral("Links"));
    m_right = place<QRadioButton>(this, n.right, 855, 615, r.width() - 915, 270);
    m_right->setText(QStringLiteral("Rechts"));
    m_right->setChecked(true);
    if (copy)
        ui::paintWhenIdle(m_count, toolcolors::kYellow);
}
