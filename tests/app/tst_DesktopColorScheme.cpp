// The desktop's dark preference, read from a fake desktop portal on a private session bus
// (dbus-run-session), and the legibility of the timestamps in both looks.
#include "ColorContrast.h"
#include "DesktopColorScheme.h"
#include "TranscriptEditor.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <memory>

using dictaro::DesktopColorScheme;
using Preference = DesktopColorScheme::Preference;

class tst_DesktopColorScheme : public QObject
{
    Q_OBJECT

    QProcess m_portal;

    void startPortal(const char* scheme)
    {
        m_portal.start(QStringLiteral(FAKE_PORTAL), {QString::fromLatin1(scheme)});
        QVERIFY(m_portal.waitForStarted());
        QVERIFY(QTest::qWaitFor([] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                QStringLiteral("org.freedesktop.portal.Desktop"));
        }));
    }
    void stopPortal()
    {
        m_portal.kill();
        m_portal.waitForFinished();
        QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("org.freedesktop.portal.Desktop")));
    }
    static bool appIsDark() { return DesktopColorScheme::isDark(QApplication::palette()); }

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
        QVERIFY(!appIsDark());
    }
    void cleanup() { stopPortal(); }

    // Dark from the start, then light again when the desktop changes its mind, and the
    // platform's own style back.
    void followsThePortal()
    {
        startPortal("1");
        {
            DesktopColorScheme scheme;
            QTRY_COMPARE(scheme.preference(), Preference::Dark);
            QVERIFY(appIsDark());
            QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));

            QDBusMessage change = QDBusMessage::createMethodCall(
                "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                "org.freedesktop.portal.Settings", "SetColorScheme");
            change << 2u;
            QDBusConnection::sessionBus().asyncCall(change);
            QTRY_COMPARE(scheme.preference(), Preference::Light);
            QVERIFY(!appIsDark());
            QCOMPARE(QApplication::style()->name(), QStringLiteral("windows"));
        }
        QVERIFY(!appIsDark());
    }

    // Without a portal (or with one that prefers nothing) the application looks as before, and
    // says nothing about it.
    void withoutPortal_staysAsItIs()
    {
        QTest::failOnWarning(QRegularExpression(".*"));
        const QPalette before = QApplication::palette();
        DesktopColorScheme scheme;
        QTest::qWait(300); // the answer, or the lack of one, has come
        QCOMPARE(scheme.preference(), Preference::NoPreference);
        QCOMPARE(QApplication::palette(), before);
        startPortal("0");
        DesktopColorScheme noPreference;
        QTest::qWait(300);
        QCOMPARE(QApplication::palette(), before);
    }

    // Timestamps are drawn in the accent colour; it must stay legible (4.5:1) on the text
    // background of both the light and the dark look.
    void timestampsStayLegible_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("dark") << DesktopColorScheme::darkPalette();
        QTest::newRow("light (Fusion)")
            << std::unique_ptr<QStyle>(QStyleFactory::create("Fusion"))->standardPalette();
        QPalette sameAsBase;
        sameAsBase.setColor(QPalette::Base, QColor(0x2a, 0x82, 0xda));
        sameAsBase.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        QTest::newRow("accent as background") << sameAsBase;
    }
    void timestampsStayLegible()
    {
        QFETCH(QPalette, palette);
        const QColor timestamp = dictaro::TranscriptEditor::timestampColor(palette);
        QVERIFY(dictaro::ColorContrast::ratio(timestamp, palette.color(QPalette::Base)) >=
                dictaro::ColorContrast::minimumTextRatio);
        // A legible accent is kept as it is.
        if (dictaro::ColorContrast::ratio(palette.color(QPalette::Highlight),
                                          palette.color(QPalette::Base)) >= 4.5)
            QCOMPARE(timestamp, palette.color(QPalette::Highlight));
    }
};

QTEST_MAIN(tst_DesktopColorScheme)
#include "tst_DesktopColorScheme.moc"
