// A stand-in for the desktop portal's settings service on a private session bus, for the tests of
// DesktopColorScheme. It answers Read for the colour scheme with the value given on its command
// line, and SetColorScheme(u) (on its own test interface) changes it and announces the change.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <cstdio>

class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    explicit FakePortal(uint scheme) : m_scheme(scheme) {}

public slots:
    // The portal's older method wraps the value in a second variant.
    QDBusVariant Read(const QString& group, const QString& key)
    {
        if (group == QLatin1String("org.freedesktop.appearance") &&
            key == QLatin1String("color-scheme"))
            return QDBusVariant(QVariant::fromValue(QDBusVariant(m_scheme)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    }
    void SetColorScheme(uint scheme)
    {
        m_scheme = scheme;
        emit SettingChanged(QStringLiteral("org.freedesktop.appearance"),
                            QStringLiteral("color-scheme"), QDBusVariant(scheme));
    }

signals:
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    uint m_scheme;
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    FakePortal portal(argc > 1 ? QByteArray(argv[1]).toUInt() : 0);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fputs("fake portal: cannot register on the session bus\n", stderr);
        return 1;
    }
    return QCoreApplication::exec();
}

#include "FakePortal.moc"
