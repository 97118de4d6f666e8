#include "app/modalseam.h"
#include "project/config.h"
#include "taglib/addresslibdialog.h"
#include "taglib/regeditwidget.h"
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

    // The user list shows the library's tags as they are when it is chosen,
    // an empty one included.
    void userTagsFollowTheList()
    {
        m_widget->userButton()->click();
        QCOMPARE(m_widget->tagBox()->count(), 0);
        QVERIFY(m_widget->summaryLabel()->text().isEmpty());
        m_widget->userButton()->click();

        addTag(QStringLiteral("速度"), QStringLiteral("LW 12"), QStringLiteral("电机"));
        addTag(QStringLiteral("温度"), QStringLiteral("LW 40"), QString());
        m_widget->userButton()->click();
        QCOMPARE(m_widget->tagBox()->count(), 2);
        m_widget->tagBox()->setCurrentIndex(1);
        QCOMPARE(m_widget->summaryLabel()->text(), QStringLiteral("本地 : LW 40 ( Int16 )"));
    }

    // The library opens on the list and row shown, and a pick made there
    // (a user tag, or a system register from direct entry) is taken on OK.
    void pickThroughTheLibrary_data()
    {
        QTest::addColumn<bool>("system");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("remark");
        QTest::newRow("third tag") << false << true << "t2" << "m2";
        QTest::newRow("cancelled") << false << false << "t1" << "m1";
        QTest::newRow("system register") << true << true << "年" << "系统时间";
    }
    void pickThroughTheLibrary()
    {
        QFETCH(bool, system);
        QFETCH(bool, accept);
        QFETCH(QString, tag);
        QFETCH(QString, remark);
        for (int i = 0; i < 4; ++i)
            addTag(QStringLiteral("t%1").arg(i), QStringLiteral("LW %1").arg(100 + i),
                   QStringLiteral("m%1").arg(i));
        if (!system) { // else from direct entry
            m_widget->userButton()->click();
            m_widget->tagBox()->setCurrentIndex(1);
        }
        const int pick = system ? Config::instance()->tagNames(true).indexOf("年") : 2;
        QString opened;
        ModalSeam::setHandler([&](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind != ModalRequest::Dialog)
                return answer;
            AddressLibDialog *dialog = AddressLibDialog::current();
            bool openedSystem = true;
            int openedRow = -1;
            dialog->selection(openedSystem, openedRow);
            opened += QStringLiteral("%1 %2;").arg(openedSystem).arg(openedRow);
            if (system)
                dialog->on_sysAddr_clicked();
            TableView *table = dialog->table();
            table->setCurrentIndex(
                table->proxy()->mapFromSource(table->sourceModel()->index(pick, 0)));
            answer.accepted = accept;
            return answer;
        });
        m_widget->on_libOpen_clicked();
        if (!system)
            QCOMPARE(opened, QString("0 1;"));
        QCOMPARE(m_widget->systemButton()->isChecked(), system);
        QCOMPARE(m_widget->para().name, tag);
        QCOMPARE(m_widget->remarkLabel()->text(), remark);
        if (system) // the register Year, named 年 in the Chinese interface
            QCOMPARE(m_widget->summaryLabel()->text(), QStringLiteral("本地 : LW 9000 ( Int16 )"));
    }

private:
    std::unique_ptr<RegEditWidget> m_widget;
};

QTEST_MAIN(TestRegEdit)
#include "tst_regedit.moc"
