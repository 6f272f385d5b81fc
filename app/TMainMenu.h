#pragma once

#include <QMenuBar>

class QAction;
class QMenu;

// MainMenu1: "&File", "&Edit", "Actions" and "&Help" with their items. The
// items are named after their components, the ones that run an action after
// that action (FileExit1, EditCut1, EditCopy1, EditPaste1, HelpAbout1).
class TMainMenu : public QMenuBar
{
    Q_OBJECT

public:
    explicit TMainMenu(QWidget* parent = nullptr);

    QMenu* File1() const { return m_file; }
    QMenu* Edit1() const { return m_edit; }
    QMenu* Actions1() const { return m_actions; }
    QMenu* Help1() const { return m_help; }

    QAction* ImportOrganData1() const { return m_importOrgan; }
    QAction* ImportLeslieData1() const { return m_importLeslie; }
    QAction* ImportMIDICCData1() const { return m_importMidiCC; }
    QAction* ImportUpperPresets1() const { return m_importUpper; }
    QAction* ImportLowerPresets1() const { return m_importLower; }
    QAction* ExportOrganData1() const { return m_exportOrgan; }
    QAction* ExportLeslieData1() const { return m_exportLeslie; }
    QAction* ExportMIDICCData1() const { return m_exportMidiCC; }
    QAction* ExportUpperPresets1() const { return m_exportUpper; }
    QAction* ExportLowerPresets1() const { return m_exportLower; }
    QAction* FileExit1() const { return m_fileExit; }

    QAction* EditCut1() const { return m_cut; }
    QAction* EditCopy1() const { return m_copy; }
    QAction* EditPaste1() const { return m_paste; }

    QAction* Connect1() const { return m_connect; }
    QAction* Disconnect1() const { return m_disconnect; }
    QAction* ReadParamstoPage() const { return m_readPage; }
    QAction* SendParamsfromPage() const { return m_sendPage; }
    QAction* RefreshInfo1() const { return m_refreshInfo; }
    QAction* ResetZR51() const { return m_reset; }
    QAction* UpdateFPGAandScanCores1() const { return m_updateFPGA; }
    QAction* UpdateAVRFirmware1() const { return m_updateAVR; }

    QAction* HelpAbout1() const { return m_helpAbout; }

private:
    QMenu* AddMenu(const QString& name, const QString& title, const QString& hint);
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& shortcut = {}, const QString& hint = {});

    QMenu* m_file;
    QAction* m_importOrgan;
    QAction* m_importLeslie;
    QAction* m_importMidiCC;
    QAction* m_importUpper;
    QAction* m_importLower;
    QAction* m_exportOrgan;
    QAction* m_exportLeslie;
    QAction* m_exportMidiCC;
    QAction* m_exportUpper;
    QAction* m_exportLower;
    QAction* m_fileExit;
    QMenu* m_edit;
    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QMenu* m_actions;
    QAction* m_connect;
    QAction* m_disconnect;
    QAction* m_readPage;
    QAction* m_sendPage;
    QAction* m_refreshInfo;
    QAction* m_reset;
    QAction* m_updateFPGA;
    QAction* m_updateAVR;
    QMenu* m_help;
    QAction* m_helpAbout;
};
