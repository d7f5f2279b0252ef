#include "DraftSettingsView.h"

#include "AppSettings.h"
#include "Appearance.h"
#include "DialogFolders.h"
#include "Localization.h"
#include "ModelCatalog.h"
#include "ModelLibrary.h"
#include "SpeechModelFile.h"
#include "SpeechModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace dictaro {

namespace {

QString sizeText(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, bytes >= 1'000'000'000 ? 1 : 0,
                                       QLocale::DataSizeSIFormat);
}

// What the model is good at, as plainly as can be said without measuring it on real speech.
QString description(const ModelEntry& entry)
{
    QStringList parts;
    switch (entry.size) {
    case ModelSize::Tiny:
        parts << Localization::tr("Fastest and least accurate: expect many mistakes to correct.");
        break;
    case ModelSize::Base:
        parts << Localization::tr("Fast, with fair accuracy: a good start for clear recordings.");
        break;
    case ModelSize::Small:
        parts << Localization::tr("Slowest and most accurate of these: fewer mistakes, but "
                                  "several times longer than base.");
        break;
    }
    parts << (entry.englishOnly
                  ? Localization::tr("English only, a little more accurate on English.")
                  : Localization::tr("Many languages, Turkish among them."));
    switch (entry.quantisation) {
    case Quantisation::None: break;
    case Quantisation::Q8:
        parts << Localization::tr("Compressed (8-bit): just over half the size, a little faster, "
                                  "almost as accurate.");
        break;
    case Quantisation::Q5:
        parts << Localization::tr("Compressed (5-bit): about two fifths of the size, a little "
                                  "faster, a little less accurate.");
        break;
    }
    return parts.join(u' ');
}

QString languageName(const QString& code)
{
    return code == u"tr" ? Localization::tr("Turkish") : Localization::tr("English");
}

void storeChoice(const std::function<void(AppSettings::DraftChoice&)>& change)
{
    AppSettings::DraftChoice choice = AppSettings::draftChoice();
    change(choice);
    AppSettings::setDraftChoice(choice);
}

} // namespace

