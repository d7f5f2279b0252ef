// The settings view over the shared settings in a temporary settings folder.
#include "AppSettings.h"
#include "SettingsView.h"
#include "SnippetsView.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLocale>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>

using namespace dictaro;

// Stands in for a translation of the seconds format.
struct SecondsTranslator : QTranslator
{
    QString format;
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QByteArrayView(source) == "%.0f seconds" ? format : QString();
    }
};

class tst_SettingsView : public QObject
{
    Q_OBJECT

    std::optional<test::TemporaryHome> m_home;
    QString m_file;
    QSettings stored() const { return QSettings(m_file, QSettings::IniFormat); }

private slots:
    void init()
    {
        m_home.emplace();
        m_file = m_home->settingsFile();
    }

    void opening_writesNothing()
    {
        SettingsView(nullptr).show();
        QVERIFY(!QFile::exists(m_file));

        // Stored values are shown (out of range: at the nearest end) and not written back.
        stored().setValue("skipSeconds", 45.0);
        stored().setValue("languageOverride", "tr");
        AppSettings::resetSharedForTesting();
        {
            SettingsView view;
            view.show();
            QCOMPARE(view.findChild<QSpinBox*>("skipStepper")->value(), 30);
            QCOMPARE(view.findChild<QComboBox*>("languagePicker")->currentData(), "tr");
        }
        QCOMPARE(stored().allKeys(), QStringList({"languageOverride", "skipSeconds"}));
        QCOMPARE(stored().value("skipSeconds"), 45.0);
    }

    // The snippets table stores each edit at once; a row being filled in stays in the table
    // until it is usable; removing and restoring the defaults are stored too.
    void snippets_editedAddedRemovedAndRestored()
    {
        using dictaro::Snippet;
        SnippetsView view;
        QTableWidget* table = view.table();
        const QList<Snippet> defaults = AppSettings::defaultSnippets();
        QCOMPARE(table->rowCount(), defaults.size());
        table->item(0, 1)->setText("[not heard]");
        QCOMPARE(AppSettings::shared().snippets().first(), (Snippet{"/inaud", "[not heard]"}));
        view.findChild<QAbstractButton*>("addSnippetButton")->click();
        table->item(defaults.size(), 0)->setText("/x");
        QCOMPARE(table->rowCount(), defaults.size() + 1);
        QCOMPARE(AppSettings::shared().snippets().size(), defaults.size());
        table->item(defaults.size(), 1)->setText("[x]");
        QCOMPARE(AppSettings::shared().snippets().last(), (Snippet{"/x", "[x]"}));
        table->selectRow(0);
        view.findChild<QAbstractButton*>("removeSnippetButton")->click();
        QCOMPARE(AppSettings::shared().snippets().first(), defaults.at(1));
        view.findChild<QAbstractButton*>("restoreSnippetsButton")->click();
        QCOMPARE(table->rowCount(), defaults.size());
        QCOMPARE(stored().childGroups(), QStringList());
    }

    void steppers_writeEachStepWithinTheirRanges_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("steps"); // arrow key presses, up when positive
        QTest::addColumn<double>("expected");
        QTest::newRow("rewind one up") << "autoRewindSeconds" << 1 << 4.0;
        QTest::newRow("rewind floor") << "autoRewindSeconds" << -20 << 0.0;
        QTest::newRow("skip ceiling") << "skipSeconds" << 40 << 30.0;
    }
    void steppers_writeEachStepWithinTheirRanges()
    {
        QFETCH(QString, key);
        QFETCH(int, steps);
        QFETCH(double, expected);
        SettingsView view;
        view.show();
        auto* box =
            view.findChild<QSpinBox*>(key.startsWith("skip") ? "skipStepper" : "autoRewindStepper");
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(box, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(box->text(), QStringLiteral("%1 seconds").arg(expected));
        QCOMPARE(stored().value(key).toDouble(), expected);
        QCOMPARE(stored().allKeys(), QStringList{key}); // the other stepper wrote nothing
    }

    void languageChoice_writesOnlyOnChange()
    {
        SettingsView view;
        view.show();
        auto* picker = view.findChild<QComboBox*>("languagePicker");
        picker->setCurrentIndex(0); // the entry already chosen: no change
        QVERIFY(!QFile::exists(m_file));
        QTest::keyClick(picker, Qt::Key_Down);
        QCOMPARE(stored().value("languageOverride"), "en");
        QCOMPARE(AppSettings::startupLanguages(), QStringList{"en"}); // at the next start
        picker->setCurrentIndex(picker->findData("system"));
        QCOMPARE(stored().value("languageOverride"), "system");
        QCOMPARE(AppSettings::startupLanguages(), QLocale::system().uiLanguages());
    }

    void secondsText_usesTheTranslatedFormatSafely_data()
    {
        // The translation is a printf format: anything but one "%.0f" and "%%" is not used.
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number moved") << "after %.0f s (100%%)" << QString("after 7 s (100%)");
        QTest::newRow("string conversion") << "%s seconds" << QString("7 seconds");
        QTest::newRow("dangling percent") << "%.0f s %" << QString("7 seconds");
    }
    void secondsText_usesTheTranslatedFormatSafely()
    {
        QFETCH(QString, format);
        SecondsTranslator translator;
        translator.format = format;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        QTEST(SettingsView::secondsText(7), "expected");
        QCoreApplication::removeTranslator(&translator);
    }
};

QTEST_MAIN(tst_SettingsView)
#include "tst_SettingsView.moc"
