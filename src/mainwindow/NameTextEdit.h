#pragma once
// A text box for the name text. Outside it the text has CR LF between lines; inside, the editor keeps
// one block separator. All conversions of text and offsets happen here.
#include <QPlainTextEdit>

class NameTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit NameTextEdit(QWidget* parent = nullptr);

    // The whole text in CR LF form, characters such as a no-break space unchanged.
    QString text() const;
    // Replaces the whole text in one step and reports one change.
    void setText(const QString& crlfText);

    // Lines in the box; equals 1 plus the CR LF pairs of text().
    qsizetype lineCount() const;

    // Selection in CR LF offsets.
    qsizetype selectionStart() const;
    qsizetype selectionLength() const;
    QString selectedText() const;
    void setSelection(qsizetype start, qsizetype length);
    // Cursor position in CR LF offsets.
    qsizetype cursorPosition() const;

    static QString toEditorText(const QString& crlfText);
    static QString fromEditorText(const QString& editorText);

Q_SIGNALS:
    // Every change of the text, by typing or by setText (once per setText).
    void changed();
    void focusIn();
    void focusOut();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    qsizetype toCanonical(int editorPos) const;
    int toEditor(qsizetype canonicalPos) const;
    bool m_settingText = false;
};
