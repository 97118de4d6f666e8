#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "model/taglib/textlib.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"
#include "widgets/tableview.h"

#include <QPushButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

namespace {

void addTag(const QString &name, const QString &address)
{
    QList<QStandardItem *> items;
    for (const QString &cell : {name, QStringLiteral("本地"), address, QStringLiteral("Int16"),
                                QStringLiteral("2"), QString()})
        items << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(items);
}

// The project's tag at row (as built: LW row + 1) under another name.
AddressPara para(const QString &name, int row)
{
    AddressPara result;
    Config::instance()->tagAt(false, row, result);
    result.name = name;
    return result;
}

// The address tag and text tag of each binding on the first screen.
QStringList boundNames()
{
    QStringList names;
    for (QGraphicsItem *item : DrawManager::instance()->scenes().first()->userItems()) {
        for (const Binding &binding : shapeBindings(item))
            names << binding.tag + '/' + binding.textTag;
    }
    return names;
}

} // namespace

// The library dialogs edit copies: they must tell a renamed tag from one
// removed and another added under its name, and warn before removing what
// shapes use.
class TestTagReferences : public QObject
{
    Q_OBJECT

    void buildProject()
    {
        addTag(QStringLiteral("Motor"), QStringLiteral("LW 1"));
        addTag(QStringLiteral("Speed"), QStringLiteral("LW 2"));
        addTag(QStringLiteral("Spare"), QStringLiteral("LW 3"));
        TextLib *texts = Config::instance()->textLib();
        texts->add(QStringLiteral("States"), {{QStringLiteral("off")}, {QStringLiteral("on")}});
        texts->add(QStringLiteral("Notes"), {{QStringLiteral("n")}});
        DrawScene *scene = DrawManager::instance()->createScreen(1);
        Binding motor;
        motor.tag = QStringLiteral("Motor");
        Binding state;
        state.kind = Binding::TextState;
        state.tag = QStringLiteral("Speed");
        state.textTag = QStringLiteral("States");
        setShapeBindings(scenetest::addRect(scene, QRectF(0, 0, 20, 20)), {motor, state});
        setShapeBindings(scenetest::addRect(scene, QRectF(50, 0, 20, 20)), {motor});
        Binding speed;
        speed.kind = Binding::Visible;
        speed.tag = QStringLiteral("Speed");
        setShapeBindings(scenetest::addRect(scene, QRectF(100, 0, 20, 20)), {speed});
    }

private slots:
    void init()
    {
        ProcessFixture::start(800, 480);
        buildProject();
    }
    void cleanup() { ProcessFixture::finish(); }

