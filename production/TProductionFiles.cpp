#include "TProductionFiles.h"

#include "OperationHost.h"
#include "ProductionSteps.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QFileInfo>

namespace {
struct DataFile
{
    const char* name;
    bool counted;
};

// The images of the file set, in the order they are checked. A missing
// reverb program or first tapering table is reported without counting.
const DataFile kDataFiles[] = {
    {"dsp_rev.bin", false},       {"zr_midi.dat", true},       {"fir_coeff.dat", true},
    {"taper_levels1.dat", false}, {"taper_levels2.dat", true}, {"taper_levels3.dat", true},
    {"taper_levels4.dat", true},
};
} // namespace

TProductionFiles::TProductionFiles(TZr5Com& com, TZR5Record& record, OperationHost& host,
                                   ProductionSteps& steps)
    : m_com(com), m_record(record), m_host(host), m_steps(steps)
{
}

QString TProductionFiles::FirstMatch(const QDir& folder, const QString& pattern)
{
    // Without QDir::CaseSensitive the name filter ignores letter case.
    const QStringList names = folder.entryList(QStringList{pattern}, QDir::Files | QDir::Readable,
                                               QDir::Name | QDir::IgnoreCase);
    return names.isEmpty() ? QString() : names.first();
}

void TProductionFiles::Missing(const QString& line, bool counted)
{
    m_host.ConsoleLine(line);
    if (counted)
        m_com.SetError(TErrorKind::FileErr);
}

bool TProductionFiles::CheckProductionFiles(const QDir& folder)
{
    bool missing = false;

    m_record.fpga_filename = FirstMatch(folder, QStringLiteral("fpga_*.bit"));
    if (m_record.fpga_filename.isEmpty()) {
        Missing(QStringLiteral("##### Error: Missing FPGA file"), true);
        missing = true;
    } else {
        m_host.ConsoleLine(QStringLiteral("Found FPGA BIT file: ") + m_record.fpga_filename);
    }

    m_record.avr_filename = FirstMatch(folder, QStringLiteral("zr5*.hex"));
    if (m_record.avr_filename.isEmpty()) {
        Missing(QStringLiteral("##### Error: Missing firmware HEX file(s)"), true);
        missing = true;
    } else {
        m_host.ConsoleLine(QStringLiteral("Found firmware HEX file(s)"));
    }

    if (!m_steps.ProgrammingToolFound()) {
        Missing(QStringLiteral("##### Error: Missing file ") + QStringLiteral("AVRdude.exe"), true);
        missing = true;
    }

    for (const DataFile& file : kDataFiles) {
        const QString name = QString::fromLatin1(file.name);
        if (!QFileInfo(folder.filePath(name)).isFile()) {
            Missing(QStringLiteral("##### Error: Missing file ") + name, file.counted);
            missing = true;
        }
    }
    return missing;
}
