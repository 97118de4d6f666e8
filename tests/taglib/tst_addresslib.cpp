#include "support/modalscript.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "taglib/addressadddialog.h"
#include "taglib/addresseditform.h"
#include "taglib/addresslibdialog.h"
#include "taglib/lineedit.h"
#include "taglib/sortproxymodel.h"
#include "taglib/tableview.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

using Step = std::function<int(AddressAddDialog &)>;

DevicePara device(const QString &name, int protocol)
{
    DevicePara dev;
    dev.name = name;
    dev.protocol = static_cast<quint8>(protocol);
    return dev;
}

void addTag(const QStringList &cells)
{
    QList<QStandardItem *> items;
    for (const QString &cell : cells)
        items << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(items);
}

// A valid panel tag named name.
void addTag(const QString &name, const QString &mark = QString())
{
    addTag({name, "本地", "LW 1", "Int16", "2", mark});
}

QStringList rowCells(int row)
{
    const QStandardItemModel *model = Config::instance()->addressTagModel();
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells << model->index(row, column).data().toString();
    return cells;
}

QStringList names()
{
    return Config::instance()->tagNames(false);
}

template<typename T>
T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

// Types into the add dialog and presses its OK.
int confirm(AddressAddDialog &dialog, const QString &name, const QString &mark = QString())
{
    child<LineEdit>(&dialog, "name")->setText(name);
    child<LineEdit>(&dialog, "mark")->setText(mark);
    child<QPushButton>(&dialog, "ok")->click();
    return dialog.result();
}

} // namespace

class TestAddressLib : public QObject
{
    Q_OBJECT

    std::unique_ptr<ModalScript> m_messages;
    std::unique_ptr<AddressLibDialog> m_dialog;
    QQueue<Step> m_steps;
    int m_runs = 0;

    void selectViewRow(int row)
    {
        TableView *table = m_dialog->table();
        table->setCurrentIndex(table->model()->index(row, 0));
    }

private slots:
    void init()
    {
        ProcessFixture::start();
        m_messages = std::make_unique<ModalScript>();
        m_steps.clear();
        m_runs = 0;
        AddressAddDialog::setRunner([this](AddressAddDialog &dialog) {
            ++m_runs;
            return m_steps.isEmpty() ? int(QDialog::Rejected) : m_steps.dequeue()(dialog);
        });
        m_dialog = std::make_unique<AddressLibDialog>();
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

    void cleanup()
    {
        QVERIFY2(m_steps.isEmpty(), "an add dialog step was not reached");
        m_dialog.reset();
        AddressAddDialog::setRunner({});
        m_messages.reset();
        ProcessFixture::finish();
    }

    void add_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<int>("inserted");
        QTest::newRow("nothing selected") << -1 << "变量_0" << 0;
        QTest::newRow("fourth row selected") << 3 << "变量_4" << 4;
        QTest::newRow("last row selected") << 5 << "变量_6" << 6;
    }

    void add()
    {
        QFETCH(int, selected);
        QFETCH(QString, proposed);
        QFETCH(int, inserted);
        for (int i = 0; i < 6; ++i)
            addTag(QStringLiteral("t%1").arg(i));
        if (selected >= 0)
            selectViewRow(selected);
        QString seen;
        m_steps.enqueue([&](AddressAddDialog &dialog) {
            seen = child<LineEdit>(&dialog, "name")->text();
            child<QSpinBox>(&dialog, "address")->setValue(7);
            return confirm(dialog, seen, "mark");
        });
        QSignalSpy changed(m_dialog.get(), &AddressLibDialog::libraryChanged);
        child<QPushButton>(m_dialog.get(), "add")->click();
        QCOMPARE(seen, proposed);
        QCOMPARE(names().size(), 7);
        QCOMPARE(rowCells(inserted), (QStringList {proposed, "本地", "LW 7", "Int16", "2", "mark"}));
        QCOMPARE(m_dialog->getRealRow(m_dialog->table()->currentIndex()), inserted);
        QCOMPARE(changed.count(), 1);
    }

