#include "project/projectfile.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QApplication>
#include <QtTest>

namespace {

// The first line where the two documents differ, both versions.
QString firstDifference(const QByteArray &a, const QByteArray &b)
{
    const QList<QByteArray> linesA = ProjectFile::decodeProjectText(a).split('\n');
    const QList<QByteArray> linesB = ProjectFile::decodeProjectText(b).split('\n');
    for (int i = 0; i < std::max(linesA.size(), linesB.size()); ++i) {
        if (linesA.value(i) != linesB.value(i))
            return QStringLiteral("line %1\n  saved:   %2\n  resaved: %3")
                .arg(i + 1)
                .arg(QString::fromUtf8(linesA.value(i).trimmed()),
                     QString::fromUtf8(linesB.value(i).trimmed()));
    }
    return QStringLiteral("no line differs");
}

} // namespace

// Saving a project, loading what was saved and saving again must give the
// same bytes, for projects drawn at random: whatever a save cannot carry
// through a load shows up as a difference.
class TestRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(); }
    void cleanup() { ProcessFixture::finish(); }

    void saveLoadSave_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 1000; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }

    void saveLoadSave()
    {
        QFETCH(quint32, seed);
        // The project's size comes from the seed as well, so that one seed
        // is all it takes to build the same project again.
        QRandomGenerator sizes(seed ^ 0x5a5a5a5au);
        ProjectGenerator::Options options;
        options.screens = int(sizes.bounded(1, 4));
        options.shapesPerScreen = int(sizes.bounded(3, 13));
        options.groupsPerScreen = int(sizes.bounded(0, 6));
        options.groupSize = 4;
        options.addressTags = int(sizes.bounded(0, 11));
        options.textTags = int(sizes.bounded(0, 6));
        options.encoded = seed % 2 == 0;
        ProjectGenerator(seed).build(options);
        const QByteArray saved = ProjectFile::projectBytes();
        ProcessFixture::finish();
        init();

        ProjectFile::LoadHooks hooks;
        hooks.checkPassword = [](const QString &) { return true; };
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(saved, hooks);
        QVERIFY2(result.status == ProjectFile::Loaded,
                 qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(result.error)));
        const QByteArray resaved = ProjectFile::projectBytes();
        QVERIFY2(saved == resaved,
                 qPrintable(
                     QStringLiteral("seed %1: %2").arg(seed).arg(firstDifference(saved, resaved))));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestRoundTrip test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_roundtrip.moc"
