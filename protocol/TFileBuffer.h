#pragma once

#include <QByteArray>

// The one image buffer of the program: 4 MiB, zero at start and never
// resized. Each upload overwrites it from offset 0; bytes past the file keep
// what an earlier, longer file left there, which the last block carries.
class TFileBuffer
{
public:
    static constexpr qsizetype kSize = 0x400000;

    TFileBuffer() : m_bytes(kSize, '\0') {}

    char* data() { return m_bytes.data(); }
    const char* constData() const { return m_bytes.constData(); }
    qsizetype size() const { return m_bytes.size(); }
    QByteArray block(int index) const { return m_bytes.mid(qsizetype(index) * 128, 128); }

private:
    QByteArray m_bytes;
};
