#include "app/apppaths.h"
#include "app/editorsettings.h"
#include "mainwindow/optionsetdialog.h"
#include "project/config.h"
#include "support/modalscript.h"
#include "support/processfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

Q_DECLARE_METATYPE(EditorSettings::Values)

namespace {

EditorSettings::Values makeValues(bool shown, int x, int y, const char *colour, bool lock,
                                  bool snap, bool autoSave, int minutes)
{
    EditorSettings::Values values;
    values.gridShown = shown;
    values.gridX = x;
    values.gridY = y;
    values.gridColor = QColor(QLatin1String(colour));
    values.lockAll = lock;
    values.snapToGrid = snap;
    values.autoSave = autoSave;
    values.autoSaveMinutes = minutes;
    return values;
}

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

    // OK applies at once, stores beside the language, and a restart and a
    // new dialog read the values back; Cancel applies and stores nothing.
    void okStoresCancelDoesNot_data()
    {
        QTest::addColumn<EditorSettings::Values>("values");
        QTest::addColumn<bool>("confirm");
        // Every value away from its default, the spacings uneven.
        QTest::newRow("every value changed")
            << makeValues(false, 60, 46, "#123456", true, true, false, 120) << true;
        QTest::newRow("cancelled") << makeValues(false, 40, 12, "#ff00ff", true, true, false, 99)
                                   << false;
    }

    void okStoresCancelDoesNot()
    {
        QFETCH(EditorSettings::Values, values);
        QFETCH(bool, confirm);
        const EditorSettings::Values before = EditorSettings::instance()->values();
        OptionSetDialog dialog;
        enter(dialog, values);
        dialog.languageBox()->setCurrentIndex(confirm ? 0 : 1);
        QSignalSpy changed(EditorSettings::instance(), &EditorSettings::changed);
        confirm ? dialog.on_ok_clicked() : dialog.on_cancel_clicked();
        QCOMPARE(changed.count(), confirm ? 1 : 0);
        QCOMPARE(int(Config::instance()->uiLanguage), 0);
        if (!confirm) {
            QVERIFY(EditorSettings::instance()->values() == before);
            QVERIFY(!QFile::exists(AppPaths::settingsFile()));
            return;
        }
        QVERIFY(EditorSettings::instance()->values() == values);
        QCOMPARE(stored("gridY").toInt(), values.gridY);
        QCOMPARE(stored("language").toInt(), 0);
        EditorSettings::instance()->setValues(EditorSettings::Values());
        EditorSettings::instance()->load();
        QVERIFY(EditorSettings::instance()->values() == values);
        OptionSetDialog fresh;
        QVERIFY(shown(fresh) == values);
    }

    // A dialog made before the settings changed still shows them when it runs.
    void runShowsStoredValues()
    {
        const EditorSettings::Values values
            = makeValues(false, 14, 36, "#abcdef", true, true, false, 7);
        OptionSetDialog dialog;
        EditorSettings::instance()->setValues(values);
        EditorSettings::Values seen;
        ModalSeam::setHandler([&](const ModalRequest &request) {
            seen = shown(dialog);
            dialog.gridXBox()->setValue(30);
            ModalAnswer answer;
            answer.accepted = request.kind == ModalRequest::Dialog;
            return answer;
        });
        const int result = dialog.run();
        ModalSeam::setHandler({});
        QVERIFY(seen == values);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(stored("gridX").toInt(), 30);
    }

};

QTEST_MAIN(TestOptionSet)
#include "tst_optionset.moc"
