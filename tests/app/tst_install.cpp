// What `cmake --install` lays out must be what a desktop needs to offer the
// editor in its menus and to open project files with it, and what a
// packager needs; `make install` must be undone by `make uninstall` alone.

#include "document/projectfile.h"
#include "model/config.h"
#include "support/clirun.h"
#include "support/filebytes.h"

#include <QDirIterator>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QtTest>

namespace {

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

QString said(const CliRun &run)
{
    return QString::fromLocal8Bit(run.out + run.err);
}

// Every file, link and folder below root, relative to it.
QStringList treeOf(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

// Symbols and debugging data leave their section names in an ELF file.
bool isStripped(const QString &executable)
{
    const QByteArray bytes = fileBytes(executable);
    return !bytes.isEmpty() && !bytes.contains(".symtab") && !bytes.contains(".debug_info");
}

const char *const Scripts = MAROVIN_SOURCE_DIR "/scripts/";

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        const CliRun install = runProgram(
            MAROVIN_CMAKE, {"--install", MAROVIN_BUILD_DIR, "--prefix", m_prefix.path()});
        QVERIFY2(install.code == 0, qPrintable(said(install)));
    }

    void launcherAndFileType()
    {
        const QString desktop = m_prefix.filePath("share/applications/marovin.desktop");
        const CliRun validate = runProgram("desktop-file-validate", {desktop});
        QVERIFY2(validate.code == 0 && said(validate).trimmed().isEmpty(),
                 qPrintable(said(validate)));
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
        const CliRun update = runProgram("update-mime-database", {mime});
        QVERIFY2(update.code == 0, qPrintable(said(update)));
        QVERIFY(fileBytes(mime + "/globs2").contains("application/x-marovin-project:*.mvprg"));

        // The file types this process knows from here on are the system's
        // and ours compiled into one database, as a package installed into
        // /usr leaves them. (Spread over two folders, this version of the
        // toolkit lets the later folder's weaker match win.) Set before the
        // first look-up, which reads them once.
        QVERIFY(m_mime.isValid());
        const QString packages = m_mime.filePath("share/mime/packages");
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QFile::copy(mime + "/packages/marovin.xml", packages + "/marovin.xml"));
        QVERIFY(QFile::copy("/usr/share/mime/packages/freedesktop.org.xml",
                            packages + "/freedesktop.org.xml"));
        const CliRun merged = runProgram("update-mime-database", {m_mime.filePath("share/mime")});
        QVERIFY2(merged.code == 0, qPrintable(said(merged)));
        qputenv("XDG_DATA_HOME", m_mime.filePath("home").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_mime.filePath("share").toLocal8Bit());
    }

    // A project that lost its suffix is still known by its content, in both
    // of its forms, and other XML is not taken for one.
    void projectKnownWithoutSuffix_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        Config::instance()->reset();
        Config::instance()->encryption = 0;
        QTest::newRow("plain project") << ProjectFile::projectBytes()
                                       << "application/x-marovin-project";
        Config::instance()->encryption = 1;
        QTest::newRow("encoded project") << ProjectFile::projectBytes()
                                         << "application/x-marovin-project";
        Config::instance()->reset();
        QByteArray withoutType = ProjectFile::projectBytes();
        QVERIFY(withoutType.contains("<!DOCTYPE Marovin>\n"));
        withoutType.replace("<!DOCTYPE Marovin>\n", "");
        QTest::newRow("plain project without the document type")
            << withoutType << "application/x-marovin-project";
        QTest::newRow("other XML with a Project root")
            << QByteArray("<?xml version=\"1.0\"?>\n<Project Sdk=\"x\">\n</Project>\n")
            << "application/xml";
        QTest::newRow("build file with a bare Project root")
            << QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Project>\n"
                          "  <PropertyGroup>\n    <Configuration>Debug</Configuration>\n"
                          "  </PropertyGroup>\n</Project>\n")
            << "application/xml";
    }

    void projectKnownWithoutSuffix()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QVERIFY2(QFileInfo::exists(m_mime.filePath("share/mime/mime.cache")),
                 "launcherAndFileType compiles the database");
        QTemporaryDir dir;
        const QString path = dir.filePath("project");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name(), expected);
    }

    void manualPagesAndMetainfo()
    {
        for (const QString name : {"marovin", "marovin-cli"}) {
            const QString page = m_prefix.filePath("share/man/man1/" + name + ".1.gz");
            QVERIFY2(fileBytes(page).startsWith("\x1f\x8b"), qPrintable(page + " is not gzip'd"));
            // What lintian runs: every troff warning is a fault in the page.
            const CliRun man = runProgram(
                "man", {"--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", page}, manEnvironment());
            QVERIFY2(man.code == 0 && man.err.isEmpty(), qPrintable(said(man)));
            QVERIFY(!man.out.isEmpty());
        }

        const QString metainfo
            = m_prefix.filePath("share/metainfo/invalid.marovin.Marovin.metainfo.xml");
        const CliRun validate
            = runProgram("appstreamcli", {"validate", "--no-net", "--explain", metainfo});
        QVERIFY2(validate.code == 0, qPrintable(said(validate)));
        // It must describe what was installed beside it.
        const QByteArray text = fileBytes(metainfo);
        QVERIFY(text.contains("<launchable type=\"desktop-id\">marovin.desktop</launchable>"));
        QVERIFY(QFileInfo::exists(m_prefix.filePath("share/applications/marovin.desktop")));
    }

    // One licence everywhere: the repository's text, the Debian copyright
    // file and the metainfo name the same one.
    void licenceAgrees()
    {
        const QByteArray licence = fileBytes(MAROVIN_SOURCE_DIR "/LICENSE");
        QVERIFY(licence.contains("GNU GENERAL PUBLIC LICENSE\n                       Version 3"));
        const QByteArray copyright = fileBytes(m_prefix.filePath("share/doc/marovin/copyright"));
        QVERIFY(copyright.startsWith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));
        QVERIFY(copyright.contains("\nLicense: GPL-3.0+\n"));
        QVERIFY(copyright.contains("/usr/share/common-licenses/GPL-3"));
        QVERIFY(fileBytes(m_prefix.filePath("share/metainfo/invalid.marovin.Marovin.metainfo.xml"))
                    .contains("<project_license>GPL-3.0-or-later</project_license>"));
    }

    // `make install` strips, and `make uninstall` takes away exactly what it
    // added: not the files and folders that were there before, and not the
    // files of another install made from the same build, as the Debian
    // package's is.
    void uninstallRemovesExactlyWhatInstallAdded()
    {
        QTemporaryDir prefix;
        QTemporaryDir other;
        QVERIFY(prefix.isValid() && other.isValid());
        QVERIFY(QDir(prefix.path()).mkpath("share/applications"));
        QFile foreign(prefix.filePath("share/applications/other.desktop"));
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.close();
        const QStringList before = treeOf(prefix.path());

        const QProcessEnvironment environment = scriptEnvironment();
        const CliRun install = runProgram(
            "sh", {Scripts + QString("install.sh"), MAROVIN_BUILD_DIR, prefix.path()}, environment);
        QVERIFY2(install.code == 0, qPrintable(said(install)));
        for (const QString name : {"marovin", "marovin-cli"})
            QVERIFY2(isStripped(prefix.filePath("bin/" + name)), qPrintable(name));
        QVERIFY(treeOf(prefix.path()).contains("share/man/man1/marovin.1.gz"));

        // Then another install records its paths in the build's manifest.
        const CliRun packaged = runProgram(
            MAROVIN_CMAKE, {"--install", MAROVIN_BUILD_DIR, "--prefix", other.path()});
        QVERIFY2(packaged.code == 0, qPrintable(said(packaged)));
        const QStringList otherFiles = treeOf(other.path());

        const CliRun uninstall = runProgram(
            "sh", {Scripts + QString("uninstall.sh"), MAROVIN_BUILD_DIR, prefix.path()},
            environment);
        QVERIFY2(uninstall.code == 0, qPrintable(said(uninstall)));
        QCOMPARE(treeOf(prefix.path()), before);
        QCOMPARE(treeOf(other.path()), otherFiles);

        // Nothing recorded any more: said, and nothing removed.
        const CliRun again = runProgram(
            "sh", {Scripts + QString("uninstall.sh"), MAROVIN_BUILD_DIR, prefix.path()},
            environment);
        QCOMPARE(again.code, 1);
        QVERIFY2(again.err.contains(prefix.path().toLocal8Bit()), again.err.constData());
        QCOMPARE(treeOf(prefix.path()), before);
    }

    // An installed copy is not a portable one, whatever its prefix: what the
    // editor writes goes to the user's folders, never beside the executable,
    // where `make uninstall` would leave it behind.
    void installedEditorWritesOnlyToTheUsersFolders()
    {
        QTemporaryDir home;
        QTemporaryDir runtime;
        QTemporaryDir shots;
        QVERIFY(home.isValid() && runtime.isValid() && shots.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                 "MAROVIN_APP_DIR", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(name);
        environment.insert("HOME", home.path());
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        const QStringList before = treeOf(m_prefix.path());
        const CliRun run = runProgram(m_prefix.filePath("bin/marovin"),
                                      {"--screenshot", shots.filePath("shot.png")}, environment);
        QVERIFY2(run.code == 0, qPrintable(said(run)));
        QCOMPARE(treeOf(m_prefix.path()), before);
        QVERIFY(fileBytes(home.filePath(".local/share/ZEL/Marovin/log.txt")).size() > 0);
    }

    // A prefix the install had to create goes with the uninstall, and a
    // space in its name (quoted through make) does not split it in two.
    void uninstallRemovesTheFoldersInstallCreated()
    {
        QTemporaryDir parent;
        const QString prefix = parent.filePath("new/pre fix");
        const QProcessEnvironment environment = scriptEnvironment();
        const CliRun install = runProgram(
            "sh", {Scripts + QString("install.sh"), MAROVIN_BUILD_DIR, prefix}, environment);
        QVERIFY2(install.code == 0, qPrintable(said(install)));
        QVERIFY(QFileInfo(prefix + "/bin/marovin").isExecutable());
        QVERIFY(!QFileInfo::exists(parent.filePath("new/pre")));
        const CliRun uninstall = runProgram(
            "make", {"-s", "-C", MAROVIN_SOURCE_DIR, "uninstall", "BUILD_DIR=" MAROVIN_BUILD_DIR,
                     "PREFIX=" + prefix},
            environment);
        QVERIFY2(uninstall.code == 0, qPrintable(said(uninstall)));
        // "new", made on the way to the prefix, lies outside it and stays.
        QCOMPARE(treeOf(parent.path()), QStringList("new"));
    }

private:
    static QProcessEnvironment scriptEnvironment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CMAKE", MAROVIN_CMAKE);
        return environment;
    }

    static QProcessEnvironment manEnvironment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("MANROFFSEQ", "");
        environment.insert("MANWIDTH", "80");
        return environment;
    }

    // A space in the prefix must not split it anywhere on the way.
    QTemporaryDir m_prefix {QDir::tempPath() + "/marovin prefix-XXXXXX"};
    QTemporaryDir m_mime;
};

QTEST_MAIN(TestInstall)

#include "tst_install.moc"
