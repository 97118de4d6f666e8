#include "compoundfile.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

namespace {

const QByteArray signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr int HeaderDifatEntries = 109;

quint32 u32(const QByteArray &bytes, qint64 offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

class Container
{
public:
    explicit Container(const QByteArray &file) : m_file(file) {}

    bool open();
    bool readStream(const QString &name, QByteArray *stream);

private:
    // The contents of the sectors of a chain, in chain order.
    bool chain(quint32 start, const std::vector<quint32> &table, int sectorSize,
               const QByteArray &source, qint64 sourceOffset, QByteArray *out) const;

    const QByteArray &m_file;
    int m_sectorSize = 512;
    qint64 m_sectorCount = 0;
    std::vector<quint32> m_fat;
};

bool Container::open()
{
    if (m_file.size() < 512 || !m_file.startsWith(signature))
        return false;
    const quint16 shift = qFromLittleEndian<quint16>(m_file.constData() + 0x1E);
    if (shift != 9 && shift != 12)
        return false;
    m_sectorSize = 1 << shift;
    if (m_file.size() < m_sectorSize)
        return false;
    // Whole sectors only: the FAT and DIFAT sectors are read entire.
    m_sectorCount = (m_file.size() - m_sectorSize) / m_sectorSize;

    const quint32 fatSectors = u32(m_file, 0x2C);
    if (fatSectors > quint64(m_sectorCount))
        return false;
    std::vector<quint32> fatList;
    for (int i = 0; i < HeaderDifatEntries && fatList.size() < fatSectors; ++i)
        fatList.push_back(u32(m_file, 0x4C + 4 * i));
    // Further FAT sector numbers sit in a chain of DIFAT sectors, each
    // ending with the number of the next.
    quint32 difat = u32(m_file, 0x44);
    const int perDifat = m_sectorSize / 4 - 1;
    for (qint64 steps = 0; fatList.size() < fatSectors; ++steps) {
        if (difat >= quint64(m_sectorCount) || steps > m_sectorCount)
            return false;
        const qint64 offset = (qint64(difat) + 1) * m_sectorSize;
        for (int i = 0; i < perDifat && fatList.size() < fatSectors; ++i)
            fatList.push_back(u32(m_file, offset + 4 * i));
        difat = u32(m_file, offset + 4 * perDifat);
    }
    m_fat.reserve(fatList.size() * size_t(m_sectorSize / 4));
    // A FAT sector listed twice would give the table more entries than the
    // file has sectors, and chains bounded by the table could then run far
    // past the file's size.
    std::vector<bool> listed(size_t(m_sectorCount), false);
    for (quint32 sector : fatList) {
        if (sector >= quint64(m_sectorCount) || listed[sector])
            return false;
        listed[sector] = true;
        const qint64 offset = (qint64(sector) + 1) * m_sectorSize;
        for (int i = 0; i < m_sectorSize / 4; ++i)
            m_fat.push_back(u32(m_file, offset + 4 * i));
    }
    return true;
}

bool Container::chain(quint32 start, const std::vector<quint32> &table, int sectorSize,
                      const QByteArray &source, qint64 sourceOffset, QByteArray *out) const
{
    out->clear();
    quint32 sector = start;
    // A chain visits each sector of its source once at most; more steps
    // mean a loop. The table may name more sectors than the source holds,
    // so it is the source that bounds the chain.
    const qint64 sourceSectors = (source.size() - sourceOffset + sectorSize - 1) / sectorSize;
    for (qint64 steps = 0; sector != EndOfChain; ++steps) {
        if (sector >= table.size() || steps >= sourceSectors)
            return false;
        const qint64 offset = sourceOffset + qint64(sector) * sectorSize;
        if (offset < 0 || offset >= source.size())
            return false;
        // The last sector of a file may be cut short; the stream's size
        // says how much of it counts.
        out->append(source.constData() + offset, int(std::min<qint64>(sectorSize, source.size() - offset)));
        sector = table[sector];
    }
    return true;
}

bool Container::readStream(const QString &name, QByteArray *stream)
{
    QByteArray directory;
    if (!chain(u32(m_file, 0x30), m_fat, m_sectorSize, m_file, m_sectorSize, &directory))
        return false;
    if (directory.size() < 128)
        return false;
    const quint32 rootStart = u32(directory, 0x74);
    const quint64 rootSize = qFromLittleEndian<quint64>(directory.constData() + 0x78);
    for (int entry = 0; entry + 128 <= directory.size(); entry += 128) {
        const char *data = directory.constData() + entry;
        const quint16 nameBytes = qFromLittleEndian<quint16>(data + 0x40);
        if (data[0x42] != 2 || nameBytes < 2 || nameBytes > 64)
            continue;
        const QString entryName = QString::fromUtf16(reinterpret_cast<const char16_t *>(data),
                                                     nameBytes / 2 - 1);
        if (entryName.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const quint32 start = qFromLittleEndian<quint32>(data + 0x74);
        // Version 3 files leave the high half of the size undefined.
        const quint64 size = m_sectorSize == 512
            ? quint64(qFromLittleEndian<quint32>(data + 0x78))
            : qFromLittleEndian<quint64>(data + 0x78);
        if (size > quint64(m_file.size()))
            return false;
        const quint32 cutoff = u32(m_file, 0x38);
        if (size >= cutoff) {
            if (!chain(start, m_fat, m_sectorSize, m_file, m_sectorSize, stream))
                return false;
        } else {
            // Small streams live in 64-byte sectors of the root's stream.
            QByteArray miniStream;
            QByteArray miniFatBytes;
            if (rootSize > quint64(m_file.size())
                || !chain(rootStart, m_fat, m_sectorSize, m_file, m_sectorSize, &miniStream)
                || !chain(u32(m_file, 0x3C), m_fat, m_sectorSize, m_file, m_sectorSize,
                          &miniFatBytes))
                return false;
            std::vector<quint32> miniFat(size_t(miniFatBytes.size() / 4));
            for (size_t i = 0; i < miniFat.size(); ++i)
                miniFat[i] = u32(miniFatBytes, qint64(i) * 4);
            if (!chain(start, miniFat, 64, miniStream, 0, stream))
                return false;
        }
        if (quint64(stream->size()) < size)
            return false;
        stream->truncate(int(size));
        return true;
    }
    return false;
}

} // namespace

bool CompoundFile::isCompoundFile(const QByteArray &file)
{
    return file.startsWith(signature);
}

bool CompoundFile::readStream(const QByteArray &file, const QString &name, QByteArray *stream)
{
    Container container(file);
    QByteArray result;
    if (!container.open() || !container.readStream(name, &result))
        return false;
    *stream = std::move(result);
    return true;
}
