// What `cmake --install` lays out must be what a desktop needs to offer the
// editor in its menus and to open .mvprg files with it.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

QString desktopValue(const QString &desktopFile, const QString &key)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QString prefix = key + QLatin1Char('=');
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
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
        const Run install = run(QStringLiteral(MAROVIN_CMAKE),
                                {QStringLiteral("--install"), QStringLiteral(MAROVIN_BUILD_DIR),
                                 QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    }

    void laysOutFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::newRow("editor") << "bin/marovin" << true;
        QTest::newRow("command-line tool") << "bin/marovin-cli" << true;
        QTest::newRow("launcher") << "share/applications/marovin.desktop" << false;
        QTest::newRow("bitmap icon") << "share/icons/hicolor/256x256/apps/marovin.png" << false;
        QTest::newRow("scalable icon") << "share/icons/hicolor/scalable/apps/marovin.svg" << false;
        QTest::newRow("file type") << "share/mime/packages/marovin.xml" << false;
    }
    void laysOutFiles()
    {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo info(m_prefix.filePath(path));
        QVERIFY2(info.isFile(), qPrintable(path));
        QCOMPARE(info.isExecutable(), executable);
    }

    void launcherIsValidAndConsistent()
    {
        const QString desktop = m_prefix.filePath(QStringLiteral("share/applications/marovin.desktop"));
        const Run validate = run(QStringLiteral("desktop-file-validate"), {desktop});
        QVERIFY2(validate.exitCode == 0, qPrintable(validate.output));
        QVERIFY2(validate.output.trimmed().isEmpty(), qPrintable(validate.output));

        // The launcher must start what was installed, under the icon that
        // was installed, for the file type that was installed.
        const QString exec = desktopValue(desktop, QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
        QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("bin/") + exec)).isExecutable());
        const QString icon = desktopValue(desktop, QStringLiteral("Icon"));
        QVERIFY(QFileInfo::exists(
            m_prefix.filePath(QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(icon))));
        QCOMPARE(desktopValue(desktop, QStringLiteral("MimeType")),
                 QStringLiteral("application/x-marovin-project;"));
    }

    void iconIsSquare256()
    {
        const QImage icon(m_prefix.filePath(QStringLiteral("share/icons/hicolor/256x256/apps/marovin.png")));
        QCOMPARE(icon.size(), QSize(256, 256));
        // Drawn, not an empty canvas: the corners are clear, the middle is not.
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(128, 128)), 255);
    }

    // The entry must survive the database compiler, which is what a desktop
    // reads: a malformed entry is dropped there without a word.
    void fileTypeCompiles()
    {
        const QString mime = m_prefix.filePath(QStringLiteral("share/mime"));
        const Run update = run(QStringLiteral("update-mime-database"), {mime});
        QVERIFY2(update.exitCode == 0, qPrintable(update.output));
        QFile globs(mime + QStringLiteral("/globs2"));
        QVERIFY(globs.open(QIODevice::ReadOnly));
        QVERIFY(globs.readAll().contains("application/x-marovin-project:*.mvprg"));

        QFile type(mime + QStringLiteral("/application/x-marovin-project.xml"));
        QVERIFY(type.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&type);
        QString comment;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && reader.name() == QLatin1String("comment")
                && reader.attributes().value(QStringLiteral("xml:lang")).isEmpty()) {
                comment = reader.readElementText();
                break;
            }
        }
        QCOMPARE(comment, QStringLiteral("Marovin project"));
    }

private:
    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
