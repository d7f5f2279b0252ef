#include "Banner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace dictaro {

const QColor Banner::orange(255, 149, 0);
const QColor Banner::red(255, 59, 48);

Banner::Banner(const QString& objectName, const QColor& color, QWidget* parent)
    : QWidget(parent), m_color(color)
{
    setObjectName(objectName);
    m_message = new QLabel(this);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_row = new QHBoxLayout(this);
    // The message lines up with the text of the editor below.
    m_row->setContentsMargins(16, 8, 12, 8);
    m_row->addWidget(m_message, 1);
    hide();
}

QPushButton* Banner::addButton(const QString& text, const QString& objectName)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setCursor(Qt::PointingHandCursor);
    m_row->addWidget(button);
    return button;
}

void Banner::showMessage(const std::optional<QString>& message)
{
    if (message) {
        m_message->setText(*message);
        setAccessibleName(*message);
    }
    setVisible(message.has_value());
}

QString Banner::message() const
{
    return m_message->text();
}

void Banner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QColor fill = m_color;
    fill.setAlphaF(0.15f);
    painter.fillRect(rect(), fill);
}

} // namespace dictaro