    void duplicateNameKeepsTypedValues()
    {
        addTag("变量_0");
        addTag("变量_1");
        selectViewRow(1);
        m_steps.enqueue([](AddressAddDialog &dialog) {
            child<QComboBox>(&dialog, "format")->setCurrentIndex(Config::Bool);
            child<QSpinBox>(&dialog, "address")->setValue(12);
            child<QSpinBox>(&dialog, "bit")->setValue(3);
            return confirm(dialog, "变量_0", "motor");
        });
        m_steps.enqueue([](AddressAddDialog &dialog) {
            if (child<LineEdit>(&dialog, "name")->text() != "变量_0"
                || child<LineEdit>(&dialog, "mark")->text() != "motor"
                || child<QComboBox>(&dialog, "format")->currentIndex() != Config::Bool
                || child<QComboBox>(&dialog, "type")->currentText() != "LW_Bit"
                || child<QSpinBox>(&dialog, "address")->value() != 12
                || child<QSpinBox>(&dialog, "bit")->value() != 3)
                return int(QDialog::Rejected);
            return confirm(dialog, "变量_9", "motor");
        });
        m_dialog->on_add_clicked();
        QCOMPARE(m_messages->texts(), QStringList {"地址标签库命名与第1行重复！"});
        QCOMPARE(rowCells(2), (QStringList {"变量_9", "本地", "LW_Bit 12_3", "Bool", "2", "motor"}));

        // Editing a row may keep its own name.
        selectViewRow(1);
        m_steps.enqueue([](AddressAddDialog &dialog) { return confirm(dialog, "变量_1", "x"); });
        m_dialog->on_edit_clicked();
        QCOMPARE(m_messages->texts().size(), 1);
        QCOMPARE(rowCells(1).last(), QString("x"));
    }

    void realAddDialog()
    {
        AddressAddDialog::setRunner({});
        QString title;
        QTimer::singleShot(0, [&title] {
            auto *dialog = qobject_cast<AddressAddDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            confirm(*dialog, "real", "shown");
        });
        m_dialog->on_add_clicked();
        QCOMPARE(title, QString("新建地址标签"));
        QCOMPARE(rowCells(0), (QStringList {"real", "本地", "LW 0", "Int16", "2", "shown"}));
    }

