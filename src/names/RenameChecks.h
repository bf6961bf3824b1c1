#pragma once
// The checks of a name text before a rename, in one place for the window, the batch mode and the marks
// in the name text: the checks that stop the whole rename, and per line everything that would stop it or
// that the rename would refuse for that line's entry.
#include "names/NameText.h"
#include "names/RenamePlan.h"
#include "names/RenamePlanner.h"

#include <QDeadlineTimer>
#include <QSet>

#include <memory>
#include <optional>

namespace names {

// What stops a rename before anything is touched, in the order the checks run.
enum class RenameCheck { Ok, InvalidCharacters, WrongLineCount, NothingChanged, DuplicateLines };

struct CheckResult {
    RenameCheck verdict = RenameCheck::Ok;
    QString offendingLine;          // InvalidCharacters: the first such line, exactly
    qsizetype offendingLineIndex = -1;  // its index, from 0
    DuplicateLines duplicates;      // DuplicateLines: the first pair (the user may go on)
};

// The checks in their order; `modified`: whether the text was changed since the scan.
CheckResult checkRename(QStringView text, qsizetype entryCount, bool modified);

// What a rename of the listed directory knows besides the name text.
struct RenameContext {
    NameColumn names;          // the list of original names
    QSet<QString> otherNames;  // names of entries the list leaves out
    qsizetype nameMaxBytes = PlanLimits::kDefaultNameBytes;

    PlanLimits limits() const;
};

enum class LineIssue {
    InvalidCharacter,  // column, character
    DuplicateLine,     // otherLine: a line the duplicate check, or the final name, finds equal
    Refused,           // refusal: the rename would leave this line's entry as it is
    ExtraLine,         // a line past the last entry (count: the entries)
    MissingLines,      // on the last line: count lines are missing
};

struct LineMark {
    qsizetype line = 0;  // from 0
    LineIssue issue = LineIssue::Refused;
    qsizetype column = 0;       // InvalidCharacter: in UTF-16 units from the line's start
    QChar character;            // InvalidCharacter
    qsizetype otherLine = -1;   // DuplicateLine: from 0
    qsizetype count = 0;        // ExtraLine: entries; MissingLines: lines missing
    RenameProblem refusal;      // Refused (its line counts from 1)
};

// Checks every line of a text in slices: advance() works until its deadline and may be called again.
// Marks come sorted by line. One checker serves every check of a listed directory: each check runs in
// the memory of the one before, so that a check after every edit allocates next to nothing.
class NameTextChecker {
public:
    explicit NameTextChecker(RenameContext context);
    ~NameTextChecker();
    NameTextChecker(const NameTextChecker&) = delete;
    NameTextChecker& operator=(const NameTextChecker&) = delete;

    // Starts a check of `text`, whose characters must stay as they are until it is done; a check under way
    // is dropped.
    void start(QStringView text);
    bool advance(const QDeadlineTimer& deadline = QDeadlineTimer(QDeadlineTimer::Forever));
    const QList<LineMark>& marks() const { return m_marks; }

private:
    enum class Phase { Split, Lines, Plan, Collect, Done };
    bool split(const QDeadlineTimer& deadline);
    void checkLine(qsizetype i);
    void collect();

    RenameContext m_context;
    Phase m_phase = Phase::Done;
    qsizetype m_next = 0;  // Split: where the next CR is looked for; Lines: the next line
    QStringView m_text;
    qsizetype m_lineStart = 0;
    qsizetype m_crlfs = 0;
    QList<QStringView> m_lines;
    NameTable<Qt::CaseSensitive> m_keys{0, [this](int k) { return duplicateKey(m_lines.at(k)); }};
    QList<qsizetype> m_equalTo;     // per line: the first line with the same duplicate key, or -1
    QList<qsizetype> m_equalShown;  // per line: the line its duplicate mark names, or -1
    std::optional<RenamePlanner> m_planner;
    bool m_planned = false;  // the planner works on this check's lines
    QList<LineMark> m_marks;
};

// All marks of `text` at once.
QList<LineMark> checkLines(const RenameContext& context, const QString& text);

// Whether a mark stands for an entry the rename itself would leave as it is (the other marks stop the
// rename as a whole, or ask first).
inline bool isRefusal(const LineMark& mark)
{
    return mark.issue == LineIssue::Refused;
}

}  // namespace names
