#pragma once

#include "BoardOptions.h"
#include "SimBootLoader.h"
#include "SimDataFlash.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

// A ZR5 board as the program sees it over the serial line, without widgets,
// threads or I/O of its own. Bytes from the host are fed in with the time they
// were sent; reply bytes come out with the time they reach the host. Time is
// in microseconds on the caller's clock.
//
// A line is acted on as soon as it is fed, even when (with wire timing) its CR
// reaches the board later: its replies are scheduled from the CR's arrival, so
// what the host sees is the same, only the store changes a little early.
class BoardEngine
{
public:
    explicit BoardEngine(BoardOptions options = {});
    // Its parts hold on to it; it stays where it was made.
    BoardEngine(const BoardEngine&) = delete;
    BoardEngine& operator=(const BoardEngine&) = delete;

    // Changes take effect with the next line the board takes (faults included).
    BoardOptions& options() { return m_options; }
    const BoardOptions& options() const { return m_options; }

    // Bytes written by the host at nowUs.
    void feed(const QByteArray& bytes, qint64 nowUs);

    // Reply bytes that have reached the host by nowUs.
    qsizetype available(qint64 nowUs) const;
    QByteArray take(qsizetype max, qint64 nowUs);
    // Drops the bytes that have reached the host by nowUs (the host's receive
    // purge); bytes still on their way arrive later.
    void dropArrived(qint64 nowUs);
    // Time at which the next reply byte reaches the host, -1 when none is due.
    qint64 nextArrivalUs() const;

    // Every line the board took, with the time its CR arrived.
    struct ReceivedLine
    {
        QByteArray text;
        qint64 atUs;
    };
    const QList<ReceivedLine>& receivedLines() const { return m_received; }
    void clearReceived() { m_received.clear(); }

    // The parameter store: current values, and which of them survive a reset.
    // Parameters never written read their factory value from the data folder,
    // else 0; 477 (the active scan core) reads options().scanCore when it is
    // given or the data folder has no value for it.
    int value(int number) const;
    void setValue(int number, int value, bool nonVolatile);
    // True when the current value is the stored one, i.e. survives reset().
    bool isNonVolatile(int number) const;
    // Volatile values fall back to their stored (non-volatile) values.
    void reset();

    // The reset button: the board restarts into its boot loader, which hands
    // over to the firmware unless a programming tool gets in sync within the
    // boot window. Firmware from kBootRequestVersion on also enters the boot
    // loader on the line "9980=0", and then waits for the tool.
    void pressReset(qint64 atUs);
    bool inBootLoader() const { return m_inBootLoader; }
    const SimBootLoader& bootLoader() const { return m_bootLoader; }
    // What "SFX 1=9!" saved and "SFX 2=9!" brings back.
    bool factoryDefaultsSaved() const { return m_factoryDefaultsSaved; }
    const QMap<int, int>& factoryDefaults() const { return m_factoryDefaults; }

    // Why factory values are missing: one line per data file that could not
    // be read, or was read with defaults. Empty without a data folder.
    const QStringList& dataProblems() const { return m_dataProblems; }

    // Bytes of one wire character at 57 600 bit/s 8N1.
    static constexpr qint64 kByteUs = 174; // 10 bits / 57600 bit/s, rounded

    // The parameter that holds the active scan core, reported by query 9900.
    static constexpr int kScanCoreParam = 477;
    // How long the board takes over the slow parts of its commands.
    static constexpr qint64 kFpgaReloadUs = 300'000;
    static constexpr qint64 kRestartUs = 500'000;
    static constexpr qint64 kGeneratorReloadUs = 200'000;
    static constexpr qint64 kFactoryDefaultsUs = 300'000;
    static constexpr qint64 kBootWindowUs = 1'000'000;
    static constexpr double kBootRequestVersion = 3.52;
    // Longest line the board keeps; further characters before the CR are lost.
    static constexpr qsizetype kMaxLine = 255;

    // The board's MIDI input: a message that arrived there. Query 9000
    // reports the last one as status << 16 | data1 << 8 | data2, the data
    // bytes taken to 7 bits; it reads 0 until the first message comes.
    static constexpr int kMidiMonitorParam = 9000;
    void injectMidi(quint8 status, quint8 data1, quint8 data2);
    int lastMidiMessage() const { return m_lastMidi; }

    // The DataFlash: its areas, the block stream and the DSP copy.
    SimDataFlash& dataFlash() { return m_dataFlash; }
    const SimDataFlash& dataFlash() const { return m_dataFlash; }

    // Display name of a scan core number, empty outside 0..9.
    static QString scanCoreName(int core);
    // Random bytes that end with CR and never contain "253" nor another CR.
    static QByteArray garbageLine();

private:
    void lineReceived(const QByteArray& line, qint64 atUs);
    void answerQuery(int number, qint64 atUs);
    // Sends one reply line (text without its CR) through the fault in force,
    // starting extraUs later than the usual reply delay.
    void reply(const QByteArray& text, qint64 atUs, qint64 extraUs = 0);
    // Sends bytes as they are (binary answers, no CR added) through the fault
    // in force: nothing when silent, as many random bytes when garbage.
    void replyBytes(const QByteArray& bytes, qint64 atUs, qint64 extraUs = 0);
    // While set, every byte from the host goes here instead of into a line:
    // a part of the board that has taken over the stream (a block transfer,
    // the boot loader) sets it and clears it when it gives the stream back.
    std::function<void(char c, qint64 atUs)> m_byteSink;
    // One host byte for the line parser.
    void lineByte(char c, qint64 atUs);
    // "9980=0" and the factory defaults; false for any other line.
    bool maintenanceLine(const QByteArray& line, qint64 atUs);
    void enterBootLoader(qint64 atUs, qint64 windowUs);
    void bootLoaderByte(char c, qint64 atUs);
    // Leaves the boot loader: the firmware the flash carries starts, from
    // the values of the EEPROM image when the tool wrote one.
    void startFirmware();
    void queue(const QByteArray& bytes, qint64 startUs);
    qint64 arrivalUs(std::size_t chunk, qsizetype index) const;
    qint64 chunkEndUs(std::size_t chunk) const;
    qsizetype arrivedCount(std::size_t chunk, qint64 nowUs) const;
    void loadFactoryValues();
    void loadState();
    void saveState() const;

    BoardOptions m_options;

    // A reply line on its way. Lines go out one after the other in the order
    // they are due; byte i of a line reaches the host at startUs (all at once),
    // or with wire timing at startUs + (i + 1) * kByteUs.
    struct Chunk
    {
        QByteArray bytes;
        qint64 dueUs;   // when the board wants to start sending it
        qint64 startUs; // when it really starts, after the lines before it
        qsizetype gone; // bytes already taken or dropped by the host
        qint64 byteUs;  // spacing of its bytes, fixed when it was queued
    };
    std::deque<Chunk> m_out;

    QByteArray m_line;
    qint64 m_inputFreeUs = 0; // when the previous host byte has fully arrived
    QList<ReceivedLine> m_received;
    QMap<int, int> m_volatile; // written since the last reset, not stored
    QMap<int, int> m_stored;   // non-volatile
    QMap<int, int> m_factory;  // from the data folder; never written back
    QStringList m_dataProblems;
    bool m_writeEnabled = false;
    int m_readinessPolls = 0;
    SimBootLoader m_bootLoader;
    bool m_inBootLoader = false;
    bool m_flashWritten = false;
    QMap<int, int> m_factoryDefaults;
    bool m_factoryDefaultsSaved = false;
    int m_lastMidi = 0;
    SimDataFlash m_dataFlash;
};
