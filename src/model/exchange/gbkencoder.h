#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QStringView>

// Text written straight into GBK bytes, a character at a time from a table
// the codec fills once per character, process-wide. GBK encodes each
// character on its own (one byte for ASCII, one or two otherwise), so the
// bytes are the codec's own for the whole text; the codec itself takes
// several times as long per character, which an export of ten thousand
// tags would wait for.
//
// Takes the calls a QString takes for appending, so that one writer can
// fill either.
class GbkEncoder
{
public:
    void reserve(int bytes)
    {
        if (bytes > m_bytes.size())
            m_bytes.resize(bytes);
    }

    void append(const QChar *text, int size);
    void append(QLatin1Char c)
    {
        if (uchar(c.toLatin1()) < 0x80 && m_size < m_bytes.size()) {
            m_bytes.data()[m_size++] = c.toLatin1();
        } else {
            const QChar character(c);
            append(&character, 1);
        }
    }
    // Appends text unless it holds a comma, a quote or a line break, which
    // a field of a comma file must put in quotes: then it appends nothing
    // and returns false.
    bool appendUnquoted(const QChar *text, int size);
    // ASCII only, as every text of the program's own in a file is.
    void append(QLatin1String text);
    GbkEncoder &operator+=(QLatin1Char c)
    {
        append(c);
        return *this;
    }
    GbkEncoder &operator+=(QLatin1String text)
    {
        append(text);
        return *this;
    }
    GbkEncoder &operator+=(const QString &text)
    {
        append(text.constData(), text.size());
        return *this;
    }

    // False once a character GBK cannot encode, or a surrogate, came:
    // such a text is the codec's to judge whole.
    bool isEncodable() const { return m_encodable; }
    // Whether each character appended reads back from its bytes as itself.
    bool readsBack() const { return m_readsBack; }
    // The bytes written; the encoder is empty afterwards.
    QByteArray take();

private:
    template <bool stopAtQuoting>
    bool encode(const QChar *text, int size);
    // Room for size more bytes at m_size.
    char *room(int size);

    // Written up to m_size; the rest is room for what comes.
    QByteArray m_bytes;
    int m_size = 0;
    bool m_encodable = true;
    bool m_readsBack = true;
};
