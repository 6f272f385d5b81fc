#include "ScriptedPrompter.h"
#include "TAdvancedPage.h"
#include "TConsoleBox.h"
#include "TFactoryPage.h"
#include "TForm1.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TStringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
const char kOrganTable[] = "Number,Name,Value,Editor,Max,Comment\n"
                           "430,\"Organ Model\",2,None,3,\"\"\n";
} // namespace

// The settings kept between runs, through the real main window and a
// settings file of the test's own.
class TstAppSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunShowsTheDefaults();
    void storedValuesAreShownAtStart_data();
    void storedValuesAreShownAtStart();
    void exitSavesWhatTheWindowShows();
    void resetFileInfo();

private:
    void makeForm();
    QString settingsPath() const { return m_dir->filePath("settings.ini"); }
    void store(const QMap<QString, QVariant>& values);
    QString appFile(const QString& name) const { return m_dir->path() + "/" + name; }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<TForm1> m_form;
};

void TstAppSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QFile organ(appFile("zr5_organ_defaults.csv"));
    QVERIFY(organ.open(QIODevice::WriteOnly));
    organ.write(kOrganTable);
    m_prompter = ScriptedPrompter();
}

void TstAppSettings::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TstAppSettings::makeForm()
{
    TAppEnvironment env;
    env.appPath = m_dir->path();
    env.settingsFile = settingsPath();
    env.prompter = &m_prompter;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
}

void TstAppSettings::store(const QMap<QString, QVariant>& values)
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
}

void TstAppSettings::firstRunShowsTheDefaults()
{
    QVERIFY(!QFile::exists(settingsPath()));
    makeForm();

    TFactoryPage* factory = m_form->PageArea()->FactoryPage();
    QCOMPARE(factory->EditFTDIdevice()->text(), QStringLiteral("-1"));
    QCOMPARE(factory->EditFTDIcom()->text(), QStringLiteral("0"));
    QCOMPARE(factory->EditDiamex()->text(), QStringLiteral("0"));
    QCOMPARE(factory->dd_FirmwareType()->currentIndex(), 1);
    QCOMPARE(factory->dd_FirmwareType()->currentText(), QStringLiteral("ZR5mk3_expander_b.hex"));
    QVERIFY(factory->ProdProg()->isEnabled());
    QVERIFY(factory->dd_FirmwareType()->isEnabled());
    QVERIFY(!m_form->PageArea()->AdvancedPage()->CheckVerbose()->isChecked());
    QCOMPARE(m_form->pos(), QPoint(50, 100));

    // The store now holds the version, the restore options off and the
    // default page files.
    QSettings settings(settingsPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("Version").toString(), QStringLiteral("Version 4.10"));
    QCOMPARE(settings.value("SettingsRestoreOrgan").toInt(), 0);
    QCOMPARE(settings.value("SettingsRestorePresets").toInt(), 0);
    QCOMPARE(settings.value("FilesOrgan").toString(), appFile("zr5_organ_defaults.csv"));
    QCOMPARE(settings.value("FilesLower").toString(), appFile("zr5_lower_presets.csv"));
}

void TstAppSettings::storedValuesAreShownAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("shown");

    QTest::newRow("ISP port -1 disables production")
        << "SettingsDiamexComPort" << QVariant("-1") << "ProdProg" << QByteArray("enabled")
        << QVariant(false);
    QTest::newRow("ISP port -1 disables the firmware choice")
        << "SettingsDiamexComPort" << QVariant("-1") << "dd_FirmwareType" << QByteArray("enabled")
        << QVariant(false);
    QTest::newRow("ISP port") << "SettingsDiamexComPort" << QVariant("4") << "EditDiamex"
                              << QByteArray("text") << QVariant("4");
    QTest::newRow("device") << "SettingsDevice" << QVariant(3) << "EditFTDIdevice"
                            << QByteArray("text") << QVariant("3");
    QTest::newRow("COM port") << "SettingsComPort" << QVariant(7) << "EditFTDIcom"
                              << QByteArray("text") << QVariant("7");
    QTest::newRow("firmware choice") << "SettingsFirmwareType" << QVariant(4) << "dd_FirmwareType"
                                     << QByteArray("currentIndex") << QVariant(4);
    QTest::newRow("verbose") << "SettingsDebugMsg" << QVariant(1) << "CheckVerbose"
                             << QByteArray("checked") << QVariant(true);
    // Every start begins with the restore options off.
    QTest::newRow("restore option does not carry over")
        << "SettingsRestoreOrgan" << QVariant(1) << "CheckRestoreOrgan" << QByteArray("checked")
        << QVariant(false);
    QTest::newRow("damaged number keeps the default")
        << "SettingsFirmwareType" << QVariant("two") << "dd_FirmwareType"
        << QByteArray("currentIndex") << QVariant(1);
}

