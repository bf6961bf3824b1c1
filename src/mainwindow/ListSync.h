#pragma once
// Keeps the list of original names and the name text in step: while the name text has the focus, the list
// follows the line of the text cursor (polled, and only when the cursor moved); when the user picks a list
// entry, its line is selected in the name text. Line k of the text belongs to entry k of the list.
#include <QObject>
#include <QString>
#include <QStringView>

#include <functional>

class QTimer;

namespace listsync {

// The line (from 0) that holds a cursor at `position` in a text with CR LF between lines, positions in UTF-16
// code units. A CR ends a line; the character after it counts as its LF, so a cursor between the two still
// belongs to the line the CR ends.
qsizetype lineAt(QStringView text, qsizetype position);

struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const Span&) const = default;
};
// Line `line` without its line end; the whole text for a line past the last one.
Span lineSpan(QStringView text, qsizetype line);

// The name text as the synchronisation sees it. The poll only compares cursor positions and hands them back
// to lineOfPosition, so an editor with its own line index may answer both in its own units, which keeps a
// poll independent of the text's length. Left empty, lineOfPosition is lineAt(text(), cursorPosition()) on
// CR LF offsets: a scan of the whole text.
struct Editor {
    std::function<qsizetype()> cursorPosition;
    std::function<qsizetype(qsizetype position)> lineOfPosition;
    std::function<QString()> text;
    std::function<void(qsizetype start, qsizetype length)> setSelection;
    std::function<void()> takeFocus;
};

struct List {
    std::function<int()> count;
    std::function<void(int row)> selectRow;
};

class ListSync : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMs = 500;

    ListSync(Editor editor, List list, QObject* parent = nullptr);

    // The menu item DisableSync: checked switches both directions off.
    void setDisabled(bool disabled) { m_disabled = disabled; }

    // Follows the list's focus (FocusIn/FocusOut events); only a list holding the focus moves the text.
    void watchListFocus(QObject* list);
    bool polling() const;

public Q_SLOTS:
    // The name text gained or lost the focus: the poll runs only in between.
    void editorFocusIn();
    void editorFocusOut();
    // One poll: selects the entry of the cursor's line when the cursor moved. A line past the list leaves
    // the list's selection as it is.
    void textToList();
    // The list's current entry changed (by the user, the keyboard or the program).
    void listToText(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Editor m_editor;
    List m_list;
    QTimer* m_timer;
    QObject* m_watchedList = nullptr;
    qsizetype m_lastSelStart = 0;
    bool m_listFocused = false;
    bool m_disabled = false;
};

}  // namespace listsync
