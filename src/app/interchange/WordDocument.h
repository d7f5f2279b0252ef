#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Word-processor documents of a title and plain paragraphs.
namespace dictaro::WordDocument {

// An Office Open XML word-processing document (.docx): the title as the document's title (in its
// properties and as a first paragraph in the Title style), then one paragraph per entry. Throws
// StoreError when the archive can't be made.
QByteArray docx(const QString& title, const QStringList& paragraphs);

// The same as an OpenDocument Text file (.odt).
QByteArray odt(const QString& title, const QStringList& paragraphs);

} // namespace dictaro::WordDocument
