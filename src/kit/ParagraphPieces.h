#pragma once

#include <QList>
#include <QStringView>

// Where a long paragraph is cut into pieces that are shown, laid out and edited one at a time.
namespace dictaro::ParagraphPieces {

// The offsets at which the pieces after the first one start, ascending, so that each piece is
// about `pieceLength` UTF-16 units long (never more than twice that). A piece ends after a run of
// spaces where there is one nearby, so no word, number or timestamp is cut; in text without
// spaces it ends between two whole characters (never inside a surrogate pair or before a mark
// that belongs to the character before it). Empty when the text needs no cutting.
QList<qsizetype> breaks(QStringView text, qsizetype pieceLength);

} // namespace dictaro::ParagraphPieces
