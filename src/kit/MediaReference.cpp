#include "MediaReference.h"

#include <QByteArrayView>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

namespace dictaro {

namespace {

// PNG-style: a high byte that is never valid UTF-8 on its own, so a record is never mistaken for a
// bare path, and a CR LF pair that shows any line-ending conversion on the way.
constexpr char magic[8] = {'\x89', 'D', 'M', 'R', 'E', 'F', '\r', '\n'};
constexpr QByteArrayView magicView(magic, sizeof magic);

bool isAbsoluteLocal(const QString& path)
{
#if defined(Q_OS_WIN)
    return QDir::isAbsolutePath(path) && !path.startsWith(u':');
#else
    // QDir also calls ":/…" absolute, but that names a compiled-in resource, not a file.
    return path.startsWith(u'/');
#endif
}

bool hasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

// Strict UTF-8: malformed sequences fail, a leading byte-order mark is kept (and then fails the
// absolute-path check).
std::optional<QString> fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// A stored path as it is used: valid UTF-8, absolute, no NUL; cleaned.
std::optional<QString> storedPath(QByteArrayView bytes, bool allowControl)
{
    if (bytes.isEmpty() || bytes.size() > MediaReference::maxPathBytes)
        return std::nullopt;
    const std::optional<QString> text = fromUtf8(bytes);
    if (!text || text->contains(QChar(u'\0')) || !isAbsoluteLocal(*text))
        return std::nullopt;
    if (!allowControl && hasControlCharacter(*text))
        return std::nullopt;
    return QDir::cleanPath(QDir::fromNativeSeparators(*text));
}

template <typename T> void appendBigEndian(QByteArray& out, T value)
{
    char buffer[sizeof(T)];
    qToBigEndian(value, buffer);
    out.append(buffer, sizeof(T));
}

// Reads big-endian fields from untrusted bytes; any read past the end fails the whole reader.
class Reader
{
public:
    explicit Reader(QByteArrayView data) : m_data(data) {}

    template <typename T> T read()
    {
        const QByteArrayView bytes = take(sizeof(T));
        return m_ok ? qFromBigEndian<T>(bytes.data()) : T{};
    }

    QByteArrayView take(qsizetype count)
    {
        if (!m_ok || count < 0 || count > m_data.size() - m_position) {
            m_ok = false;
            return {};
        }
        const QByteArrayView bytes = m_data.sliced(m_position, count);
        m_position += count;
        return bytes;
    }

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_position == m_data.size(); }

private:
    QByteArrayView m_data;
    qsizetype m_position = 0;
    bool m_ok = true;
};

std::optional<MediaReference> decodeRecord(QByteArrayView bytes)
{
    Reader in(bytes);
    if (in.take(magicView.size()) != magicView)
        return std::nullopt;
    // A later version may lay out its fields differently; reading it as this one would guess.
    if (in.read<quint16>() != MediaReference::version)
        return std::nullopt;
    const quint32 pathBytes = in.read<quint32>();
    if (!in.ok() || pathBytes > quint32(MediaReference::maxPathBytes))
        return std::nullopt;
    const QByteArrayView pathView = in.take(qsizetype(pathBytes));
    Platform::FileIdentity identity;
    identity.device = in.read<quint64>();
    identity.inode = in.read<quint64>();
    identity.size = in.read<qint64>();
    identity.modifiedMSecs = in.read<qint64>();
    if (!in.ok() || !in.atEnd())
        return std::nullopt;
    std::optional<QString> path = storedPath(pathView, true);
    if (!path)
        return std::nullopt;
    return MediaReference{std::move(*path), identity};
}

} // namespace

QString MediaReference::absoluteLocalPath(const QString& path)
{
    if (path.isEmpty() || path.startsWith(u':') || path.contains(QChar(u'\0')))
        return {};
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return isAbsoluteLocal(absolute) ? absolute : QString();
}

std::optional<MediaReference> MediaReference::forFile(const QString& path)
{
    const QString absolute = absoluteLocalPath(path);
    if (absolute.isEmpty())
        return std::nullopt;
    std::optional<Platform::FileIdentity> identity = Platform::fileIdentity(absolute);
    if (!identity)
        return std::nullopt;
    return MediaReference{absolute, identity};
}

QByteArray MediaReference::encode() const
{
    const QByteArray utf8 = path.toUtf8();
    // Whatever is written must read back as the same reference.
    const std::optional<QString> readBack = storedPath(utf8, identity.has_value());
    if (!readBack || *readBack != path)
        return {};
    if (!identity)
        return utf8;

    QByteArray out;
    out.reserve(magicView.size() + 2 + 4 + utf8.size() + 4 * 8);
    out.append(magicView);
    appendBigEndian<quint16>(out, version);
    appendBigEndian<quint32>(out, quint32(utf8.size()));
    out.append(utf8);
    appendBigEndian<quint64>(out, identity->device);
    appendBigEndian<quint64>(out, identity->inode);
    appendBigEndian<qint64>(out, identity->size);
    appendBigEndian<qint64>(out, identity->modifiedMSecs);
    return out;
}

std::optional<MediaReference> MediaReference::decode(const QByteArray& bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith(magicView))
        return decodeRecord(view);
    // A bare path: what a reference without identity is stored as.
    std::optional<QString> path = storedPath(view, false);
    if (!path)
        return std::nullopt;
    return MediaReference{std::move(*path), std::nullopt};
}

} // namespace dictaro
