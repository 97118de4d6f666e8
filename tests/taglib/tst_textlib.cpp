#include "project/config.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "taglib/lineedit.h"
#include "taglib/textlib.h"
#include "taglib/textlibadddialog.h"
#include "taglib/textlibdialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

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

QString cell(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
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
                texts.append(cell(table, r, c));
            states.append(texts.join(QLatin1Char('/')));
        }
        tags.append(cell(table, row, 0) + QStringLiteral(": ") + states.join(StateSep));
        row += rows;
    }
    return tags.join(TagSep);
}

void setLanguages(int count)
{
    QList<LanguagePara> languages;
    for (int i = 0; i < count; ++i) {
        LanguagePara language;
        language.name = QStringLiteral("语言%1").arg(i + 1);
        languages.append(language);
    }
    Config::instance()->languages = languages;
}

QString written(const TextLib &library)
{
    QString out;
    QXmlStreamWriter writer(&out);
    library.writeXml(&writer);
    return out;
}

// Sends each character as the keyboard would, Chinese included.
void type(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

void select(QTableWidget *table, int top, int left, int bottom, int right)
{
    table->setCurrentCell(top, left);
    table->clearSelection();
    table->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

} // namespace

class TestTextLib : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ProcessFixture::start();
        setLanguages(2);
    }
    void cleanup() { ProcessFixture::finish(); }

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
        QTest::newRow("missing attributes read empty")
            << "<TextLib><label0><status0><lan0/><lan1 value=\"v\"/></status0></label0></TextLib>"
            << ": /v"
            << "<TextLib count=\"1\"><label0 name=\"\"><status0><lan0 value=\"\"/>"
               "<lan1 value=\"v\"/></status0></label0></TextLib>";
        QTest::newRow("text and deeper elements carry nothing")
            << "<TextLib count=\"1\">x<label0 name=\"n\">y<status0><lan0 value=\"v\"><q value=\"w\"/>"
               "</lan0></status0></label0></TextLib>"
            << "n: v"
            << "<TextLib count=\"1\"><label0 name=\"n\"><status0><lan0 value=\"v\"/></status0>"
               "</label0></TextLib>";
        QTest::newRow("tag without states")
            << "<TextLib count=\"1\"><label0 name=\"n\"/></TextLib>" << "n: " << QString();
        QTest::newRow("a repeated name keeps both tags")
            << "<TextLib count=\"2\"><label0 name=\"d\"><status0><lan0 value=\"1\"/></status0>"
               "</label0><label1 name=\"d\"><status0><lan0 value=\"2\"/></status0></label1></TextLib>"
            << "d: 1 | d: 2" << QString();
        QTest::newRow("empty") << "<TextLib count=\"0\"/>" << QString() << QString();
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
        QVERIFY(reader.isEndElement());
        QCOMPARE(reader.name().toString(), QStringLiteral("TextLib"));
        QVERIFY(reader.readNextStartElement());
        QCOMPARE(reader.name().toString(), QStringLiteral("AddressLib"));
        QCOMPARE(describe(library), tags);

        const QString out = written(library);
        QCOMPARE(out, canonical.isEmpty() ? xml : canonical);
        QXmlStreamReader again(out);
        QVERIFY(again.readNextStartElement());
        TextLib reread;
        reread.readXml(&again);
        QVERIFY(reread == library);
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
        QTest::newRow("add state before the second")
            << five << "add" << 2 << 2 << -1
            << "A: a/a | B: b1/b1; /; b2/b2 | C: c/c | D: d/d";
        QTest::newRow("add state to a one-state tag")
            << five << "add" << 3 << 1 << -1 << "A: a/a | B: b1/b1; b2/b2 | C: /; c/c | D: d/d";
        QTest::newRow("add tag after the current one")
            << five << "addLabel" << 1 << 2 << -1
            << "A: a/a | B: b1/b1; b2/b2 | N: /; / | C: c/c | D: d/d";
        QTest::newRow("add tag without a current row")
            << five << "addLabel" << -1 << -1 << -1
            << "N: /; / | A: a/a | B: b1/b1; b2/b2 | C: c/c | D: d/d";
        QTest::newRow("remove first state")
            << five << "remove" << 1 << 2 << -1 << "A: a/a | B: b2/b2 | C: c/c | D: d/d";
        QTest::newRow("remove second state")
            << five << "remove" << 2 << 1 << -1 << "A: a/a | B: b1/b1 | C: c/c | D: d/d";
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
        QTest::newRow("remove all") << five << "removeAll" << 1 << 1 << -1 << QString();
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

        *Config::instance()->textLib() = parse(start);
        TextLibDialog dialog;
        dialog.reloadTable();
        QTableWidget *table = dialog.table();
        QCOMPARE(describe(table), start);
        if (selectionBottom >= 0)
            select(table, row, column, selectionBottom, column);
        else
            table->setCurrentCell(row, column);

        if (action == QLatin1String("add"))
            dialog.on_add_clicked();
        else if (action == QLatin1String("addLabel"))
            dialog.addLabel(QStringLiteral("N"), 2);
        else if (action == QLatin1String("remove"))
            dialog.on_remove_clicked();
        else if (action == QLatin1String("merge"))
            dialog.on_edit_clicked();
        else if (action == QLatin1String("removeAll"))
            dialog.on_removeAll_clicked();
        QCOMPARE(describe(table), expected);

        QSignalSpy changed(&dialog, &TextLibDialog::libraryChanged);
        dialog.on_ok_clicked();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(describe(*Config::instance()->textLib()), expected);
        QCOMPARE(changed.count(), expected == start ? 0 : 1);
    }

    void addTagThroughDialog()
    {
        *Config::instance()->textLib() = parse(QStringLiteral("A: a/a | B: b/b"));
        TextLibDialog dialog;
        dialog.reloadTable();
        dialog.table()->setCurrentCell(0, 0);
        QString proposed;
        QTimer::singleShot(0, [&] {
            auto *add = qobject_cast<TextLibAddDialog *>(QApplication::activeModalWidget());
            QVERIFY(add);
            auto *name = add->findChild<LineEdit *>(QStringLiteral("name"));
            proposed = name->text();
            name->setText(QStringLiteral("灯"));
            add->findChild<QSpinBox *>(QStringLiteral("count"))->setValue(3);
            add->findChild<QPushButton *>(QStringLiteral("ok"))->click();
        });
        dialog.on_add_clicked();
        QCOMPARE(proposed, QStringLiteral("标签_2"));
        QCOMPARE(describe(dialog.table()), QStringLiteral("A: a/a | 灯: /; /; / | B: b/b"));
        QCOMPARE(dialog.table()->currentRow(), 1);
    }

    void addDialogRefusesBlankName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks") << "   " << false;
        QTest::newRow("name") << "灯_1" << true;
    }

    void addDialogRefusesBlankName()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        ModalScript script;
        TextLibAddDialog dialog(QStringLiteral("标签_0"), 2);
        dialog.findChild<LineEdit *>(QStringLiteral("name"))->setText(name);
        dialog.on_ok_clicked();
        QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(script.texts(),
                 accepted ? QStringList() : QStringList(QStringLiteral("文本标签不能为空！")));
        QCOMPARE(dialog.name(), accepted ? name : QStringLiteral("标签_0"));
        QCOMPARE(dialog.stateCount(), 2);
    }

    void checkLabel_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("message"); // empty: valid

        QTest::newRow("valid") << "A: a/a | B: b/b" << QString();
        QTest::newRow("empty table") << QString() << QString();
        QTest::newRow("rows counted through states")
            << "T: 1/1; 2/2 | X: 3/3 | T: 4/4" << "第1行和第4行的文本标签名称重复！";
        QTest::newRow("second pair after the first")
            << "A: 1/1 | B: 2/2 | B: 3/3 | A: 4/4" << "第1行和第4行的文本标签名称重复！";
        QTest::newRow("empty name") << "A: 1/1; 2/2 | : 3/3" << "第3行文本标签为空！";
        QTest::newRow("blank name") << "A: 1/1 |   : 3/3" << "第2行文本标签为空！";
        QTest::newRow("first problem wins")
            << "A: 1/1 | : 2/2 | A: 3/3" << "第1行和第3行的文本标签名称重复！";
    }

    void checkLabel()
    {
        QFETCH(QString, tags);
        QFETCH(QString, message);
        ModalScript script;
        *Config::instance()->textLib() = parse(tags);
        TextLibDialog dialog;
        dialog.reloadTable();
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
        QTest::newRow("no texts at all") << "T: " << 2 << 2 << "T: /" << "T: /";
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

        *Config::instance()->textLib() = parse(stored);
        setLanguages(shown);
        TextLibDialog dialog;
        dialog.reloadTable();
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
        QTest::newRow("nothing") << "zz" << QList<int>{};
    }

    void filter()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, visible);
        *Config::instance()->textLib() =
            parse(QStringLiteral("门: 开/open | 灯: 关/close; 闪/BLINK | C: x/y"));
        TextLibDialog dialog;
        dialog.reloadTable();
        // Typed into the combo box, replacing an earlier filter.
        QLineEdit *typed = dialog.findChild<QComboBox *>(QStringLiteral("filter"))->lineEdit();
        typed->setText(QStringLiteral("q"));
        typed->setText(text);
        QList<int> shown;
        for (int r = 0; r < dialog.table()->rowCount(); ++r) {
            if (!dialog.table()->isRowHidden(r))
                shown.append(r);
        }
        QCOMPARE(shown, visible);
        // Filling again keeps the filter.
        dialog.reloadTable();
        for (int r = 0; r < dialog.table()->rowCount(); ++r)
            QCOMPARE(dialog.table()->isRowHidden(r), !visible.contains(r));
    }

    void copy_data()
    {
        QTest::addColumn<QRect>("cells"); // x column, y row
        QTest::addColumn<QString>("copied");
        QTest::newRow("texts of two states") << QRect(1, 1, 2, 2) << "b1\tb2\nb3\tb4";
        QTest::newRow("names once per tag") << QRect(0, 0, 2, 3) << "A\ta1\nB\tb1\n\tb3";
        QTest::newRow("one cell") << QRect(2, 3, 1, 1) << "c2";
    }

    void copy()
    {
        QFETCH(QRect, cells);
        QFETCH(QString, copied);
        *Config::instance()->textLib() = parse(QStringLiteral("A: a1/a2 | B: b1/b2; b3/b4 | C: c1/c2"));
        TextLibDialog dialog;
        dialog.reloadTable();
        select(dialog.table(), cells.top(), cells.left(), cells.bottom(), cells.right());
        QTest::keyClick(dialog.table(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), copied);
    }

    void paste_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QPoint>("at"); // x column, y row
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("block into texts")
            << "x\ty\nz\tw" << QPoint(1, 1) << QString() << "A: a1/a2 | B: x/y; z/w | C: c1/c2";
        QTest::newRow("clipped at the last column and row")
            << "p\tq\nr\ts\nt\tu" << QPoint(2, 2) << QString()
            << "A: a1/a2 | B: b1/b2; b3/p | C: c1/r";
        QTest::newRow("name column never pasted")
            << "N\tn1\tn2\nM\tm1" << QPoint(0, 1) << QString()
            << "A: a1/a2 | B: n1/n2; m1/b4 | C: c1/c2";
        QTest::newRow("spreadsheet line ends")
            << "x\r\ny\r\n" << QPoint(1, 0) << QString() << "A: x/a2 | B: y/b2; b3/b4 | C: c1/c2";
        QTest::newRow("hidden rows skipped")
            << "x\ny" << QPoint(1, 1) << "1" << "A: a1/a2 | B: x/b2; b3/b4 | C: y/c2";
    }

    void paste()
    {
        QFETCH(QString, clipboard);
        QFETCH(QPoint, at);
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        *Config::instance()->textLib() = parse(QStringLiteral("A: a1/a2 | B: b1/b2; b3/b4 | C: c1/c2"));
        TextLibDialog dialog;
        dialog.reloadTable();
        dialog.on_filter_currentTextChanged(filter);
        dialog.table()->setCurrentCell(at.y(), at.x());
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(dialog.table(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(describe(dialog.table()), expected);
        QCOMPARE(dialog.table()->rowCount(), 4);
    }

    void showLibrary_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("selectedRow"); // row made current while open, -1 none
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("rowShown"); // current row when the dialog opened
        QTest::newRow("picks another tag") << "B" << true << 3 << "C" << 1;
        QTest::newRow("keeps the given tag") << "C" << true << -1 << "C" << 3;
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
        *Config::instance()->textLib() = parse(QStringLiteral("A: a/a | B: b/b; c/c | C: d/d"));
        TextLibDialog dialog;
        dialog.reloadTable();
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
        QTest::newRow("underscore first") << "_a" << "_a";
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
