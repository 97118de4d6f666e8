#include "xmlsafetext.h"

QString xmlSafeText(const QString &text)
{
    QString result = text;
    const int n = result.size();
    for (int i = 0; i < n; ++i) {
        const ushort c = result.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n
            && QChar::isLowSurrogate(result.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        const bool allowed = (c >= 0x20 && !QChar::isSurrogate(c) && c != 0xfffe && c != 0xffff)
            || c == 0x9 || c == 0xa || c == 0xd;
        if (!allowed)
            result[i] = QLatin1Char(' ');
    }
    return result;
}
