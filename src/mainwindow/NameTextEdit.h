#pragma once
// A text box for the name text, made for 100,000 lines and more. It keeps the text in UTF-8 with CR LF
// line ends; callers see the text in CR LF form and positions in UTF-16 code units of that text. All
// conversions of text and positions happen here.
#include "mainwindow/ScintillaInclude.h"
#include "names/NameColumn.h"

#include <QStringDecoder>

#include <functional>

class NameTextEdit : public QsciScintilla {
    Q_OBJECT
public:
    explicit NameTextEdit(QWidget* parent = nullptr);

    // The whole text in CR LF form, every character unchanged.
    QString text() const;
    // Replaces the whole text as one undoable step and reports one change. A lone CR or LF becomes CR LF.
    void setText(const QString& crlfText) override;
    // Like setText, but as a fresh start: no undo step, and the undo history is forgotten.
    void loadText(const QString& crlfText);
    // Like loadText, in slices of lines: between two slices `turn` runs (to let the window repaint and
    // show progress). When it returns false the filling stops, the box holds only part of the text, and
    // so does this function return false.
    bool loadText(const QString& crlfText, const std::function<bool()>& turn);
    // Like loadText with the name text of these entries (names::buildNameText), made slice by slice:
    // a million names never stand in the box and in one text beside it at once.
    bool loadNames(const names::NameColumn& entryNames, const std::function<bool()>& turn);
    // text() copied in pieces, for work spread over turns of the event loop; the memory of one copy serves
    // the next. A change of the text spoils the copy under way: start it anew at every change note (a copy
    // that finds the length changed starts anew by itself).
    class TextCopy {
    public:
        void start(const NameTextEdit* box);
        // Copies about `maxBytes` more of the box's text; true once the copy is complete.
        bool advance(qsizetype maxBytes);
        QStringView text() const { return QStringView(m_text).first(m_written); }

    private:
        const NameTextEdit* m_box = nullptr;
        QString m_text;
        QStringDecoder m_decoder;
        long m_read = 0;
        long m_length = 0;
        qsizetype m_written = 0;
    };
    // Whether the box holds exactly this text (CR LF form), without making a copy of its own.
    bool holds(QStringView crlfText) const;
    // Whether the box holds exactly the name text of these entries, without making that text.
    bool holdsNames(const names::NameColumn& entryNames) const;
    // Forgets the undo history and keeps the text, for a rescan that finds the text unchanged.
    void forgetUndoHistory();

    // Lines in the box; equals 1 plus the CR LF pairs of text().
    qsizetype lineCount() const;

    // Selection and cursor in positions of text(). A position inside a character (between the halves of a
    // surrogate pair) or inside a CR LF pair is moved to the nearest edge outside the selection.
    qsizetype selectionStart() const;
    qsizetype selectionLength() const;
    QString selectedText() const;
    void setSelection(qsizetype start, qsizetype length);
    // Selects a range to point it out, as a click in the list of original names does. It stays selected (to
    // see and to copy), but a typed character or a paste goes to its end instead of over it, and a first
    // Delete or Backspace only lifts the selection: one keystroke must not silently replace a name.
    void pointOut(qsizetype start, qsizetype length);
    qsizetype cursorPosition() const;
    // The line (from 0) of the cursor, from the editor's own line starts: no scan of the text, and no
    // position index (which a million lines take a while to build after every whole-text change).
    qsizetype cursorLine() const;

    // Marks over lines or characters, drawn with the editor's indicators: the text and its undo history stay
    // as they are, and the marks move with the text they cover. Lines and columns as in text() (UTF-16).
    enum class MarkStyle { Line, Character };
    struct Mark {
        qsizetype line = 0;
        qsizetype column = 0;  // Character: from the line's start
        qsizetype length = 1;  // Character
        MarkStyle style = MarkStyle::Line;
        friend bool operator==(const Mark&, const Mark&) = default;
    };
    // Replaces every mark; with `clearFirst` false only adds them, which leaves the drawing alone where they
    // are already (a mark over a line of millions of characters makes the editor lay it out anew).
    void setMarks(const QList<Mark>& marks, bool clearFirst = true);
    void setMarkColour(const QColor& colour);
    // The line shown at a point of the viewport, or -1 below the last line.
    qsizetype lineAt(const QPoint& viewportPoint) const;
    // The point just below the start of a line, in viewport coordinates, where a tooltip for it goes.
    QPoint pointBelowLine(qsizetype line) const;
    // The cursor to the start of a line, scrolled into view.
    void goToLine(qsizetype line);

Q_SIGNALS:
    // Every change of the text: once per edit by the user, once per setText or loadText.
    void changed();
    void focusIn();
    void focusOut();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // Names hold no tabs: Tab and Shift+Tab move the focus, as in a one-line text box.
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Two styles that look the same (see measureLongLinesInShortRuns).
    static constexpr int kTextStyle = 0;
    static constexpr int kTwinStyle = 1;
    enum class Round { Down, Up };
    qsizetype toCanonical(long editorPos) const;
    long toEditor(qsizetype canonicalPos, Round round) const;
    void replaceAll(const QString& crlfText);
    bool fill(const QString& crlfText, const std::function<bool()>& turn, bool roomToGrow);
    // Empties the box and fills it with the slices `nextSlice` gives until an empty one, `utf8Bytes` in
    // all; `turn` runs between two slices. `roomToGrow`: the box takes more memory than the text needs.
    bool fill(qsizetype utf8Bytes, const std::function<QStringView()>& nextSlice, const std::function<bool()>& turn,
              bool roomToGrow);
    // Runs `fillBox` as a fresh start: no undo step, the undo history forgotten, one change reported.
    bool load(const std::function<bool()>& fillBox);
    void ensurePositionIndex() const;
    void releasePositionIndex();
    void onTextChanged();
    void leaveEvent();
    void applyPalette();
    void keepTextBoxKeys();
    // Gives the long lines among those holding [from, to) short runs; `inserted` is the number of bytes
    // just inserted there without a line break (0 for a deletion that joined none), -1 when lines came
    // or went.
    void measureLongLinesInShortRuns(long from, long to, long inserted);
    // The selection made by pointOut, while it is still the selection; false otherwise.
    bool pointedOut() const;
    void leavePointedOut();
    bool deleteCharacterBack(const QKeyEvent* event);

    int m_eventDepth = 0;     // > 0 while a user event is handled: edits inside it report once at its end
    bool m_changePending = false;
    bool m_applyingLook = false;
    mutable bool m_positionIndex = false;
    bool m_positionCacheSet = false;
    long m_scrollWidth = 0;
    long m_pointedAnchor = -1;  // editor positions of the range pointOut selected; -1: none
    long m_pointedCaret = -1;
};
