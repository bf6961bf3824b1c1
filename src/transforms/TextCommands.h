#pragma once
// The tool commands of the name text, one request type each. A request holds what the user typed or chose;
// running it on the whole name text gives the new text and the figures the window reports. A new tool is
// one more request type here and one frame in the window.
#include "transforms/LineTools.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace transforms {

using Progress = std::function<void(qint64 done, qint64 total)>;

// Search and replace as typed: "^P" stands for a line break, "*" for any one character.
struct ReplaceRequest {
    QString search;
    QString replacement;
    bool matchCase = false;

    static constexpr char16_t kPlaceholder = u'*';
    bool usesPlaceholder() const;
};
struct ReplaceResult {
    QString text;
    qint64 count = 0;  // replacements made; not counted where the placeholder is used
};
ReplaceResult run(const ReplaceRequest& request, const QString& text);
// The same within the `length` characters from `start` only (a selection); the rest stays as it is.
ReplaceResult runInRange(const ReplaceRequest& request, const QString& text, qsizetype start, qsizetype length);

struct AppendRequest {
    QString add;
    bool left = false;
};
QString run(const AppendRequest& request, const QString& text);

// The count as typed; nullopt when it is no count of at least one.
struct CutRequest {
    QString count;
    bool fromLeft = false;
};
std::optional<QString> run(const CutRequest& request, const QString& text);

// "_" to blanks, or blanks to "_".
struct UnderscoreRequest {
    bool toBlanks = true;
};
ReplaceResult run(const UnderscoreRequest& request, const QString& text);

// The umlaut table forward (umlauts and special characters out) or back (the umlauts only).
struct UmlautRequest {
    bool remove = true;
};
ReplaceResult run(const UmlautRequest& request, const QString& text);

struct TrimRequest {};
struct TrimResult {
    QString text;
    qint64 removed = 0;
};
TrimResult run(const TrimRequest& request, const QString& text);

struct CaseRequest {
    bool toLower = true;
};
QString run(const CaseRequest& request, const QString& text);

struct CapitaliseRequest {};
CapitaliseResult run(const CapitaliseRequest& request, const QString& text);

// Numbering of as many lines as the list has entries.
struct NumberingRequest {
    qint64 entries = 0;
    Progress progress;
};
QString run(const NumberingRequest& request, const QString& text);

struct NumberRemovalRequest {
    qint64 entries = 0;
    Progress progress;

    // Width of the numbers: "XX-" or, from 100 entries on, "XXX-".
    int width() const;
    bool looksRight(const QString& text) const;
};
QString run(const NumberRemovalRequest& request, const QString& text);

}  // namespace transforms
