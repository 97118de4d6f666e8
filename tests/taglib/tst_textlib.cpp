#include "project/config.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "taglib/textlib.h"
#include "taglib/textlibdialog.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

// Libraries and tables are written as "name: text/text; text/text | name: …":
// tags separated by " | ", states by "; ", a state's texts by "/".
const QString TagSep = QStringLiteral(" | ");
const QString StateSep = QStringLiteral("; ");

TextLib parse(const QString &description)
{
    TextLib library;
    for (const QString &tag : description.split(TagSep)) {
        const int colon = tag.indexOf(QLatin1Char(':'));
        TextLib::States states;
        for (const QString &state : tag.mid(colon + 1).trimmed().split(StateSep))
            states.append(state.split(QLatin1Char('/')));
        library.add(tag.left(colon), states);
    }
    return library;
}

QString describe(const TextLib &library)
{
    QStringList tags;
    for (int i = 0; i < library.count(); ++i) {
        QStringList states;
        for (const TextLib::State &state : library.statesAt(i))
            states.append(state.join(QLatin1Char('/')));
        tags.append(library.names().at(i) + QStringLiteral(": ") + states.join(StateSep));
    }
    return tags.join(TagSep);
}

// The table as the user sees it: a tag per name cell and its spanned rows.
QString describe(const QTableWidget *table)
{
    QStringList tags;
    for (int row = 0; row < table->rowCount();) {
        const int rows = std::max(1, table->rowSpan(row, 0));
        QStringList states;
        for (int r = row; r < row + rows; ++r) {
            QStringList texts;
            for (int c = 1; c < table->columnCount(); ++c)
                texts.append(table->item(r, c) ? table->item(r, c)->text() : QString());
            states.append(texts.join(QLatin1Char('/')));
        }
        tags.append(table->item(row, 0)->text() + QStringLiteral(": ") + states.join(StateSep));
        row += rows;
    }
    return tags.join(TagSep);
}

void setLanguages(int count)
{
    Config::instance()->languages.clear();
    for (int i = 1; i <= count; ++i)
        Config::instance()->languages.append({QStringLiteral("语言%1").arg(i), QString(), QFont()});
}

} // namespace

class TestTextLib : public QObject
{
    Q_OBJECT

    std::unique_ptr<TextLibDialog> m_dialog;

    // A dialog whose table shows the library described by tags.
    TextLibDialog &open(const QString &tags)
    {
        *Config::instance()->textLib() = parse(tags);
        m_dialog = std::make_unique<TextLibDialog>();
        m_dialog->reloadTable();
        return *m_dialog;
    }

private slots:
    void init()
    {
        ProcessFixture::start();
        setLanguages(2);
    }
    void cleanup()
    {
        m_dialog.reset();
        ProcessFixture::finish();
    }

    void xml_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("tags");
        QTest::addColumn<bool>("exact"); // written back as read