    void addressRenames_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("bound"); // Motor's bindings after OK
        QTest::newRow("renamed") << "rename" << "Drive";
        QTest::newRow("moved, then renamed") << "move" << "Drive";
        QTest::newRow("renamed, old name added again") << "rename, add" << "Drive";
        QTest::newRow("removed, name added again") << "remove, add" << "Motor";
        QTest::newRow("renamed and back") << "rename back" << "Motor";
        QTest::newRow("renamed as another tag was") << "swap" << "Speed";
    }
    void addressRenames()
    {
        QFETCH(QString, edit);
        QFETCH(QString, bound);
        ModalScript script;
        AddressLibDialog dialog;
        const int steps = ProjectDocument::current()->undoStack()->count();
        if (edit == "rename" || edit == "rename, add" || edit == "rename back") {
            dialog.setAddressTable(0, para("Drive", 0));
        } else if (edit == "move") {
            dialog.selectRow(false, 0);
            dialog.on_moveDown_clicked();
            dialog.setAddressTable(1, para("Drive", 0));
        } else if (edit == "remove, add") {
            dialog.selectRow(false, 0);
            script.pressButton(QMessageBox::Yes); // it is used
            dialog.on_remove_clicked();
        } else if (edit == "swap") {
            dialog.setAddressTable(0, para("Temp", 0));
            dialog.setAddressTable(1, para("Motor", 1));
            dialog.setAddressTable(0, para("Speed", 0));
        }
        if (edit == "rename back")
            dialog.setAddressTable(0, para("Motor", 0));
        if (edit.endsWith("add")) {
            dialog.selectRow(false, 1);
            QCOMPARE(dialog.pasteRows("Motor\t本地\tLW 9\tInt16\t2\t"), 1);
        }
        dialog.on_ok_clicked();
        QCOMPARE(script.pending(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // Renamed back, the library is as it was: no step at all.
        const bool stepped = edit != "rename back";
        QCOMPARE(ProjectDocument::current()->undoStack()->count(), steps + (stepped ? 1 : 0));
        const QString speedBound = edit == "swap" ? QStringLiteral("Motor") : QStringLiteral("Speed");
        QCOMPARE(boundNames(), QStringList({bound + "/", speedBound + "/States", bound + "/",
                                            speedBound + "/"}));
        if (!stepped)
            return;
        ProjectDocument::current()->undoStack()->undo();
        QCOMPARE(boundNames(), QStringList({"Motor/", "Speed/States", "Motor/", "Speed/"}));
        // The project's rows keep nothing of the dialog's bookkeeping.
        ProjectDocument::current()->undoStack()->redo();
        const QStandardItemModel *tags = Config::instance()->addressTagModel();
        for (int row = 0; row < tags->rowCount(); ++row)
            QCOMPARE(tags->item(row, 0)->data(Qt::UserRole + 0x4b52), QVariant());
    }

    // Removing tags shapes use asks, naming how many shapes; 否 keeps them.
    void addressRemovalAsks_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer"); // -1: no question
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("left");
        QTest::newRow("used, yes") << "button" << 0 << int(QMessageBox::Yes) << "2 个对象使用了标签“Motor”" << 2;
        QTest::newRow("used, no") << "button" << 0 << int(QMessageBox::No) << "2 个对象使用了标签“Motor”" << 3;
        QTest::newRow("unused") << "button" << 2 << -1 << "" << 2;
        QTest::newRow("Delete key, no") << "key" << 1 << int(QMessageBox::No) << "2 个对象使用了标签“Speed”" << 3;
        QTest::newRow("all, yes") << "all" << 0 << int(QMessageBox::Yes) << "3 个对象使用了要删除的 3 个标签" << 0;
        QTest::newRow("all, no") << "all" << 0 << int(QMessageBox::No) << "3 个对象使用了要删除的 3 个标签" << 3;
    }
    void addressRemovalAsks()
    {
        QFETCH(QString, how);
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QString, asked);
        QFETCH(int, left);
        ModalScript script;
        if (answer >= 0)
            script.pressButton(answer);
        AddressLibDialog dialog;
        dialog.selectRow(false, row);
        if (how == "button")
            dialog.on_remove_clicked();
        else if (how == "key")
            QTest::keyClick(dialog.table(), Qt::Key_Delete);
        else
            dialog.on_removeAll_clicked();
        QCOMPARE(script.requests().size(), answer >= 0 ? 1 : 0);
        if (answer >= 0)
            QVERIFY2(script.texts().first().startsWith(asked), qPrintable(script.texts().first()));
        QCOMPARE(dialog.tags()->rowCount(), left);
    }

    // The table shows each tag's count of shapes after its own columns, by
    // the name the shapes know it by; the list itself has no such column.
    void usesColumn()
    {
        AddressLibDialog dialog;
        dialog.selectRow(false, 0);
        const QAbstractItemModel *view = dialog.table()->model();
        const int uses = Config::TagColumnCount;
        QCOMPARE(view->columnCount(), Config::TagColumnCount + 1);
        QCOMPARE(view->headerData(uses, Qt::Horizontal).toString(), QStringLiteral("使用次数"));
        const auto counts = [&] {
            QStringList out;
            for (int row = 0; row < view->rowCount(); ++row)
                out << view->index(row, 0).data().toString() + '=' + view->index(row, uses).data().toString();
            return out;
        };
        QCOMPARE(counts(), QStringList({"Motor=2", "Speed=2", "Spare=0"}));
        dialog.setAddressTable(0, para("Drive", 0));
        QCOMPARE(counts(), QStringList({"Drive=2", "Speed=2", "Spare=0"}));
        QCOMPARE(dialog.tags()->columnCount(), Config::TagColumnCount);
    }

    // 查找引用 hands the places of the shapes using the tag on and closes the
    // library; edits not yet confirmed are confirmed first, or nothing happens.
    void whereUsed_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("listed"); // empty: nothing listed
        QTest::newRow("unedited") << false << -1 << "Motor";
        QTest::newRow("edited, confirmed") << true << int(QMessageBox::Yes) << "Drive";
        QTest::newRow("edited, not confirmed") << true << int(QMessageBox::No) << "";
    }
    void whereUsed()
    {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(QString, listed);
        ModalScript script;
        if (answer >= 0)
            script.pressButton(answer);
        AddressLibDialog dialog;
        QStringList names;
        QVector<ProjectPlace> places;
        connect(&dialog, &AddressLibDialog::usesListed, this,
                [&](const QString &name, const QVector<ProjectPlace> &listedPlaces) {
                    names << name;
                    places = listedPlaces;
                });
        dialog.show();
        if (edited)
            dialog.setAddressTable(0, para("Drive", 0));
        dialog.selectRow(false, 0);
        dialog.findChild<QPushButton *>("whereUsed")->click();
        QCOMPARE(script.pending(), 0);
        QCOMPARE(names.size(), listed.isEmpty() ? 0 : 1);
        QCOMPARE(dialog.isVisible(), listed.isEmpty());
        if (listed.isEmpty()) {
            QVERIFY(dialog.isEdited());
            return;
        }
        QCOMPARE(names.first(), listed);
        QCOMPARE(places.size(), 2);
        const QList<QGraphicsItem *> items = DrawManager::instance()->scenes().first()->userItems();
        for (const ProjectPlace &place : places)
            QCOMPARE(shapeBindings(items.at(place.index)).first().tag, listed);
    }

    // A text tag renamed in its cell is a rename; one removed and pasted
    // back under its name is not; removing a used one asks.
    void textRenamesAndRemovals()
    {
        ModalScript script;
        TextLibDialog dialog;
        dialog.reloadTable();
        QTableWidget *table = dialog.table();
        table->item(0, 0)->setText(QStringLiteral("Modes"));
        QCOMPARE(dialog.renamedTags(), (QHash<QString, QString> {{"States", "Modes"}}));
        dialog.on_ok_clicked();
        QCOMPARE(boundNames(), QStringList({"Motor/", "Speed/Modes", "Motor/", "Speed/"}));

        dialog.reloadTable();
        table->setCurrentCell(0, 0);
        script.pressButton(QMessageBox::No);
        dialog.on_remove_clicked();
        QCOMPARE(script.texts().last(),
                 QStringLiteral("1 个对象使用了文本标签“Modes”，仍要删除吗？"));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Modes"));

        // Removing one of two states leaves the tag: nothing to ask.
        table->setCurrentCell(1, 1);
        dialog.on_remove_clicked();
        QCOMPARE(script.requests().size(), 1);

        script.pressButton(QMessageBox::Yes);
        table->setCurrentCell(0, 0);
        dialog.on_remove_clicked();
        QCOMPARE(script.requests().size(), 2);
        dialog.addLabel(QStringLiteral("Modes"), 1);
        QVERIFY(dialog.renamedTags().isEmpty());
    }
};

QTEST_MAIN(TestTagReferences)
#include "tst_tagreferences.moc"
