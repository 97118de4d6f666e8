#include "mainwindow/mainactions.h"
#include "mainwindow/optionsetdialog.h"
#include "services/apppaths.h"
#include "services/appsettings.h"
#include "services/editorsettings.h"
#include "support/modalscript.h"
#include "support/processfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QAction>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

namespace {

// Sets every control of the dialog as a user would; the colour through its
// button and a scripted colour chooser, before the grid group (which holds
// the button) may be switched off.
void enter(OptionSetDialog &dialog, const EditorSettings::Values &values)
{
    {
        ModalScript script;
        script.chooseText(values.gridColor.name());
        dialog.colourButton()->click();
    }
    dialog.gridBox()->setChecked(values.gridShown);
    dialog.gridXBox()->setValue(values.gridX);
    dialog.gridYBox()->setValue(values.gridY);
    dialog.lockBox()->setChecked(values.lockAll);
    dialog.snapBox()->setChecked(values.snapToGrid);
    dialog.autoSaveBox()->setChecked(values.autoSave);
    dialog.intervalBox()->setValue(values.autoSaveMinutes);
}

EditorSettings::Values shown(const OptionSetDialog &dialog)
{
    EditorSettings::Values values;
    values.gridShown = dialog.gridBox()->isChecked();
    values.gridX = dialog.gridXBox()->value();
    values.gridY = dialog.gridYBox()->value();
    values.gridColor = dialog.gridColour();
    values.lockAll = dialog.lockBox()->isChecked();
    values.snapToGrid = dialog.snapBox()->isChecked();
    values.autoSave = dialog.autoSaveBox()->isChecked();
    values.autoSaveMinutes = dialog.intervalBox()->value();
    return values;
}

QVariant stored(const char *key)
{
    return QSettings(AppPaths::settingsFile(), QSettings::IniFormat).value(QLatin1String(key));
}

} // namespace

class TestOptionSet : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ProcessFixture::start();
        QFile::remove(AppPaths::settingsFile());
    }

    void cleanup()
    {
        EditorSettings::instance()->setValues(EditorSettings::Values());
        QFile::remove(AppPaths::settingsFile());
        ProcessFixture::finish();
    }

    // Cancel applies and stores nothing; OK applies at once, stores beside
    // the language, and a restart and a new dialog read the values back.
    void okStoresCancelDoesNot()
    {
        // Every value away from its default, one spacing odd (typed, not
        // stepped to).
        EditorSettings::Values values;
        values.gridShown = false;
        values.gridX = 60;
        values.gridY = 15;
        values.gridColor = QColor("#123456");
        values.lockAll = values.snapToGrid = true;
        values.autoSave = false;
        values.autoSaveMinutes = 120;
        for (bool confirm : {false, true}) {
            OptionSetDialog dialog;
            enter(dialog, values);
            dialog.languageBox()->setCurrentIndex(confirm ? 0 : 1);
            QSignalSpy changed(EditorSettings::instance(), &EditorSettings::changed);
            confirm ? dialog.on_ok_clicked() : dialog.on_cancel_clicked();
            QCOMPARE(changed.count(), confirm ? 1 : 0);
            QCOMPARE(int(AppSettings::instance()->uiLanguage()), 0);
            QCOMPARE(EditorSettings::instance()->values() == values, confirm);
            QCOMPARE(QFile::exists(AppPaths::settingsFile()), confirm);
        }
        QCOMPARE(stored("gridY").toInt(), values.gridY);
        QCOMPARE(stored("language").toInt(), 0);
        EditorSettings::instance()->setValues(EditorSettings::Values());
        EditorSettings::instance()->load();
        QVERIFY(EditorSettings::instance()->values() == values);
        OptionSetDialog fresh;
        QVERIFY(shown(fresh) == values);
    }

    // The View menu's marker entry is kept at once and comes back after a
    // restart; the settings dialog, which does not show it, keeps it too.
    void markerEntryKept()
    {
        QMainWindow window;
        MainActions actions(&window);
        QAction *markers = actions.action(QStringLiteral("bindingMarkers"));
        QVERIFY(markers && markers->isCheckable() && markers->isChecked());
        QVERIFY(actions.menus().last()->actions().contains(markers));
        markers->trigger();
        QVERIFY(!EditorSettings::instance()->values().bindingMarkers);
        QCOMPARE(stored("bindingMarkers").toBool(), false);
        OptionSetDialog dialog;
        dialog.gridXBox()->setValue(40);
        dialog.on_ok_clicked();
        QVERIFY(!EditorSettings::instance()->values().bindingMarkers);
        EditorSettings::instance()->setValues(EditorSettings::Values());
        QVERIFY(markers->isChecked());
        EditorSettings::instance()->load();
        QVERIFY(!EditorSettings::instance()->values().bindingMarkers);
        QVERIFY(!markers->isChecked());
    }
};

QTEST_MAIN(TestOptionSet)
#include "tst_optionset.moc"
