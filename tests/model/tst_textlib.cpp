#include "document/projectfile.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "model/taglib/textlib.h"
#include "model/taglib/textlibkept.h"
#include "panels/taglib/textlibdialog.h"
#include "support/modalscript.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
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

// Answers modal requests in turn, each step free to work the dialog that
// asks; running out of steps cancels.
class Steps
{
public:
    using Step = std::function<ModalAnswer(const ModalRequest &)>;
    Steps()
    {
        ModalSeam::setHandler([this](const ModalRequest &request) {
            return m_steps.isEmpty() ? answer(false) : m_steps.dequeue()(request);
        });
    }
    ~Steps() { ModalSeam::setHandler({}); }
    Steps &operator<<(Step step)
    {
        m_steps.enqueue(std::move(step));
        return *this;
    }
    int pending() const { return m_steps.size(); }
    static ModalAnswer answer(bool accepted, const QString &text = QString())
    {
        ModalAnswer result;
        result.accepted = accepted;
        result.button = accepted ? QMessageBox::Yes : QMessageBox::Cancel;
        result.text = text;
        return result;
    }

private:
    QQueue<Step> m_steps;
};

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
               "</label9></TextLib>"
            << "a: x" << false;
        // Not a tag, a state or a text, though named and valued like one.
        QTest::newRow("other names kept in place, never read")
            << "<TextLib count=\"1\"><tag name=\"b\"/><label0 name=\"a\"><s><t value=\"1\"/></s>"
               "<status0><t value=\"2\"/><lan0 value=\"x\"/></status0></label0></TextLib>"
            << "a: x" << true;
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
        TextLibKept kept;
        QVERIFY(library.readXml(&reader, &kept));
        QVERIFY(reader.readNextStartElement()); // the reader stopped at its own end
        QCOMPARE(reader.name().toString(), QStringLiteral("AddressLib"));
        QCOMPARE(describe(library), tags);

        QString out;
        QXmlStreamWriter writer(&out);
        library.writeXml(&writer, &kept);
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
        QTest::newRow("delete every state of a tag")
            << five << "delete" << 1 << 1 << 2 << "A: a/a | C: c/c | D: d/d" << QString();
        QTest::newRow("delete a state and the next tag")
            << five << "delete" << 2 << 2 << 3 << "A: a/a | B: b1/b1 | D: d/d" << QString();
        QTest::newRow("delete from a name cell takes its tag")
            << five << "delete" << 1 << 0 << 1 << "A: a/a | C: c/c | D: d/d" << QString();
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
        else if (action == QLatin1String("delete"))
            QTest::keyClick(table, Qt::Key_Delete);
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

    // States written for another number of languages than the project has:
    // OK on the untouched table keeps them as they are, texts of hidden
    // languages survive edits elsewhere, and edited states get a text for
    // every language.
    void languages_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("shown"); // languages when the table is filled
        QTest::addColumn<int>("atOk"); // languages when OK is pressed
        QTest::addColumn<bool>("edit"); // the first text becomes "x"
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("written");

        const QString threeTexts = QStringLiteral("T: a/b/c; d/e/f");
        QTest::newRow("hidden texts, untouched")
            << threeTexts << 2 << 2 << false << "T: a/b; d/e" << threeTexts;
        QTest::newRow("hidden texts, edited") << threeTexts << 2 << 2 << true << "T: a/b; d/e"
                                              << "T: x/b/c; d/e/f";
        QTest::newRow("short states, untouched") << "T: a; b/c" << 3 << 3 << false << "T: a//; b/c/"
                                                 << "T: a; b/c";
        QTest::newRow("short states, edited") << "T: a; b/c" << 3 << 3 << true << "T: a//; b/c/"
                                              << "T: x//; b/c/";
        QTest::newRow("language added after filling") << "T: a/b" << 2 << 3 << false << "T: a/b"
                                                      << "T: a/b/";
    }

    void languages()
    {
        QFETCH(QString, stored);
        QFETCH(int, shown);
        QFETCH(int, atOk);
        QFETCH(bool, edit);
        QFETCH(QString, table);
        QFETCH(QString, written);

        setLanguages(shown);
        TextLibDialog &dialog = open(stored);
        QCOMPARE(describe(dialog.table()), table);
        if (edit)
            dialog.table()->item(0, 1)->setText(QStringLiteral("x"));
        setLanguages(atOk);
        dialog.on_ok_clicked();
        QCOMPARE(describe(*Config::instance()->textLib()), written);
    }

    // The table is a copy of the library: whatever happens in it, Cancel
    // leaves the library and the saved project as they were, and so does a
    // refused OK; opened again, the table shows the library, and OK on it
    // untouched changes nothing.
    void workOnCopy_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("import, cancel") << "import" << false << QString();
        QTest::newRow("import, OK refused")
            << "import" << true << "第1行和第3行的文本标签名称重复！";
        QTest::newRow("delete, cancel") << "delete" << false << QString();
        QTest::newRow("remove all, cancel") << "removeAll" << false << QString();
    }

    void workOnCopy()
    {
        QFETCH(QString, action);
        QFETCH(bool, ok);
        QFETCH(QString, refusal);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("tags.csv"));
        QString error;
        QVERIFY2(TagExchange::exportTextTags(
                     file, TagExchange::textHeader(),
                     parse(QStringLiteral("N: 1/2 | M: 3/4 | N: 5/6")).records(), &error),
                 qPrintable(error));
        const QString start = QStringLiteral("A: a/a | B: b1/b1; b2/b2 | C: c/c");
        TextLibDialog &dialog = open(start);
        const QByteArray before = ProjectFile::projectBytes();
        QSignalSpy changed(&dialog, &TextLibDialog::libraryChanged);
        QTableWidget *table = dialog.table();

        Steps steps;
        QString edited;
        steps << [&](const ModalRequest &) {
            if (action == QLatin1String("import")) {
                dialog.findChild<QPushButton *>(QStringLiteral("importTxt"))->click();
            } else if (action == QLatin1String("delete")) {
                table->setCurrentCell(1, 0);
                QTest::keyClick(table, Qt::Key_Delete);
            } else {
                dialog.findChild<QPushButton *>(QStringLiteral("removeAll"))->click();
            }
            edited = table->rowCount() ? describe(table) : QStringLiteral("(empty)");
            return Steps::answer(ok);
        };
        if (action == QLatin1String("import"))
            steps << [&](const ModalRequest &) { return Steps::answer(true, file); };
        if (!refusal.isEmpty())
            steps << [](const ModalRequest &) { return Steps::answer(true); };
        dialog.showLibrary(QString());
        QCOMPARE(steps.pending(), 0);
        QVERIFY2(edited != start, qPrintable(edited)); // the action did change the table
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        if (!refusal.isEmpty())
            QCOMPARE(ModalSeam::history().last().text, refusal);
        QCOMPARE(describe(*Config::instance()->textLib()), start);
        QCOMPARE(ProjectFile::projectBytes(), before);

        QString reopened;
        steps << [&](const ModalRequest &) {
            reopened = describe(table);
            return Steps::answer(true);
        };
        dialog.showLibrary(QString());
        QCOMPARE(reopened, start);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ProjectFile::projectBytes(), before);
        QCOMPARE(changed.count(), 0);
    }

    // OK on the untouched library of generated projects changes no byte of
    // the project.
    void untouchedOkOnGeneratedProjects()
    {
        TextLibDialog dialog;
        QSignalSpy changed(&dialog, &TextLibDialog::libraryChanged);
        for (quint32 seed = 1; seed <= 20; ++seed) {
            ProcessFixture::start();
            ProjectGenerator::Options options;
            options.screens = 0;
            options.textTags = 12;
            ProjectGenerator(seed).build(options);
            const QByteArray before = ProjectFile::projectBytes();
            Steps steps;
            // Generated names may be empty; the refusal is answered.
            steps << [](const ModalRequest &) { return Steps::answer(true); }
                  << [](const ModalRequest &) { return Steps::answer(true); };
            dialog.showLibrary(QString());
            QVERIFY2(ProjectFile::projectBytes() == before, qPrintable(QString::number(seed)));
        }
        QCOMPARE(changed.count(), 0);
    }

    // A selection dragged over the name cells of several tags, one of them
    // with states of its own, merges them all.
    void mergeDraggedSelection()
    {
        TextLibDialog &dialog = open(QStringLiteral("A: a/a | B: b1/b1; b2/b2 | C: c/c | D: d/d"));
        QTableWidget *table = dialog.table();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QWidget *viewport = table->viewport();
        const QPoint from = table->visualItemRect(table->item(0, 0)).center();
        const QPoint to = table->visualItemRect(table->item(3, 0)).center();
        mouseclicks::send(viewport, QEvent::MouseButtonPress, from);
        mouseclicks::send(viewport, QEvent::MouseMove, (from + to) / 2);
        mouseclicks::send(viewport, QEvent::MouseMove, to);
        mouseclicks::send(viewport, QEvent::MouseButtonRelease, to);
        dialog.on_edit_clicked();
        QCOMPARE(describe(table), QStringLiteral("A: a/a; b1/b1; b2/b2; c/c | D: d/d"));
    }

    // Pasted into texts, lines overwrite from the current cell on, skipping
    // rows the filter hides, and lines past the end become states of the
    // last tag; pasted on a name, lines become new tags.
    void paste_data()
    {
        QTest::addColumn<QPoint>("cell"); // x column, y row
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("clipped at the last column, states past the end")
            << QPoint(2, 2) << "p\tq\nr\ts\nt\tu" << QString()
            << "A: a1/a2 | B: b1/b2; b3/p | C: c1/r; /t";
        QTest::newRow("names become new tags")
            << QPoint(0, 1) << "N\tn1\tn2\n\tn3\nM\tm1\tm2\tm3" << QString()
            << "A: a1/a2 | B: b1/b2; b3/b4 | N: n1/n2; n3/ | M: m1/m2 | C: c1/c2";
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
