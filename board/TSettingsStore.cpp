#include "TSettingsStore.h"

#include "Prompter.h"
#include "TDecimal.h"
#include "TWindowSettings.h"
#include "TZR5Record.h"

#include <QSettings>

#include <optional>

const QString TSettingsStore::kVersion = QStringLiteral("Version 4.10");

TSettingsStore::TSettingsStore(QSettings& settings) : m_settings(settings) {}

void TSettingsStore::SetDefaultSettings(TZR5Record& record, TWindowSettings& window,
                                        const QString& appPath)
{
    record.OrganParamFile = appPath + QStringLiteral("zr5_organ_defaults.csv");
    record.LeslieParamFile = appPath + QStringLiteral("zr5_rotary_defaults.csv");
    record.MidiCCFile = appPath + QStringLiteral("zr5_midi_cc_defaults.csv");
    record.UpperPresetFile = appPath + QStringLiteral("zr5_upper_presets.csv");
    record.LowerPresetFile = appPath + QStringLiteral("zr5_lower_presets.csv");
    record.RestoreOrgan = false;
    record.RestoreMidi = false;
    record.ScanCore = 1;
    record.ComPort = 0;
    record.Owner = QStringLiteral("Brackwell");
    record.SerialNumber = 0;
    record.Device = -1;
    record.SaveDF = true;
    record.FirmwareVersion = 0.0;
    record.FPGAversion = QStringLiteral("00000000");
    window.top = 100;
    window.left = 50;
    window.diamexComPort = QStringLiteral("0");
    window.firmwareType = 1;
    window.debugMessages = false;
}

bool TSettingsStore::ReadInt(const QString& name, int& value) const
{
    if (!m_settings.contains(name))
        return false;
    const QVariant v = m_settings.value(name);
    std::optional<qint32> n;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const int i = v.toInt(&ok);
        if (ok)
            n = i;
        break;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray:
        // A text store (the settings file) keeps numbers as text.
        n = TDecimal::parse(v.toString());
        break;
    default:
        break; // of the wrong kind: keep what was there
    }
    if (n)
        value = *n;
    return n.has_value();
}

bool TSettingsStore::ReadBool(const QString& name, bool& value) const
{
    int n = 0;
    if (!ReadInt(name, n))
        return false;
    value = n != 0;
    return true;
}

bool TSettingsStore::ReadString(const QString& name, QString& value) const
{
    if (!m_settings.contains(name))
        return false;
    const QVariant v = m_settings.value(name);
    if (v.typeId() != QMetaType::QString && v.typeId() != QMetaType::QByteArray)
        return false;
    value = v.toString();
    return true;
}

void TSettingsStore::ResetPart(const TZR5Record& record)
{
    m_settings.setValue(QStringLiteral("Version"), kVersion);
    m_settings.setValue(QStringLiteral("SettingsRestoreOrgan"), 0);
    m_settings.setValue(QStringLiteral("SettingsRestoreMidi"), 0);
    m_settings.setValue(QStringLiteral("SettingsRestorePresets"), 0);
    m_settings.setValue(QStringLiteral("FilesOrgan"), record.OrganParamFile);
    m_settings.setValue(QStringLiteral("FilesRotary"), record.LeslieParamFile);
    m_settings.setValue(QStringLiteral("FilesMidiCC"), record.MidiCCFile);
    m_settings.setValue(QStringLiteral("FilesUpper"), record.UpperPresetFile);
    m_settings.setValue(QStringLiteral("FilesLower"), record.LowerPresetFile);
}

void TSettingsStore::LoadSettings(bool reset, TZR5Record& record, TWindowSettings& window,
                                  Prompter* prompter)
{
    ReadInt(QStringLiteral("MainFormTop"), window.top);
    ReadInt(QStringLiteral("MainFormLeft"), window.left);

    bool runReset = reset;
    if (!reset) {
        QString stored;
        ReadString(QStringLiteral("Version"), stored);
        if (stored != kVersion) {
            runReset = true;
            if (prompter)
                prompter->MessageBox(
                    Prompter::Icon::Warning,
                    QStringLiteral("Version changed to ZR5 Remote Version 4.10\n"
                                   "User import file info has been discarded.\n"
                                   "Customized/old .csv files may no longer work.\n"
                                   "Restoring old parameters on firmware update is not "
                                   "recommended.\n"
                                   "Using new *_default.csv import files due to changed "
                                   "parameters."),
                    Prompter::Buttons::Ok);
        }
    }
    if (runReset)
        ResetPart(record);

    ReadInt(QStringLiteral("SettingsScancore"), record.ScanCore);
    ReadBool(QStringLiteral("SettingsRestoreOrgan"), record.RestoreOrgan);
    ReadBool(QStringLiteral("SettingsRestoreMidi"), record.RestoreMidi);
    ReadBool(QStringLiteral("SettingsRestorePresets"), record.RestorePresets);
    ReadInt(QStringLiteral("SettingsDevice"), record.Device);
    ReadInt(QStringLiteral("SettingsComPort"), record.ComPort);
    ReadString(QStringLiteral("Owner"), record.Owner);
    ReadString(QStringLiteral("FilesOrgan"), record.OrganParamFile);
    ReadString(QStringLiteral("FilesRotary"), record.LeslieParamFile);
    ReadString(QStringLiteral("FilesMidiCC"), record.MidiCCFile);
    ReadString(QStringLiteral("FilesUpper"), record.UpperPresetFile);
    ReadString(QStringLiteral("FilesLower"), record.LowerPresetFile);
    ReadString(QStringLiteral("SettingsDiamexComPort"), window.diamexComPort);
    ReadInt(QStringLiteral("SettingsFirmwareType"), window.firmwareType);
    ReadBool(QStringLiteral("SettingsDebugMsg"), window.debugMessages);
    m_settings.sync();
}

void TSettingsStore::SaveSettings(const TZR5Record& record, const TWindowSettings& window)
{
    m_settings.setValue(QStringLiteral("MainFormTop"), window.top);
    m_settings.setValue(QStringLiteral("MainFormLeft"), window.left);
    m_settings.setValue(QStringLiteral("SettingsScancore"), record.ScanCore);
    m_settings.setValue(QStringLiteral("SettingsRestoreOrgan"), record.RestoreOrgan ? 1 : 0);
    m_settings.setValue(QStringLiteral("SettingsRestoreMidi"), record.RestoreMidi ? 1 : 0);
    m_settings.setValue(QStringLiteral("SettingsRestorePresets"), record.RestorePresets ? 1 : 0);
    m_settings.setValue(QStringLiteral("SettingsDevice"), record.Device);
    m_settings.setValue(QStringLiteral("SettingsComPort"), record.ComPort);
    m_settings.setValue(QStringLiteral("Owner"), record.Owner);
    m_settings.setValue(QStringLiteral("FilesOrgan"), record.OrganParamFile);
    m_settings.setValue(QStringLiteral("FilesRotary"), record.LeslieParamFile);
    m_settings.setValue(QStringLiteral("FilesMidiCC"), record.MidiCCFile);
    m_settings.setValue(QStringLiteral("FilesUpper"), record.UpperPresetFile);
    m_settings.setValue(QStringLiteral("FilesLower"), record.LowerPresetFile);
    m_settings.setValue(QStringLiteral("SettingsDiamexComPort"), window.diamexComPort.trimmed());
    m_settings.setValue(QStringLiteral("SettingsFirmwareType"), window.firmwareType);
    m_settings.setValue(QStringLiteral("SettingsDebugMsg"), window.debugMessages ? 1 : 0);
    m_settings.sync();
}
