#include "editor/drawscene.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "project/projectfile.h"

#include <QDir>
#include <QtTest>

// Every input the fuzzers found a fault with (tests/data/fuzz/) is read as
// the editor reads a file: it must come back with a status and, unless it
// loaded, a reason; and what was read must save into a file that loads.
class TestFuzzFindings : public QObject
{
    Q_OBJECT

    static void resetProject()
    {
        DrawManager::instance()->clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DrawScene::resetScreenCounters();
        Config::instance()->reset();
        Config::instance()->screenWidth = 800;
        Config::instance()->screenHeight = 480;
    }

private slots:
    void init() { resetProject(); }
    void cleanup() { resetProject(); }

    void findings_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(MAROVIN_FUZZ_FINDINGS));
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), MAROVIN_FUZZ_FINDINGS);
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }

    void findings()
    {
        QFETCH(QString, path);

        ProjectFile::LoadHooks hooks;
        hooks.checkPassword = [](const QString &) { return true; };
        const ProjectFile::LoadResult result = ProjectFile::load(path, hooks);
        QVERIFY(result.status != ProjectFile::OpenFailed);
        QVERIFY(result.status != ProjectFile::PasswordRefused);
        if (result.status != ProjectFile::Loaded)
            QVERIFY(!result.error.isEmpty());
        if (result.status == ProjectFile::NotAProject)
            return;

        QCoreApplication::sendPostedEvents();
        const int screens = DrawManager::instance()->scenes().size();
        const QByteArray saved = ProjectFile::projectBytes();
        resetProject();
        const ProjectFile::LoadResult again = ProjectFile::loadBytes(saved, hooks);
        QVERIFY2(again.status == ProjectFile::Loaded, qPrintable(again.error));
        QCOMPARE(DrawManager::instance()->scenes().size(), screens);
    }
};

QTEST_MAIN(TestFuzzFindings)
#include "tst_fuzzfindings.moc"
