// The settings view over the shared settings in a temporary settings folder.
#include "AppSettings.h"
#include "Localization.h"
#include "views/SettingsView.h"
#include "views/SettingsWindow.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

using namespace dictaro;

namespace {

// Stands in for a translation of the seconds format.
class SecondsTranslator final : public QTranslator
{
public:
    explicit SecondsTranslator(QString format) : m_format(std::move(format)) {}
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* = nullptr,
                      int = -1) const override
    {
        if (QByteArrayView(context) == "Dictaro" && QByteArrayView(source) == "%.0f seconds")
            return m_format;
        return {};
    }

private:
    QString m_format;
};

} // namespace

class tst_SettingsView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshSettings_showDefaults_andOpeningWritesNothing();
    void steppers_writeEachStepAndHoldTheirRanges();
    void outsideChanges_showInTheSteppersWithoutWritingBack();
    void storedLanguage_isShownWithoutWriting();
    void languageChoice_writesOnlyOnChange();
    void secondsText_usesTheTranslatedFormatSafely_data();
    void secondsText_usesTheTranslatedFormatSafely();
    void settingsWindow_isOneNonModalWindow();

private:
    QSpinBox* stepper(const SettingsView& view, const char* name) const
    {
        return view.findChild<QSpinBox*>(name);
    }
    std::unique_ptr<QSettings> storedSettings() const
    {
        return std::make_unique<QSettings>(m_settingsFile, QSettings::IniFormat);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_settingsFile;
};

void tst_SettingsView::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_dir->filePath("system"));
    m_settingsFile =
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Dictaro", "Dictaro").fileName();
    QVERIFY(m_settingsFile.startsWith(m_dir->path()));
    AppSettings::resetSharedForTesting();
}

void tst_SettingsView::cleanup()
{
    AppSettings::resetSharedForTesting();
    m_dir.reset();
}

void tst_SettingsView::freshSettings_showDefaults_andOpeningWritesNothing()
{
    SettingsView view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(stepper(view, "autoRewindStepper")->text(), QStringLiteral("3 seconds"));
    QCOMPARE(stepper(view, "skipStepper")->text(), QStringLiteral("5 seconds"));
    auto* picker = view.findChild<QComboBox*>("languagePicker");
    QCOMPARE(picker->currentText(), QStringLiteral("System"));
    QCOMPARE(picker->count(), 3);
    QCOMPARE(picker->itemText(1), QStringLiteral("English"));
    QCOMPARE(picker->itemText(2), QStringLiteral("Türkçe"));
    QCOMPARE(view.findChild<QLabel*>("languageNote")->text(),
             QStringLiteral("Language changes take effect after restarting the app."));
    QVERIFY(view.width() >= 380);
    QVERIFY(!QFile::exists(m_settingsFile));
}

void tst_SettingsView::steppers_writeEachStepAndHoldTheirRanges()
{
    SettingsView view;
    view.show();
    QSpinBox* rewind = stepper(view, "autoRewindStepper");
    QSpinBox* skip = stepper(view, "skipStepper");

    QTest::keyClick(rewind, Qt::Key_Up);
    QCOMPARE(AppSettings::shared().autoRewindSeconds(), 4.0);
    QCOMPARE(storedSettings()->value("autoRewindSeconds").toDouble(), 4.0);
    QVERIFY(!storedSettings()->contains("skipSeconds"));

    for (int i = 0; i < 20; ++i)
        QTest::keyClick(rewind, Qt::Key_Down);
    QCOMPARE(rewind->text(), QStringLiteral("0 seconds"));
    QCOMPARE(AppSettings::shared().autoRewindSeconds(), 0.0);
    for (int i = 0; i < 20; ++i)
        rewind->stepUp();
    QCOMPARE(AppSettings::shared().autoRewindSeconds(), 10.0);

    for (int i = 0; i < 40; ++i)
        skip->stepDown();
    QCOMPARE(AppSettings::shared().skipSeconds(), 1.0);
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(skip, Qt::Key_Up);
    QCOMPARE(skip->text(), QStringLiteral("30 seconds"));
    QCOMPARE(AppSettings::shared().skipSeconds(), 30.0);
    QCOMPARE(storedSettings()->value("skipSeconds").toDouble(), 30.0);

    // The text is not for typing: the value only steps.
    skip->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(skip, "7");
    QCOMPARE(AppSettings::shared().skipSeconds(), 30.0);
}

