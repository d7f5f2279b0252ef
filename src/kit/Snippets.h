#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace dictaro {

// An abbreviation the user types ("/inaud") and the text it stands for ("[inaudible]").
struct Snippet
{
    QString abbreviation;
    QString text;
    friend bool operator==(const Snippet&, const Snippet&) = default;
};

// Where a snippet's abbreviation was typed, and what replaces it.
struct SnippetMatch
{
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
};

// Abbreviations expanded as they are typed: one is expanded when a space or a punctuation mark
// (see isTrigger) follows it, and it stands on its own: at the start of the text, after a space
// or after an opening bracket or quote, so that "and/or" never expands "/or".
namespace Snippets {

constexpr qsizetype maxAbbreviationLength = 32;

// Whether typing `c` expands an abbreviation just before it: a space, a tab, a line break or one
// of . , ; : ! ? ) ] } " ” ’ …
bool isTrigger(QChar c);
// Whether a snippet can be typed and expanded: an abbreviation of 1 to maxAbbreviationLength
// characters with no space and no trigger character in it, and a text.
bool isUsable(const Snippet& snippet);
// The usable snippet whose abbreviation ends at `end` of `text` and stands on its own; the
// longest one when several do, the first of equal ones.
std::optional<SnippetMatch> endingAt(QStringView text, qsizetype end,
                                     const QList<Snippet>& snippets);

} // namespace Snippets
} // namespace dictaro
