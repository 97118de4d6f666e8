#include "model/builtintables.h"
#include "model/exchange/tagexchange.h"
#include "panels/taglib/addressadddialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "services/appsettings.h"
#include "support/modalscript.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "widgets/lineedit.h"
#include "widgets/sortproxymodel.h"
#include "widgets/tableview.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

using Step = std::function<int(AddressAddDialog &)>;

// A tag of the project, in the dialog's list as if it had been opened
// afterwards.
void addTag(const QStringList &cells)
{
    QList<QStandardItem *> items;
    for (const QString &cell : cells)
        items << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(items);
    AddressLibDialog::current()->selectRow(false, -1);
}

// A valid panel tag named name.
void addTag(const QString &name, const QString &mark = QString())
{
    addTag({name, "本地", "LW 1", "Int16", "2", mark});
}

// A row of the dialog's list.
QStringList rowCells(int row)
{
    const QStandardItemModel *model = AddressLibDialog::current()->tags();
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells << model->index(row, column).data().toString();
    return cells;
}

QStringList listedNames()
{
    const QStandardItemModel *model = AddressLibDialog::current()->tags();
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, Config::NameColumn).data().toString();
    return names;
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

    // 编辑 then 确定 untouched keeps the tag as stored, also where its area
    // is not among those the format offers (a Bool on a word area).
    void untouchedEditKeepsTheTag_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("bool on a word area") << QStringList {"start", "PLC1", "D 20", "Bool", "1", ""};
        QTest::newRow("bool on a bit area") << QStringList {"m", "PLC1", "M 20", "Bool", "1", ""};
        QTest::newRow("bit of a panel word")
            << QStringList {"w", "本地", "LW_Bit 100_3", "Bool", "1", ""};
        QTest::newRow("float") << QStringList {"f", "PLC1", "D 9998", "Float", "4", "r"};
        // The register picker's direct entry uses the same form.
        QTest::newRow("modbus coil") << QStringList {"c", "Meter", "0x 0", "Bool", "1", ""};
        QTest::newRow("modbus input bit") << QStringList {"i", "Meter", "1x 65535", "Bool", "1", ""};
        QTest::newRow("modbus holding register")
            << QStringList {"h", "Meter", "4x 65535", "Uint16", "2", ""};
    }
    void untouchedEditKeepsTheTag()
    {
        QFETCH(QStringList, cells);
        DevicePara plc;
        plc.name = QStringLiteral("PLC1");
        plc.protocol = 1;
        DevicePara meter;
        meter.name = QStringLiteral("Meter");
        meter.protocol = 2;
        Config::instance()->devices = {plc, meter};
        addTag(cells);
        m_dialog->selectRow(false, 0);
        m_steps.enqueue([](AddressAddDialog &dialog) {
            child<QPushButton>(&dialog, "ok")->click();
            return dialog.result();
        });
        m_dialog->on_edit_clicked();
        QCOMPARE(rowCells(0), cells);
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
        QString reopened; // what the dialog shows after the refusal
        m_steps.enqueue([&reopened](AddressAddDialog &dialog) {
            reopened = child<LineEdit>(&dialog, "name")->text() + '|'
                + child<LineEdit>(&dialog, "mark")->text() + '|'
                + QString::number(child<QSpinBox>(&dialog, "address")->value()) + '|'
                + QString::number(child<QSpinBox>(&dialog, "bit")->value());
            return confirm(dialog, "变量_9", "motor");
        });
        m_dialog->on_add_clicked();
        QCOMPARE(m_messages->texts(), QStringList {"地址标签库命名与第1行重复！"});
        QCOMPARE(reopened, QString("变量_0|motor|12|3"));
        QCOMPARE(rowCells(2), (QStringList {"变量_9", "本地", "LW_Bit 12_3", "Bool", "2", "motor"}));
    }

    void okValidation_data()
    {
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QString>("message");
        const QStringList good {"b", "本地", "LW 2", "Int16", "2", ""};
        QTest::newRow("valid") << good << "";
        QTest::newRow("unknown device") << QStringList {"b", "gone", "LW 2", "Int16", "2", ""}
                                        << "第2行的设备不存在！";
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

    // Neither keys nor a double click change the system list.
    void systemListReadOnly()
    {
        Config::instance()->loadSystemRegisters();
        const QStandardItemModel *system = Config::instance()->systemRegisterModel();
        const int systemRows = system->rowCount();
        addTag("mine");
        TableView *table = m_dialog->table();
        const QPoint firstRow = table->visualRect(table->model()->index(0, 0)).center();

        child<QRadioButton>(m_dialog.get(), "sysAddr")->click();
        selectViewRow(0);
        mouseclicks::doubleClick(table->viewport(), firstRow);
        QApplication::clipboard()->setText("pasted\t本地\tLW 1\tInt16\t2\t\n");
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        table->selectAll();
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(m_runs, 0);
        QCOMPARE(system->rowCount(), systemRows);
        QCOMPARE(listedNames(), QStringList {"mine"});

        child<QRadioButton>(m_dialog.get(), "userAddr")->click();
        mouseclicks::doubleClick(table->viewport(), firstRow); // the same gesture edits a user tag
        QCOMPARE(m_runs, 1);
    }

    // Pasted rows go below the current one and stay selected; a
    // spreadsheet's short rows are padded and its extra cells dropped.
    void paste()
    {
        for (const char *name : {"a", "b"})
            addTag(name);
        TableView *table = m_dialog->table();
        selectViewRow(0);
        QApplication::clipboard()->setText("x\tLW 5\r\ny\t本地\tLW 2\tInt16\t2\tnote\textra\r\n\r\n");
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(listedNames(), (QStringList {"a", "x", "y", "b"}));
        QCOMPARE(rowCells(1), (QStringList {"x", "LW 5", "", "", "", ""}));
        QCOMPARE(rowCells(2), (QStringList {"y", "本地", "LW 2", "Int16", "2", "note"}));
        QCOMPARE(table->selectedSourceRows(), (QList<int> {1, 2}));
        QCOMPARE(m_dialog->pasteRows("\n"), 0);

        // Pasted rows take their places in a sorted, filtered view.
        table->proxy()->sortOnly(0);
        child<QComboBox>(m_dialog.get(), "filter")->setEditText("^[abz]");
        m_dialog->pasteRows("z\nb2\nq\n");
        QStringList shown;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            shown << table->model()->index(row, 0).data().toString();
        QCOMPARE(shown, (QStringList {"a", "b", "b2", "z"}));
    }

    // A tag added on the panel stores its one spelling of the panel's name
    // in either interface language; the table shows the name of the
    // interface, for cells of either spelling.
    void localNameStoredOnce_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Chinese") << false << "本地";
        QTest::newRow("English") << true << "Local";
    }
    void localNameStoredOnce()
    {
        QFETCH(bool, english);
        QFETCH(QString, shown);
        QTranslator translator;
        if (english) {
            QVERIFY(translator.load(":/en_US_app"));
            QCoreApplication::installTranslator(&translator);
            AppSettings::instance()->setLanguage(1);
            BuiltinTables::instance()->retranslate();
        }
        addTag({"old", "Local", "LW 1", "Int16", "2", ""});
        m_steps.enqueue([](AddressAddDialog &dialog) { return confirm(dialog, "new"); });
        m_dialog->on_add_clicked();
        const QString stored = rowCells(0).value(Config::DeviceColumn);
        TableView *table = m_dialog->table();
        QStringList display;
        for (int row = 0; row < 2; ++row) {
            const QModelIndex index = table->model()->index(row, Config::DeviceColumn);
            auto *delegate = qobject_cast<QStyledItemDelegate *>(table->itemDelegate(index));
            display << (delegate ? delegate->displayText(index.data(), QLocale()) : QString());
        }
        if (english) {
            QCoreApplication::removeTranslator(&translator);
            BuiltinTables::instance()->retranslate();
        }
        QCOMPARE(stored, QString("本地"));
        QCOMPARE(display, QStringList({shown, shown}));
    }

    // The dialog says whether it makes a tag or edits one, and keeps saying
    // so when the language changes while it is open.
    void dialogTitleFollowsPurpose_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        QTest::newRow("add") << false << "新建地址标签" << "New Address Tag";
        QTest::newRow("edit") << true << "编辑地址标签" << "Edit Address Tag";
    }
    void dialogTitleFollowsPurpose()
    {
        QFETCH(bool, edit);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        addTag("a");
        m_dialog->selectRow(false, 0);
        QTranslator translator;
        QVERIFY(translator.load(":/en_US_app"));
        QStringList titles;
        m_steps.enqueue([&](AddressAddDialog &dialog) {
            titles << dialog.windowTitle();
            // The change reaches windows as posted events.
            QCoreApplication::installTranslator(&translator);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            titles << dialog.windowTitle();
            QCoreApplication::removeTranslator(&translator);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            titles << dialog.windowTitle();
            return int(QDialog::Rejected);
        });
        if (edit)
            m_dialog->on_edit_clicked();
        else
            m_dialog->on_add_clicked();
        QCOMPARE(titles, QStringList({chinese, english, chinese}));
    }

    // An import is weighed against the list shown, not the project's: a
    // file holding the project's tags brings them back after 删除全部.
    void importAfterRemoveAll()
    {
        addTag("a");
        QTemporaryDir dir;
        const QString file = dir.filePath("tags.csv");
        QString error;
        QVERIFY2(TagExchange::exportAddressTags(file, TagExchange::addressHeader(),
                                                TagExchange::addressRows(), &error),
                 qPrintable(error));
        m_dialog->on_removeAll_clicked();
        m_messages->chooseText(file);
        m_dialog->on_importTxt_clicked();
        QCOMPARE(listedNames(), QStringList {"a"});
    }

    // Looking costs no copy of the library: showing, sorting, filtering,
    // choosing rows and copying them read the project's own tags. The first
    // edit takes the copy, which the project does not see, and closing
    // drops it.
    void copyTakenAtFirstEdit()
    {
        for (const char *name : {"a", "b", "c"})
            addTag(name);
        const QStandardItemModel *project = Config::instance()->addressTagModel();
        TableView *table = m_dialog->table();
        const QPoint header(table->horizontalHeader()->sectionViewportPosition(0) + 5, 5);
        QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {}, header);
        child<QComboBox>(m_dialog.get(), "filter")->setEditText("[ab]");
        selectViewRow(0);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!m_dialog->hasCopy());
        QCOMPARE(m_dialog->tags(), project);

        QTest::keyClick(table, Qt::Key_Delete);
        QVERIFY(m_dialog->hasCopy());
        QCOMPARE(listedNames(), (QStringList {"b", "c"}));
        QCOMPARE(project->rowCount(), 3);
        QCOMPARE(m_dialog->listedModel(), m_dialog->tags());

        child<QPushButton>(m_dialog.get(), "cancel")->click();
        QVERIFY(!m_dialog->hasCopy());
        QCOMPARE(listedNames(), (QStringList {"a", "b", "c"}));
        // Closed, the table follows no model; opened again, the project's.
        QCOMPARE(m_dialog->listedModel(), nullptr);
        m_dialog->show();
        QCOMPARE(m_dialog->listedModel(), project);
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

        selectViewRow(1);
        m_steps.enqueue([](AddressAddDialog &dialog) {
            return confirm(dialog, child<LineEdit>(&dialog, "name")->text(), "edited");
        });
        m_dialog->on_edit_clicked();
        QCOMPARE(rowCells(10), (QStringList {"变量_10", "本地", "LW 1", "Int16", "2", "edited"}));

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
        QCOMPARE(listedNames().mid(11), QStringList {"变量_10"});
    }
};

QTEST_MAIN(TestAddressLib)
#include "tst_addresslib.moc"
