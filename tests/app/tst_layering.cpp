#include "support/filebytes.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QtTest>

// What the build's layering cannot enforce: the model holds no widgets, and
// no file grows past what a reader takes in at once.
class TestLayering : public QObject
{
    Q_OBJECT

    // The sources and headers under src/folder (all of src/ when empty).
    static QStringList sources(const QString &folder = QString())
    {
        QStringList files;
        QDirIterator it(QStringLiteral(MAROVIN_SOURCE_DIR "/") + folder,
                        {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    static QString text(const QString &path) { return QString::fromUtf8(fileBytes(path)); }

    // The files under src/folder whose text matches pattern.
    static QStringList matching(const QString &folder, const QString &pattern)
    {
        const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
        QStringList found;
        for (const QString &file : sources(folder)) {
            if (re.match(text(file)).hasMatch())
                found << file;
        }
        return found;
    }

private slots:
    void layering_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("pattern"); // what no file there may hold
        // The build keeps each layer from naming a higher one's headers; what
        // it cannot see is a widget class written in the layer of data.
        QTest::newRow("the model holds no widgets")
            << "model"
            << "class\\s+\\w+\\s*:\\s*public\\s+Q(\\w*(Widget|View|Dialog|Box|Bar|Edit|Frame|"
               "Window|Menu|Button|Splitter)|Label)\\b";
        QTest::newRow("the model includes no widgets")
            << "model" << "^\\s*#\\s*include\\s*<(QtWidgets/)?Q(\\w*(Widget|Dialog|Box|Edit)|Application)>";
    }

    void layering()
    {
        QFETCH(QString, folder);
        QFETCH(QString, pattern);
        QVERIFY(!sources(folder).isEmpty());
        const QStringList found = matching(folder, pattern);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char(' '))));
    }

    void noFileOver800Lines()
    {
        const QStringList files = sources();
        QVERIFY(files.size() > 50);
        QStringList tooLong;
        for (const QString &file : files) {
            const int lines = text(file).count(QLatin1Char('\n'));
            if (lines > 800)
                tooLong << QStringLiteral("%1 (%2 lines)").arg(file).arg(lines);
        }
        QVERIFY2(tooLong.isEmpty(), qPrintable(tooLong.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