void tst_SettingsView::outsideChanges_showInTheSteppersWithoutWritingBack()
{
    SettingsView view;
    AppSettings::shared().setSkipSeconds(12);
    QCOMPARE(stepper(view, "skipStepper")->text(), QStringLiteral("12 seconds"));
    AppSettings::shared().setAutoRewindSeconds(0);
    QCOMPARE(stepper(view, "autoRewindStepper")->value(), 0);

    // Values from a hand-edited file outside the ranges are shown at the nearest end, and
    // stay as they are until the user steps.
    QFile::remove(m_settingsFile);
    {
        auto settings = storedSettings();
        settings->setValue("skipSeconds", 45.0);
        settings->setValue("autoRewindSeconds", -2.0);
    }
    AppSettings::resetSharedForTesting();
    SettingsView fromFile;
    QCOMPARE(stepper(fromFile, "skipStepper")->value(), 30);
    QCOMPARE(stepper(fromFile, "autoRewindStepper")->value(), 0);
    QCOMPARE(AppSettings::shared().skipSeconds(), 45.0);
    QCOMPARE(storedSettings()->value("autoRewindSeconds").toDouble(), -2.0);
    stepper(fromFile, "skipStepper")->stepDown();
    QCOMPARE(AppSettings::shared().skipSeconds(), 29.0);
}

void tst_SettingsView::storedLanguage_isShownWithoutWriting()
{
    {
        auto settings = storedSettings();
        settings->setValue("languageOverride", "tr");
        settings->setValue("AppleLanguages", QStringList{"tr"});
    }
    QFile file(m_settingsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    {
        SettingsView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.findChild<QComboBox*>("languagePicker")->currentData().toString(),
                 QStringLiteral("tr"));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void tst_SettingsView::languageChoice_writesOnlyOnChange()
{
    SettingsView view;
    view.show();
    auto* picker = view.findChild<QComboBox*>("languagePicker");

    // Picking the entry already chosen is no change.
    picker->setCurrentIndex(0);
    QVERIFY(!QFile::exists(m_settingsFile));

    QTest::keyClick(picker, Qt::Key_Down);
    QCOMPARE(picker->currentData().toString(), QStringLiteral("en"));
    QCOMPARE(AppSettings::languageOverride(), QStringLiteral("en"));
    QCOMPARE(storedSettings()->value("AppleLanguages").toString(), QStringLiteral("en"));

    QTest::keyClick(picker, Qt::Key_Down);
    QCOMPARE(storedSettings()->value("languageOverride").toString(), QStringLiteral("tr"));
    QCOMPARE(storedSettings()->value("AppleLanguages").toString(), QStringLiteral("tr"));

    picker->setCurrentIndex(picker->findData("system"));
    QCOMPARE(AppSettings::languageOverride(), QStringLiteral("system"));
    QVERIFY(!storedSettings()->contains("AppleLanguages"));
    // Nothing is reloaded: the interface keeps its language until the next start.
    QCOMPARE(picker->itemText(0), QStringLiteral("System"));
}

void tst_SettingsView::secondsText_usesTheTranslatedFormatSafely_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("number moved") << "after %.0f s"
                                  << "after 7 s";
    QTest::newRow("number first, percent sign") << "%.0f s (100%%)"
                                                << "7 s (100%)";
    QTest::newRow("string conversion refused") << "%s seconds"
                                               << "7 seconds";
    QTest::newRow("two numbers refused") << "%.0f %.0f"
                                         << "7 seconds";
    QTest::newRow("no number refused") << "seconds"
                                       << "7 seconds";
    QTest::newRow("dangling percent refused") << "%.0f s %"
                                              << "7 seconds";
}

void tst_SettingsView::secondsText_usesTheTranslatedFormatSafely()
{
    QFETCH(QString, format);
    QFETCH(QString, expected);
    SecondsTranslator translator(format);
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QCOMPARE(SettingsView::secondsText(7), expected);
    // The stepper shows the same text and still steps from it.
    SettingsView view;
    QSpinBox* skip = stepper(view, "skipStepper");
    skip->stepUp();
    QCOMPARE(skip->text(), SettingsView::secondsText(6));
    QCOMPARE(AppSettings::shared().skipSeconds(), 6.0);
    QCoreApplication::removeTranslator(&translator);
}

void tst_SettingsView::settingsWindow_isOneNonModalWindow()
{
    QWidget owner;
    SettingsWindow* window = SettingsWindow::present(&owner);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Settings"));
    QVERIFY(window->view());
    window->close();
    QCOMPARE(SettingsWindow::present(&owner), window);
    QVERIFY(window->isVisible());
    QVERIFY(!QFile::exists(m_settingsFile));
}

QTEST_MAIN(tst_SettingsView)
#include "tst_SettingsView.moc"
