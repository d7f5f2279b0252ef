#include "Snippets.h"

#include <string_view>

namespace dictaro::Snippets {

namespace {

bool opensWord(QChar c)
{
    return c.isSpace() || c == u'(' || c == u'[' || c == u'{' || c == u'"' || c == u'\'' ||
           c == u'\u201c' || c == u'\u2018' || c == u'\u00ab';
}

} // namespace

bool isTrigger(QChar c)
{
    static constexpr char16_t marks[] = u".,;:!?)]}\"\u201d\u2019\u2026";
    return c.isSpace() || std::u16string_view(marks).find(c.unicode()) != std::u16string_view::npos;
}

bool isUsable(const Snippet& snippet)
{
    const QString& abbreviation = snippet.abbreviation;
    if (abbreviation.isEmpty() || abbreviation.size() > maxAbbreviationLength ||
        snippet.text.isEmpty() || !QStringView(abbreviation).isValidUtf16())
        return false;
    for (const QChar c : abbreviation) {
        if (isTrigger(c) || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

std::optional<SnippetMatch> endingAt(QStringView text, qsizetype end,
                                     const QList<Snippet>& snippets)
{
    if (end <= 0 || end > text.size())
        return std::nullopt;
    const Snippet* best = nullptr;
    for (const Snippet& snippet : snippets) {
        const qsizetype length = snippet.abbreviation.size();
        if (length > end || (best && length <= best->abbreviation.size()))
            continue;
        const qsizetype start = end - length;
        if (text.sliced(start, length) != snippet.abbreviation ||
            (start > 0 && !opensWord(text[start - 1])) || !isUsable(snippet))
            continue;
        best = &snippet;
    }
    if (!best)
        return std::nullopt;
    return SnippetMatch{end - best->abbreviation.size(), best->abbreviation.size(), best->text};
}

} // namespace dictaro::Snippets
