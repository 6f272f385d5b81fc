#include "ScriptedPrompter.h"
#include "TSettingsStore.h"
#include "TWindowSettings.h"
#include "TZR5Record.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The settings store on a file of the test's own, never the user's.
class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstRun();
    void savedValuesCarryOverButResetOnesDoNot();
    void valuesOfTheWrongKindAreIgnored_data();
    void valuesOfTheWrongKindAreIgnored();
    void saveOrderAndTrimmedPortText();
    void loadWithoutResetKeepsPathsOfTheSameVersion();
    void loadWithoutResetWarnsOnAnotherVersion();

private:
    QString path() const { return m_dir.filePath("ZR5remote.conf"); }
    void defaults();

    QTemporaryDir m_dir;
    TZR5Record m_record;
    TWindowSettings m_window;
    const QString m_app = "/opt/zr5/";
};

void TestSettingsStore::init()
{
    QFile::remove(path());
    defaults();
}

void TestSettingsStore::defaults()
{
    m_record = TZR5Record();
    m_window = TWindowSettings();
    TSettingsStore::SetDefaultSettings(m_record, m_window, m_app);
}

void TestSettingsStore::firstRun()
{
    QSettings settings(path(), QSettings::IniFormat);
    TSettingsStore(settings).LoadSettings(true, m_record, m_window);
    QCOMPARE(settings.value("Version").toString(), QStringLiteral("Version 4.10"));
    QCOMPARE(settings.value("SettingsRestoreOrgan").toInt(), 0);
    QCOMPARE(settings.value("SettingsRestorePresets").toInt(), 0);
    QCOMPARE(settings.value("FilesOrgan").toString(), m_app + "zr5_organ_defaults.csv");
    QCOMPARE(settings.value("FilesLower").toString(), m_app + "zr5_lower_presets.csv");
    QVERIFY(!settings.contains("MainFormTop"));
    QCOMPARE(m_window.top, 100);
    QCOMPARE(m_window.left, 50);
    QCOMPARE(m_window.diamexComPort, QStringLiteral("0"));
    QCOMPARE(m_window.firmwareType, 1);
    QCOMPARE(m_record.Device, -1);
    QCOMPARE(m_record.ComPort, 0);
    QCOMPARE(m_record.Owner, QStringLiteral("Brackwell"));
    QCOMPARE(m_record.FPGAversion, QStringLiteral("00000000"));
    QCOMPARE(m_record.ScanCore, 1);
}

void TestSettingsStore::savedValuesCarryOverButResetOnesDoNot()
{
    {
        QSettings settings(path(), QSettings::IniFormat);
        m_record.Device = 2;
        m_record.ComPort = 5;
        m_record.Owner = "Jane Organist";
        m_record.ScanCore = 3;
        m_record.RestoreMidi = true;
        m_record.OrganParamFile = "/home/jane/my_organ.csv";
        m_window = {300, 400, "-1", 0, true};
        TSettingsStore(settings).SaveSettings(m_record, m_window);
    }
    defaults();
    QSettings settings(path(), QSettings::IniFormat);
    TSettingsStore(settings).LoadSettings(true, m_record, m_window);
    QCOMPARE(m_window.top, 300);
    QCOMPARE(m_window.left, 400);
    QCOMPARE(m_window.diamexComPort, QStringLiteral("-1"));
    QCOMPARE(m_window.firmwareType, 0);
    QCOMPARE(m_window.debugMessages, true);
    QCOMPARE(m_record.Device, 2);
    QCOMPARE(m_record.ComPort, 5);
    QCOMPARE(m_record.Owner, QStringLiteral("Jane Organist"));
    QCOMPARE(m_record.ScanCore, 3);
    // Every start begins with the default files and no restore options.
    QCOMPARE(m_record.RestoreMidi, false);
    QCOMPARE(m_record.OrganParamFile, m_app + "zr5_organ_defaults.csv");
}

void TestSettingsStore::valuesOfTheWrongKindAreIgnored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("word for a number") << "SettingsDevice" << "three";
    QTest::newRow("fraction for a number") << "MainFormTop" << "12.5";
    QTest::newRow("word for a flag") << "SettingsDebugMsg" << "yes";
    QTest::newRow("empty number") << "SettingsComPort" << "";
}

void TestSettingsStore::valuesOfTheWrongKindAreIgnored()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    {
        QSettings settings(path(), QSettings::IniFormat);
        m_record.Device = 4;
        m_record.ComPort = 6;
        m_window.top = 222;
        m_window.debugMessages = true;
        TSettingsStore(settings).SaveSettings(m_record, m_window);
        settings.setValue(name, text);
    }
    defaults();
    QSettings settings(path(), QSettings::IniFormat);
    TSettingsStore(settings).LoadSettings(true, m_record, m_window);
    // The damaged value keeps its default; all others load.
    QCOMPARE(m_record.Device, name == "SettingsDevice" ? -1 : 4);
    QCOMPARE(m_record.ComPort, name == "SettingsComPort" ? 0 : 6);
    QCOMPARE(m_window.top, name == "MainFormTop" ? 100 : 222);
    QCOMPARE(m_window.debugMessages, name != "SettingsDebugMsg");
}

void TestSettingsStore::saveOrderAndTrimmedPortText()
{
    QSettings settings(path(), QSettings::IniFormat);
    m_window.diamexComPort = "  3 ";
    TSettingsStore(settings).SaveSettings(m_record, m_window);
    QCOMPARE(settings.value("SettingsDiamexComPort").toString(), QStringLiteral("3"));
    QVERIFY(!settings.contains("Version"));
    QCOMPARE(settings.allKeys().size(), 17);
}

void TestSettingsStore::loadWithoutResetKeepsPathsOfTheSameVersion()
{
    {
        QSettings settings(path(), QSettings::IniFormat);
        settings.setValue("Version", "Version 4.10");
        settings.setValue("FilesOrgan", "/home/jane/my_organ.csv");
    }
    QSettings settings(path(), QSettings::IniFormat);
    ScriptedPrompter prompter;
    TSettingsStore(settings).LoadSettings(false, m_record, m_window, &prompter);
    QCOMPARE(m_record.OrganParamFile, QStringLiteral("/home/jane/my_organ.csv"));
    QVERIFY(prompter.messages.isEmpty());
}

void TestSettingsStore::loadWithoutResetWarnsOnAnotherVersion()
{
    {
        QSettings settings(path(), QSettings::IniFormat);
        settings.setValue("Version", "Version 4.02");
        settings.setValue("FilesOrgan", "/home/jane/my_organ.csv");
    }
    QSettings settings(path(), QSettings::IniFormat);
    ScriptedPrompter prompter;
    TSettingsStore(settings).LoadSettings(false, m_record, m_window, &prompter);
    QCOMPARE(m_record.OrganParamFile, m_app + "zr5_organ_defaults.csv");
    QCOMPARE(prompter.messages.size(), 1);
    QVERIFY(prompter.messages[0].text.startsWith("Version changed to ZR5 Remote Version 4.10\n"));
    QCOMPARE(settings.value("Version").toString(), QStringLiteral("Version 4.10"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
