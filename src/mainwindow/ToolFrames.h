#pragma once
// The tool frames. Each kind has one class that serves both its hidden main tool and its visible copies;
// a copy only hands its inputs to the main tool and runs the main tool's command.
#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Background colours of a copy's boxes while they do not have the focus (written as red, green, blue).
namespace toolcolors {
inline const QColor kSearch(0xFF, 0xC0, 0xC0);   // light red
inline const QColor kReplace(0xC0, 0xFF, 0xC0);  // light green
inline const QColor kYellow(0xFF, 0xFF, 0xC0);   // light yellow
}  // namespace toolcolors

struct SearchReplaceNames {
    const char* frame;
    const char* search;
    const char* replace;
    const char* matchCase;
    const char* button;
    const char* caption;
};

class SearchReplaceFrame : public QGroupBox {
    Q_OBJECT
public:
    SearchReplaceFrame(QWidget* parent, const SearchReplaceNames& names, const QRect& twipsRect, bool copy);
    QLineEdit* search() const { return m_search; }
    QLineEdit* replace() const { return m_replace; }
    QCheckBox* matchCase() const { return m_matchCase; }
    QPushButton* button() const { return m_button; }

private:
    QLineEdit* m_search;
    QLineEdit* m_replace;
    QCheckBox* m_matchCase;
    QPushButton* m_button;
};

struct AppendNames {
    const char* frame;
    const char* text;
    const char* right;
    const char* left;
    const char* button;
    // CD number controls; null where the frame has none.
    const char* cdCombo = nullptr;
    const char* cdButton = nullptr;
    const char* autoCheck = nullptr;
};

class AppendFrame : public QGroupBox {
    Q_OBJECT
public:
    AppendFrame(QWidget* parent, const AppendNames& names, const QRect& twipsRect, bool copy);
    QLineEdit* text() const { return m_text; }
    QRadioButton* right() const { return m_right; }
    QRadioButton* left() const { return m_left; }
    QPushButton* button() const { return m_button; }
    QComboBox* cdCombo() const { return m_cdCombo; }
    QPushButton* cdButton() const { return m_cdButton; }
    QCheckBox* autoCheck() const { return m_auto; }

private:
    QLineEdit* m_text;
    QRadioButton* m_right;
    QRadioButton* m_left;
    QPushButton* m_button;
    QComboBox* m_cdCombo = nullptr;
    QPushButton* m_cdButton = nullptr;
    QCheckBox* m_auto = nullptr;
};

struct CutNames {
    const char* frame;
    const char* count;
    const char* right;
    const char* left;
    const char* button;
};

class CutFrame : public QGroupBox {
    Q_OBJECT
public:
    CutFrame(QWidget* parent, const CutNames& names, const QRect& twipsRect, bool copy);
    QLineEdit* count() const { return m_count; }
    QRadioButton* right() const { return m_right; }
    QRadioButton* left() const { return m_left; }
    QPushButton* button() const { return m_button; }

private:
    QLineEdit* m_count;
    QRadioButton* m_right;
    QRadioButton* m_left;
    QPushButton* m_button;
};
