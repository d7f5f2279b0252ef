#include "WordDocument.h"

#include "StoreError.h"

#include <QBuffer>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>

#include <zip.h>

#include <memory>
#include <utility>

namespace dictaro::WordDocument {

namespace {

// Characters that XML 1.0 does not allow (most control characters, unpaired surrogates and the
// two non-characters U+FFFE and U+FFFF) are left out.
QString xmlSafe(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result.append(c).append(text.at(++i));
            continue;
        }
        if ((u < 0x20 && u != u'\t') || c.isSurrogate() || u == 0xFFFE || u == 0xFFFF)
            continue;
        result.append(c);
    }
    return result;
}

QString escaped(const QString& text)
{
    return xmlSafe(text).toHtmlEscaped();
}

// A paragraph's runs of text, tabs as tab elements.
QString runs(const QString& paragraph)
{
    QString xml;
    const QStringList pieces = xmlSafe(paragraph).split(u'\t');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            xml += QStringLiteral("<w:r><w:tab/></w:r>");
        if (!pieces.at(i).isEmpty())
            xml += QStringLiteral("<w:r><w:t xml:space=\"preserve\">") +
                   pieces.at(i).toHtmlEscaped() + QStringLiteral("</w:t></w:r>");
    }
    return xml;
}

constexpr char xmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

QByteArray contentTypes()
{
    return QByteArray(xmlDeclaration) +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
           "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
           "<Override PartName=\"/docProps/core.xml\" "
           "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
           "</Types>";
}

QByteArray packageRelationships()
{
    return QByteArray(xmlDeclaration) +
           "<Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
           "2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
           "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/"
           "relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>"
           "</Relationships>";
}

QByteArray documentRelationships()
{
    return QByteArray(xmlDeclaration) +
           "<Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
           "2006/relationships/styles\" Target=\"styles.xml\"/>"
           "</Relationships>";
}

QByteArray styles()
{
    return QByteArray(xmlDeclaration) +
           "<w:styles "
           "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
           "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
           "<w:name w:val=\"Normal\"/></w:style>"
           "<w:style w:type=\"paragraph\" w:styleId=\"Title\"><w:name w:val=\"Title\"/>"
           "<w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/>"
           "<w:pPr><w:spacing w:after=\"240\"/></w:pPr>"
           "<w:rPr><w:b/><w:sz w:val=\"40\"/></w:rPr></w:style>"
           "</w:styles>";
}

QByteArray coreProperties(const QString& title)
{
    return QByteArray(xmlDeclaration) +
           "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/"
           "metadata/core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
           "<dc:title>" +
           escaped(title).toUtf8() + "</dc:title></cp:coreProperties>";
}

QByteArray document(const QString& title, const QStringList& paragraphs)
{
    QString body;
    if (!title.isEmpty())
        body += QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"Title\"/></w:pPr>") + runs(title) +
                QStringLiteral("</w:p>");
    for (const QString& paragraph : paragraphs)
        body += QStringLiteral("<w:p>") + runs(paragraph) + QStringLiteral("</w:p>");
    return QByteArray(xmlDeclaration) +
           "<w:document "
           "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
           body.toUtf8() + "<w:sectPr/></w:body></w:document>";
}

[[noreturn]] void fail(zip_error_t* error)
{
    const QString message = QStringLiteral("The document could not be packed: %1")
                                .arg(QString::fromUtf8(zip_error_strerror(error)));
    zip_error_fini(error);
    throw StoreError(message);
}

// A zip archive of `entries`, in order, made in memory.
QByteArray zipArchive(const QList<std::pair<const char*, QByteArray>>& entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        fail(&error);
    // The buffer outlives the archive written into it.
    const std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(buffer, &zip_source_free);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer); // the reference the archive would have taken
        fail(&error);
    }
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
        if (!source || zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source)
                zip_source_free(source);
            zip_error_set(&error, zip_error_code_zip(zip_get_error(archive)), 0);
            zip_discard(archive);
            fail(&error);
        }
    }
    if (zip_close(archive) < 0) {
        zip_error_set(&error, zip_error_code_zip(zip_get_error(archive)), 0);
        zip_discard(archive);
        fail(&error);
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer, &stat) < 0 || zip_source_open(buffer) < 0)
        fail(zip_source_error(buffer));
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(buffer, bytes.data(), stat.size);
    zip_source_close(buffer);
    if (read != zip_int64_t(stat.size))
        fail(zip_source_error(buffer));
    zip_error_fini(&error);
    return bytes;
}

} // namespace

QByteArray docx(const QString& title, const QStringList& paragraphs)
{
    return zipArchive({{"[Content_Types].xml", contentTypes()},
                       {"_rels/.rels", packageRelationships()},
                       {"word/document.xml", document(title, paragraphs)},
                       {"word/_rels/document.xml.rels", documentRelationships()},
                       {"word/styles.xml", styles()},
                       {"docProps/core.xml", coreProperties(title)}});
}

QByteArray odt(const QString& title, const QStringList& paragraphs)
{
    QTextDocument document;
    document.setMetaInformation(QTextDocument::DocumentTitle, xmlSafe(title));
    QTextCursor cursor(&document);
    bool first = true;
    if (!title.isEmpty()) {
        QTextBlockFormat heading;
        heading.setHeadingLevel(1);
        QTextCharFormat large;
        large.setFontPointSize(20);
        large.setFontWeight(QFont::Bold);
        cursor.setBlockFormat(heading);
        cursor.insertText(xmlSafe(title), large);
        first = false;
    }
    for (const QString& paragraph : paragraphs) {
        if (!first)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(xmlSafe(paragraph));
        first = false;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, QByteArrayLiteral("odf"));
    if (!writer.write(&document))
        throw StoreError(QStringLiteral("The document could not be written"));
    return buffer.data();
}

} // namespace dictaro::WordDocument
