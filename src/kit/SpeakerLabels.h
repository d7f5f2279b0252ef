#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace dictaro {

// Speaker labels: a name and ": " at the start of a line ("Anna: Hello"), after the line's
// timestamp when it has one ("[00:01:02] Anna: Hello"), and the lists of names a project keeps.
namespace SpeakerLabels {

// Longer names are no labels, and lists leave them out.
constexpr qsizetype maxNameLength = 40;
// A project's list keeps at most this many names.
constexpr qsizetype maxNames = 1000;

// Where a line's label would begin: after a leading "[hh:mm:ss] " and any more spaces, else at 0.
qsizetype labelStart(QStringView line);
// The name of the label `line` starts with, or an empty view. A name begins with a capital
// letter (or a letter without case) and holds at most four words of letters, digits, ".", "-"
// and apostrophes, single-spaced; ": " or the end of the line follows its colon.
QStringView nameAt(QStringView line);
// The names labelling the lines of `text`, each once, in the order they first appear (at most
// maxNames).
QStringList namesIn(QStringView text);

// The text a label is made of: "Anna: ".
QString label(const QString& name);

// A name as lists keep it: trimmed and single-spaced; empty when it cannot be one (longer than
// maxNameLength, holding a colon, a control character or invalid Unicode).
QString cleanName(const QString& name);
// `names` cleaned, without empty ones and repeats, at most maxNames.
QStringList cleanList(const QStringList& names);
// `list` with the names of `more` it lacks added at its end, at most maxNames in all.
QStringList merged(const QStringList& list, const QStringList& more);

} // namespace SpeakerLabels
} // namespace dictaro
