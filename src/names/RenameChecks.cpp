#include "names/RenameChecks.h"

#include <algorithm>

namespace names {

namespace {

constexpr qsizetype kLinesPerLook = 512;
// Characters marked in one line at most: a line of thousands of them (all names joined by "|") is marked
// as a whole anyway, and its first ones show what is wrong.
constexpr qsizetype kCharacterMarksPerLine = 64;

}  // namespace

CheckResult checkRename(QStringView text, qsizetype entryCount, bool modified)
{
    CheckResult result;
    if (const InvalidCharacter invalid = firstInvalidCharacter(text); invalid.found()) {
        result.verdict = RenameCheck::InvalidCharacters;
        result.offendingLine = invalid.lineText;
        result.offendingLineIndex = invalid.line;
    } else if (entryCount != lineCount(text)) {
        // Counted on the very text that is split, so a line can never pair with another entry.
        result.verdict = RenameCheck::WrongLineCount;
    } else if (!modified) {
        result.verdict = RenameCheck::NothingChanged;
    } else {
        result.duplicates = findDuplicateLines(text);
        if (result.duplicates.found())
            result.verdict = RenameCheck::DuplicateLines;
    }
    return result;
}

PlanLimits RenameContext::limits() const
{
    PlanLimits limits;
    limits.nameMaxBytes = nameMaxBytes;
    if (!otherNames.isEmpty())
        limits.takenOutsideList = [this](const QString& name) { return otherNames.contains(name); };
    return limits;
}

NameTextChecker::NameTextChecker(RenameContext context, QString text)
    : m_context(std::move(context)), m_text(std::move(text))
{
}

NameTextChecker::~NameTextChecker() = default;

bool NameTextChecker::advance(const QDeadlineTimer& deadline)
{
    for (;;) {
        switch (m_phase) {
        case Phase::Split:
            m_lines = splitNameLineViews(m_text, lineCount(m_text));
            m_keys = std::make_unique<NameTable<Qt::CaseSensitive>>(m_lines.size());
            m_equalTo.fill(-1, m_lines.size());
            m_phase = Phase::Lines;
            break;
        case Phase::Lines:
            while (m_next < m_lines.size()) {
                checkLine(m_next++);
                if (m_next % kLinesPerLook == 0 && deadline.hasExpired())
                    return false;
            }
            // The entries' refusals mean something only while every line pairs with its entry.
            if (m_lines.size() == m_context.names.size())
                m_planner = std::make_unique<RenamePlanner>(m_context.names, m_lines, m_context.limits(), false);
            m_phase = Phase::Plan;
            break;
        case Phase::Plan:
            if (m_planner && !m_planner->advance(deadline))
                return false;
            m_phase = Phase::Collect;
            break;
        case Phase::Collect:
            collect();
            m_phase = Phase::Done;
            break;
        case Phase::Done:
            return true;
        }
    }
}

void NameTextChecker::checkLine(qsizetype i)
{
    const QStringView line = m_lines.at(i);
    qsizetype marked = 0;
    for (qsizetype c = 0; c < line.size() && marked < kCharacterMarksPerLine; ++c) {
        if (isInvalidNameCharacter(line.at(c))) {
            ++marked;
            LineMark mark;
            mark.line = i;
            mark.issue = LineIssue::InvalidCharacter;
            mark.column = c;
            mark.character = line.at(c);
            m_marks.append(mark);
        }
    }
    const QStringView key = duplicateKey(line);
    if (!key.isEmpty()) {
        const qsizetype first = m_keys->insert(key, int(i));
        if (first != i)
            m_equalTo[i] = first;
    }
}

void NameTextChecker::collect()
{
    const qsizetype lines = m_lines.size();
    const qsizetype entries = m_context.names.size();
    // Every line of an equal group: a later one names the first, the first names the next.
    QList<qsizetype> equalShown(lines, -1);
    auto markEqual = [&](qsizetype line, qsizetype other) {
        if (equalShown.at(line) >= 0)
            return;
        equalShown[line] = other;
        LineMark mark;
        mark.line = line;
        mark.issue = LineIssue::DuplicateLine;
        mark.otherLine = other;
        m_marks.append(mark);
    };
    for (qsizetype i = 0; i < lines; ++i) {
        if (const qsizetype first = m_equalTo.at(i); first >= 0) {
            markEqual(i, first);
            markEqual(first, i);
        }
    }
    if (m_planner) {
        for (RenameProblem& problem : m_planner->takePlan().refused) {
            const qsizetype line = problem.line - 1;
            // Equal once the extensions are back: the first of the pair is renamed, and marked as well.
            if (problem.reason == RenameReason::SameTargetAsLine)
                markEqual(problem.otherLine - 1, line);
            LineMark mark;
            mark.line = line;
            mark.refusal = std::move(problem);
            m_marks.append(std::move(mark));
        }
    } else if (lines > entries) {
        for (qsizetype i = entries; i < lines; ++i) {
            LineMark mark;
            mark.line = i;
            mark.issue = LineIssue::ExtraLine;
            mark.count = entries;
            m_marks.append(mark);
        }
    } else {
        LineMark mark;
        mark.line = lines - 1;
        mark.issue = LineIssue::MissingLines;
        mark.count = entries - lines;
        m_marks.append(mark);
    }
    std::stable_sort(m_marks.begin(), m_marks.end(),
                     [](const LineMark& a, const LineMark& b) { return a.line < b.line; });
    m_lines.clear();
    m_keys.reset();
    m_equalTo.clear();
}

QList<LineMark> checkLines(const RenameContext& context, const QString& text)
{
    NameTextChecker checker(context, text);
    checker.advance();
    return checker.marks();
}

}  // namespace names
