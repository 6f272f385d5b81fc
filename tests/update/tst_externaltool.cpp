#include "RecordingHost.h"
#include "TExternalTool.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Copies a system program into a folder, standing in for the tool that
// lies beside the program.
static QString placeTool(const QString& folder, const QString& systemProgram, const QString& name)
{
    const QString target = QDir(folder).filePath(name);
    QFile::remove(target);
    if (!QFile::copy(systemProgram, target))
        return {};
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return target;
}

class TstExternalTool : public QObject
{
    Q_OBJECT

private slots:
    void splitsLikeWindows_data();
    void splitsLikeWindows();
    void quotedTextComesBackWhole_data();
    void quotedTextComesBackWhole();
    void toolCommandLines_data();
    void toolCommandLines();
    void prepareFindsToolAndConfiguration();
    void shownRunStreamsOutputFromTheToolsFolder();
    void hiddenRunShowsNothing();
    void missingToolReturnsSilently();
};

void TstExternalTool::splitsLikeWindows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("blanks and tabs") << "  -a \t b  " << QStringList{"-a", "b"};
    QTest::newRow("quoted blank stays") << R"(-U "flash:w:C:\my files\a.hex":i)"
                                        << QStringList{"-U", R"(flash:w:C:\my files\a.hex:i)"};
    QTest::newRow("quote inside a word") << R"(a"b c"d)" << QStringList{"ab cd"};
    QTest::newRow("empty quotes") << R"(-x "" y)" << QStringList{"-x", "", "y"};
    QTest::newRow("escaped quote") << R"(a\"b)" << QStringList{R"(a"b)"};
    QTest::newRow("even backslashes before quote") << R"("a\\" b)" << QStringList{R"(a\)", "b"};
    QTest::newRow("odd backslashes before quote") << R"("a\\\" b")" << QStringList{R"(a\" b)"};
    QTest::newRow("plain backslashes") << R"(C:\dir\file)" << QStringList{R"(C:\dir\file)"};
    QTest::newRow("double quote inside quotes") << R"("a""b")" << QStringList{R"(a"b)"};
    QTest::newRow("unclosed quote runs to the end") << R"(-a "b c)" << QStringList{"-a", "b c"};
    QTest::newRow("nothing") << "   " << QStringList{};
}

void TstExternalTool::splitsLikeWindows()
{
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QCOMPARE(TExternalTool::SplitParameters(text), arguments);
}

void TstExternalTool::quotedTextComesBackWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "ZR5mk3_std_b.hex";
    QTest::newRow("windows path") << R"(C:\Program Files\ZR5\fw.hex)";
    QTest::newRow("quote and option inside a name") << R"(/tmp/a" -x "b.hex)";
    QTest::newRow("trailing backslash") << R"(C:\dir\)";
    QTest::newRow("backslash before quote") << R"(a\"b)";
}

void TstExternalTool::quotedTextComesBackWhole()
{
    QFETCH(QString, text);
    const QStringList split = TExternalTool::SplitParameters(
        QStringLiteral("-U flash:w:\"") + TExternalTool::QuoteInside(text) + QStringLiteral("\":i -e"));
    QCOMPARE(split, (QStringList{"-U", "flash:w:" + text + ":i", "-e"}));
    // Names a Windows command line can hold pass through unchanged.
    if (!text.contains(QLatin1Char('"')) && !text.endsWith(QLatin1Char('\\')))
        QCOMPARE(TExternalTool::QuoteInside(text), text);
}

