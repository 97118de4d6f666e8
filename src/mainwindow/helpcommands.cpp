#include "helpcommands.h"

#include "helpwindow.h"
#include "services/appsettings.h"
#include "services/messagedialog.h"

#include <QCoreApplication>
#include <QDate>
#include <QWidget>

HelpCommands::HelpCommands(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

void HelpCommands::followLanguage(int language)
{
    if (m_helpWindow)
        m_helpWindow->showPage(language);
}

void HelpCommands::help()
{
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(m_window);
    m_helpWindow->showPage(AppSettings::instance()->uiLanguage());
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

void HelpCommands::about()
{
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral(MAROVIN_VERSION);
    const QString text = tr("Marovin 操作面板组态编辑器") + QLatin1Char('\n')
        + tr("版本 %1，构建于 %2").arg(version, buildDate()) + QLatin1Char('\n')
        + tr("Qt 版本 %1").arg(QLatin1String(qVersion())) + QStringLiteral("\n\n")
        + tr("随附的库及其许可证：") + QLatin1Char('\n')
        // Licence names are the licences' own, in every language.
        + QStringLiteral("Qt %1 — GNU LGPL 3.0\n"
                         "QScintilla — GNU GPL 3.0\n"
                         "libxlsxwriter — BSD 2-Clause\n"
                         "minizip — zlib")
              .arg(QLatin1String(QT_VERSION_STR))
        + QStringLiteral("\n\n")
        + tr("本程序是自由软件，依照 GNU 通用公共许可证第 3 版或（由你选择）任何更新版本发布，"
             "不提供任何担保。许可证全文见 https://www.gnu.org/licenses/gpl-3.0.html 。");
    MessageDialog::showMessage(m_window, QMessageBox::Information, tr("关于"), text, {tr("确定")});
}

QString HelpCommands::buildDate()
{
    // __DATE__ is "Mmm dd yyyy" in English whatever the locale.
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const QByteArray date = QByteArray(__DATE__).simplified();
    const QList<QByteArray> parts = date.split(' ');
    if (parts.size() != 3)
        return QString::fromLatin1(date);
    const int month = int(QByteArray(months).indexOf(parts.at(0)) / 3 + 1);
    return QDate(parts.at(2).toInt(), month, parts.at(1).toInt()).toString(Qt::ISODate);
}
