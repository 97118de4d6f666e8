#include "clipictures.h"

#include "services/safefile.h"

#include <QSet>

namespace {

// The longest file name, in bytes, that Linux file systems hold.
constexpr int MaxFileNameBytes = 255;

// The longest start of text whose UTF-8 takes at most bytes, cut between
// characters.
QString fittingStart(const QString &text, int bytes)
{
    int used = 0;
    int i = 0;
    while (i < text.size()) {
        const int width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const int size = text.mid(i, width).toUtf8().size();
        if (used + size > bytes)
            break;
        used += size;
        i += width;
    }
    return text.left(i);
}

} // namespace

// The picture file name of each screen, in the order given. A name is the
// screen's name made a safe, visible file name: path separators and control
// characters would reach outside the folder or hide in a listing, a leading
// dot would hide the file, and a name past the file system's limit could not
// be written at all. Two screens that come out alike (a hand-edited file may
// repeat a name) are told apart by "-2", "-3"..., so no picture replaces
// another.
QStringList CliPictures::fileNames(const QStringList &screenNames)
{
    const QString suffix = QStringLiteral(".png");
    QStringList names;
    QSet<QString> used;
    for (const QString &screenName : screenNames) {
        QString base = screenName;
        for (QChar &c : base) {
            if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20
                || c.unicode() == 0x7f)
                c = QLatin1Char('_');
        }
        for (int i = 0; i < base.size() && base.at(i) == QLatin1Char('.'); ++i)
            base[i] = QLatin1Char('_');
        if (base.isEmpty())
            base = QStringLiteral("screen");

        QString name = fittingStart(base, MaxFileNameBytes - suffix.size()) + suffix;
        for (int n = 2; used.contains(name); ++n) {
            const QString number = QStringLiteral("-%1").arg(n);
            name = fittingStart(base, MaxFileNameBytes - suffix.size() - number.size()) + number
                + suffix;
        }
        used.insert(name);
        names << name;
    }
    return names;
}

bool CliPictures::write(const QImage &image, const QString &path, QString *reason)
{
    QString why;
    const auto png = [&image](QIODevice *device, QString *) { return image.save(device, "PNG"); };
    if (!SafeFile::write(path, png, &why)) {
        *reason = tr("无法写入 %1：%2").arg(path, why);
        return false;
    }
    return true;
}
