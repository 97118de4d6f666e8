// What `cmake --install` lays out must be what a desktop needs to offer the
// editor in its menus and to open .mvprg files with it.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The exit code (-1 for a crash or a hang) and what the program printed.
QPair<int, QString> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QString()};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

QString desktopValue(const QString &desktopFile, const QString &key)
{
    QFile file(desktopFile);
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return QString();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        const auto install
            = run(MAROVIN_CMAKE, {"--install", MAROVIN_BUILD_DIR, "--prefix", m_prefix.path()});
        QVERIFY2(install.first == 0, qPrintable(install.second));
    }

    void launcherAndFileType()
    {
        const QString desktop = m_prefix.filePath("share/applications/marovin.desktop");
        const auto validate = run("desktop-file-validate", {desktop});
        QVERIFY2(validate.first == 0 && validate.second.trimmed().isEmpty(),
                 qPrintable(validate.second));
        // The launcher must start what was installed, under the icon that
        // was installed, for the file type that was installed.
        const QString exec = desktopValue(desktop, "Exec").section(' ', 0, 0);
        QVERIFY(QFileInfo(m_prefix.filePath("bin/" + exec)).isExecutable());
        QVERIFY(QFileInfo(m_prefix.filePath("bin/marovin-cli")).isExecutable());
        QVERIFY(QFileInfo::exists(m_prefix.filePath(
            QString("share/icons/hicolor/256x256/apps/%1.png").arg(desktopValue(desktop, "Icon")))));
        QCOMPARE(desktopValue(desktop, "MimeType"), QString("application/x-marovin-project;"));
        // The file type must survive the database compiler, which is what a
        // desktop reads: a malformed entry is dropped there without a word.
        const QString mime = m_prefix.filePath("share/mime");
        const auto update = run("update-mime-database", {mime});
        QVERIFY2(update.first == 0, qPrintable(update.second));
        QFile globs(mime + "/globs2");
        QVERIFY(globs.open(QIODevice::ReadOnly));
        QVERIFY(globs.readAll().contains("application/x-marovin-project:*.mvprg"));
    }

private:
    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