        const QString threeStates = QStringLiteral(
            "<TextLib count=\"1\"><label0 name=\"灯\"><status0><lan0 value=\"关\"/>"
            "<lan1 value=\"off\"/></status0><status1><lan0 value=\"开\"/><lan1 value=\"on\"/>"
            "</status1><status2><lan0 value=\"a &amp; &lt;b&gt;\"/><lan1 value=\"&quot;\"/>"
            "</status2></label0></TextLib>");
        QTest::newRow("three states, two languages")
            << threeStates << "灯: 关/off; 开/on; a & <b>/\"" << true;
        QTest::newRow("count and numbers ignored")
            << "<TextLib count=\"7\"><label9 name=\"a\"><status5><lan3 value=\"x\"/></status5>"
               "</label9><tag name=\"b\"><s><t value=\"1\"/><t value=\"2\"/></s></tag></TextLib>"
            << "a: x | b: 1/2" << false;
    }

    void xml()
    {
        QFETCH(QString, xml);
        QFETCH(QString, tags);
        QFETCH(bool, exact);

        QXmlStreamReader reader(QStringLiteral("<Config>") + xml
                                + QStringLiteral("<AddressLib/></Config>"));
        QVERIFY(reader.readNextStartElement() && reader.readNextStartElement());
        TextLib library;
        library.add(QStringLiteral("old"), {});
        QVERIFY(library.readXml(&reader));
        QVERIFY(reader.readNextStartElement()); // the reader stopped at its own end
        QCOMPARE(reader.name().toString(), QStringLiteral("AddressLib"));
        QCOMPARE(describe(library), tags);

        QString out;
        QXmlStreamWriter writer(&out);
        library.writeXml(&writer);
        if (exact)
            QCOMPARE(out, xml);
    }

    // The table after one edit, and the library OK writes from it or the
    // message that refuses it. Rows are counted from 0 here; selection -1
    // means the current cell only.
    void tableOps_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("selectionBottom");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("refusal");

        const QString five = QStringLiteral("A: a/a | B: b1/b1; b2/b2 | C: c/c | D: d/d");
        QTest::newRow("add state before the first")
            << five << "add" << 1 << 1 << -1
            << "A: a/a | B: /; b1/b1; b2/b2 | C: c/c | D: d/d" << QString();
        QTest::newRow("add tag after the current one")
            << five << "addLabel" << 1 << 2 << -1
            << "A: a/a | B: b1/b1; b2/b2 | N: /; / | C: c/c | D: d/d" << QString();
        QTest::newRow("remove tag from its name")
            << five << "remove" << 1 << 0 << -1 << "A: a/a | C: c/c | D: d/d" << QString();
        QTest::newRow("remove the only state removes the tag")
            << five << "remove" << 3 << 1 << -1 << "A: a/a | B: b1/b1; b2/b2 | D: d/d"
            << QString();
        QTest::newRow("merge rows 3 to 5 takes whole tags")
            << five << "merge" << 2 << 0 << 4 << "A: a/a | B: b1/b1; b2/b2; c/c; d/d" << QString();
        const QString twice = QStringLiteral("T: 1/1; 2/2 | X: 3/3 | T: 4/4");
        QTest::newRow("duplicate, rows counted through states")
            << twice << "none" << 0 << 0 << -1 << twice << "第1行和第4行的文本标签名称重复！";
        const QString blank = QStringLiteral("A: 1/1; 2/2 |   : 3/3");
        QTest::newRow("blank name") << blank << "none" << 0 << 0 << -1 << blank
                                    << "第3行文本标签为空！";
    }

    void tableOps()
    {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, selectionBottom);
        QFETCH(QString, expected);
        QFETCH(QString, refusal);

        ModalScript script;
        TextLibDialog &dialog = open(start);
        QTableWidget *table = dialog.table();
        table->setCurrentCell(row, column);
        if (selectionBottom >= 0)
            table->setRangeSelected(QTableWidgetSelectionRange(row, column, selectionBottom, column),
                                    true);

        if (action == QLatin1String("add"))
            dialog.on_add_clicked();
        else if (action == QLatin1String("addLabel"))
            dialog.addLabel(QStringLiteral("N"), 2);
        else if (action == QLatin1String("remove"))
            dialog.on_remove_clicked();
        else if (action == QLatin1String("merge"))
            dialog.on_edit_clicked();
        QCOMPARE(describe(table), expected);
        if (!refusal.isEmpty()) // what a refused OK must leave in place
            *Config::instance()->textLib() = parse(QStringLiteral("old: x/y"));

        QSignalSpy changed(&dialog, &TextLibDialog::libraryChanged);
        dialog.on_ok_clicked();
        QCOMPARE(script.texts(), refusal.isEmpty() ? QStringList() : QStringList(refusal));
        QCOMPARE(dialog.result(), int(refusal.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(describe(*Config::instance()->textLib()),
                 refusal.isEmpty() ? expected : QStringLiteral("old: x/y"));
        QCOMPARE(changed.count(), expected == start ? 0 : 1);
    }

    // States written for another number of languages than the project has.
    void languages_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("shown"); // languages when the table is filled
        QTest::addColumn<int>("atOk"); // languages when OK is pressed
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("written");

        QTest::newRow("fewer languages than texts")
            << "T: a/b/c; d/e/f" << 2 << 2 << "T: a/b; d/e" << "T: a/b; d/e";
        QTest::newRow("more languages than texts")
            << "T: a; b/c" << 3 << 3 << "T: a//; b/c/" << "T: a//; b/c/";
        QTest::newRow("language added after filling")
            << "T: a/b" << 2 << 3 << "T: a/b" << "T: a/b/";
    }

    void languages()
    {
        QFETCH(QString, stored);
        QFETCH(int, shown);
        QFETCH(int, atOk);
        QFETCH(QString, table);
        QFETCH(QString, written);

        setLanguages(shown);
        TextLibDialog &dialog = open(stored);
        QCOMPARE(describe(dialog.table()), table);
        setLanguages(atOk);
        dialog.on_ok_clicked();
        QCOMPARE(describe(*Config::instance()->textLib()), written);
    }

    // Paste fills texts only, clipped to the table, skipping rows the
    // filter hides.
    void paste_data()
    {
        QTest::addColumn<QPoint>("cell"); // x column, y row
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("clipped at the last column and row")
            << QPoint(2, 2) << "p\tq\nr\ts\nt\tu" << QString()
            << "A: a1/a2 | B: b1/b2; b3/p | C: c1/r";
        QTest::newRow("never into names") << QPoint(0, 1) << "N\tn1\tn2\nM\tm1" << QString()
                                          << "A: a1/a2 | B: n1/n2; m1/b4 | C: c1/c2";
        QTest::newRow("skips hidden rows")
            << QPoint(1, 1) << "x\ny" << "1" << "A: a1/a2 | B: x/b2; b3/b4 | C: y/c2";
    }

    void paste()
    {
        QFETCH(QPoint, cell);
        QFETCH(QString, clipboard);
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        TextLibDialog &dialog = open(QStringLiteral("A: a1/a2 | B: b1/b2; b3/b4 | C: c1/c2"));
        QTableWidget *table = dialog.table();
        dialog.on_filter_currentTextChanged(filter);
        table->setCurrentCell(cell.y(), cell.x());
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(describe(table), expected);
    }
};

QTEST_MAIN(TestTextLib)
#include "tst_textlib.moc"
