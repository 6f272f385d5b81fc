#include "TTextFile.h"

#include "TWin1252Codec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

QString TTextFile::displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

TFileResult TTextFile::readLines(const QString& path, QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return TFileResult::failure(
            QStringLiteral("Cannot open file %1: %2").arg(displayPath(path), file.errorString()));
    }
    // A device or pipe reports size 0, so the limit is checked on what was read.
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return TFileResult::failure(
            QStringLiteral("Cannot read file %1: %2").arg(displayPath(path), file.errorString()));
    }
    if (bytes.size() > maxFileBytes) {
        return TFileResult::failure(
            QStringLiteral("File %1 is too large for a table file (more than %2 MiB)")
                .arg(displayPath(path))
                .arg(maxFileBytes / (1024 * 1024)));
    }
    lines = splitLines(decode(bytes));
    return TFileResult::success();
}

QString TTextFile::decode(const QByteArray& bytes)
{
    const auto withDecoder = [&bytes](QStringDecoder::Encoding encoding, qsizetype markSize) {
        QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
        return QString(decoder(QByteArrayView(bytes).sliced(markSize)));
    };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return withDecoder(QStringDecoder::Utf8, 3);
    if (bytes.startsWith("\xFF\xFE"))
        return withDecoder(QStringDecoder::Utf16LE, 2);
    if (bytes.startsWith("\xFE\xFF"))
        return withDecoder(QStringDecoder::Utf16BE, 2);
    return TWin1252Codec::decode(bytes);
}

QStringList TTextFile::splitLines(const QString& text)
{
    QStringList lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < size) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.append(text.mid(start, i - start));
        ++i;
        if (c == u'\r' && i < size && text[i] == u'\n')
            ++i;
        start = i;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

TFileResult TTextFile::writeBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the file here: a buffered
    // write that falls short (a full disk) is flushed only by commit(),
    // which does not notice and would put the cut file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return TFileResult::failure(
            QStringLiteral("Cannot create file %1: %2").arg(displayPath(path), file.errorString()));
    }
    // A short write is tried again for the rest; the one after it fails
    // with the system's reason.
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return TFileResult::failure(
                QStringLiteral("Cannot write file %1: %2").arg(displayPath(path), reason));
        }
        done += written;
    }
    if (!file.commit()) {
        return TFileResult::failure(
            QStringLiteral("Cannot write file %1: %2").arg(displayPath(path), file.errorString()));
    }
    return TFileResult::success();
}
