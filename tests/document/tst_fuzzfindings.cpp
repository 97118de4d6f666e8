#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "support/filebytes.h"
#include "support/processfixture.h"

#include <QDir>
#include <QGraphicsItem>
#include <QMetaProperty>
#include <QtTest>

// Every input the fuzzers found a fault with (tests/data/fuzz/) is read as
// the editor reads a file: it must come back with a status and, unless it
// loaded, a reason; and what was read must save into a file that loads.
class TestFuzzFindings : public QObject
{
    Q_OBJECT

    // "Class.property=value" for every enum property of a screen or shape
    // that holds a value its enumeration does not name.
    static QStringList unnamedEnumValues()
    {
        QStringList found;
        for (DrawScene *scene : DrawManager::instance()->scenes()) {
            QList<QObject *> objects = {scene};
            for (QGraphicsItem *item : scene->items()) {
                if (QObject *object = dynamic_cast<QObject *>(item))
                    objects.append(object);
            }
            for (QObject *object : qAsConst(objects)) {
                const QMetaObject *meta = object->metaObject();
                for (int i = 0; i < meta->propertyCount(); ++i) {
                    const QMetaProperty property = meta->property(i);
                    const int value = property.read(object).toInt();
                    if (property.isEnumType() && !property.enumerator().valueToKey(value))
                        found << QStringLiteral("%1.%2=%3")
                                     .arg(meta->className(), property.name())
                                     .arg(value);
                }
            }
        }
        return found;
    }

private slots:
    void init() { ProcessFixture::start(800, 480); }
    void cleanup() { ProcessFixture::finish(); }

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
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(fileBytes(path), hooks);
        QVERIFY(result.status != ProjectFile::OpenFailed
                && result.status != ProjectFile::PasswordRefused);
        QVERIFY(result.status == ProjectFile::Loaded || !result.error.isEmpty());
        if (result.status == ProjectFile::NotAProject)
            return;

        QCoreApplication::sendPostedEvents();
        const QStringList badEnums = unnamedEnumValues();
        QVERIFY2(badEnums.isEmpty(), qPrintable(badEnums.join(QLatin1Char(' '))));
        const int screens = DrawManager::instance()->scenes().size();
        const QByteArray saved = ProjectFile::projectBytes();
        ProcessFixture::finish();
        init();
        const ProjectFile::LoadResult again = ProjectFile::loadBytes(saved, hooks);
        QVERIFY2(again.status == ProjectFile::Loaded, qPrintable(again.error));
        QCOMPARE(DrawManager::instance()->scenes().size(), screens);
    }
};

QTEST_MAIN(TestFuzzFindings)
#include "tst_fuzzfindings.moc"
