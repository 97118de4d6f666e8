#include "support/filebytes.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QtTest>

// The source tree keeps its layering: a lower folder never reaches up into
// the main window, the shapes never into the editor, the project folder
// holds no widgets, and no file grows past what a reader takes in at once.
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
        const QString include = QStringLiteral("^\\s*#\\s*include\\s*[\"<]%1/");
        QTest::newRow("editor -> mainwindow") << "editor" << include.arg("mainwindow");
        QTest::newRow("shapes -> mainwindow") << "shapes" << include.arg("mainwindow");
        QTest::newRow("project -> mainwindow") << "project" << include.arg("mainwindow");
        QTest::newRow("shapes -> editor") << "shapes" << include.arg("editor");
        QTest::newRow("project holds no widgets")
            << "project"
            << "class\\s+\\w+\\s*:\\s*public\\s+Q(\\w*(Widget|View|Dialog|Box|Bar|Edit|Frame|"
               "Window|Menu|Button|Splitter)|Label)\\b";
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
