#pragma once

#include <QString>

class Prompter;
class QSettings;
struct TWindowSettings;
struct TZR5Record;

// The user's settings kept between runs: one key of values, each read only
// when it is there and of its kind, so a damaged value costs only itself.
class TSettingsStore
{
public:
    static const QString kVersion; // "Version 4.10"

    // settings: the store (the registry key on Windows, a per-user file
    // elsewhere; tests pass one of their own).
    explicit TSettingsStore(QSettings& settings);

    static void SetDefaultSettings(TZR5Record& record, TWindowSettings& window,
                                   const QString& appPath);
    // With reset the version is written and the restore options and page
    // file paths are replaced by the record's; without it that happens only
    // for another program version, after a warning box.
    void LoadSettings(bool reset, TZR5Record& record, TWindowSettings& window,
                      Prompter* prompter = nullptr);
    void SaveSettings(const TZR5Record& record, const TWindowSettings& window);

private:
    void ResetPart(const TZR5Record& record);
    bool ReadInt(const QString& name, int& value) const;
    bool ReadBool(const QString& name, bool& value) const;
    bool ReadString(const QString& name, QString& value) const;

    QSettings& m_settings;
};
