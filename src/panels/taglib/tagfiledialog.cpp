#include "tagfiledialog.h"

#include "model/config.h"
#include "services/filedialog.h"

#include <QFileInfo>

namespace {

// The folder the choosers open in: the project's, or the working folder
// while no project has been saved anywhere yet.
QString startFolder()
{
    const QString path = Config::instance()->projectPath();
    return QFileInfo(path).isDir() ? path : QString();
}

} // namespace

QString TagFileDialog::chooserFilter(const QString &filter)
{
    // Only semicolons inside the parentheses separate patterns; the chooser
    // splits the patterns of an entry at blanks alone and would otherwise
    // look for files literally named "*.csv;*.txt".
    QString result;
    result.reserve(filter.size());
    int depth = 0;
    for (const QChar c : filter) {
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth > 0)
            --depth;
        result.append(depth > 0 && c == QLatin1Char(';') ? QChar(QLatin1Char(' ')) : c);
    }
    return result;
}

QString TagFileDialog::openFile(QWidget *parent, const QString &title, const QString &filter)
{
    return FileDialog::getOpenFileName(parent, title, startFolder(), chooserFilter(filter));
}

QString TagFileDialog::saveFile(QWidget *parent, const QString &title, const QString &filter,
                                const QString &defaultSuffix)
{
    QString name
        = FileDialog::getSaveFileName(parent, title, startFolder(), chooserFilter(filter));
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
        if (!name.endsWith(QLatin1Char('.')))
            name += QLatin1Char('.');
        name += defaultSuffix;
    }
    return name;
}
