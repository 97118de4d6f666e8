#include "document/projectdocument.h"
#include "model/config.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/regeditwidget.h"
#include "services/modalseam.h"
#include "support/processfixture.h"
#include "widgets/sortproxymodel.h"
#include "widgets/tableview.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

class TestRegEdit : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ProcessFixture::start();
        Config::instance()->loadSystemRegisters();
        m_widget = std::make_unique<RegEditWidget>();
    }

    void cleanup()
    {
        ModalSeam::setHandler({});
        m_widget.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ProcessFixture::finish();
    }

    // The user list is read when chosen, an empty one included. The library
    // opens on the list and row shown, and a pick made there (the system
    // register Year, from direct entry) is taken on OK.
    void pickThroughTheLibrary()
    {
        m_widget->userButton()->click();
        QCOMPARE(m_widget->tagBox()->count(), 0);
        QVERIFY(m_widget->summaryLabel()->text().isEmpty());
        m_widget->userButton()->click(); // off again
        // Two valid tags, as the library's OK checks them.
        for (const char *name : {"t0", "t1"}) {
            QList<QStandardItem *> cells;
            for (const QString &cell : {QString(name), QString("本地"), QString("LW 1"),
                                        QString("Int16"), QString("2"), QString()})
                cells << new QStandardItem(cell);
            Config::instance()->addressTagModel()->appendRow(cells);
        }
        m_widget->userButton()->click();
        QCOMPARE(m_widget->tagBox()->count(), 2);
        m_widget->tagBox()->setCurrentIndex(1);
        const int year = Config::instance()->tagNames(true).indexOf("年");
        QString opened;
        ModalSeam::setHandler([&](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind != ModalRequest::Dialog)
                return answer;
            AddressLibDialog *dialog = AddressLibDialog::current();
            bool openedSystem = true;
            int openedRow = -1;
            dialog->selection(openedSystem, openedRow);
            opened = QStringLiteral("%1 %2").arg(openedSystem).arg(openedRow);
            dialog->on_sysAddr_clicked();
            clickTag(dialog, Config::instance()->tagNames(true).at(year));
            answer.accepted = true;
            return answer;
        });
        m_widget->on_libOpen_clicked();
        QCOMPARE(opened, QString("0 1"));
        QVERIFY(m_widget->systemButton()->isChecked());
        QCOMPARE(m_widget->para().name, QString("年"));
        QCOMPARE(m_widget->remarkLabel()->text(), QString("系统时间"));
        QCOMPARE(m_widget->summaryLabel()->text(), QStringLiteral("本地 : LW 9000 ( Int16 )"));
    }

    // The picked list follows the library and a change of project, keeping
    // the pick by its name; a pick made before the list caught up still
    // decodes the tag of that name.
    void followsLibrary_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("summary"); // of the pick once the list caught up
        QTest::addColumn<QString>("remark");
        QTest::newRow("tag above removed")
            << "remove A" << QStringList({"Temp", "B"}) << "本地 : LW 2 ( Int16 )" << "temp";
        QTest::newRow("picked tag removed")
            << "remove Temp" << QStringList({"A", "B"}) << "标签“Temp”已不在地址库中，请重新选择。"
            << "";
        QTest::newRow("picked tag edited")
            << "edit Temp" << QStringList({"A", "Temp", "B"}) << "本地 : LW 7 ( Int16 )" << "temp";
        QTest::newRow("another project")
            << "open" << QStringList({"X", "Temp"}) << "本地 : LW 9 ( Int16 )" << "new";
    }
    void followsLibrary()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, items);
        QFETCH(QString, summary);
        QFETCH(QString, remark);
        addTag("A", "LW 1", "a");
        addTag("Temp", "LW 2", "temp");
        addTag("B", "LW 3", "b");
        m_widget->userButton()->click();
        m_widget->tagBox()->setCurrentIndex(1);
        // Changes reach the list as the project announces them.
        QStandardItemModel tags;
        for (int row = 0; row < 3; ++row)
            tags.appendRow(Config::instance()->addressTagModel()->takeRow(0));
        if (change == "remove A") {
            tags.removeRow(0);
        } else if (change == "remove Temp") {
            tags.removeRow(1);
        } else if (change == "edit Temp") {
            tags.item(1, Config::AddressColumn)->setText("LW 7");
        }
        if (change != "open") {
            addTag("A", "LW 1", "a");
            addTag("Temp", "LW 2", "temp");
            addTag("B", "LW 3", "b");
            QVERIFY(ProjectDocument::current()->replaceAddressTags(tags));
        } else {
            // The widget's dialog opens again over another project.
            m_widget->hide();
            ProjectDocument::adopt(nullptr);
            addTag("X", "LW 1", "x");
            addTag("Temp", "LW 9", "new");
            m_widget->show();
        }
        // Picked again at once, from the list as it was shown.
        m_widget->tagBox()->setCurrentIndex(0);
        m_widget->tagBox()->setCurrentIndex(1);
        const bool gone = change == "remove Temp";
        QCOMPARE(m_widget->summaryLabel()->text(), summary);
        QCOMPARE(m_widget->para().name, gone ? QString() : QString("Temp"));

        m_widget->tagBox()->setCurrentIndex(1);
        QCoreApplication::processEvents();
        QStringList shown;
        for (int i = 0; i < m_widget->tagBox()->count(); ++i)
            shown << m_widget->tagBox()->itemText(i);
        QCOMPARE(shown, items);
        QCOMPARE(m_widget->tagBox()->currentText(), gone ? QString() : QString("Temp"));
        QCOMPARE(m_widget->summaryLabel()->text(), summary);
        QCOMPARE(m_widget->remarkLabel()->text(), remark);
    }

    // OK in the library takes only a tag the user chose there and that is
    // still in it; the row a removal leaves current is no choice, and the
    // field then keeps its own tag, or says that tag is gone.
    void libraryOkTakesOnlyTheUsersPick_data()
    {
        QTest::addColumn<bool>("listed"); // Temp picked from the list, else direct entry
        QTest::addColumn<QStringList>("steps"); // in the library, before OK
        QTest::addColumn<QString>("tag"); // the field's tag after OK, empty for none
        QTest::addColumn<QString>("summary");
        const QString lw2 = "本地 : LW 2 ( Int16 )";
        const QString gone = "标签“Temp”已不在地址库中，请重新选择。";
        QTest::newRow("untouched") << true << QStringList() << "Temp" << lw2;
        QTest::newRow("picked tag removed") << true << QStringList {"remove"} << "" << gone;
        QTest::newRow("removed, then a tag clicked")
            << true << QStringList {"remove", "click B"} << "B" << "本地 : LW 3 ( Int16 )";
        QTest::newRow("another tag clicked")
            << true << QStringList {"click A"} << "A" << "本地 : LW 1 ( Int16 )";
        QTest::newRow("clicked tag removed again")
            << true << QStringList {"click B", "remove"} << "Temp" << lw2;
        QTest::newRow("moved to with the keyboard")
            << true << QStringList {"down"} << "B" << "本地 : LW 3 ( Int16 )";
        QTest::newRow("direct entry, untouched") << false << QStringList() << "" << "";
    }
    void libraryOkTakesOnlyTheUsersPick()
    {
        QFETCH(bool, listed);
        QFETCH(QStringList, steps);
        QFETCH(QString, tag);
        QFETCH(QString, summary);
        addTag("A", "LW 1", "a");
        addTag("Temp", "LW 2", "temp");
        addTag("B", "LW 3", "b");
        if (listed) {
            m_widget->userButton()->click();
            m_widget->tagBox()->setCurrentIndex(1);
        }
        ModalSeam::setHandler([&](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind != ModalRequest::Dialog)
                return answer;
            AddressLibDialog *dialog = AddressLibDialog::current();
            for (const QString &step : steps) {
                if (step == "remove")
                    dialog->on_remove_clicked();
                else if (step == "down")
                    QTest::keyClick(dialog->table(), Qt::Key_Down);
                else
                    clickTag(dialog, step.section(' ', 1));
            }
            answer.accepted = true;
            return answer;
        });
        m_widget->on_libOpen_clicked();
        QCoreApplication::processEvents();
        QCOMPARE(m_widget->currentPage(), listed ? 1 : 0);
        if (listed)
            QCOMPARE(m_widget->tagBox()->currentText(), tag);
        QCOMPARE(m_widget->para().name, tag);
        QCOMPARE(m_widget->summaryLabel()->text(), summary);
    }

private:
    // Clicks the row of the library's table that shows name, as a user does.
    static void clickTag(AddressLibDialog *dialog, const QString &name)
    {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        TableView *table = dialog->table();
        const QModelIndexList found = table->model()->match(
            table->model()->index(0, Config::NameColumn), Qt::DisplayRole, name, 1,
            Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        table->scrollTo(found.first());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(found.first()).center());
    }

    static void addTag(const QString &name, const QString &address, const QString &mark)
    {
        QList<QStandardItem *> cells;
        for (const QString &cell : {name, QString("本地"), address, QString("Int16"), QString("2"), mark})
            cells << new QStandardItem(cell);
        Config::instance()->addressTagModel()->appendRow(cells);
    }

    std::unique_ptr<RegEditWidget> m_widget;
};

QTEST_MAIN(TestRegEdit)
#include "tst_regedit.moc"
