#include <QProcess>
#include <QTest>

// The program's command line as a user meets it.
class TstAppProgram : public QObject
{
    Q_OBJECT

private slots:
    void commandLineExitCodes_data();
    void commandLineExitCodes();
};

void TstAppProgram::commandLineExitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");

    QTest::newRow("help") << QStringList{"--help"} << 0 << "--port <PATH>";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "Unknown option 'bogus'";
    QTest::newRow("stray argument") << QStringList{"x.csv"} << 2 << "x.csv";
    QTest::newRow("simulator option alone")
        << QStringList{"--simulate-arg", "--fault=silent"} << 2 << "--simulate";
}

void TstAppProgram::commandLineExitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);

    QProcess program;
    // No display is needed to be told how to start the program.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZR5REMOTE_PATH), arguments);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString text =
        QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    QVERIFY2(text.contains(output), qPrintable(text));
}

QTEST_GUILESS_MAIN(TstAppProgram)
#include "tst_app_program.moc"