void TstExternalTool::toolCommandLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("boot loader update")
        << R"(-C "avrdude.conf" -pm644p -cstk500v1 -P COM3 -b57600 -U flash:w:"/home/u/my fw.hex":i -U eeprom:w:"/home/u/my fw.eep":i -e)"
        << QStringList{"-C", "avrdude.conf", "-pm644p", "-cstk500v1", "-P", "COM3", "-b57600",
                       "-U", "flash:w:/home/u/my fw.hex:i", "-U",
                       "eeprom:w:/home/u/my fw.eep:i", "-e"};
    QTest::newRow("leading blank in the port text")
        << R"(-C "avrdude.conf" -pm644p -cstk500v2 -B100 -P COM 3 -n -q -l "avrdude.log")"
        << QStringList{"-C", "avrdude.conf", "-pm644p", "-cstk500v2", "-B100", "-P", "COM",
                       "3", "-n", "-q", "-l", "avrdude.log"};
    QTest::newRow("double blank before the log option")
        << R"(-U lock:w:0xef:m  -l "avrdude.log")"
        << QStringList{"-U", "lock:w:0xef:m", "-l", "avrdude.log"};
}

void TstExternalTool::toolCommandLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QCOMPARE(TExternalTool::SplitParameters(text), arguments);
}

void TstExternalTool::prepareFindsToolAndConfiguration()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    RecordingHost host;
    TExternalTool tool(host);
    const QString programPath = folder.filePath("avrdude");
    const QString parameters = R"(-C "avrdude.conf" -P COM4 -PCOM5 -q   )";

    // Nothing beside the program and no fallback: nothing to start.
    QVERIFY(tool.Prepare(programPath, parameters).program.isEmpty());

    // The fallback runs in the program's folder; without a configuration
    // there, the tool's own applies.
    tool.SetFallbackProgram(QStringLiteral("/bin/echo"));
    tool.SetPortMap([](const QString& port) { return QStringLiteral("/dev/x") + port; });
    TExternalTool::Launch launch = tool.Prepare(programPath, parameters);
    QCOMPARE(launch.program, QStringLiteral("/bin/echo"));
    QCOMPARE(launch.workingDirectory, QFileInfo(folder.path()).absoluteFilePath());
    QCOMPARE(launch.arguments, (QStringList{"-P", "/dev/xCOM4", "-P/dev/xCOM5", "-q"}));

    // Tool and configuration beside the program win.
    QVERIFY(!placeTool(folder.path(), "/bin/echo", "avrdude").isEmpty());
    QFile conf(folder.filePath("avrdude.conf"));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.close();
    launch = tool.Prepare(programPath, parameters);
    QCOMPARE(launch.program, programPath);
    QCOMPARE(launch.arguments.mid(0, 2), (QStringList{"-C", "avrdude.conf"}));
}

void TstExternalTool::shownRunStreamsOutputFromTheToolsFolder()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString pwd = placeTool(folder.path(), "/bin/pwd", "avrdude");
    QVERIFY(!pwd.isEmpty());
    RecordingHost host;
    TExternalTool tool(host);
    tool.RunExternalTool(pwd, QString(), false);
    QCOMPARE(host.lines, QStringList{QDir(folder.path()).canonicalPath()});
    QVERIFY(host.busyFlashes >= 1);

    // Several lines, each its own console line, in order.
    host.lines.clear();
    const QString printf = placeTool(folder.path(), "/usr/bin/printf", "avrdude");
    tool.RunExternalTool(printf, R"("one\ntwo\rTWO\nthree")", false);
    QCOMPARE(host.lines, (QStringList{"one", "TWO", "three"}));
}

void TstExternalTool::hiddenRunShowsNothing()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString echo = placeTool(folder.path(), "/bin/echo", "avrdude");
    RecordingHost host;
    TExternalTool tool(host);
    tool.RunExternalTool(echo, QStringLiteral("hello"), true);
    QVERIFY(host.lines.isEmpty());
    QVERIFY(host.busyFlashes >= 1);
}

void TstExternalTool::missingToolReturnsSilently()
{
    QTemporaryDir folder;
    RecordingHost host;
    TExternalTool tool(host);
    tool.SetFallbackProgram(folder.filePath("nowhere"));
    tool.RunExternalTool(folder.filePath("avrdude"), QStringLiteral("-q"), false);
    QVERIFY(host.lines.isEmpty());
    QCOMPARE(host.busyFlashes, 0);
}

QTEST_GUILESS_MAIN(TstExternalTool)
#include "tst_externaltool.moc"
