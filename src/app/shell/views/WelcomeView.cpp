#include "WelcomeView.h"

#include "AppState.h"
#include "Appearance.h"
#include "Banner.h"
#include "DialogFolders.h"
#include "Icons.h"
#include "Localization.h"
#include "ProgressText.h"
#include "RecordingLengths.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace dictaro {

namespace {

constexpr int columnSpacing = 16;
constexpr int outerMargin = 24;
constexpr int listMaxWidth = 420;
constexpr int dividerInset = 40;

// One recent project: an audio-file symbol, then the project's name over its audio file's
// name and its progress (smaller, dimmed). Rows are buttons in all but looks: hover and keyboard
// focus highlight them, selection plays no part.
class RecentProjectDelegate final : public QStyledItemDelegate
{
public:
    explicit RecentProjectDelegate(QObject* parent)
        : QStyledItemDelegate(parent), m_icon(Icons::get(QStringLiteral("audio-file")))
    {}

    static constexpr int hPadding = 10;
    static constexpr int vPadding = 6;
    static constexpr int iconSize = 22;
    static constexpr int lineGap = 2;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);

        const bool highlighted = opt.state & (QStyle::State_MouseOver | QStyle::State_HasFocus);
        if (highlighted) {
            QColor fill = opt.palette.color(QPalette::Highlight);
            fill.setAlpha(opt.state & QStyle::State_Sunken ? 70 : 38);
            painter->setPen(Qt::NoPen);
            painter->setBrush(fill);
            painter->drawRoundedRect(QRectF(opt.rect).adjusted(1.5, 1, -1.5, -1), 6, 6);
        }

        const QRect content = opt.rect.adjusted(hPadding, vPadding, -hPadding, -vPadding);
        const QRect iconRect(content.left(), content.center().y() - iconSize / 2 + 1, iconSize,
                             iconSize);
        m_icon.paint(painter, iconRect);

        const int textLeft = iconRect.right() + 1 + hPadding;
        const int textWidth = std::max(0, content.right() + 1 - textLeft);
        const QFont nameFont = opt.font;
        const QFont fileFont = Appearance::font(Appearance::TextStyle::Caption, opt.font);
        const QFontMetrics nameMetrics(nameFont);
        const QFontMetrics fileMetrics(fileFont);

        painter->setFont(nameFont);
        painter->setPen(opt.palette.color(QPalette::Text));
        painter->drawText(QRect(textLeft, content.top(), textWidth, nameMetrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          nameMetrics.elidedText(opt.text, Qt::ElideRight, textWidth));

        painter->setFont(fileFont);
        painter->setPen(opt.palette.color(QPalette::PlaceholderText));
        const QString file = index.data(WelcomeView::MediaFileNameRole).toString();
        painter->drawText(QRect(textLeft, content.top() + nameMetrics.height() + lineGap, textWidth,
                                fileMetrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          fileMetrics.elidedText(file, Qt::ElideMiddle, textWidth));
        const QString progress = index.data(WelcomeView::ProgressRole).toString();
        painter->drawText(
            QRect(textLeft,
                  content.top() + nameMetrics.height() + fileMetrics.height() + 2 * lineGap,
                  textWidth, fileMetrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter,
            fileMetrics.elidedText(progress, Qt::ElideRight, textWidth));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics nameMetrics(option.font);
        const QFontMetrics fileMetrics(
            Appearance::font(Appearance::TextStyle::Caption, option.font));
        const int textWidth = std::max(
            {nameMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()),
             fileMetrics.horizontalAdvance(index.data(WelcomeView::MediaFileNameRole).toString()),
             fileMetrics.horizontalAdvance(index.data(WelcomeView::ProgressRole).toString())});
        const int textHeight = nameMetrics.height() + 2 * (lineGap + fileMetrics.height());
        return {3 * hPadding + iconSize + textWidth, 2 * vPadding + std::max(textHeight, iconSize)};
    }

private:
    QIcon m_icon;
};

} // namespace

