#include "SpeakerLines.h"

#include "DisplayBlocks.h"
#include "SpeakerLabels.h"

#include <QHash>

#include <algorithm>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace dictaro::SpeakerLines {

namespace {

// How far up otherSpeaker() looks.
constexpr int maxBlocksUp = 5000;

// The first block of the paragraph `block` is in.
QTextBlock paragraphStart(QTextBlock block)
{
    while (block.isValid() && DisplayBlocks::continuesPrevious(block))
        block = block.previous();
    return block;
}

// The last block of the paragraph `block` is in.
QTextBlock paragraphEnd(QTextBlock block)
{
    while (block.next().isValid() && DisplayBlocks::continuesPrevious(block.next()))
        block = block.next();
    return block;
}

} // namespace

QStringList namesIn(const QTextDocument* document, int from, int to)
{
    QStringList names;
    const QTextBlock last = document->findBlock(std::min(to, document->characterCount() - 1));
    for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
        if (!DisplayBlocks::continuesPrevious(block)) {
            const QString text = block.text();
            const QStringView name = SpeakerLabels::nameAt(text);
            if (!name.isEmpty() && !names.contains(name))
                names.append(name.toString());
        }
        if (block == last)
            break;
    }
    return names;
}

void startLine(QTextCursor& cursor, const QString& start)
{
    cursor.beginEditBlock();
    const QTextBlock first = paragraphStart(cursor.block());
    const QTextBlock end = paragraphEnd(cursor.block());
    cursor.setPosition(end.position() + end.length() - 1);
    if (first != end || !first.text().isEmpty())
        cursor.insertText(QStringLiteral("\n"), QTextCharFormat());
    cursor.insertText(start, QTextCharFormat());
    cursor.endEditBlock();
}

QString otherSpeaker(const QTextCursor& cursor, const QStringList& known)
{
    QString nearest;
    QTextBlock block = cursor.block();
    for (int i = 0; block.isValid() && i < maxBlocksUp; block = block.previous(), ++i) {
        if (DisplayBlocks::continuesPrevious(block))
            continue;
        const QString text = block.text();
        const QStringView name = SpeakerLabels::nameAt(text);
        if (name.isEmpty())
            continue;
        if (nearest.isEmpty())
            nearest = name.toString();
        else if (name != nearest)
            return name.toString();
    }
    for (const QString& name : known) {
        if (name != nearest)
            return name;
    }
    return {};
}

int rename(QTextDocument* document, const QList<std::pair<QString, QString>>& renames)
{
    QHash<QString, QString> newNames;
    for (const auto& [from, to] : renames) {
        if (!from.isEmpty() && !to.isEmpty() && from != to)
            newNames.insert(from, to);
    }
    if (newNames.isEmpty())
        return 0;
    int count = 0;
    QTextCursor cursor(document);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (DisplayBlocks::continuesPrevious(block))
            continue;
        const QString text = block.text();
        const QStringView name = SpeakerLabels::nameAt(text);
        const auto to = newNames.constFind(name.toString());
        if (name.isEmpty() || to == newNames.constEnd())
            continue;
        if (count++ == 0)
            cursor.beginEditBlock();
        const int at = block.position() + int(name.data() - text.constData());
        cursor.setPosition(at);
        cursor.setPosition(at + int(name.size()), QTextCursor::KeepAnchor);
        cursor.insertText(*to);
    }
    if (count > 0)
        cursor.endEditBlock();
    return count;
}

} // namespace dictaro::SpeakerLines
