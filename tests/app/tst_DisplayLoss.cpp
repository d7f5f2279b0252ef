// The application on a private X server that is killed under it, as when a session ends, the
// display server crashes or a remote display is lost: the crash test's display-loss case, ten
// rounds. The text typed just before must be in the project file, or in the recovery file when
// the projects folder cannot be written (every other round), and the application must end as Qt
// ends it then, not in a library's clean-up.
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class tst_DisplayLoss : public QObject
{
    Q_OBJECT

private slots:
    void displayLost_typedTextIsKept()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            QSKIP("Xvfb is not installed");
        QProcess crashTest;
        crashTest.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        crashTest.start(QStringLiteral(CRASHTEST),
                        {QStringLiteral("--display-loss"), QStringLiteral("10")});
        QVERIFY(crashTest.waitForFinished(300000));
        const QByteArray output = crashTest.readAllStandardOutput();
        QVERIFY2(output.contains("text kept 10 (saved 5, recovered 5), lost 0, ended otherwise 0"),
                 output.constData());
        QCOMPARE(crashTest.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_DisplayLoss)
#include "tst_DisplayLoss.moc"