WelcomeView::WelcomeView(AppState& state, QWidget* parent) : QWidget(parent), m_state(&state)
{
    setObjectName(QStringLiteral("welcomeView"));

    // One column, centred horizontally, at most as wide as the recent list may be; without
    // recent projects its content is also centred vertically.
    auto* column = new QWidget(this);
    column->setMaximumWidth(listMaxWidth);
    column->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    auto* title = new QLabel(Localization::tr("Dictaro"), column);
    title->setObjectName(QStringLiteral("title"));
    Appearance::setTextStyle(title, Appearance::TextStyle::LargeTitle);
    title->setAlignment(Qt::AlignCenter);

    auto* subtitle = new QLabel(Localization::tr("Transcribe audio by hand, fast."), column);
    subtitle->setObjectName(QStringLiteral("subtitle"));
    Appearance::makeSecondary(subtitle);
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setWordWrap(true);

    m_openButton = new QPushButton(Icons::get(QStringLiteral("waveform")),
                                   Localization::tr("Open Audio File…"), column);
    m_openButton->setObjectName(QStringLiteral("openButton"));
    m_openButton->setIconSize(QSize(18, 18));
    m_openButton->setMinimumSize(m_openButton->sizeHint() + QSize(16, 8));
    m_openButton->setAutoDefault(false);
    m_openButton->setToolTip(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText));
    connect(m_openButton, &QPushButton::clicked, this, &WelcomeView::chooseAudioFile);
    // Active while the view is visible in its window, whatever has the focus.
    auto* openShortcut = new QShortcut(QKeySequence::Open, this);
    connect(openShortcut, &QShortcut::activated, m_openButton, &QPushButton::click);

    m_divider = new QWidget(column);
    auto* dividerLayout = new QHBoxLayout(m_divider);
    dividerLayout->setContentsMargins(dividerInset, 0, dividerInset, 0);
    auto* rule = new QFrame(m_divider);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    dividerLayout->addWidget(rule);

    m_heading = new QLabel(Localization::tr("Recent Projects"), column);
    m_heading->setObjectName(QStringLiteral("recentHeading"));
    Appearance::setTextStyle(m_heading, Appearance::TextStyle::Headline);
    m_heading->setAlignment(Qt::AlignCenter);

    m_recentList = new QListWidget(column);
    m_recentList->setObjectName(QStringLiteral("recentList"));
    m_recentList->setAccessibleName(Localization::tr("Recent Projects"));
    m_recentList->setItemDelegate(new RecentProjectDelegate(m_recentList));
    m_recentList->setSelectionMode(QAbstractItemView::NoSelection);
    m_recentList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_recentList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_recentList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_recentList->setFrameShape(QFrame::NoFrame);
    m_recentList->setMouseTracking(true);
    m_recentList->viewport()->setAttribute(Qt::WA_Hover);
    m_recentList->viewport()->setAutoFillBackground(false);
    m_recentList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_recentList->installEventFilter(this);
    // A click opens on release over the pressed row, with the left button only.
    connect(m_recentList, &QListWidget::clicked, this, &WelcomeView::openRecentProject);
    connect(m_recentList, &QListWidget::customContextMenuRequested, this,
            &WelcomeView::showRecentProjectMenu);

    m_column = new QVBoxLayout(column);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(columnSpacing);
    m_topSpace = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    m_bottomSpace = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    m_column->addItem(m_topSpace);
    m_column->addWidget(title);
    m_column->addWidget(subtitle);
    m_column->addWidget(m_openButton, 0, Qt::AlignHCenter);
    m_column->addWidget(m_divider);
    m_column->addWidget(m_heading);
    m_column->addWidget(m_recentList, 1);
    m_column->addItem(m_bottomSpace);

    // Across the top: why a file could not be opened, and text recovered from the last run.
    m_openErrorBanner = new Banner(QStringLiteral("openErrorBanner"), Banner::red, this);
    connect(m_openErrorBanner->addButton(Localization::tr("OK"), QStringLiteral("dismissButton")),
            &QPushButton::clicked, &state, &AppState::dismissOpenError);
    m_recoveryBanner = new Banner(QStringLiteral("recoveryBanner"), Banner::orange, this);
    connect(m_recoveryBanner->addButton(Localization::tr("Open"), QStringLiteral("openRecovery")),
            &QPushButton::clicked, this, [this] {
                if (!m_state->recoveries().isEmpty())
                    m_state->openRecovery(m_state->recoveries().constFirst().id);
            });
    connect(
        m_recoveryBanner->addButton(Localization::tr("Discard"), QStringLiteral("discardRecovery")),
        &QPushButton::clicked, this, [this] {
            if (!m_state->recoveries().isEmpty())
                m_state->discardRecovery(m_state->recoveries().constFirst().id);
        });

    auto* centre = new QHBoxLayout;
    centre->setContentsMargins(outerMargin, outerMargin, outerMargin, outerMargin);
    // The column takes all the width up to its maximum; the side spaces share the rest.
    centre->addStretch(1);
    centre->addWidget(column, 1000);
    centre->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(m_openErrorBanner);
    outer->addWidget(m_recoveryBanner);
    outer->addLayout(centre, 1);

    setAcceptDrops(true);
    m_lengths = new RecordingLengths(this);
    connect(m_lengths, &RecordingLengths::lengthKnown, this,
            [this](const QString& path) { updateProgress(path); });
    connect(m_state, &AppState::recentProjectsChanged, this, &WelcomeView::updateRecentProjects);
    connect(m_state, &AppState::openErrorChanged, m_openErrorBanner, &Banner::showMessage);
    connect(m_state, &AppState::recoveriesChanged, this, &WelcomeView::updateRecoveryBanner);
    m_openErrorBanner->showMessage(m_state->openError());
    updateRecoveryBanner();
    updateRecentProjects();
}

