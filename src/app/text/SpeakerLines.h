#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QTextCursor;
class QTextDocument;

namespace dictaro {

// Speaker labels in a transcript document (see SpeakerLabels): the lines they start, the names
// they hold, and renaming them.
namespace SpeakerLines {

// The names labelling the paragraphs that start in the blocks from `from` to `to`, each once.
QStringList namesIn(const QTextDocument* document, int from, int to);
// Starts a line with `start` (a timestamp, a label): on the caret's line when it is empty, else
// on a new line after it. One undoable edit; the caret ends up after `start`.
void startLine(QTextCursor& cursor, const QString& start);
// The speaker to switch to: the one labelling the nearest line above the caret (its own line
// included) with a name other than the nearest label's. When the text above names only one
// speaker (or none), the first name of `known` that differs from it; empty when there is none.
QString otherSpeaker(const QTextCursor& cursor, const QStringList& known);
// Renames every label "Old: " at a line start into "New: " for each pair, as one undoable edit.
// Returns how many labels changed.
int rename(QTextDocument* document, const QList<std::pair<QString, QString>>& renames);

} // namespace SpeakerLines
} // namespace dictaro
