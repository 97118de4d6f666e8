#include "services/fileerrortext.h"
#include "services/safefile.h"
#include "support/filesizelimit.h"

#include <QtTest>

#include <memory>

#include <unistd.h>

// A file that cannot be read or written is explained in the interface
// language, not in the system's English.
class TestFileErrorText : public QObject
{
    Q_OBJECT

private slots:
    void reasonInBothLanguages_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        QTest::newRow("missing folder") << "missing folder" << "文件或文件夹不存在"
                                        << "The file or folder does not exist";
        QTest::newRow("missing file") << "missing file" << "文件或文件夹不存在"
                                      << "The file or folder does not exist";
        QTest::newRow("folder in place of the file")
            << "folder" << "这是一个文件夹，不是文件" << "It is a folder, not a file";
        QTest::newRow("folder read as a file")
            << "read folder" << "这是一个文件夹，不是文件" << "It is a folder, not a file";
        QTest::newRow("unreadable file") << "unreadable" << "没有访问权限" << "Permission denied";
        QTest::newRow("full disk") << "full" << "磁盘已满" << "The disk is full";
        QTest::newRow("size limit") << "limit" << "文件超出了允许的大小"
                                    << "The file is larger than the system allows";
        // Anything else keeps the system's words.
        QTest::newRow("other") << "other" << "Too many links" << "Too many links";
    }

    void reasonInBothLanguages()
    {
        QFETCH(QString, failure);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        QTemporaryDir dir;
        const QString file = dir.filePath("f.txt");
        QVERIFY(SafeFile::write(file, "text"));
        if (failure == "unreadable" && geteuid() == 0)
            QSKIP("every file is readable to root");

        auto reason = [&]() -> QString {
            QString error;
            if (failure == "missing folder") {
                SafeFile::write(dir.filePath("none/f.txt"), "x", &error);
            } else if (failure == "missing file" || failure == "read folder"
                       || failure == "unreadable") {
                if (failure == "unreadable")
                    QFile::setPermissions(file, QFileDevice::Permissions());
                QFile read(failure == "missing file" ? dir.filePath("none.txt")
                                                     : failure == "read folder" ? dir.path() : file);
                if (read.open(QIODevice::ReadOnly))
                    return QStringLiteral("opened");
                error = FileErrorText::reason(read);
            } else if (failure == "folder") {
                SafeFile::write(dir.path(), "x", &error);
            } else if (failure == "full") {
                QFile full(QStringLiteral("/dev/full"));
                if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                    return QStringLiteral("no /dev/full");
                full.write("x", 1);
                error = FileErrorText::reason(full);
            } else if (failure == "limit") {
                FileSizeLimit limit(16);
                if (!limit.isActive())
                    return QStringLiteral("no limit");
                SafeFile::write(file, QByteArray(64, 'x'), &error);
            } else {
                error = FileErrorText::reason(QStringLiteral("Too many links"));
            }
            return error;
        };

        const QString inChinese = reason();
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&translator);
        const QString inEnglish = reason();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(inChinese, chinese);
        QCOMPARE(inEnglish, english);
    }
};

QTEST_GUILESS_MAIN(TestFileErrorText)
#include "tst_fileerrortext.moc"
