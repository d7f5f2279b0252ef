#include "ExportSheet.h"

#include "DialogFolders.h"

#include "AppSettings.h"
#include "AppState.h"
#include "Appearance.h"
#include "AtomicFile.h"
#include "Localization.h"
#include "PlaybackEngine.h"
#include "StoreError.h"
#include "TranscriptWriter.h"
#include "TranscriptionSession.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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
    dialog.setNameFilter(
        QStringLiteral("%1 (*.%2)").arg(ExportSheet::formatName(format), extension));
    dialog.setDefaultSuffix(extension);
    dialog.setDirectory(DialogFolders::exportFolder());
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void showExportFailure(QWidget* parent, const StoreError& error)
{
    QMessageBox box(QMessageBox::Warning, Localization::tr("Export failed"),
                    Localization::tr("Export failed"), QMessageBox::Ok, parent);
    box.setInformativeText(QString::fromUtf8(error.what()));
    box.exec();
}

// Whether the folder of `path` is there to write in: a missing one is made when the user
// agrees. False sends the user back to choose another place.
bool folderIsReady(QWidget* parent, const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    const QString shown = QDir::toNativeSeparators(folder);
    QMessageBox ask(QMessageBox::Question, Localization::tr("Export Transcript"),
                    Localization::tr("The folder \u201C%1\u201D does not exist.").arg(shown),
                    QMessageBox::NoButton, parent);
    ask.setInformativeText(Localization::tr("Dictaro can create it and save the export there."));
    QPushButton* create = ask.addButton(Localization::tr("Create Folder"), QMessageBox::AcceptRole);
    QPushButton* elsewhere =
        ask.addButton(Localization::tr("Choose Another Place"), QMessageBox::RejectRole);
    ask.setDefaultButton(create);
    ask.setEscapeButton(elsewhere);
    ask.exec();
    if (ask.clickedButton() != create)
        return false;
    if (QDir().mkpath(folder))
        return true;
    QMessageBox failed(
        QMessageBox::Warning, Localization::tr("Export Transcript"),
        Localization::tr("The folder \u201C%1\u201D could not be created.").arg(shown),
        QMessageBox::Ok, parent);
    failed.setInformativeText(Localization::tr("Choose another place for the export."));
    failed.exec();
    return false;
}

void saveExport(QWidget* parent, const QByteArray& bytes, const QString& suggestedName,
                ExportFormat format)
{
    QString path = askForSaveLocation(parent, suggestedName, format);
    // Nothing is written before the place is sure to take it.
    while (!path.isEmpty() && !folderIsReady(parent, path))
        path = askForSaveLocation(parent, QFileInfo(path).fileName(), format);
    if (path.isEmpty())
        return;
    DialogFolders::rememberExportedFile(path);
    try {
        AtomicFile::write(path, bytes);
    } catch (const StoreError& error) {
        showExportFailure(parent, error);
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
    auto* choices = new QVBoxLayout;
    choices->setSpacing(4);
    m_formats = new QButtonGroup(this);
    for (const ExportFormat each : allExportFormats()) {
        auto* button = new QRadioButton(
            QStringLiteral("%1 (.%2)").arg(formatName(each), fileExtension(each)), this);
        button->setObjectName(rawValue(each) + QStringLiteral("Button"));
        m_formats->addButton(button, int(each));
        choices->addWidget(button);
    }
    // The last choice is offered again.
    const AppSettings::ExportChoice last = AppSettings::exportChoice();
    const ExportFormat initial =
        exportFormatFromRawValue(last.format).value_or(ExportFormat::PlainText);
    m_formats->button(int(initial))->setChecked(true);
    formatLabel->setBuddy(m_formats->button(int(initial)));

    auto* formatRow = new QHBoxLayout;
    formatRow->addStretch();
    formatRow->addWidget(formatLabel, 0, Qt::AlignTop);
    formatRow->addSpacing(8);
    formatRow->addLayout(choices);
    formatRow->addStretch();

    m_timestampsBox = new QCheckBox(Localization::tr("Include timestamps"), this);
    m_timestampsBox->setObjectName(QStringLiteral("includeTimestampsBox"));
    m_timestampsBox->setChecked(last.includeTimestamps);
    // Captions take their times from the timestamps and never show them.
    const auto followFormat = [this] {
        const ExportFormat chosen = format();
        m_timestampsBox->setEnabled(chosen != ExportFormat::SubRip &&
                                    chosen != ExportFormat::WebVtt);
    };
    connect(m_formats, &QButtonGroup::idToggled, this, followFormat);
    followFormat();

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

void ExportSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The keyboard starts on the first control, the chosen format, and the focus shows at once
    // as it would after a Tab.
    m_formats->checkedButton()->setFocus(Qt::TabFocusReason);
    setAttribute(Qt::WA_KeyboardFocusChange);
}

ExportFormat ExportSheet::format() const
{
    return ExportFormat(m_formats->checkedId());
}

QString ExportSheet::formatName(ExportFormat format)
{
    switch (format) {
    case ExportFormat::PlainText: return Localization::tr("Plain Text");
    case ExportFormat::Markdown: return QStringLiteral("Markdown");
    case ExportFormat::SubRip: return Localization::tr("SubRip Captions");
    case ExportFormat::WebVtt: return Localization::tr("WebVTT Captions");
    case ExportFormat::Word: return Localization::tr("Word Document");
    case ExportFormat::OpenDocument: return Localization::tr("OpenDocument Text");
    }
    return {};
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
    AppSettings::setExportChoice({rawValue(chosenFormat), includesTimestamps()});
    // The live text, including edits that are not autosaved yet; captions end with the
    // recording.
    const ExportRequest request{session->transcript(), session->project().name, chosenFormat,
                                includesTimestamps(),
                                session->engine() ? session->engine()->duration() : 0.0};
    const QString suggestedName = suggestedFileName(session->project().name, chosenFormat);
    QWidget* window = parentWidget() ? parentWidget()->window() : nullptr;

    // The sheet is closed before the save dialog comes up. Nothing below touches the sheet,
    // which its presenter may release once it has closed.
    accept();
    QByteArray bytes;
    try {
        bytes = TranscriptWriter::fileContents(request);
    } catch (const StoreError& error) {
        showExportFailure(window, error);
        return;
    }
    saveExport(window, bytes, suggestedName, chosenFormat);
}

} // namespace dictaro
