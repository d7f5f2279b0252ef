#include "DraftMarks.h"

#include "AtomicFile.h"
#include "DisplayBlocks.h"
#include "RegularFile.h"
#include "StoreError.h"

#include <QTextBlock>
#include <QTextDocument>

namespace dictaro {

DraftMarks::DraftMarks(QString path, QObject* parent) : WordMarks(parent), m_path(std::move(path))
{
    // A link is refused: the projects folder holds only what Dictaro wrote.
    if (const std::optional<QByteArray> bytes =
            RegularFile::read(m_path, DraftWords::maxFileSize, RegularFile::Links::Refuse)) {
        if (std::optional<DraftWords> words = DraftWords::decode(*bytes))
            m_words = std::move(*words);
    }
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &DraftMarks::writeInBackground);
    m_writer.setMaxThreadCount(1);
}

DraftMarks::~DraftMarks()
{
    if (m_saveTimer.isActive())
        writeInBackground();
    m_writer.waitForDone();
}

void DraftMarks::add(const std::vector<RecognisedSegment>& segments)
{
    for (const RecognisedSegment& segment : segments)
        m_words.add(segment);
    scheduleSave();
}

void DraftMarks::scheduleSave()
{
    if (!m_saveTimer.isActive())
        m_saveTimer.start();
}

void DraftMarks::writeInBackground()
{
    m_saveTimer.stop();
    m_writer.start([path = m_path, bytes = m_words.encode()] {
        try {
            AtomicFile::write(path, bytes);
        } catch (const StoreError&) {
            // Only marks and follow-along are lost; the text is in the project.
        }
    });
}

bool DraftMarks::saveNow()
{
    m_saveTimer.stop();
    m_writer.waitForDone();
    try {
        AtomicFile::write(m_path, m_words.encode());
        return true;
    } catch (const StoreError&) {
        return false;
    }
}

void DraftMarks::setMarking(bool marking)
{
    if (marking == m_marking)
        return;
    m_marking = marking;
    if (!m_words.isEmpty())
        emit changed();
}

void DraftMarks::unsureWords(QStringView text, const QList<TimestampMatch>& stamps,
                             QList<WordTokenizer::WordRange>& ranges) const
{
    if (!m_marking || m_words.isEmpty())
        return;
    for (const DraftWords::Found& found : m_words.find(text, stamps)) {
        if (m_words.word(found.segment, found.word).probability < unsureBelow)
            ranges.append({found.start, found.end});
    }
}

std::optional<double> DraftMarks::timeAt(const QTextDocument* document, int position) const
{
    if (m_words.isEmpty())
        return std::nullopt;
    const QTextBlock block = document->findBlock(position);
    const DisplayBlocks::Paragraph line = DisplayBlocks::paragraphOf(block);
    const int inLine = line.offset + position - block.position();
    for (const DraftWords::Found& found : m_words.find(line.text)) {
        if (found.start <= inLine && inLine <= found.end)
            return m_words.word(found.segment, found.word).start;
    }
    return std::nullopt;
}

std::optional<std::pair<int, int>> DraftMarks::rangeAt(const QTextDocument* document,
                                                       double seconds)
{
    const std::optional<std::pair<int, int>> spoken = m_words.wordAt(seconds);
    if (!spoken)
        return std::nullopt;
    // A word looked for in vain is not looked for again until the text changes.
    const std::tuple miss{spoken->first, spoken->second, document->revision()};
    if (m_lastMiss == miss)
        return std::nullopt;
    const auto inBlock = [&](const QTextBlock& block) -> std::optional<std::pair<int, int>> {
        for (const DraftWords::Found& found :
             m_words.find(DisplayBlocks::paragraphOf(block).text)) {
            if (found.segment == spoken->first && found.word == spoken->second) {
                m_hintBlock = block.blockNumber();
                return std::pair{DisplayBlocks::positionInParagraph(block, int(found.start)),
                                 DisplayBlocks::positionInParagraph(block, int(found.end))};
            }
        }
        return std::nullopt;
    };
    // Near where the last one was first, then wherever the segment's timestamp stands.
    QTextBlock block = document->findBlockByNumber(std::max(0, m_hintBlock - 1));
    for (int i = 0; i < 4 && block.isValid(); ++i, block = block.next()) {
        if (const auto range = inBlock(block))
            return range;
    }
    const QString stamp =
        TimestampFormatter::stringFromSeconds(m_words.segments()[spoken->first].start);
    for (QTextCursor at = document->find(stamp); !at.isNull();
         at = document->find(stamp, at.position())) {
        if (const auto range = inBlock(at.block()))
            return range;
    }
    m_lastMiss = miss;
    return std::nullopt;
}

} // namespace dictaro
