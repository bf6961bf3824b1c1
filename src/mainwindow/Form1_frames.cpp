// Creation of the tool frames: the fixed row, the upper toolbar and the hidden main tools.
#include "mainwindow/Form1.h"

#include "mainwindow/ToolFrames.h"

#include <QComboBox>

void Form1::buildToolFrames()
{
    // Fixed row.
    m_frame5 = new SearchReplaceFrame(
        m_central, {"Frame5", "Text4", "Text5", "Check2", "Command11", "Suchen && Ersetzen ('*' = Platzhalter)"},
        QRect(120, 120, 3015, 945), true);
    m_frame4 = new AppendFrame(m_central, {"Frame4", "Text3", "Option1", "Option2", "Command10", "CDCombo", "Command19", "AutoCDCombo"},
                               QRect(3240, 120, 3735, 975), true);
    m_frame8 = new CutFrame(m_central, {"Frame8", "Text8", "Option7", "Option8", "Command13"}, QRect(7080, 120, 1815, 945), true);

    // Upper toolbar.
    m_frame3 = new SearchReplaceFrame(m_erweiterungsFrame, {"Frame3", "Text1", "Text2", "Check1", "Command9", "Suchen && Ersetzen"},
                                      QRect(375, 75, 2895, 975), true);
    m_frame10 = new SearchReplaceFrame(m_erweiterungsFrame, {"Frame10", "Text11", "Text12", "Check3", "Command17", "Suchen && Ersetzen"},
                                       QRect(3240, 75, 3015, 975), true);
    m_frame6 = new AppendFrame(m_erweiterungsFrame, {"Frame6", "Text6", "Option3", "Option4", "Command12", "CDCombo2", "Command20", nullptr},
                               QRect(6240, 75, 3015, 975), true);
    m_frame9 = new AppendFrame(m_erweiterungsFrame, {"Frame9", "Text10", "Option9", "Option10", "Command16"},
                               QRect(9240, 75, 3015, 975), true);
    m_frame7 = new CutFrame(m_erweiterungsFrame, {"Frame7", "Text7", "Option5", "Option6", "Command3"}, QRect(12240, 75, 2055, 975), true);

    // Hidden main tools; the copies feed them.
    m_frame1 = new SearchReplaceFrame(m_central, {"Frame1", "Such", "Ersetz", "CB_MachCase", "Ersetzen", "Suchen && Ersetzen"},
                                      QRect(0, 0, 3015, 975), false);
    m_textAnhaengen = new AppendFrame(m_central, {"TextAnhängen", "Anhaengen", "RechtsAnh", "LinksAnh", "BtnAnhaengen"},
                                      QRect(0, 0, 3015, 975), false);
    m_frame2 = new CutFrame(m_central, {"Frame2", "BeschWert", "FromRight", "FromLeft", "Beschneiden"}, QRect(0, 0, 2055, 975), false);
    for (QWidget* hidden : std::initializer_list<QWidget*>{m_frame1, m_textAnhaengen, m_frame2})
        hidden->hide();
}
