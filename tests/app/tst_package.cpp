// The Debian package `make package` builds: what it holds, what it asks of
// the system, and what the Debian checker says of it.

#include "support/clirun.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString said(const CliRun &run)
{
    return QString::fromLocal8Bit(run.out + run.err);
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_out.isValid());
        // As make package runs it, into a folder of our own.
        QProcess cpack;
        cpack.setWorkingDirectory(MAROVIN_BUILD_DIR);
        cpack.setProcessChannelMode(QProcess::MergedChannels);
        cpack.start(MAROVIN_CPACK, {"-G", "DEB", "-B", m_out.path()});
        QVERIFY(cpack.waitForFinished(240000));
        QVERIFY2(cpack.exitCode() == 0, cpack.readAll().constData());
        const QStringList debs = QDir(m_out.path()).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = m_out.filePath(debs.first());
    }

    void controlFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("mustHold");
        QTest::addColumn<QString>("mustNotHold");
        QTest::newRow("a maintainer one can write to")
            << "Maintainer" << "<maintainers@" << "localhost";
        // The interface is Chinese by default.
        QTest::newRow("a Chinese font") << "Recommends" << "fonts-noto-cjk | fonts-wqy-microhei"
                                        << "";
        QTest::newRow("the libraries linked") << "Depends" << "libqscintilla2" << "";
        // The .xls reader is our own; the About box names only what is linked.
        QTest::newRow("no library left unused") << "Depends" << "libqscintilla2" << "libfreexl";
    }

    void controlFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, mustHold);
        QFETCH(QString, mustNotHold);
        const CliRun run = runProgram("dpkg-deb", {"--field", m_deb, field});
        QVERIFY2(run.code == 0, qPrintable(said(run)));
        const QString value = QString::fromUtf8(run.out);
        QVERIFY2(value.contains(mustHold), qPrintable(value));
        QVERIFY2(mustNotHold.isEmpty() || !value.contains(mustNotHold), qPrintable(value));
    }

    // Installed below /usr, the documentation stands where Debian looks
    // for it, and nothing is written beside the executables' folder.
    void contents()
    {
        const CliRun run = runProgram("dpkg-deb", {"--contents", m_deb});
        QVERIFY2(run.code == 0, qPrintable(said(run)));
        const QString listing = QString::fromUtf8(run.out);
        for (const char *path :
             {"./usr/bin/marovin", "./usr/bin/marovin-cli", "./usr/share/man/man1/marovin.1.gz",
              "./usr/share/man/man1/marovin-cli.1.gz", "./usr/share/doc/marovin/copyright",
              "./usr/share/doc/marovin/changelog.gz",
              "./usr/share/metainfo/invalid.marovin.Marovin.metainfo.xml"})
            QVERIFY2(listing.contains(QString(" %1\n").arg(path)), path);
    }

    void lintianFindsNoError()
    {
        if (QStandardPaths::findExecutable("lintian").isEmpty())
            QSKIP("lintian is not installed");
        QProcess lintian;
        lintian.setProcessChannelMode(QProcess::MergedChannels);
        lintian.start("lintian", {"--no-tag-display-limit", m_deb});
        QVERIFY(lintian.waitForFinished(240000));
        const QString report = QString::fromUtf8(lintian.readAll());
        QStringList errors;
        for (const QString &line : report.split('\n')) {
            if (line.startsWith("E: "))
                errors << line;
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
    }

private:
    QTemporaryDir m_out;
    QString m_deb;
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
