#include "gbkencoder.h"

#include <QTextCodec>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

// One entry per UTF-16 code unit: 0 until looked up, then Known with the
// character's bytes in the low 16 bits (one byte when below 0x100: GBK's
// lead bytes start at 0x81, so a two-byte code never is).
enum : quint32 { Known = 0x80000000u, Unencodable = 0x40000000u, ReadsBack = 0x20000000u };

std::atomic<quint32> table[0x10000];

quint32 lookUp(QChar c)
{
    static QTextCodec *const codec = QTextCodec::codecForName("GBK");
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    const QByteArray bytes = codec->fromUnicode(&c, 1, &state);
    quint32 entry = Known;
    // A character the codec stands in for with a null byte is one it could
    // not encode, whether or not it counted it.
    if (state.invalidChars > 0 || bytes.isEmpty() || bytes.size() > 2 || bytes == QByteArray(1, '\0')) {
        entry |= Unencodable;
    } else {
        entry |= bytes.size() == 1 ? uchar(bytes.at(0))
                                   : quint32(uchar(bytes.at(0))) << 8 | uchar(bytes.at(1));
        if (codec->toUnicode(bytes) == QString(c))
            entry |= ReadsBack;
    }
    // Two threads looking up the same character store the same entry.
    table[c.unicode()].store(entry, std::memory_order_relaxed);
    return entry;
}

} // namespace

void GbkEncoder::append(const QChar *text, int size)
{
    encode<false>(text, size);
}

bool GbkEncoder::appendUnquoted(const QChar *text, int size)
{
    return encode<true>(text, size);
}

template <bool stopAtQuoting>
bool GbkEncoder::encode(const QChar *text, int size)
{
    if (!m_encodable)
        return true;
    char *const start = room(size * 2);
    char *out = start;
    bool back = m_readsBack;
    for (const QChar *const end = text + size; text < end; ++text) {
        const ushort u = text->unicode();
        if (u < 0x80) {
            // All four lie at or below the comma, where few other characters do.
            if (stopAtQuoting && u <= ',' && (u == ',' || u == '"' || u == '\n' || u == '\r'))
                return false;
            *out++ = char(u);
            continue;
        }
        quint32 entry = 0;
        if (!text->isSurrogate()) {
            entry = table[u].load(std::memory_order_relaxed);
            if (!entry)
                entry = lookUp(*text);
        }
        if (!entry || (entry & Unencodable)) {
            m_encodable = false;
            return true;
        }
        back = back && (entry & ReadsBack);
        const quint32 code = entry & 0xFFFF;
        if (code >= 0x100)
            *out++ = char(code >> 8);
        *out++ = char(code & 0xFF);
    }
    m_readsBack = back;
    m_size += int(out - start);
    return true;
}

void GbkEncoder::append(QLatin1String text)
{
    memcpy(room(text.size()), text.data(), size_t(text.size()));
    m_size += text.size();
}

char *GbkEncoder::room(int size)
{
    if (m_bytes.size() - m_size < size)
        m_bytes.resize(std::max(m_bytes.size() * 2, m_size + size));
    return m_bytes.data() + m_size;
}

QByteArray GbkEncoder::take()
{
    m_bytes.resize(m_size);
    m_size = 0;
    return std::move(m_bytes);
}
