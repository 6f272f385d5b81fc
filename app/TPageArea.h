#pragma once

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollBar;
class QTabWidget;
class TAdvancedPage;
class TClickPanel;
class TFactoryPage;
class TLiveSend;
class TLowerPage;
class TMidiCCPage;
class TOrganPage;
class TPageModel;
class TRotaryPage;
class TUpperPage;
class TValueEditors;
class TZr5Com;

// The left half: page read/send over the page control with its seven tabs,
// and the in-grid value editors that float over the Organ and Rotary grids.
class TPageArea : public QWidget
{
    Q_OBJECT

public:
    enum Tab
    {
        OrganTab,
        RotaryTab,
        MidiCCTab,
        UpperTab,
        LowerTab,
        AdvancedTab,
        FactoryTab
    };

    explicit TPageArea(QWidget* parent = nullptr);
    ~TPageArea() override;

    // The grids show the model's tables and edits go to the board through
    // com; the window binds them once both exist.
    void Bind(TPageModel* model, TZr5Com* com);
    // After a load: the three grids and the MIDI target list take what the
    // model now holds.
    void ShowPageTables();

    QPushButton* SendAll() const { return m_sendAll; }
    QPushButton* ReadAll() const { return m_readAll; }
    QCheckBox* CheckboxEEwrite() const { return m_eeWrite; }
    QTabWidget* PageControl1() const { return m_pageControl; }

    TOrganPage* OrganPage() const { return m_organ; }
    TRotaryPage* RotaryPage() const { return m_rotary; }
    TMidiCCPage* MidiCCPage() const { return m_midiCC; }
    TUpperPage* UpperPage() const { return m_upper; }
    TLowerPage* LowerPage() const { return m_lower; }
    TAdvancedPage* AdvancedPage() const { return m_advanced; }
    TFactoryPage* FactoryPage() const { return m_factory; }

    QComboBox* ComboBox1() const { return m_comboBox1; }
    TClickPanel* Panel1() const { return m_panel1; }
    QScrollBar* ScrollBar1() const { return m_scrollBar1; }
    TValueEditors* ValueEditors() const { return m_editors.get(); }

private:
    QPushButton* m_sendAll;
    QPushButton* m_readAll;
    QCheckBox* m_eeWrite;
    QTabWidget* m_pageControl;
    TOrganPage* m_organ;
    TRotaryPage* m_rotary;
    TMidiCCPage* m_midiCC;
    TUpperPage* m_upper;
    TLowerPage* m_lower;
    TAdvancedPage* m_advanced;
    TFactoryPage* m_factory;
    QComboBox* m_comboBox1;
    TClickPanel* m_panel1;
    QScrollBar* m_scrollBar1;
    std::unique_ptr<TLiveSend> m_liveSend;
    // Destroyed before the controls it serves, so that no step runs while
    // the window comes apart.
    std::unique_ptr<TValueEditors> m_editors;
};
