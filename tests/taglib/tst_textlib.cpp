#include "project/config.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "taglib/lineedit.h"
#include "taglib/textlib.h"
#include "taglib/textlibadddialog.h"
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
    if (description.isEmpty())
        return library;
    for (const QString &tag : description.split(TagSep)) {
        const int colon = tag.indexOf(QLatin1Char(':'));
        TextLib::States states;
        const QString body = tag.mid(colon + 1).trimmed();
        if (!body.isEmpty()) {
            for (const QString &state : body.split(StateSep))
                states.append(state.split(QLatin1Char('/')));
        }
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

// Sends each character as the keyboard would, Chinese included.
void type(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &event);
        }
    }
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
        QTest::addColumn<QString>("canonical"); // empty: xml itself

        const QString threeStates = QStringLiteral(
            "<TextLib count=\"1\"><label0 name=\"灯\"><status0><lan0 value=\"关\"/>"
            "<lan1 value=\"off\"/></status0><status1><lan0 value=\"开\"/><lan1 value=\"on\"/>"
            "</status1><status2><lan0 value=\"a &amp; &lt;b&gt;\"/><lan1 value=\"&quot;\"/>"
            "</status2></label0></TextLib>");
        QTest::newRow("three states, two languages")
            << threeStates << "灯: 关/off; 开/on; a & <b>/\"" << QString();
        QTest::newRow("count and numbers ignored")
            << "<TextLib count=\"7\"><label9 name=\"a\"><status5><lan3 value=\"x\"/></status5>"
               "</label9><tag name=\"b\"><s><t value=\"1\"/><t value=\"2\"/></s></tag></TextLib>"
            << "a: x | b: 1/2"
            << "<TextLib count=\"2\"><label0 name=\"a\"><status0><lan0 value=\"x\"/></status0>"
               "</label0><label1 name=\"b\"><status0><lan0 value=\"1\"/><lan1 value=\"2\"/>"
               "</status0></label1></TextLib>";
        QTest::newRow("a repeated name keeps both tags")
            << "<TextLib count=\"2\"><label0 name=\"d\"><status0><lan0 value=\"1\"/></status0>"
               "</label0><label1 name=\"d\"><status0><lan0 value=\"2\"/></status0></label1></TextLib>"
            << "d: 1 | d: 2" << QString();
    }

    void xml()
    {
        QFETCH(QString, xml);
        QFETCH(QString, tags);
        QFETCH(QString, canonical);

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
        QCOMPARE(out, canonical.isEmpty() ? xml : canonical);
    }

    // The table after one edit, and the library OK writes from it. Rows are
    // counted from 0 here; selection -1 means the current cell only.
    void tableOps_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("selectionBottom");
        QTest::addColumn<QString>("expected");

        const QString five = QStringLiteral("A: a/a | B: b1/b1; b2/b2 | C: c/c | D: d/d");
        QTest::newRow("add state before the first")
            << five << "add" << 1 << 1 << -1
            << "A: a/a | B: /; b1/b1; b2/b2 | C: c/c | D: d/d";
        QTest::newRow("add tag after the current one")
            << five << "addLabel" << 1 << 2 << -1
            << "A: a/a | B: b1/b1; b2/b2 | N: /; / | C: c/c | D: d/d";
        QTest::newRow("add tag without a current row")
            << five << "addLabel" << -1 << -1 << -1
            << "N: /; / | A: a/a | B: b1/b1; b2/b2 | C: c/c | D: d/d";
        QTest::newRow("remove tag from its name")
            << five << "remove" << 1 << 0 << -1 << "A: a/a | C: c/c | D: d/d";
        QTest::newRow("remove the only state removes the tag")
            << five << "remove" << 3 << 1 << -1 << "A: a/a | B: b1/b1; b2/b2 | D: d/d";
        const QString single = QStringLiteral("A: a/1 | B: b/2 | C: c/3 | D: d/4 | E: e/5 | F: f/6");
        QTest::newRow("merge rows 3 to 5")
            << single << "merge" << 2 << 0 << 4 << "A: a/1 | B: b/2 | C: c/3; d/4; e/5 | F: f/6";
        QTest::newRow("merge takes whole tags")
            << five << "merge" << 2 << 0 << 3 << "A: a/a | B: b1/b1; b2/b2; c/c | D: d/d";
        QTest::newRow("merge needs the name column")
            << single << "merge" << 2 << 1 << 4 << single;
        QTest::newRow("nothing done") << five << "none" << 1 << 1 << -1 << five;
    }

    void tableOps()
    {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, selectionBottom);
        QFETCH(QString, expected);

        TextLibDialog &dialog = open(start);
        QTableWidget *table = dialog.table();
        QCOMPARE(describe(table), start);
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

        QSignalSpy changed(&dialog, &TextLibDialog::libraryChanged);
        dialog.on_ok_clicked();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(describe(*Config::instance()->textLib()), expected);
        QCOMPARE(changed.count(), expected == start ? 0 : 1);
    }

    // The add dialog through its real modal loop: a blank name is refused
    // and the dialog stays open for another.
    void addTagThroughDialog()
    {
        TextLibDialog &dialog = open(QStringLiteral("A: a/a | B: b/b"));
        dialog.table()->setCurrentCell(0, 0);
        ModalScript script;
        QString proposed;
        QTimer::singleShot(0, [&] {
            auto *add = qobject_cast<TextLibAddDialog *>(QApplication::activeModalWidget());
            QVERIFY(add);
            auto *name = add->findChild<LineEdit *>(QStringLiteral("name"));
            proposed = name->text();
            name->setText(QStringLiteral("   "));
            add->on_ok_clicked();
            QVERIFY(add->isVisible());
            name->setText(QStringLiteral("灯"));
            add->findChild<QSpinBox *>(QStringLiteral("count"))->setValue(3);
            add->findChild<QPushButton *>(QStringLiteral("ok"))->click();
        });
        dialog.on_add_clicked();
        QCOMPARE(proposed, QStringLiteral("标签_2"));
        QCOMPARE(script.texts(), QStringList(QStringLiteral("文本标签不能为空！")));
        QCOMPARE(describe(dialog.table()), QStringLiteral("A: a/a | 灯: /; /; / | B: b/b"));
        QCOMPARE(dialog.table()->currentRow(), 1);
    }

    void checkLabel_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("message"); // empty: valid

        QTest::newRow("empty table") << QString() << QString();
        QTest::newRow("rows counted through states")
            << "T: 1/1; 2/2 | X: 3/3 | T: 4/4" << "第1行和第4行的文本标签名称重复！";
        QTest::newRow("blank name") << "A: 1/1; 2/2 |   : 3/3" << "第3行文本标签为空！";
        QTest::newRow("first problem wins")
            << "A: 1/1 | : 2/2 | A: 3/3" << "第1行和第3行的文本标签名称重复！";
    }

    void checkLabel()
    {
        QFETCH(QString, tags);
        QFETCH(QString, message);
        ModalScript script;
        TextLibDialog &dialog = open(tags);
        QCOMPARE(describe(dialog.table()), tags);
        // What a refused OK must leave in place.
        const QString before = QStringLiteral("old: x/y");
        *Config::instance()->textLib() = parse(before);

        QCOMPARE(dialog.checkLabel(), message.isEmpty());
        QCOMPARE(script.texts(), message.isEmpty() ? QStringList() : QStringList(message));
        if (!message.isEmpty())
            QCOMPARE(script.requests().first().title, QStringLiteral("错误"));

        QSignalSpy changed(&dialog, &TextLibDialog::libraryChanged);
        dialog.on_ok_clicked();
        QCOMPARE(dialog.result(), int(message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(describe(*Config::instance()->textLib()), message.isEmpty() ? tags : before);
        QCOMPARE(changed.count(), message.isEmpty() ? 1 : 0);
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
        QTest::newRow("language removed after filling")
            << "T: a/b" << 2 << 1 << "T: a/b" << "T: a";
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
        QCOMPARE(dialog.table()->columnCount(), shown + 1);
        QCOMPARE(describe(dialog.table()), table);
        setLanguages(atOk);
        dialog.on_ok_clicked();
        QCOMPARE(describe(*Config::instance()->textLib()), written);
    }

    void filter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("visible");
        QTest::newRow("empty shows all") << "" << QList<int>{0, 1, 2, 3};
        QTest::newRow("any case in a text") << "blink" << QList<int>{2};
        QTest::newRow("a tag's name shows its states") << "灯" << QList<int>{1, 2};
        QTest::newRow("several tags") << "o" << QList<int>{0, 1};
    }

    void filter()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, visible);
        TextLibDialog &dialog = open(QStringLiteral("门: 开/open | 灯: 关/close; 闪/BLINK | C: x/y"));
        // Typed into the combo box, replacing an earlier filter.
        QLineEdit *typed = dialog.findChild<QComboBox *>(QStringLiteral("filter"))->lineEdit();
        typed->setText(QStringLiteral("q"));
        typed->setText(text);
        for (const bool refilled : {false, true}) { // filling again keeps the filter
            if (refilled)
                dialog.reloadTable();
            QList<int> shown;
            for (int r = 0; r < dialog.table()->rowCount(); ++r) {
                if (!dialog.table()->isRowHidden(r))
                    shown.append(r);
            }
            QCOMPARE(shown, visible);
        }
    }

    // Copy gives the selected texts and each tag's name once; paste fills
    // texts only, clipped to the table, skipping rows the filter hides.
    void clipboard_data()
    {
        QTest::addColumn<QRect>("cells"); // x column, y row; one cell: where to paste
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected"); // copied text, or the table after pasting
        QTest::newRow("copy texts of two states")
            << QRect(1, 1, 2, 2) << QString() << QString() << "b1\tb2\nb3\tb4";
        QTest::newRow("copy names once per tag")
            << QRect(0, 0, 2, 3) << QString() << QString() << "A\ta1\nB\tb1\n\tb3";
        QTest::newRow("paste block into texts") << QRect(1, 1, 1, 1) << "x\ty\nz\tw" << QString()
                                                << "A: a1/a2 | B: x/y; z/w | C: c1/c2";
        QTest::newRow("paste clipped at the last column and row")
            << QRect(2, 2, 1, 1) << "p\tq\nr\ts\nt\tu" << QString()
            << "A: a1/a2 | B: b1/b2; b3/p | C: c1/r";
        QTest::newRow("paste never into names")
            << QRect(0, 1, 1, 1) << "N\tn1\tn2\nM\tm1" << QString()
            << "A: a1/a2 | B: n1/n2; m1/b4 | C: c1/c2";
        QTest::newRow("paste spreadsheet line ends") << QRect(1, 0, 1, 1) << "x\r\ny\r\n" << QString()
                                                     << "A: x/a2 | B: y/b2; b3/b4 | C: c1/c2";
        QTest::newRow("paste skips hidden rows")
            << QRect(1, 1, 1, 1) << "x\ny" << "1" << "A: a1/a2 | B: x/b2; b3/b4 | C: y/c2";
    }

    void clipboard()
    {
        QFETCH(QRect, cells);
        QFETCH(QString, clipboard);
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        TextLibDialog &dialog = open(QStringLiteral("A: a1/a2 | B: b1/b2; b3/b4 | C: c1/c2"));
        QTableWidget *table = dialog.table();
        dialog.on_filter_currentTextChanged(filter);
        table->setCurrentCell(cells.top(), cells.left());
        if (clipboard.isEmpty()) {
            table->clearSelection();
            table->setRangeSelected(QTableWidgetSelectionRange(cells.top(), cells.left(),
                                                               cells.bottom(), cells.right()),
                                    true);
            QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), expected);
            return;
        }
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(describe(table), expected);
        QCOMPARE(table->rowCount(), 4);
    }

    void showLibrary_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("selectedRow"); // row made current while open, -1 none
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("rowShown"); // current row when the dialog opened
        QTest::newRow("picks another tag") << "B" << true << 3 << "C" << 1;
        QTest::newRow("a state row names its tag") << "A" << true << 2 << "B" << 0;
        QTest::newRow("cancelled") << "B" << false << 3 << "" << 1;
        QTest::newRow("opened from the menu") << "" << true << 3 << "" << -1;
    }

    void showLibrary()
    {
        QFETCH(QString, current);
        QFETCH(bool, accept);
        QFETCH(int, selectedRow);
        QFETCH(QString, result);
        QFETCH(int, rowShown);
        TextLibDialog &dialog = open(QStringLiteral("A: a/a | B: b/b; c/c | C: d/d"));
        dialog.table()->setCurrentCell(-1, -1);
        int opened = -2;
        QTimer::singleShot(0, [&] {
            opened = dialog.table()->currentRow();
            if (selectedRow >= 0)
                dialog.table()->setCurrentCell(selectedRow, 1);
            if (accept)
                dialog.on_ok_clicked();
            else
                dialog.on_cancel_clicked();
        });
        QCOMPARE(dialog.showLibrary(current), result);
        QCOMPARE(opened, rowShown);
    }

    void lineEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("leading minus refused") << "-abc" << "abc";
        QTest::newRow("leading blank refused") << " ab" << "ab";
        QTest::newRow("Chinese name") << "变量_1" << "变量_1";
    }

    void lineEdit()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        LineEdit edit;
        type(&edit, typed);
        QCOMPARE(edit.text(), shown);
    }
};

QTEST_MAIN(TestTextLib)
#include "tst_textlib.moc"
