#pragma once
// Marks in the name text every line the rename would refuse or that would stop it, with its reason in a
// tooltip; F8 and Shift+F8 go to the next and the previous marked line. The lines are checked in short
// slices while the event loop is idle, and every edit starts the check afresh.
#include "names/RenameChecks.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

#include "mainwindow/NameTextEdit.h"

class QWidget;

class NameMarks : public QObject {
    Q_OBJECT
public:
    // `countLabel` and `renameButton` tell in their tooltips how many lines are marked.
    NameMarks(NameTextEdit* box, QWidget* countLabel, QWidget* renameButton, QObject* parent = nullptr);
    ~NameMarks() override;

    // The listed directory the lines are checked against; set before the box gets the scanned text.
    void setContext(names::RenameContext context);
    // Ends the running check at once, as a command that shows the marks needs them complete.
    void finish();
    // A rename under way replaces the text when it ends: checking the old one meanwhile only slows it.
    // resume() goes on where the check stood, for a rename that stopped and left the text as it was.
    void pause();
    void resume();

    // A check runs: the marks shown may be those of an earlier text.
    bool pending() const { return m_slices.isActive(); }
    qsizetype markedLineCount() const { return m_markedLines.size(); }
    // Why a line is marked, one reason a line; empty for a line without a mark.
    QString reasonOfLine(qsizetype line) const;
    // The cursor to the next (or previous) marked line, its reason shown where a tooltip would be; wraps around.
    bool goToMark(bool forward);

Q_SIGNALS:
    // New marks are shown.
    void marksShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restart();
    void workSlice();
    // Copies and checks the text until the check is done (true) or `deadline` has passed.
    bool work(const QDeadlineTimer& deadline);
    void show();
    void applyColour();

    NameTextEdit* m_box;
    QPointer<QWidget> m_countLabel;
    QPointer<QWidget> m_renameButton;
    QString m_countLabelTip;
    QString m_renameTip;
    std::unique_ptr<names::NameTextChecker> m_checker;  // null until the directory is known
    NameTextEdit::TextCopy m_copy;
    bool m_copied = false;  // the copy is complete, and the checker works on it
    bool m_paused = false;
    QTimer m_slices;
    QList<names::LineMark> m_marks;
    QList<qsizetype> m_markedLines;  // sorted
    QList<NameTextEdit::Mark> m_shownSpans;
};