DraftSettingsView::DraftSettingsView(ModelLibrary& library, QWidget* parent)
    : QWidget(parent), m_library(library)
{
    setObjectName(QStringLiteral("draftSettingsView"));
    const AppSettings::DraftChoice choice = AppSettings::draftChoice();

    auto* modelsLabel = new QLabel(Localization::tr("Speech model"), this);
    Appearance::setTextStyle(modelsLabel, Appearance::TextStyle::Headline);
    m_inUse = new QLabel(this);
    m_inUse->setObjectName(QStringLiteral("modelInUse"));
    m_inUse->setWordWrap(true);
    m_inUse->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    m_rows.reserve(m_library.models().size());
    for (SpeechModel* model : m_library.models()) {
        if (listLayout->count() > 0) {
            auto* line = new QFrame(list);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            listLayout->addWidget(line);
        }
        listLayout->addWidget(makeRow(model));
    }
    listLayout->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("modelList"));
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumSize(560, 300);

    auto* source = new QLabel(Localization::tr("Models are downloaded from huggingface.co only "
                                               "when you ask, and checked against their "
                                               "published checksums. Drafting runs on this "
                                               "computer: nothing is sent anywhere."),
                              this);
    source->setWordWrap(true);
    Appearance::setTextStyle(source, Appearance::TextStyle::Caption);
    Appearance::makeSecondary(source);

    auto* useFile = new QPushButton(Localization::tr("Use a Model File…"), this);
    useFile->setObjectName(QStringLiteral("useModelFile"));
    connect(useFile, &QPushButton::clicked, this, &DraftSettingsView::pickModelFile);
    m_fileMessage = new QLabel(this);
    m_fileMessage->setObjectName(QStringLiteral("modelFileMessage"));
    m_fileMessage->setWordWrap(true);
    m_fileMessage->hide();
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(useFile);
    fileRow->addStretch(1);

    auto* languageLabel = new QLabel(Localization::tr("Language"), this);
    Appearance::setTextStyle(languageLabel, Appearance::TextStyle::Headline);
    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("draftLanguage"));
    m_language->addItem(Localization::tr("The interface's language (%1)")
                            .arg(languageName(Localization::currentLanguage())),
                        QString());
    m_language->addItem(Localization::tr("English"), QStringLiteral("en"));
    m_language->addItem(Localization::tr("Turkish"), QStringLiteral("tr"));
    m_language->addItem(Localization::tr("Detect from the speech"), QStringLiteral("auto"));
    m_language->setCurrentIndex(std::max(0, m_language->findData(choice.language)));
    connect(m_language, &QComboBox::activated, this, [this] {
        const QString language = m_language->currentData().toString();
        storeChoice([&](AppSettings::DraftChoice& c) { c.language = language; });
    });
    languageLabel->setBuddy(m_language);
    auto* languageNote = new QLabel(Localization::tr("An English-only model always writes "
                                                     "English; detecting the language needs a "
                                                     "model of many languages."),
                                    this);
    languageNote->setWordWrap(true);
    Appearance::setTextStyle(languageNote, Appearance::TextStyle::Caption);
    Appearance::makeSecondary(languageNote);

    auto* showLabel = new QLabel(Localization::tr("While correcting"), this);
    Appearance::setTextStyle(showLabel, Appearance::TextStyle::Headline);
    m_markUnsure = new QCheckBox(Localization::tr("Mark unsure words"), this);
    m_markUnsure->setObjectName(QStringLiteral("markUnsureWords"));
    m_markUnsure->setChecked(choice.markUnsureWords);
    connect(m_markUnsure, &QCheckBox::toggled, this, [](bool on) {
        storeChoice([&](AppSettings::DraftChoice& c) { c.markUnsureWords = on; });
    });
    m_followAlong = new QCheckBox(Localization::tr("Follow the spoken word while playing"), this);
    m_followAlong->setObjectName(QStringLiteral("followAlong"));
    m_followAlong->setChecked(choice.followAlong);
    connect(m_followAlong, &QCheckBox::toggled, this,
            [](bool on) { storeChoice([&](AppSettings::DraftChoice& c) { c.followAlong = on; }); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(8);
    layout->addWidget(modelsLabel);
    layout->addWidget(m_inUse);
    layout->addWidget(scroll, 1);
    layout->addWidget(source);
    layout->addLayout(fileRow);
    layout->addWidget(m_fileMessage);
    layout->addSpacing(6);
    layout->addWidget(languageLabel);
    layout->addWidget(m_language);
    layout->addWidget(languageNote);
    layout->addSpacing(6);
    layout->addWidget(showLabel);
    layout->addWidget(m_markUnsure);
    layout->addWidget(m_followAlong);

    showChoice();
}

QWidget* DraftSettingsView::makeRow(SpeechModel* model)
{
    const ModelEntry& entry = model->entry();
    auto* widget = new QWidget;
    widget->setObjectName(QStringLiteral("model_%1").arg(entry.name));

    auto* title =
        new QLabel(QStringLiteral("%1 · %2").arg(entry.name, sizeText(entry.bytes)), widget);
    Appearance::setTextStyle(title, Appearance::TextStyle::Headline);
    auto* about = new QLabel(description(entry), widget);
    about->setWordWrap(true);
    Appearance::setTextStyle(about, Appearance::TextStyle::Caption);
    Appearance::makeSecondary(about);

    Row row;
    row.model = model;
    row.status = new QLabel(widget);
    row.status->setObjectName(QStringLiteral("status"));
    row.status->setWordWrap(true);
    row.bar = new QProgressBar(widget);
    row.bar->setObjectName(QStringLiteral("progress"));
    row.bar->setRange(0, 1000);
    row.bar->setTextVisible(false);
    row.bar->setMaximumHeight(8);
    const auto button = [widget](const QString& text, const char* name) {
        auto* b = new QPushButton(text, widget);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    row.download = button(Localization::tr("Download"), "download");
    row.cancel = button(Localization::tr("Cancel"), "cancel");
    row.use = button(Localization::tr("Use"), "use");
    row.remove = button(Localization::tr("Delete"), "delete");
    row.download->setAccessibleName(Localization::tr("Download %1").arg(entry.name));
    row.cancel->setAccessibleName(Localization::tr("Cancel the download of %1").arg(entry.name));
    row.use->setAccessibleName(Localization::tr("Use %1").arg(entry.name));
    row.remove->setAccessibleName(Localization::tr("Delete %1").arg(entry.name));

    connect(row.download, &QPushButton::clicked, model, &SpeechModel::download);
    connect(row.cancel, &QPushButton::clicked, model, &SpeechModel::cancel);
    connect(row.use, &QPushButton::clicked, this, [this, model] { chooseModel(model->path()); });
    connect(row.remove, &QPushButton::clicked, this, [this, model] {
        const bool inUse = AppSettings::draftChoice().modelPath == model->path();
        model->remove();
        if (inUse)
            chooseModel(QString());
    });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton* b : {row.download, row.cancel, row.use, row.remove})
        buttons->addWidget(b);

    auto* grid = new QGridLayout(widget);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(0, 1);
    grid->addWidget(title, 0, 0);
    grid->addLayout(buttons, 0, 1, Qt::AlignRight);
    grid->addWidget(about, 1, 0, 1, 2);
    grid->addWidget(row.bar, 2, 0, 1, 2);
    grid->addWidget(row.status, 3, 0, 1, 2);

    m_rows.push_back(row);
    const auto show = [this, model] {
        for (const Row& r : m_rows) {
            if (r.model == model)
                showRow(r);
        }
    };
    connect(model, &SpeechModel::stateChanged, this, show);
    connect(model, &SpeechModel::progressChanged, this, show);
    connect(model, &SpeechModel::errorTextChanged, this, show);
    connect(model, &SpeechModel::stateChanged, this, &DraftSettingsView::showChoice);
    showRow(row);
    return widget;
}

void DraftSettingsView::showRow(const Row& row)
{
    const SpeechModel& model = *row.model;
    const SpeechModel::State state = model.state();
    const qint64 total = model.entry().bytes;
    const bool inUse =
        state == SpeechModel::State::Ready && AppSettings::draftChoice().modelPath == model.path();
    const bool partial = state == SpeechModel::State::Absent && model.receivedBytes() > 0;

    row.download->setVisible(state == SpeechModel::State::Absent);
    row.download->setText(partial ? Localization::tr("Resume") : Localization::tr("Download"));
    row.cancel->setVisible(state == SpeechModel::State::Downloading ||
                           state == SpeechModel::State::Checking);
    row.use->setVisible(state == SpeechModel::State::Ready);
    row.use->setEnabled(!inUse);
    row.use->setText(inUse ? Localization::tr("In Use") : Localization::tr("Use"));
    row.remove->setVisible(state == SpeechModel::State::Ready || partial);

    row.bar->setVisible(state == SpeechModel::State::Downloading ||
                        state == SpeechModel::State::Checking || partial);
    if (state == SpeechModel::State::Checking)
        row.bar->setRange(0, 0); // busy
    else
        row.bar->setRange(0, 1000);
    row.bar->setValue(int(model.progress() * 1000));

    QString status;
    switch (state) {
    case SpeechModel::State::Absent:
        if (partial)
            status = Localization::tr("%1 of %2 downloaded.")
                         .arg(sizeText(model.receivedBytes()), sizeText(total));
        break;
    case SpeechModel::State::Downloading:
        status = Localization::tr("Downloading: %1 of %2.")
                     .arg(sizeText(model.receivedBytes()), sizeText(total));
        break;
    case SpeechModel::State::Checking: status = Localization::tr("Checking the download…"); break;
    case SpeechModel::State::Ready:
        status = inUse ? Localization::tr("Downloaded, in use.") : Localization::tr("Downloaded.");
        break;
    }
    if (!model.errorText().isEmpty())
        status = status.isEmpty() ? model.errorText() : model.errorText() + u' ' + status;
    row.status->setText(status);
    row.status->setVisible(!status.isEmpty());
}

void DraftSettingsView::showChoice()
{
    const QString path = AppSettings::draftChoice().modelPath;
    if (path.isEmpty()) {
        m_inUse->setText(Localization::tr("No model is chosen yet: download one below, or use "
                                          "a model file of your own."));
    } else if (const SpeechModel* model = m_library.modelAt(path)) {
        m_inUse->setText(model->state() == SpeechModel::State::Ready
                             ? Localization::tr("In use: %1.").arg(model->entry().name)
                             : Localization::tr("The model in use, %1, is not downloaded.")
                                   .arg(model->entry().name));
    } else {
        const QString shown = QDir::toNativeSeparators(path);
        m_inUse->setText(
            QFileInfo(path).isFile()
                ? Localization::tr("In use: your model file %1.").arg(shown)
                : Localization::tr("The model file in use is missing: %1.").arg(shown));
    }
    for (const Row& row : m_rows)
        showRow(row);
}

void DraftSettingsView::chooseModel(const QString& path)
{
    storeChoice([&](AppSettings::DraftChoice& c) { c.modelPath = path; });
    showChoice();
}

bool DraftSettingsView::useModelFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const ModelCatalog::FileCheck check = ModelCatalog::checkModelFile(path);
    QString problem;
    switch (check.verdict) {
    case ModelCatalog::FileVerdict::Model:
        // Its header and every tensor's place, as the recogniser checks before loading it: a
        // damaged file is refused now rather than when the user first drafts with it.
        SpeechModelFile::inspect(path, &problem);
        break;
    case ModelCatalog::FileVerdict::Unreadable:
        problem = Localization::tr("Dictaro can't read “%1”: %2.").arg(name, check.reason);
        break;
    case ModelCatalog::FileVerdict::WrongSize:
    case ModelCatalog::FileVerdict::NotModel:
        problem = Localization::tr("“%1” is not a speech model file. Choose a model in the "
                                   "ggml format, such as ggml-base.en.bin.")
                      .arg(name);
        break;
    }
    m_fileMessage->setText(problem);
    m_fileMessage->setVisible(!problem.isEmpty());
    if (!problem.isEmpty())
        return false;
    chooseModel(QFileInfo(path).absoluteFilePath());
    return true;
}

void DraftSettingsView::pickModelFile()
{
    const QString path = QFileDialog::getOpenFileName(
        this, Localization::tr("Use a Model File"),
        DialogFolders::nearestExistingFolder(AppSettings::draftChoice().modelPath),
        Localization::tr("Speech models (*.bin);;All files (*)"));
    if (!path.isEmpty())
        useModelFile(path);
}

} // namespace dictaro
