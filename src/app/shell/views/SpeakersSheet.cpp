#include "SpeakersSheet.h"

#include "Appearance.h"
#include "Localization.h"
#include "SpeakerLabels.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace dictaro {

namespace {
// Where each row keeps the name it had when the sheet opened (none for added rows).
constexpr int originalNameRole = Qt::UserRole;

QListWidgetItem* makeItem(const QString& name, const QString& original)
{
    auto* item = new QListWidgetItem(name);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(originalNameRole, original);
    return item;
}
} // namespace

SpeakersSheet::SpeakersSheet(const QStringList& speakers, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("speakersSheet"));
    setWindowTitle(Localization::tr("Speakers"));
    setWindowModality(Qt::WindowModal);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("speakerList"));
    m_list->setAccessibleName(Localization::tr("Speakers"));
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    for (const QString& name : speakers)
        m_list->addItem(makeItem(name, name));
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);

    auto* add = new QPushButton(Localization::tr("Add"), this);
    add->setObjectName(QStringLiteral("addSpeakerButton"));
    auto* rename = new QPushButton(Localization::tr("Rename"), this);
    rename->setObjectName(QStringLiteral("renameSpeakerButton"));
    auto* remove = new QPushButton(Localization::tr("Remove"), this);
    remove->setObjectName(QStringLiteral("removeSpeakerButton"));
    auto* up = new QPushButton(Localization::tr("Move Up"), this);
    auto* down = new QPushButton(Localization::tr("Move Down"), this);
    auto* hint = new QLabel(
        Localization::tr("The first nine speakers start lines with the commands Speaker 1 to "
                         "Speaker 9. Renaming a speaker renames its labels in the transcript."),
        this);
    hint->setWordWrap(true);
    Appearance::setTextStyle(hint, Appearance::TextStyle::Caption);
    Appearance::makeSecondary(hint);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* side = new QVBoxLayout;
    for (QPushButton* button : {add, rename, remove, up, down}) {
        button->setAutoDefault(false);
        side->addWidget(button);
    }
    side->addStretch(1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_list, 0, 0);
    grid->addLayout(side, 0, 1);
    grid->addWidget(hint, 1, 0, 1, 2);
    grid->addWidget(buttons, 2, 0, 1, 2);
    setMinimumSize(420, 320);

    connect(add, &QPushButton::clicked, this, &SpeakersSheet::addSpeaker);
    connect(rename, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem* item = m_list->currentItem())
            m_list->editItem(item);
    });
    connect(remove, &QPushButton::clicked, this, [this] { delete m_list->currentItem(); });
    connect(up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { move(+1); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SpeakersSheet::addSpeaker()
{
    QListWidgetItem* item = makeItem({}, {});
    m_list->addItem(item);
    m_list->setCurrentItem(item);
    m_list->editItem(item);
}

void SpeakersSheet::move(int by)
{
    const int row = m_list->currentRow();
    if (row < 0 || row + by < 0 || row + by >= m_list->count())
        return;
    QListWidgetItem* item = m_list->takeItem(row);
    m_list->insertItem(row + by, item);
    m_list->setCurrentItem(item);
}

QStringList SpeakersSheet::speakers() const
{
    QStringList names;
    for (int row = 0; row < m_list->count(); ++row)
        names.append(m_list->item(row)->text());
    return SpeakerLabels::cleanList(names);
}

QList<std::pair<QString, QString>> SpeakersSheet::renames() const
{
    QList<std::pair<QString, QString>> renames;
    for (int row = 0; row < m_list->count(); ++row) {
        const QString original = m_list->item(row)->data(originalNameRole).toString();
        const QString name = SpeakerLabels::cleanName(m_list->item(row)->text());
        if (!original.isEmpty() && !name.isEmpty() && name != original)
            renames.append({original, name});
    }
    return renames;
}

} // namespace dictaro
