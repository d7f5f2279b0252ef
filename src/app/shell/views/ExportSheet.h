#pragma once

#include "ExportFormat.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QPushButton;

namespace dictaro {

class AppState;

// The small window-modal sheet in which the user exports the open transcript: plain text,
// Markdown, captions or a word-processor document, with or without timestamps (captions take
// their times from them). It starts with the user's last choice, the focus on it. "Export…" closes
// the sheet, then asks for a file (a missing folder is created when the user agrees, else the
// user chooses again) and writes the text there atomically as UTF-8; a failed write is reported
// in a message box. Closing the sheet by any means sets the application state's isExportPresented
// to false.
class ExportSheet : public QDialog
{
    Q_OBJECT

public:
    // Exports the current session of `state`, over `parent`; show it with open().
    ExportSheet(AppState& state, QWidget* parent);
    ~ExportSheet() override;

    ExportFormat format() const;
    // A format's name in the interface language ("Word Document").
    static QString formatName(ExportFormat format);
    bool includesTimestamps() const;

    // The file name offered in the save dialog: the project name with the format's extension.
    static QString suggestedFileName(const QString& projectName, ExportFormat format);

    // Asks where to save: returns the chosen path, or an empty string when the user cancels.
    using SaveDialog =
        std::function<QString(QWidget* parent, const QString& suggestedName, ExportFormat format)>;
    // FOR TESTS ONLY: replaces the save dialog (an empty function restores it).
    static void setSaveDialogForTesting(SaveDialog dialog);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void exportTranscript();

    QPointer<AppState> m_appState;
    QButtonGroup* m_formats = nullptr;
    QCheckBox* m_timestampsBox = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_exportButton = nullptr;
};

} // namespace dictaro
