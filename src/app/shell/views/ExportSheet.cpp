#include "ExportSheet.h"

#include "DialogFolders.h"

#include "AppState.h"
#include "Appearance.h"
#include "AtomicFile.h"
#include "Localization.h"
#include "StoreError.h"
#include "TranscriptExporter.h"
#include "TranscriptionSession.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <optional>

namespace dictaro {

namespace {

ExportSheet::SaveDialog& saveDialogOverride()
{
    static ExportSheet::SaveDialog dialog;
    return dialog;
}

QString askForSaveLocation(QWidget* parent, const QString& suggestedName, ExportFormat format)
{
    if (const auto& override = saveDialogOverride())
        return override(parent, suggestedName, format);

    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString extension = fileExtension(format);
    const QString kind = format == ExportFormat::Markdown ? QStringLiteral("Markdown")
                                                          : Localization::tr("Plain Text");
    dialog.setNameFilter(QStringLiteral("%1 (*.%2)").arg(kind, extension));
    dialog.setDefaultSuffix(extension);
    dialog.setDirectory(DialogFolders::exportFolder());
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void saveExport(QWidget* parent, const QString& text, const QString& suggestedName,
                ExportFormat format)
{
    const QString path = askForSaveLocation(parent, suggestedName, format);
    if (path.isEmpty())
        return;
    DialogFolders::rememberExportedFile(path);
    try {
        AtomicFile::write(path, text.toUtf8());
    } catch (const StoreError& error) {
        QMessageBox box(QMessageBox::Warning, Localization::tr("Export failed"),
                        Localization::tr("Export failed"), QMessageBox::Ok, parent);
        box.setInformativeText(QString::fromUtf8(error.what()));
        box.exec();
    }
}

} // namespace

ExportSheet::ExportSheet(AppState& state, QWidget* parent) : QDialog(parent), m_appState(&state)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(Localization::tr("Export Transcript"));
    setFixedWidth(320);

    auto* title = new QLabel(Localization::tr("Export Transcript"), this);
    Appearance::setTextStyle(title, Appearance::TextStyle::Headline);
    title->setAlignment(Qt::AlignCenter);

    auto* formatLabel = new QLabel(Localization::tr("Format"), this);
    m_plainTextButton = new QRadioButton(Localization::tr("Plain Text (.txt)"), this);
    m_plainTextButton->setObjectName(QStringLiteral("plainTextButton"));
    m_markdownButton = new QRadioButton(Localization::tr("Markdown (.md)"), this);
    m_markdownButton->setObjectName(QStringLiteral("markdownButton"));
    m_plainTextButton->setChecked(true);
    formatLabel->setBuddy(m_plainTextButton);

    auto* choices = new QVBoxLayout;
    choices->setSpacing(4);
    choices->addWidget(m_plainTextButton);
    choices->addWidget(m_markdownButton);
    auto* formatRow = new QHBoxLayout;
    formatRow->addStretch();
    formatRow->addWidget(formatLabel, 0, Qt::AlignTop);
    formatRow->addSpacing(8);
    formatRow->addLayout(choices);
    formatRow->addStretch();

    m_timestampsBox = new QCheckBox(Localization::tr("Include timestamps"), this);
    m_timestampsBox->setObjectName(QStringLiteral("includeTimestampsBox"));
    m_timestampsBox->setChecked(true);

    m_cancelButton = new QPushButton(Localization::tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    m_exportButton = new QPushButton(Localization::tr("Export\u2026"), this);
    m_exportButton->setObjectName(QStringLiteral("exportButton"));
    // Return exports; Escape cancels (as in every dialog).
    m_exportButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_exportButton);
    buttons->addStretch();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(16);
    column->addWidget(title);
    column->addLayout(formatRow);
    column->addWidget(m_timestampsBox, 0, Qt::AlignHCenter);
    column->addLayout(buttons);
    setFixedHeight(sizeHint().height());

    connect(m_cancelButton, &QPushButton::clicked, this, &ExportSheet::reject);
    connect(m_exportButton, &QPushButton::clicked, this, &ExportSheet::exportTranscript);
}

ExportSheet::~ExportSheet() = default;

ExportFormat ExportSheet::format() const
{
    return m_markdownButton->isChecked() ? ExportFormat::Markdown : ExportFormat::PlainText;
}

bool ExportSheet::includesTimestamps() const
{
    return m_timestampsBox->isChecked();
}

QString ExportSheet::suggestedFileName(const QString& projectName, ExportFormat format)
{
    // A name with a path separator would point the save dialog into another folder.
    QString name = projectName;
    name.replace(u'/', u'-');
    name.replace(u'\\', u'-');
    return name + u'.' + fileExtension(format);
}

void ExportSheet::setSaveDialogForTesting(SaveDialog dialog)
{
    saveDialogOverride() = std::move(dialog);
}

void ExportSheet::done(int result)
{
    QDialog::done(result);
    if (m_appState)
        m_appState->setExportPresented(false);
}

void ExportSheet::exportTranscript()
{
    TranscriptionSession* session = m_appState ? m_appState->currentSession() : nullptr;
    if (!session)
        return;
    const ExportFormat chosenFormat = format();
    // The live text, including edits that are not autosaved yet.
    const QString text = TranscriptExporter::exportText(
        session->transcript(), session->project().name, chosenFormat, includesTimestamps());
    const QString suggestedName = suggestedFileName(session->project().name, chosenFormat);
    QWidget* window = parentWidget() ? parentWidget()->window() : nullptr;

    // The sheet is closed before the save dialog comes up. Nothing below touches the sheet,
    // which its presenter may release once it has closed.
    accept();
    saveExport(window, text, suggestedName, chosenFormat);
}

} // namespace dictaro
