#include "TMainMenu.h"

#include "THint.h"

#include <QAction>
#include <QMenu>

TMainMenu::TMainMenu(QWidget* parent) : QMenuBar(parent)
{
    setObjectName("MainMenu1");
    // The window is the same on every platform; a global menu bar would take
    // the menu out of it.
    setNativeMenuBar(false);

    m_file = AddMenu("File1", "&File", "Setup Files");
    m_importOrgan = AddItem(m_file, "ImportOrganData1", "Import Organ Data");
    m_importLeslie = AddItem(m_file, "ImportLeslieData1", "Import Rotary Data");
    m_importMidiCC = AddItem(m_file, "ImportMIDICCData1", "Import MIDI CC Data");
    m_importUpper = AddItem(m_file, "ImportUpperPresets1", "Import Upper Presets");
    m_importLower = AddItem(m_file, "ImportLowerPresets1", "Import Lower Presets");
    m_file->addSeparator();
    m_exportOrgan = AddItem(m_file, "ExportOrganData1", "Export Organ Data");
    m_exportLeslie = AddItem(m_file, "ExportLeslieData1", "Export Rotary Data");
    m_exportMidiCC = AddItem(m_file, "ExportMIDICCData1", "Export MIDI CC Data");
    m_exportUpper = AddItem(m_file, "ExportUpperPresets1", "Export Upper Presets");
    m_exportLower = AddItem(m_file, "ExportLowerPresets1", "Export Lower Presets");
    m_file->addSeparator();
    m_fileExit = AddItem(m_file, "FileExit1", "&Quit", QKeySequence("Ctrl+Q"), "Quit|Quit program");

    m_edit = AddMenu("Edit1", "&Edit", "Edit Menu");
    m_cut = AddItem(m_edit, "EditCut1", "&Ausschneiden", QKeySequence("Ctrl+X"),
                    "Ausschneiden|Markiertes Objekt in die Zwischenablage verschieben");
    m_copy = AddItem(m_edit, "EditCopy1", "&Kopieren", QKeySequence("Ctrl+C"),
                     "Kopieren|Markiertes Objekt in die Zwischenablage kopieren");
    m_paste = AddItem(m_edit, "EditPaste1", QString::fromUtf8("&Einfügen"), QKeySequence("Ctrl+V"),
                      QString::fromUtf8("Einfügen|Inhalt der Zwischenablage einfügen"));
    m_cut->setEnabled(false);
    m_copy->setEnabled(false);

    m_actions = AddMenu("Actions1", "Actions", "Action Menu");
    m_connect = AddItem(m_actions, "Connect1", "Connect to FTDI Cable/Device");
    m_disconnect = AddItem(m_actions, "Disconnect1", "Disconnect");
    m_actions->addSeparator();
    m_readPage = AddItem(m_actions, "ReadParamstoPage", "Read ZR5 to Page", QKeySequence("F5"));
    m_sendPage = AddItem(m_actions, "SendParamsfromPage", "Send Page to ZR5", QKeySequence("F6"));
    m_actions->addSeparator();
    m_refreshInfo = AddItem(m_actions, "RefreshInfo1", "Refresh Info", QKeySequence("F8"));
    m_reset = AddItem(m_actions, "ResetZR51", "Reset ZR5");
    m_actions->addSeparator();
    m_updateFPGA = AddItem(m_actions, "UpdateFPGAandScanCores1", "Update FPGA");
    m_updateAVR = AddItem(m_actions, "UpdateAVRFirmware1", "Update AVR Firmware");
    m_actions->setEnabled(false);

    m_help = AddMenu("Help1", "&Help", "Help");
    m_helpAbout = AddItem(m_help, "HelpAbout1", "&Info...", {}, "Info|Show info box");
}

QMenu* TMainMenu::AddMenu(const QString& name, const QString& title, const QString& hint)
{
    QMenu* menu = addMenu(title);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name + QStringLiteral("Item"));
    THint::Apply(menu->menuAction(), hint);
    return menu;
}

QAction* TMainMenu::AddItem(QMenu* menu, const QString& name, const QString& caption,
                            const QKeySequence& shortcut, const QString& hint)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    if (!hint.isEmpty())
        THint::Apply(action, hint);
    return action;
}
