#include "services/apppaths.h"
#include "services/appsettings.h"
#include "support/isolatedsettings.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Writing the choices back is checked where the window and its dialogs
// store them (tst_mainwindow, tst_optionset).
class TestAppSettings : public QObject
{
    Q_OBJECT

private slots:
    // The working folder stands in for the executable's: the settings file
    // is then root/config/config.ini.
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir(m_root.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(m_root.path()).mkpath(QStringLiteral("config")));
        QVERIFY(QDir::setCurrent(m_root.filePath(QStringLiteral("bin"))));
    }

    // The stored choices come back under the keys they have always had; a
    // file without them starts in Chinese without the new-project dialog.
    // Reading announces nothing: the window installs the language it finds.
    void loadReadsStoredChoices_data()
    {
        QTest::addColumn<QVariant>("language"); // invalid: not stored
        QTest::addColumn<QVariant>("showNew");
        QTest::addColumn<int>("uiLanguage");
        QTest::addColumn<bool>("shown");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << 0 << false;
        QTest::newRow("English, dialog") << QVariant(1) << QVariant(true) << 1 << true;
        QTest::newRow("Chinese, no dialog") << QVariant(0) << QVariant(false) << 0 << false;
    }
    void loadReadsStoredChoices()
    {
        QFETCH(QVariant, language);
        QFETCH(QVariant, showNew);
        QFETCH(int, uiLanguage);
        QFETCH(bool, shown);
        {
            QSettings ini(AppPaths::settingsFile(), QSettings::IniFormat);
            ini.clear();
            if (language.isValid())
                ini.setValue(QStringLiteral("language"), language);
            if (showNew.isValid())
                ini.setValue(QStringLiteral("showNew"), showNew);
        }
        AppSettings *settings = AppSettings::instance();
        // From the other choice, so that only reading can bring the expected.
        settings->setLanguage(1 - uiLanguage);
        settings->setShowNew(!shown);
        QSignalSpy announced(settings, &AppSettings::languageChanged);
        settings->load();
        QCOMPARE(settings->uiLanguage(), uiLanguage);
        QCOMPARE(settings->showNew(), shown);
        QCOMPARE(announced.count(), 0);
    }

    // A change of language is announced once; choosing the same again is
    // no change.
    void languageChangeAnnouncedOnce()
    {
        AppSettings *settings = AppSettings::instance();
        settings->setLanguage(0);
        QSignalSpy announced(settings, &AppSettings::languageChanged);
        for (int language : {1, 1, 0, 0})
            settings->setLanguage(language);
        QCOMPARE(announced.count(), 2);
        QCOMPARE(announced.at(0).value(0).toInt(), 1);
        QCOMPARE(announced.at(1).value(0).toInt(), 0);
    }

private:
    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