    void emptyNameRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
    }

    void emptyNameRefused()
    {
        QFETCH(QString, name);
        bool stayedOpen = false;
        m_steps.enqueue([&](AddressAddDialog &dialog) {
            stayedOpen = confirm(dialog, name) == QDialog::Rejected;
            return int(QDialog::Rejected);
        });
        QSignalSpy changed(m_dialog.get(), &AddressLibDialog::libraryChanged);
        m_dialog->on_add_clicked();
        QVERIFY(stayedOpen);
        QCOMPARE(m_messages->requests().size(), 1);
        QCOMPARE(m_messages->requests().first().title, QString("提醒"));
        QCOMPARE(m_messages->texts(), QStringList {"地址标签不能为空！"});
        QCOMPARE(names().size(), 0);
        QCOMPARE(changed.count(), 0);
    }

    void okValidation_data()
    {
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QString>("message");
        const QStringList good {"b", "本地", "LW 2", "Int16", "2", ""};
        QTest::newRow("valid") << good << "";
        QTest::newRow("unknown device") << QStringList {"b", "gone", "LW 2", "Int16", "2", ""}
                                        << "第2行的设备不存在！";
        QTest::newRow("bad type") << QStringList {"b", "本地", "LW 2", "Int17", "2", ""}
                                  << "第2行的数据类型不正确！";
        QTest::newRow("bad address") << QStringList {"b", "本地", "LW x", "Int16", "2", ""}
                                     << "第2行的数据地址不正确！";
        QTest::newRow("bad length") << QStringList {"b", "本地", "LW 2", "Int16", "two", ""}
                                    << "第2行的数据长度不正确！";
        QTest::newRow("empty name") << QStringList {"", "本地", "LW 2", "Int16", "2", ""}
                                    << "第2行的地址标签格式不正确！";
        QTest::newRow("blank name") << QStringList {"  ", "本地", "LW 2", "Int16", "2", ""}
                                    << "第2行的地址标签格式不正确！";
        QTest::newRow("duplicate names") << QStringList {"d", "gone", "", "", "", ""}
                                         << "第2行和第4行的地址标签名称d重复！";
        QTest::newRow("short pasted row") << QStringList {"b"} << "第2行的设备不存在！";
    }

    void okValidation()
    {
        QFETCH(QStringList, second);
        QFETCH(QString, message);
        addTag("a");
        addTag(second);
        addTag("c");
        addTag("d");
        child<QPushButton>(m_dialog.get(), "ok")->click();
        QCOMPARE(m_messages->texts(), message.isEmpty() ? QStringList() : QStringList {message});
        QCOMPARE(m_dialog->result(), int(message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
    }

    void deletedDevice()
    {
        Config *config = Config::instance();
        config->devices = {device("PLC", 1)};
        addTag("a");
        addTag({"b", "PLC", "D 12", "Int16", "2", ""});
        m_dialog->on_ok_clicked();
        QVERIFY(m_messages->texts().isEmpty());
        config->devices.clear();
        m_dialog->on_ok_clicked();
        QCOMPARE(m_messages->texts(), QStringList {"第2行的设备不存在！"});

        // The broken row opens for mending after the report.
        selectViewRow(1);
        m_steps.enqueue([](AddressAddDialog &dialog) {
            if (child<QComboBox>(&dialog, "device")->currentIndex() != 0)
                return int(QDialog::Rejected);
            return confirm(dialog, "b");
        });
        m_dialog->on_edit_clicked();
        QCOMPARE(m_messages->texts().size(), 2);
        QCOMPARE(rowCells(1), (QStringList {"b", "本地", "LW 0", "Int16", "2", ""}));
        m_dialog->on_ok_clicked();
        QCOMPARE(m_messages->texts().size(), 2);
    }

    void formAreas_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QStringList>("areas");
        QTest::addColumn<bool>("bit");
        QTest::addColumn<QString>("lastRange");
        QTest::newRow("panel Int16") << 0 << int(Config::Int16) << false
                                     << QStringList {"LW", "RW"} << false << "范围：0~3149";
        QTest::newRow("panel Bool") << 0 << int(Config::Bool) << false
                                    << QStringList {"LW_Bit", "RW_Bit"} << true << "范围：0~3149";
        QTest::newRow("panel hex") << 0 << int(Config::Int16) << true << QStringList {"LW", "RW"}
                                   << false << "范围：0000H~0C4DH";
        QTest::newRow("controller Bool")
            << 1 << int(Config::Bool) << false
            << QStringList {"S", "X", "Y", "M", "T_Bit", "C_Bit"} << false << "范围：0~255";
    }

    void formAreas()
    {
        QFETCH(int, protocol);
        QFETCH(int, format);
        QFETCH(bool, hex);
        QFETCH(QStringList, areas);
        QFETCH(bool, bit);
        QFETCH(QString, lastRange);
        Config *config = Config::instance();
        config->devices = {device("PLC", 1)};
        config->addressHex = hex ? 1 : 0;
        AddressEditForm form;
        AddressPara para;
        para.device = protocol == 0 ? 0 : 1;
        form.setPara(para);
        child<QComboBox>(&form, "format")->setCurrentIndex(format);
        auto *type = child<QComboBox>(&form, "type");
        QStringList shown;
        for (int i = 0; i < type->count(); ++i)
            shown << type->itemText(i);
        QCOMPARE(shown, areas);
        QCOMPARE(!child<QSpinBox>(&form, "bit")->isHidden(), bit);
        auto *address = child<QSpinBox>(&form, "address");
        if (hex) {
            QCOMPARE(address->toolTip(), QString("范围：0000H~1387H"));
            QCOMPARE(address->suffix(), QString(" H"));
        }
        type->setCurrentIndex(type->count() - 1);
        QCOMPARE(address->toolTip(), lastRange);
        QCOMPARE(child<QSpinBox>(&form, "length")->toolTip(), QString("范围：1~99"));
    }

    void formRoundTripAndFreePort()
    {
        Config *config = Config::instance();
        config->devices = {device("PLC", 1), device("Free", 3)};
        AddressEditForm form;
        AddressPara para;
        para.device = 1;
        para.format = Config::Int32;
        para.area = 8; // "D", the third word area of the controller
        para.address = 9000;
        para.length = 4;
        form.setPara(para);
        QCOMPARE(child<QComboBox>(&form, "type")->currentText(), QString("D"));
        AddressPara back;
        form.getPara(back);
        QCOMPARE(int(back.device), 1);
        QCOMPARE(int(back.format), int(Config::Int32));
        QCOMPARE(int(back.area), 8);
        QCOMPARE(int(back.address), 9000);
        QCOMPARE(int(back.length), 4);

        child<QComboBox>(&form, "device")->setCurrentIndex(2);
        QCOMPARE(child<QComboBox>(&form, "device")->currentIndex(), 0);
        QCOMPARE(child<QComboBox>(&form, "type")->itemText(0), QString("LW"));
    }

    void systemListReadOnly()
    {
        Config::instance()->loadSystemRegisters();
        const QStandardItemModel *system = Config::instance()->systemRegisterModel();
        const int systemRows = system->rowCount();
        QVERIFY(systemRows > 2);
        const QString firstName = system->item(0, 0)->text();
        addTag("mine");
        TableView *table = m_dialog->table();
        const auto doubleClickFirstRow = [table] {
            mouseclicks::doubleClick(table->viewport(),
                                     table->visualRect(table->model()->index(0, 0)).center());
        };

        child<QRadioButton>(m_dialog.get(), "sysAddr")->click();
        QVERIFY(m_dialog->isSystemList());
        QCOMPARE(table->sourceModel(), system);
        const QStringList editing {"add", "edit", "remove", "removeAll", "moveUp", "moveDown"};
        for (const QString &name : editing)
            QVERIFY2(!child<QPushButton>(m_dialog.get(), qPrintable(name))->isEnabled(),
                     qPrintable(name));
        QVERIFY(child<QPushButton>(m_dialog.get(), "ok")->isEnabled());
        QVERIFY(child<QComboBox>(m_dialog.get(), "filter")->isEnabled());

        selectViewRow(0);
        doubleClickFirstRow();
        m_dialog->on_add_clicked();
        m_dialog->on_edit_clicked();
        m_dialog->on_remove_clicked();
        m_dialog->on_moveDown_clicked();
        m_dialog->on_removeAll_clicked();
        QApplication::clipboard()->setText("pasted\t本地\tLW 1\tInt16\t2\t\n");
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        table->selectAll();
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(m_runs, 0);
        QCOMPARE(system->rowCount(), systemRows);
        QCOMPARE(system->item(0, 0)->text(), firstName);
        QCOMPARE(names(), QStringList {"mine"});

        // Copying is no change, so the system list allows it.
        selectViewRow(0);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().startsWith(firstName + "\t"));

        child<QRadioButton>(m_dialog.get(), "userAddr")->click();
        for (const QString &name : editing)
            QVERIFY(child<QPushButton>(m_dialog.get(), qPrintable(name))->isEnabled());
        doubleClickFirstRow();
        QCOMPARE(m_runs, 1);
    }

    void moves_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("up on first") << 0 << true << QStringList {"a", "b", "c"};
        QTest::newRow("down on last") << 2 << false << QStringList {"a", "b", "c"};
        QTest::newRow("up") << 1 << true << QStringList {"b", "a", "c"};
        QTest::newRow("down") << 1 << false << QStringList {"a", "c", "b"};
        QTest::newRow("nothing selected") << -1 << true << QStringList {"a", "b", "c"};
    }

    void moves()
    {
        QFETCH(int, row);
        QFETCH(bool, up);
        QFETCH(QStringList, order);
        addTag("a", "1");
        addTag("b", "2");
        addTag("c", "3");
        if (row >= 0)
            selectViewRow(row);
        QSignalSpy changed(m_dialog.get(), &AddressLibDialog::libraryChanged);
        child<QPushButton>(m_dialog.get(), up ? "moveUp" : "moveDown")->click();
        QCOMPARE(names(), order);
        const bool moved = order != QStringList {"a", "b", "c"};
        QCOMPARE(changed.count(), moved ? 1 : 0);
        if (moved) {
            const int target = row + (up ? -1 : 1);
            QCOMPARE(rowCells(target).last(), QString::number(row + 1));
            QCOMPARE(m_dialog->getRealRow(m_dialog->table()->currentIndex()), target);
        }
    }

    void copyPaste()
    {
        addTag({"a", "本地", "LW 1", "Int16", "2", "m1"});
        addTag({"b", "本地", "LW_Bit 2_3", "Bool", "1", "m2"});
        addTag({"c", "本地", "RW 3", "Int32", "4", "m3"});
        TableView *table = m_dialog->table();
        for (const int row : {0, 2})
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select
                                                | QItemSelectionModel::Rows);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("a\t本地\tLW 1\tInt16\t2\tm1\nc\t本地\tRW 3\tInt32\t4\tm3\n"));

        selectViewRow(2);
        QSignalSpy changed(m_dialog.get(), &AddressLibDialog::libraryChanged);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(names(), (QStringList {"a", "b", "c", "a", "c"}));
        QCOMPARE(rowCells(3), rowCells(0));
        QCOMPARE(rowCells(4), rowCells(2));
        QCOMPARE(table->selectedSourceRows(), (QList<int> {3, 4}));
        QCOMPARE(changed.count(), 1);

        // A spreadsheet's lines: short rows padded, extra cells dropped,
        // CR LF line ends and the final empty line ignored.
        selectViewRow(0);
        QCOMPARE(m_dialog->pasteRows("x\tLW 5\r\ny\t本地\tLW 2\tInt16\t2\tnote\textra\r\n\r\n"), 2);
        QCOMPARE(rowCells(1), (QStringList {"x", "LW 5", "", "", "", ""}));
        QCOMPARE(rowCells(2), (QStringList {"y", "本地", "LW 2", "Int16", "2", "note"}));
        QCOMPARE(m_dialog->pasteRows("\n"), 0);
        QCOMPARE(changed.count(), 2);

        // Pasted rows take their places in a sorted, filtered view.
        table->proxy()->sortOnly(0);
        child<QComboBox>(m_dialog.get(), "filter")->setEditText("^[abz]");
        m_dialog->pasteRows("z\nb2\nq\n");
        QStringList shown;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            shown << table->model()->index(row, 0).data().toString();
        QCOMPARE(shown, (QStringList {"a", "a", "b", "b2", "z"}));
    }

    void deleteKey()
    {
        for (const char *name : {"a", "b", "c", "d", "e"})
            addTag(name);
        TableView *table = m_dialog->table();
        for (const int row : {0, 2, 3})
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select
                                                | QItemSelectionModel::Rows);
        QSignalSpy changed(m_dialog.get(), &AddressLibDialog::libraryChanged);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(names(), (QStringList {"b", "e"}));
        QCOMPARE(changed.count(), 1);

        selectViewRow(1);
        child<QPushButton>(m_dialog.get(), "remove")->click();
        QCOMPARE(names(), QStringList {"b"});
        child<QPushButton>(m_dialog.get(), "removeAll")->click();
        QCOMPARE(names(), QStringList());
        child<QPushButton>(m_dialog.get(), "removeAll")->click();
        QCOMPARE(changed.count(), 3);
    }

    void rowsUnderSortAndFilter()
    {
        for (int i = 0; i < 12; ++i)
            addTag(QStringLiteral("变量_%1").arg(i), QString::number(i));
        TableView *table = m_dialog->table();
        table->proxy()->sortOnly(0);
        table->proxy()->sortOnly(0);
        child<QComboBox>(m_dialog.get(), "filter")->setEditText("变量_1");
        QList<int> rows;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            rows << m_dialog->getRealRow(table->model()->index(row, 3));
        QCOMPARE(rows, (QList<int> {11, 10, 1}));
        QCOMPARE(m_dialog->getRealRow(QModelIndex()), -1);

        selectViewRow(1);
        m_steps.enqueue([](AddressAddDialog &dialog) {
            return confirm(dialog, child<LineEdit>(&dialog, "name")->text(), "edited");
        });
        m_dialog->on_edit_clicked();
        QCOMPARE(rowCells(10).first(), QString("变量_10"));
        QCOMPARE(rowCells(10).last(), QString("edited"));

        selectViewRow(2);
        QString proposed;
        m_steps.enqueue([&](AddressAddDialog &dialog) {
            proposed = child<LineEdit>(&dialog, "name")->text();
            return confirm(dialog, "新");
        });
        m_dialog->on_add_clicked();
        QCOMPARE(proposed, QString("变量_2"));
        QCOMPARE(rowCells(2).first(), QString("新"));

        selectViewRow(0);
        m_dialog->on_remove_clicked();
        QCOMPARE(names().size(), 12);
        QVERIFY(!names().contains("变量_11"));
    }

    void showLibraryAndSelection()
    {
        Config::instance()->loadSystemRegisters();
        for (const char *name : {"a", "b", "c"})
            addTag(name);
        QCOMPARE(AddressLibDialog::current(), m_dialog.get());
        // exec() makes an already visible dialog modal only when it shows it.
        m_dialog->hide();
        const auto closeWith = [](int result) {
            QTimer::singleShot(0, [result] {
                if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    dialog->done(result);
            });
        };
        closeWith(QDialog::Accepted);
        QCOMPARE(m_dialog->showLibrary(true, 2), int(QDialog::Accepted));
        bool system = false;
        int row = -1;
        m_dialog->selection(system, row);
        QVERIFY(system);
        QCOMPARE(row, 2);

        closeWith(QDialog::Rejected);
        QCOMPARE(m_dialog->showLibrary(false, 1), int(QDialog::Rejected));
        m_dialog->selection(system, row);
        QVERIFY(!system);
        QCOMPARE(row, 1);
        QCOMPARE(m_dialog->table()->sourceModel(), Config::instance()->addressTagModel());
    }
};

QTEST_MAIN(TestAddressLib)
#include "tst_addresslib.moc"
