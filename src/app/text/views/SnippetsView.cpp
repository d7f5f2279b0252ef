#include "SnippetsView.h"

#include "AppSettings.h"
#include "Appearance.h"
#include "Localization.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dictaro {

SnippetsView::SnippetsView(QWidget* parent) : QWidget(parent)
{
    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("snippetsTable"));
    m_table->setHorizontalHeaderLabels(
        {Localization::tr("Abbreviation"), Localization::tr("Text")});
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAccessibleName(Localization::tr("Snippets"));
    m_table->setMinimumSize(420, 240);

    auto* add = new QPushButton(Localization::tr("Add"), this);
    add->setObjectName(QStringLiteral("addSnippetButton"));
    auto* remove = new QPushButton(Localization::tr("Remove"), this);
    remove->setObjectName(QStringLiteral("removeSnippetButton"));
    auto* restore = new QPushButton(Localization::tr("Restore Defaults"), this);
    restore->setObjectName(QStringLiteral("restoreSnippetsButton"));

    auto* hint = new QLabel(
        Localization::tr("An abbreviation becomes its text when you type a space, a line break or "
                         "a punctuation mark (. , ; : ! ?) after it. Undo gives the abbreviation "
                         "back. Abbreviations hold no spaces or punctuation marks."),
        this);
    hint->setObjectName(QStringLiteral("snippetsHint"));
    hint->setWordWrap(true);
    Appearance::setTextStyle(hint, Appearance::TextStyle::Caption);
    Appearance::makeSecondary(hint);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    buttons->addWidget(restore);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    layout->addWidget(hint);

    showSnippets();
    connect(m_table, &QTableWidget::itemChanged, this, [this] {
        if (!m_showing)
            store();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        addRow({}, {});
        m_table->setCurrentCell(m_table->rowCount() - 1, 0);
        m_table->editItem(m_table->item(m_table->rowCount() - 1, 0));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        QList<int> rows;
        for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
            rows.append(index.row());
        if (rows.isEmpty() && m_table->currentRow() >= 0)
            rows.append(m_table->currentRow());
        std::sort(rows.begin(), rows.end(), std::greater<>());
        for (const int row : std::as_const(rows))
            m_table->removeRow(row);
        store();
    });
    connect(restore, &QPushButton::clicked, this, [this] {
        AppSettings::shared().restoreDefaultSnippets();
        showSnippets();
    });
}

void SnippetsView::addRow(const QString& abbreviation, const QString& text)
{
    const QScopedValueRollback showing(m_showing, true);
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setItem(row, 0, new QTableWidgetItem(abbreviation));
    m_table->setItem(row, 1, new QTableWidgetItem(text));
}

void SnippetsView::showSnippets()
{
    m_table->setRowCount(0);
    for (const Snippet& snippet : AppSettings::shared().snippets())
        addRow(snippet.abbreviation, snippet.text);
}

void SnippetsView::store()
{
    QList<Snippet> snippets;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QTableWidgetItem* abbreviation = m_table->item(row, 0);
        const QTableWidgetItem* text = m_table->item(row, 1);
        snippets.append({abbreviation ? abbreviation->text().trimmed() : QString(),
                         text ? text->text() : QString()});
    }
    AppSettings::shared().setSnippets(snippets);
}

} // namespace dictaro
