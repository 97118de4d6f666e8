#include "support/mouseclicks.h"
#include "widgets/sortproxymodel.h"
#include "widgets/tableview.h"

#include <QtTest>
#include <QtWidgets>

namespace {

struct Click
{
    int column;
    Qt::KeyboardModifiers modifiers;
};
using Clicks = QVector<Click>;

const Qt::KeyboardModifiers Plain = Qt::NoModifier;

// Five rows: name, group, id, note. The id column tells rows apart; the
// names repeat so that ties and further sort columns matter.
const QVector<QStringList> Rows = {{"b10", "x", "0", ""},
                                   {"b2", "y", "1", ""},
                                   {"a1", "y", "2", "[draft]"},
                                   {"b2", "x", "3", ""},
                                   {"A3", "x", "4", ""}};

} // namespace

Q_DECLARE_METATYPE(Clicks)

class TestTableView : public QObject
{
    Q_OBJECT

    QStandardItemModel *m_model = nullptr;
    TableView *m_view = nullptr;

    void clickHeader(int column, Qt::KeyboardModifiers modifiers)
    {
        QHeaderView *header = m_view->horizontalHeader();
        const QPoint pos(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                         header->height() / 2);
        mouseclicks::click(header->viewport(), pos, modifiers);
    }

    QString shownIds() const
    {
        QString ids;
        for (int row = 0; row < m_view->model()->rowCount(); ++row)
            ids += m_view->model()->index(row, 2).data().toString();
        return ids;
    }

private slots:
    void init()
    {
        m_model = new QStandardItemModel;
        m_model->setHorizontalHeaderLabels({"Name", "Group", "Id", "Note"});
        for (const QStringList &cells : Rows) {
            QList<QStandardItem *> items;
            for (const QString &cell : cells)
                items << new QStandardItem(cell);
            m_model->appendRow(items);
        }
        m_view = new TableView;
        m_view->setModel(m_model);
        m_view->setHeaderSorting(true);
        m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_view->resize(500, 300);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }

    void cleanup()
    {
        delete m_view;
        delete m_model;
    }

    void naturalCompare_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("number value, not text") << "变量_2" << "变量_10" << -1;
        QTest::newRow("upper case before lower") << "B" << "a" << -1;
        QTest::newRow("leading zeros keep the value") << "x08" << "x7" << 1;
        QTest::newRow("equal value, fewer zeros first") << "x7" << "x007" << -1;
        QTest::newRow("first zero-padded run decides") << "7-01" << "07-1" << -1;
        QTest::newRow("long numbers") << "n99999999999999999999" << "n100000000000000000000" << -1;
    }

    void naturalCompare()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const auto signOf = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
        QCOMPARE(signOf(SortProxyModel::naturalCompare(a, b)), sign);
        QCOMPARE(signOf(SortProxyModel::naturalCompare(b, a)), -sign);
    }

    // Header clicks sort, Ctrl adds a column and Alt clears; once sorted, the
    // filter looks at the sort column only.
    void sortAndFilter_data()
    {
        QTest::addColumn<Clicks>("clicks");
        QTest::addColumn<bool>("sorting");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("ids");
        QTest::newRow("click sorts ascending, ties in model order")
            << Clicks {{0, Plain}} << true << "" << "42130";
        QTest::newRow("second click reverses")
            << Clicks {{0, Plain}, {0, Plain}} << true << "" << "01324";
        QTest::newRow("ctrl adds a column")
            << Clicks {{1, Plain}, {0, Qt::ControlModifier}} << true << "" << "43021";
        QTest::newRow("ctrl again reverses that column only")
            << Clicks {{1, Plain}, {0, Qt::ControlModifier}, {0, Qt::ControlModifier}} << true
            << "" << "03412";
        QTest::newRow("alt clears")
            << Clicks {{0, Plain}, {1, Qt::ControlModifier}, {2, Qt::AltModifier}} << true << ""
            << "01234";
        QTest::newRow("sorting off")
            << Clicks {{0, Plain}, {1, Qt::ControlModifier}} << false << "" << "01234";
        QTest::newRow("filter unsorted: any column, regular expression")
            << Clicks {} << true << "^x$" << "034";
        QTest::newRow("filter sorted: the sort column only")
            << Clicks {{0, Plain}} << true << "x" << "";
        QTest::newRow("filter invalid expression matched as text")
            << Clicks {} << true << "[draft" << "2";
    }

    void sortAndFilter()
    {
        QFETCH(Clicks, clicks);
        QFETCH(bool, sorting);
        QFETCH(QString, filter);
        QFETCH(QString, ids);
        m_view->setHeaderSorting(sorting);
        m_view->proxy()->setFilterText(filter);
        for (const Click &click : clicks)
            clickHeader(click.column, click.modifiers);
        QCOMPARE(shownIds(), ids);
        // Sorting changes the view only: the model keeps its order.
        QCOMPARE(m_model->item(0, 2)->text(), QString("0"));
    }

    // Through the standard proxy entry, after a sort on two columns: one
    // column in the order asked, as a click gives; -1 back to model order.
    void standardSortEntry_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("ids");
        QTest::newRow("descending") << 0 << int(Qt::DescendingOrder) << "01324";
        QTest::newRow("ascending") << 0 << int(Qt::AscendingOrder) << "42130";
        QTest::newRow("no column") << -1 << int(Qt::AscendingOrder) << "01234";
    }
    void standardSortEntry()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        clickHeader(1, Plain);
        clickHeader(0, Qt::ControlModifier);
        QSortFilterProxyModel *proxy = m_view->proxy();
        proxy->sort(column, Qt::SortOrder(order));
        QTEST(shownIds(), "ids");
        QCOMPARE(m_view->proxy()->sortColumns().size(), column < 0 ? 0 : 1);
    }

    void copyRows()
    {
        clickHeader(0, Plain);
        m_view->selectionModel()->select(m_view->model()->index(3, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        m_view->selectionModel()->select(m_view->model()->index(0, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("A3\tx\t4\t\nb2\tx\t3\t\n"));
        QCOMPARE(m_view->selectedSourceRows(), (QList<int> {4, 3}));
    }
};

QTEST_MAIN(TestTableView)
#include "tst_tableview.moc"
