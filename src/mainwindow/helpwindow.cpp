#include "helpwindow.h"

HelpWindow::HelpWindow(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    // A window of its own beside the editor, which stays usable.
    setWindowFlag(Qt::Window);
    setOpenExternalLinks(true);
    resize(760, 640);
}

QUrl HelpWindow::pageUrl(int language)
{
    return QUrl(language == 1 ? QStringLiteral("qrc:/help/en_US.html")
                              : QStringLiteral("qrc:/help/zh_CN.html"));
}

void HelpWindow::showPage(int language)
{
    setWindowTitle(tr("帮助"));
    const QUrl url = pageUrl(language);
    if (source() != url)
        setSource(url);
}