void WelcomeView::updateRecoveryBanner()
{
    if (m_state->recoveries().isEmpty()) {
        m_recoveryBanner->showMessage(std::nullopt);
        return;
    }
    const Project& first = m_state->recoveries().constFirst();
    const QString when = QLocale().toString(first.updatedAt.toLocalTime(), QLocale::ShortFormat);
    m_recoveryBanner->showMessage(
        Localization::tr("Recovered text from %1, %2").arg(first.name, when));
}

QString WelcomeView::audioNameFilter()
{
    // Only what opens: a type the system knows as audio but the player is not offered for
    // would be refused after it was chosen.
    QStringList patterns;
    for (const QString& extension : AppState::supportedExtensions)
        patterns.append(QStringLiteral("*.") + extension);
    return Localization::tr("Audio and Video Files") + QStringLiteral(" (") + patterns.join(u' ') +
           QStringLiteral(")");
}

QString WelcomeView::droppedAudioFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty() || !AppState::isSupportedAudioFile(path) || QFileInfo(path).isDir())
        return {};
    return path;
}

void WelcomeView::chooseAudioFile()
{
    if (!m_state)
        return;
    const QString path = QFileDialog::getOpenFileName(this, QString(), DialogFolders::openFolder(),
                                                      audioNameFilter(), nullptr,
                                                      QFileDialog::HideNameFilterDetails);
    // The dialog runs its own event loop: the state may be gone when it returns.
    if (path.isEmpty() || !m_state)
        return;
    DialogFolders::rememberOpenedFile(path);
    // The filter can be bypassed by typing a name; the state refuses what it cannot open.
    m_state->openAudioFile(path);
}