void TstAppSettings::storedValuesAreShownAtStart()
{
    QFETCH(QString, name);
    QFETCH(QVariant, stored);
    QFETCH(QString, control);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, shown);
    store({{name, stored}});

    makeForm();

    QWidget* widget = m_form->findChild<QWidget*>(control);
    QVERIFY2(widget, qPrintable(control));
    QCOMPARE(widget->property(property.constData()), shown);
}

void TstAppSettings::exitSavesWhatTheWindowShows()
{
    // A page file chosen elsewhere in the last run is not used again.
    store({{"FilesOrgan", "/elsewhere/organ.csv"}, {"MainFormTop", 120}, {"MainFormLeft", 30}});
    makeForm();
    QCOMPARE(m_form->ZR5Record().OrganParamFile, appFile("zr5_organ_defaults.csv"));
    QCOMPARE(m_form->pos(), QPoint(30, 120));

    TFactoryPage* factory = m_form->PageArea()->FactoryPage();
    factory->EditDiamex()->setText(QStringLiteral(" 3 "));
    factory->dd_FirmwareType()->setCurrentIndex(2);
    m_form->PageArea()->AdvancedPage()->CheckVerbose()->setChecked(true);
    factory->EditFTDIdevice()->setText(QStringLiteral("2"));
    m_form->ZR5Record().Owner = QStringLiteral("Jane Organist");
    m_form->move(60, 140);
    m_form.reset();

    QSettings settings(settingsPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("MainFormTop").toInt(), 140);
    QCOMPARE(settings.value("MainFormLeft").toInt(), 60);
    QCOMPARE(settings.value("SettingsDiamexComPort").toString(), QStringLiteral("3"));
    QCOMPARE(settings.value("SettingsFirmwareType").toInt(), 2);
    QCOMPARE(settings.value("SettingsDebugMsg").toInt(), 1);
    QCOMPARE(settings.value("SettingsDevice").toInt(), 2);
    QCOMPARE(settings.value("Owner").toString(), QStringLiteral("Jane Organist"));
    QCOMPARE(settings.value("FilesOrgan").toString(), appFile("zr5_organ_defaults.csv"));

    // And the next start shows it again.
    makeForm();
    QCOMPARE(m_form->pos(), QPoint(60, 140));
    QCOMPARE(m_form->PageArea()->FactoryPage()->EditDiamex()->text(), QStringLiteral("3"));
    QCOMPARE(m_form->ZR5Record().Owner, QStringLiteral("Jane Organist"));
}

void TstAppSettings::resetFileInfo()
{
    store({{"MainFormTop", 200}, {"MainFormLeft", 300}});
    makeForm();
    TZR5Record& record = m_form->ZR5Record();
    record.Owner = QStringLiteral("Jane Organist");
    record.OrganParamFile = QStringLiteral("/elsewhere/organ.csv");
    m_form->Pages().organ().setCell(2, 1, QStringLiteral("99"));
    m_form->move(10, 10);
    m_form->PageArea()->FactoryPage()->EditDiamex()->setText(QStringLiteral("-1"));

    QTest::mouseClick(m_form->PageArea()->AdvancedPage()->RestFileInfoBtn(), Qt::LeftButton);

    QCOMPARE(record.Owner, QStringLiteral("Brackwell"));
    QCOMPARE(record.OrganParamFile, appFile("zr5_organ_defaults.csv"));
    // The organ page came from the default file again.
    QCOMPARE(m_form->Pages().organ().cell(2, 1), QStringLiteral("2"));
    QCOMPARE(m_form->PageArea()->OrganPage()->StringGrid1()->Cell(2, 1), QStringLiteral("2"));
    // Back where the last exit left it, with the defaults where nothing is stored.
    QCOMPARE(m_form->pos(), QPoint(300, 200));
    QCOMPARE(m_form->PageArea()->FactoryPage()->EditDiamex()->text(), QStringLiteral("0"));
    QVERIFY(m_form->ConsoleBox()->Lines().contains("Reset import file info..."));
}

QTEST_MAIN(TstAppSettings)
#include "tst_app_settings.moc"
