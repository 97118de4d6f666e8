#include "app/modalseam.h"
#include "project/config.h"
#include "taglib/addresseditform.h"
#include "taglib/addresslibdialog.h"
#include "taglib/regeditwidget.h"
#include "taglib/regpanel.h"
#include "taglib/sortproxymodel.h"
#include "taglib/tableview.h"
#include "support/processfixture.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

void addTag(const QString &name, const QString &address, const QString &mark)
{
    QList<QStandardItem *> cells;
    for (const QString &cell : {name, QStringLiteral("本地"), address, QStringLiteral("Int16"),
                                QStringLiteral("2"), mark})
        cells << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(cells);
}

} // namespace

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

    void emptyUserList()
    {
        QCOMPARE(m_widget->currentPage(), 0);
        m_widget->userButton()->click();
        QVERIFY(m_widget->userButton()->isChecked());
        QCOMPARE(m_widget->currentPage(), 1);
        QCOMPARE(m_widget->tagBox()->count(), 0);
        QVERIFY(m_widget->summaryLabel()->text().isEmpty());
        QVERIFY(m_widget->remarkLabel()->text().isEmpty());
        // A second click returns to direct entry.
        m_widget->userButton()->click();
        QCOMPARE(m_widget->currentPage(), 0);
    }

    void systemRegisterYear()
    {
        m_widget->userButton()->click();
        m_widget->systemButton()->click();
        QVERIFY(!m_widget->userButton()->isChecked());
        // The register Year is named 年 in the Chinese interface.
        const int year = m_widget->tagBox()->findText(QStringLiteral("年"));
        QCOMPARE(year, 0);
        m_widget->tagBox()->setCurrentIndex(3);
        QVERIFY(m_widget->summaryLabel()->text() != QStringLiteral("本地 : LW 9000 ( Int16 )"));
        m_widget->tagBox()->setCurrentIndex(year);
        QCOMPARE(m_widget->summaryLabel()->text(), QStringLiteral("本地 : LW 9000 ( Int16 )"));
        QCOMPARE(m_widget->remarkLabel()->text(), QStringLiteral("系统时间"));
        QCOMPARE(m_widget->para().name, QStringLiteral("年"));
        QCOMPARE(int(m_widget->para().address), 9000);
    }

    void userTagsFollowTheList()
    {
        addTag(QStringLiteral("速度"), QStringLiteral("LW 12"), QStringLiteral("电机"));
        addTag(QStringLiteral("温度"), QStringLiteral("LW 40"), QString());
        m_widget->userButton()->click();
        QCOMPARE(m_widget->tagBox()->count(), 2);
        // The first tag is decoded as soon as the list is shown.
        QCOMPARE(m_widget->summaryLabel()->text(), QStringLiteral("本地 : LW 12 ( Int16 )"));
        QCOMPARE(m_widget->remarkLabel()->text(), QStringLiteral("电机"));
        m_widget->tagBox()->setCurrentIndex(1);
        QCOMPARE(m_widget->summaryLabel()->text(), QStringLiteral("本地 : LW 40 ( Int16 )"));
        QVERIFY(m_widget->remarkLabel()->text().isEmpty());
    }

    void pickThroughTheLibrary_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("pick");
        QTest::newRow("third tag") << true << 2;
        QTest::newRow("cancelled") << false << 2;
    }
    void pickThroughTheLibrary()
    {
        QFETCH(bool, accept);
        QFETCH(int, pick);
        for (int i = 0; i < 4; ++i)
            addTag(QStringLiteral("t%1").arg(i), QStringLiteral("LW %1").arg(100 + i),
                   QStringLiteral("m%1").arg(i));
        m_widget->userButton()->click();
        m_widget->tagBox()->setCurrentIndex(1);

        bool openedSystem = true;
        int openedRow = -1;
        int requests = 0;
        ModalSeam::setHandler([&](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind != ModalRequest::Dialog)
                return answer;
            ++requests;
            AddressLibDialog *dialog = AddressLibDialog::current();
            dialog->selection(openedSystem, openedRow);
            TableView *table = dialog->table();
            table->setCurrentIndex(
                table->proxy()->mapFromSource(table->sourceModel()->index(pick, 0)));
            answer.accepted = accept;
            return answer;
        });
        m_widget->on_libOpen_clicked();
        QCOMPARE(requests, 1);
        QVERIFY(!openedSystem);
        QCOMPARE(openedRow, 1);
        const int expected = accept ? pick : 1;
        QCOMPARE(m_widget->tagBox()->currentIndex(), expected);
        QCOMPARE(m_widget->summaryLabel()->text(),
                 QStringLiteral("本地 : LW %1 ( Int16 )").arg(100 + expected));
        QCOMPARE(m_widget->para().name, QStringLiteral("t%1").arg(expected));
    }

    void pickSystemRegisterFromDirectEntry()
    {
        const int year = Config::instance()->tagNames(true).indexOf(QStringLiteral("年"));
        QVERIFY(year >= 0);
        ModalSeam::setHandler([&](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind == ModalRequest::Dialog) {
                AddressLibDialog *dialog = AddressLibDialog::current();
                dialog->on_sysAddr_clicked();
                TableView *table = dialog->table();
                table->setCurrentIndex(
                    table->proxy()->mapFromSource(table->sourceModel()->index(year, 0)));
                answer.accepted = true;
            }
            return answer;
        });
        m_widget->on_libOpen_clicked();
        QVERIFY(m_widget->systemButton()->isChecked());
        QCOMPARE(m_widget->currentPage(), 1);
        QCOMPARE(m_widget->tagBox()->currentText(), QStringLiteral("年"));
        QCOMPARE(m_widget->remarkLabel()->text(), QStringLiteral("系统时间"));
    }

    void directEntrySummary()
    {
        RegPanel *panel = m_widget->panel();
        AddressPara para;
        para.length = 2;
        para.address = 100;
        para.area = m_widget->para().area;
        m_widget->setPara(para);
        QCOMPARE(panel->text(), Config::instance()->addressSummary(para));
        QVERIFY(panel->text().endsWith(QStringLiteral(" 100 ( Int16 )")));

        // Opening the pop-up and leaving with RegPanelNo puts the address back.
        emit panel->popup()->aboutToShow();
        AddressPara changed = para;
        changed.address = 250;
        m_widget->editForm()->setPara(changed);
        panel->on_no_clicked();
        QCOMPARE(int(m_widget->para().address), 100);
        QCOMPARE(panel->text(), Config::instance()->addressSummary(para));

        emit panel->popup()->aboutToShow();
        m_widget->editForm()->setPara(changed);
        panel->on_ok_clicked();
        QCOMPARE(int(m_widget->para().address), 250);
        QCOMPARE(panel->text(), Config::instance()->addressSummary(changed));
    }

private:
    std::unique_ptr<RegEditWidget> m_widget;
};

QTEST_MAIN(TestRegEdit)
#include "tst_regedit.moc"
