#pragma once

#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>
#include <QPalette>
#include <QString>

namespace dictaro {

// Follows the desktop's light or dark preference, read from the desktop portal's settings
// (org.freedesktop.appearance color-scheme) on the session bus: while dark is preferred and the
// platform's own palette is light, the application uses the Fusion style with a dark palette;
// otherwise it looks as the platform makes it. Without a portal nothing changes.
class DesktopColorScheme : public QObject
{
    Q_OBJECT

public:
    // The portal's values.
    enum class Preference { NoPreference = 0, Dark = 1, Light = 2 };

    // Asks the portal for the preference and applies it when the answer comes (no answer within
    // a second counts as none), and follows its changes while alive. Needs the QApplication.
    explicit DesktopColorScheme(QDBusConnection bus = QDBusConnection::sessionBus(),
                                QObject* parent = nullptr);
    ~DesktopColorScheme() override;

    Preference preference() const { return m_preference; }

    // The dark palette used when the platform has none.
    static QPalette darkPalette();
    // Whether a palette draws light text on dark windows.
    static bool isDark(const QPalette& palette);

signals:
    void preferenceChanged(dictaro::DesktopColorScheme::Preference preference);

public slots:
    // The portal's SettingChanged signal (the bus calls only public slots).
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void setPreference(Preference preference);
    void apply();

    QDBusConnection m_bus;
    Preference m_preference = Preference::NoPreference;
    // The platform's look, restored when dark is no longer preferred.
    QString m_platformStyle;
    QPalette m_platformPalette;
    bool m_darkApplied = false;
};

} // namespace dictaro
