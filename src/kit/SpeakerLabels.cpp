#include "SpeakerLabels.h"

#include "TimestampFormatter.h"

#include <QSet>

namespace dictaro::SpeakerLabels {

namespace {

constexpr qsizetype stampLength = 10; // "[hh:mm:ss]"
constexpr int maxWords = 4;

bool isNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'\'' || c == u'\u2019';
}

} // namespace

qsizetype labelStart(QStringView line)
{
    if (line.size() <= stampLength || line.front() != u'[' || line[stampLength] != u' ' ||
        !TimestampFormatter::secondsFromString(line.left(stampLength).toString()))
        return 0;
    qsizetype start = stampLength + 1;
    while (start < line.size() && line[start] == u' ')
        ++start;
    return start;
}

QStringView nameAt(QStringView line)
{
    const qsizetype start = labelStart(line);
    const qsizetype end = std::min(line.size(), start + maxNameLength + 1);
    if (start >= end || !line[start].isLetter() || line[start].isLower())
        return {};
    int words = 1;
    for (qsizetype i = start + 1; i < end; ++i) {
        const QChar c = line[i];
        if (c == u':') {
            const bool followed = i + 1 == line.size() || line[i + 1] == u' ';
            return followed && line[i - 1] != u' ' ? line.sliced(start, i - start) : QStringView();
        }
        if (c == u' ') {
            if (line[i - 1] == u' ' || ++words > maxWords)
                return {};
        } else if (!isNameCharacter(c)) {
            return {};
        }
    }
    return {};
}

QStringList namesIn(QStringView text)
{
    QStringList names;
    QSet<QStringView> seen;
    for (qsizetype from = 0; from <= text.size();) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0)
            end = text.size();
        const QStringView name = nameAt(text.sliced(from, end - from));
        if (!name.isEmpty() && !seen.contains(name)) {
            seen.insert(name);
            names.append(name.toString());
            if (names.size() == maxNames)
                break;
        }
        from = end + 1;
    }
    return names;
}

QString label(const QString& name)
{
    return name + QStringLiteral(": ");
}

QString cleanName(const QString& name)
{
    if (name.size() > 4 * maxNameLength || !QStringView(name).isValidUtf16())
        return {};
    const QString clean = name.simplified();
    for (const QChar c : clean) {
        if (c == u':' || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format)
            return {};
    }
    return clean.size() > maxNameLength ? QString() : clean;
}

QStringList cleanList(const QStringList& names)
{
    return merged({}, names);
}

QStringList merged(const QStringList& list, const QStringList& more)
{
    QStringList out;
    QSet<QString> seen;
    for (const QStringList* names : {&list, &more}) {
        for (const QString& name : *names) {
            if (out.size() == maxNames)
                return out;
            QString clean = cleanName(name);
            if (clean.isEmpty() || seen.contains(clean))
                continue;
            seen.insert(clean);
            out.append(std::move(clean));
        }
    }
    return out;
}

} // namespace dictaro::SpeakerLabels
