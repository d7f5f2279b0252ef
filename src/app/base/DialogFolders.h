#pragma once

#include <QString>

namespace dictaro {

// Where the file dialogs start: the open dialog in the folder last opened from, the export dialog
// in the folder last exported to, Locate File in the missing file's last known folder. Folders
// that no longer exist give way to their nearest existing parent, then to the home folder.
namespace DialogFolders {

// The folder of `path`, or its nearest parent that exists; the home folder when none does (or
// `path` is empty or relative).
QString nearestExistingFolder(const QString& path);

// The open dialog's start folder, and the note of the file the user chose in it.
QString openFolder();
void rememberOpenedFile(const QString& filePath);

// The export dialog's start folder (the documents folder the first time), and the note of the
// file written from it.
QString exportFolder();
void rememberExportedFile(const QString& filePath);

// Locate File's start folder for a file last seen at `lastKnownPath`.
QString locateFolder(const QString& lastKnownPath);

} // namespace DialogFolders
} // namespace dictaro
