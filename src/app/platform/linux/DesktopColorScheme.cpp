#include "DesktopColorScheme.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QStyle>
#include <QStyleFactory>

#include <optional>

namespace dictaro {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
// A portal that does not answer by then is treated as absent.
constexpr int readTimeoutMs = 1000;

// The portal wraps the value in one or (through the older Read method) two variants.
std::optional<DesktopColorScheme::Preference> preferenceFrom(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint number = value.toUInt(&ok);
    if (!ok || number > 2)
        return std::nullopt;
    return DesktopColorScheme::Preference(number);
}

} // namespace

DesktopColorScheme::DesktopColorScheme(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_platformPalette(QApplication::palette())
{
    if (QStyle* style = QApplication::style())
        m_platformStyle = style->name();
    if (!m_bus.isConnected())
        return;
    // The bus finds the slot's parameter types by name, and the slot by this exact text.
    qRegisterMetaType<QDBusVariant>();
    // clang-format off
    m_bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                  this, SLOT(settingChanged(QString,QString,QDBusVariant)));
    // clang-format on
    QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       QStringLiteral("Read"));
    read << appearanceGroup << colorSchemeKey;
    auto* reply = new QDBusPendingCallWatcher(m_bus.asyncCall(read, readTimeoutMs), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this, reply] {
        reply->deleteLater();
        const QDBusMessage answer = reply->reply();
        if (answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty()) {
            if (const auto preference = preferenceFrom(answer.arguments().constFirst()))
                setPreference(*preference);
        }
    });
}

DesktopColorScheme::~DesktopColorScheme() = default;

void DesktopColorScheme::settingChanged(const QString& group, const QString& key,
                                        const QDBusVariant& value)
{
    if (group != appearanceGroup || key != colorSchemeKey)
        return;
    if (const auto preference = preferenceFrom(value.variant()))
        setPreference(*preference);
}

void DesktopColorScheme::setPreference(Preference preference)
{
    if (m_preference == preference)
        return;
    m_preference = preference;
    apply();
    emit preferenceChanged(preference);
}

void DesktopColorScheme::apply()
{
    const bool wantDark = m_preference == Preference::Dark && !isDark(m_platformPalette);
    if (wantDark == m_darkApplied)
        return;
    m_darkApplied = wantDark;
    if (wantDark) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    } else {
        if (QStyle* style = QStyleFactory::create(m_platformStyle))
            QApplication::setStyle(style);
        QApplication::setPalette(m_platformPalette);
    }
}

QPalette DesktopColorScheme::darkPalette()
{
    const QColor window(0x35, 0x35, 0x35);
    const QColor base(0x26, 0x26, 0x26);
    const QColor text(0xee, 0xee, 0xee);
    const QColor dimmed(0x80, 0x80, 0x80);
    const QColor accent(0x2a, 0x82, 0xda);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0xa8, 0xa8, 0xa8));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x6b));
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4a));
    palette.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x40));
    palette.setColor(QPalette::Mid, QColor(0x2c, 0x2c, 0x2c));
    palette.setColor(QPalette::Dark, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xf5));
    palette.setColor(QPalette::LinkVisited, QColor(0xb4, 0x9c, 0xf0));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x50));
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, dimmed);
    return palette;
}

bool DesktopColorScheme::isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() <
           palette.color(QPalette::WindowText).lightness();
}

} // namespace dictaro