bool WelcomeView::acceptDrag(QDropEvent* event) const
{
    // Audio files are only ever read: never accept a move, which would let the source delete
    // the user's file once the drop is done.
    Qt::DropAction action = Qt::IgnoreAction;
    if (event->possibleActions() & Qt::CopyAction)
        action = Qt::CopyAction;
    else if (event->possibleActions() & Qt::LinkAction)
        action = Qt::LinkAction;
    if (!m_state || action == Qt::IgnoreAction || droppedAudioFile(event->mimeData()).isEmpty()) {
        event->ignore();
        return false;
    }
    event->setDropAction(action);
    event->accept();
    return true;
}

void WelcomeView::dragEnterEvent(QDragEnterEvent* event)
{
    acceptDrag(event);
}

void WelcomeView::dragMoveEvent(QDragMoveEvent* event)
{
    acceptDrag(event);
}

void WelcomeView::dropEvent(QDropEvent* event)
{
    if (acceptDrag(event))
        m_state->openAudioFile(droppedAudioFile(event->mimeData()));
}

bool WelcomeView::eventFilter(QObject* watched, QEvent* event)
{
    // Return or Enter on the row with the keyboard focus opens it, like a click.
    if (watched == m_recentList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            m_recentList->currentIndex().isValid()) {
            openRecentProject(m_recentList->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WelcomeView::updateRecentProjects()
{
    const QList<ProjectSummary>& projects = m_state->recentProjects();
    m_recentList->clear();
    for (const ProjectSummary& project : projects) {
        auto* item = new QListWidgetItem(project.name, m_recentList);
        item->setData(ProjectIdRole, project.id);
        item->setData(MediaFileNameRole, project.mediaFileName);
        // Names come from the user's files: shown as typed, never as markup.
        item->setToolTip(project.mediaFileName.toHtmlEscaped());
        // Read aloud as the name, then the audio file the delegate paints below it.
        item->setData(Qt::AccessibleTextRole, project.name);
        item->setData(Qt::AccessibleDescriptionRole,
                      Localization::tr("Audio file: %1").arg(project.mediaFileName));
    }
    updateProgress();
    const bool any = !projects.isEmpty();
    m_divider->setVisible(any);
    m_heading->setVisible(any);
    m_recentList->setVisible(any);
    // With the list shown it takes all the height; without it the column sits in the middle.
    const auto vertical = any ? QSizePolicy::Fixed : QSizePolicy::Expanding;
    m_topSpace->changeSize(0, 0, QSizePolicy::Minimum, vertical);
    m_bottomSpace->changeSize(0, 0, QSizePolicy::Minimum, vertical);
    m_column->invalidate();
}

void WelcomeView::updateProgress(const QString& mediaPath)
{
    const QList<ProjectSummary>& projects = m_state->recentProjects();
    for (int row = 0; row < m_recentList->count() && row < projects.size(); ++row) {
        const ProjectSummary& project = projects.at(row);
        if (!mediaPath.isEmpty() && project.mediaPath != mediaPath)
            continue;
        QString progress = ProgressText::edited(project.updatedAt);
        if (const std::optional<double> length = m_lengths->length(project.mediaPath)) {
            progress += QStringLiteral(" · ") + ProgressText::share(project.lastPosition, *length);
        }
        m_recentList->item(row)->setData(ProgressRole, progress);
    }
}

void WelcomeView::openRecentProject(const QModelIndex& index)
{
    if (index.isValid())
        m_state->openProject(index.data(ProjectIdRole).toUuid());
}

void WelcomeView::showRecentProjectMenu(const QPoint& position)
{
    const QModelIndex index = m_recentList->indexAt(position);
    if (!m_state || !index.isValid())
        return;
    const QUuid id = index.data(ProjectIdRole).toUuid();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* remove =
        menu->addAction(Icons::get(QStringLiteral("trash")), Localization::tr("Delete Project"));
    remove->setObjectName(QStringLiteral("deleteProjectAction"));
    // No confirmation: only the project record goes; the audio file is not touched.
    connect(remove, &QAction::triggered, this, [this, id] {
        if (m_state)
            m_state->deleteProject(id);
    });
    menu->popup(m_recentList->viewport()->mapToGlobal(position));
}

} // namespace dictaro
