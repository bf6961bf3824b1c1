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

NameTextChecker::NameTextChecker(RenameContext context) : m_context(std::move(context)) {}

NameTextChecker::~NameTextChecker() = default;

void NameTextChecker::start(QStringView text)
{
    m_text = text;
    m_lines.clear();
    m_marks.clear();
    m_next = 0;
    m_lineStart = 0;
    m_crlfs = 0;
    m_planned = false;
    m_phase = Phase::Split;
}

// The lines as splitNameLineViews(text, lineCount(text)) gives them, in slices: every CR ends a line and
// the character after it is skipped; the lines beyond 1 + the CR LF pairs are dropped at the end.
bool NameTextChecker::split(const QDeadlineTimer& deadline)
{
    for (qsizetype k = 1;; ++k) {
        const qsizetype cr = m_text.indexOf(QLatin1Char('\r'), m_next);
        if (cr < 0)
            break;
        if (cr >= m_lineStart) {
            m_lines.append(m_text.mid(m_lineStart, cr - m_lineStart));
            m_lineStart = std::min(cr + 2, m_text.size());
        }
        if (cr + 1 < m_text.size() && m_text.at(cr + 1) == QLatin1Char('\n'))
            ++m_crlfs;
        m_next = cr + 1;
        if (k % kLinesPerLook == 0 && deadline.hasExpired())
            return false;
    }
    m_lines.append(m_text.mid(m_lineStart));
    m_lines.resize(std::min(m_lines.size(), m_crlfs + 1));
    return true;
}

bool NameTextChecker::advance(const QDeadlineTimer& deadline)
{
    for (;;) {
        switch (m_phase) {
        case Phase::Split:
            if (!split(deadline))
                return false;
            m_keys.reset(m_lines.size());
            m_equalTo.fill(-1, m_lines.size());
            m_next = 0;
            m_phase = Phase::Lines;
            break;
        case Phase::Lines:
            while (m_next < m_lines.size()) {
                checkLine(m_next++);
                if (m_next % kLinesPerLook == 0 && deadline.hasExpired())
                    return false;
            }
            // The entries' refusals mean something only while every line pairs with its entry.
            if (m_lines.size() == m_context.names.size()) {
                if (m_planner)
                    m_planner->restart(m_lines);
                else
                    m_planner.emplace(m_context.names, m_lines, m_context.limits(), false);
                m_planned = true;
            }
            m_phase = Phase::Plan;
            break;
        case Phase::Plan:
            if (m_planned && !m_planner->advance(deadline))
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
        const qsizetype first = m_keys.insert(key, int(i));
        if (first != i)
            m_equalTo[i] = first;
    }
}

void NameTextChecker::collect()
{
    const qsizetype lines = m_lines.size();
    const qsizetype entries = m_context.names.size();
    // Every line of an equal group: a later one names the first, the first names the next.
    m_equalShown.fill(-1, lines);
    auto markEqual = [&](qsizetype line, qsizetype other) {
        if (m_equalShown.at(line) >= 0)
            return;
        m_equalShown[line] = other;
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
    if (m_planned) {
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
}

QList<LineMark> checkLines(const RenameContext& context, const QString& text)
{
    NameTextChecker checker(context);
    checker.start(text);
    checker.advance();
    return checker.marks();
}

}  // namespace names
