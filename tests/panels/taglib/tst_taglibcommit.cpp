#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "model/keptcontent.h"
#include "model/taglib/textlib.h"
#include "panels/taglib/addressadddialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/regeditwidget.h"
#include "panels/taglib/textlibdialog.h"
#include "services/modalseam.h"
#include "support/processfixture.h"
#include "widgets/lineedit.h"
#include "widgets/tableview.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace {

using Step = std::function<ModalAnswer(const ModalRequest &)>;

ModalAnswer answer(bool accepted, const QString &text = QString())
{
    ModalAnswer result;
    result.accepted = accepted;
    result.button = accepted ? QMessageBox::Yes : QMessageBox::Cancel;
    result.text = text;
    return result;
}

void addTag(const QString &name, const QString &address)
{
    QList<QStandardItem *> items;
    for (const QString &cell : {name, QString("本地"), address, QString("Int16"), QString("2"), QString()})
        items << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(items);
}

// What a newer program wrote into a tag and this one keeps unread.
KeptContent keptAttribute()
{
    QXmlStreamReader reader(QByteArray("<label1 name=\"b\" future=\"kept\"/>"));
    reader.readNextStartElement();
    KeptContent kept;
    kept.keepAttributes(reader, {"name", "device", "address", "type", "length", "mark"});
    return kept;
}

QString describeTexts()
{
    QStringList tags;
    const TextLib *library = Config::instance()->textLib();
    for (int i = 0; i < library->count(); ++i) {
        QStringList states;
        for (const TextLib::State &state : library->statesAt(i))
            states << state.join('/');
        tags << library->names().at(i) + ": " + states.join("; ");
    }
    return tags.join(" | ");
}

QStringList boxItems(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QByteArray projectText()
{
    return ProjectFile::decodeProjectText(ProjectFile::projectBytes());
}

} // namespace

// A tag library dialog works on a copy: Cancel leaves the project as it was,
// to the byte, with nothing to undo; OK is one undo step that takes the
// project back to its bytes, and what shows the tags meanwhile follows.
class TestTagLibCommit : public QObject
{
    Q_OBJECT

    QQueue<Step> m_steps;
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        ProcessFixture::start();
        ProjectDocument::current()->undoStack()->clear();
        m_steps.clear();
        ModalSeam::setHandler([this](const ModalRequest &request) {
            return m_steps.isEmpty() ? answer(false) : m_steps.dequeue()(request);
        });
        Config *config = Config::instance();
        config->languages = {{"中文", QString(), QFont()}};
        addTag("a", "LW 1");
        addTag("b", "LW 2");
        addTag("c", "LW 3");
        config->addressTagModel()->item(1, Config::NameColumn)
            ->setData(QVariant::fromValue(keptAttribute()), Config::KeptContentRole);
        TextLib text;
        text.add("A", {{"a"}});
        text.add("B", {{"b"}});
        *config->textLib() = text;
    }

    void cleanup()
    {
        QVERIFY2(m_steps.isEmpty(), "a step was not reached");
        AddressAddDialog::setRunner({});
        ModalSeam::setHandler({});
        ProcessFixture::finish();
    }

    void addressLibrary_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("names"); // after OK
        for (const bool ok : {true, false}) {
            const char *button = ok ? "确定" : "取消";
            QTest::addRow("edit, %s", button) << "edit" << ok << QStringList {"a2", "b", "c"};
            QTest::addRow("remove, %s", button) << "remove" << ok << QStringList {"b", "c"};
            QTest::addRow("import, %s", button) << "import" << ok << QStringList {"x", "y"};
            QTest::addRow("add, %s", button) << "add" << ok << QStringList {"a", "b", "c", "d"};
            QTest::addRow("move down, %s", button) << "move down" << ok << QStringList {"a", "c", "b"};
            QTest::addRow("paste, %s", button) << "paste" << ok << QStringList {"a", "p", "b", "c"};
            QTest::addRow("delete key, %s", button) << "delete key" << ok << QStringList {"c"};
            QTest::addRow("remove all, %s", button) << "remove all" << ok << QStringList {};
        }
    }
    void addressLibrary()
    {
        QFETCH(QString, action);
        QFETCH(bool, ok);
        QFETCH(QStringList, names);
        const QString file = m_dir.filePath("tags.csv");
        QString error;
        QVERIFY2(TagExchange::exportAddressTags(file, TagExchange::addressHeader(),
                                                {{"x", "本地", "LW 5", "Int16", "2", ""},
                                                 {"y", "本地", "LW 6", "Int16", "2", ""}},
                                                &error),
                 qPrintable(error));
        const QStringList before = Config::instance()->tagNames(false);
        const QByteArray bytes = projectText();
        QUndoStack *history = ProjectDocument::current()->undoStack();
        AddressLibDialog dialog;
        RegEditWidget picker;
        picker.userButton()->click();
        QCOMPARE(boxItems(picker.tagBox()), before);

        AddressAddDialog::setRunner([action](AddressAddDialog &add) {
            add.findChild<LineEdit *>("name")->setText(action == "edit" ? "a2" : "d");
            add.findChild<QPushButton *>("ok")->click();
            return add.result();
        });
        QStringList listed; // the dialog's list before its OK or Cancel
        m_steps << [&](const ModalRequest &) {
            if (action == "edit") {
                dialog.selectRow(false, 0);
                dialog.on_edit_clicked();
            } else if (action == "remove") {
                dialog.selectRow(false, 0);
                dialog.on_remove_clicked();
            } else if (action == "import") {
                dialog.on_importTxt_clicked();
            } else if (action == "move down") {
                dialog.selectRow(false, 1);
                dialog.on_moveDown_clicked();
            } else if (action == "paste") {
                dialog.selectRow(false, 0);
                dialog.pasteRows("p\t本地\tLW 7\tInt16\t2\t");
            } else if (action == "delete key") {
                dialog.selectRow(false, 0);
                dialog.table()->selectAll();
                dialog.table()->selectionModel()->select(
                    dialog.table()->model()->index(2, 0),
                    QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
                QTest::keyClick(dialog.table(), Qt::Key_Delete);
            } else if (action == "remove all") {
                dialog.on_removeAll_clicked();
            } else {
                dialog.selectRow(false, 2);
                dialog.on_add_clicked();
            }
            for (int row = 0; row < dialog.tags()->rowCount(); ++row)
                listed << dialog.tags()->item(row, Config::NameColumn)->text();
            return answer(ok);
        };
        if (action == "import")
            m_steps << [&](const ModalRequest &) { return answer(true, file); };
        dialog.showLibrary(false, -1);
        QCOMPARE(listed, names); // the action was made
        QCoreApplication::processEvents(); // the picker refills once, queued

        if (!ok) {
            QCOMPARE(projectText(), bytes);
            QCOMPARE(history->count(), 0);
            QCOMPARE(boxItems(picker.tagBox()), before);
            // Nor are the dropped edits offered again.
            dialog.selectRow(false, -1);
            QCOMPARE(dialog.tags()->rowCount(), before.size());
            return;
        }
        QCOMPARE(history->count(), 1);
        QCOMPARE(Config::instance()->tagNames(false), names);
        QCOMPARE(boxItems(picker.tagBox()), names);
        // The tag the dialog left alone keeps what this program does not
        // read, wherever it moved, and no other tag takes it.
        static const QRegularExpression keptOnB(
            "<label\\d+[^>]*(future=\"kept\"[^>]*name=\"b\"|name=\"b\"[^>]*future=\"kept\")");
        QCOMPARE(projectText().count("future=\"kept\""), names.contains("b") ? 1 : 0);
        QCOMPARE(keptOnB.match(QString::fromUtf8(projectText())).hasMatch(), names.contains("b"));
        history->undo();
        QCOMPARE(projectText(), bytes);
        QCoreApplication::processEvents();
        QCOMPARE(boxItems(picker.tagBox()), before);
    }

    void textLibrary_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("library"); // after OK
        for (const bool ok : {true, false}) {
            const char *button = ok ? "确定" : "取消";
            QTest::addRow("edit, %s", button) << "edit" << ok << "A: a2 | B: b";
            QTest::addRow("remove, %s", button) << "remove" << ok << "B: b";
            QTest::addRow("import, %s", button) << "import" << ok << "N: n";
            QTest::addRow("add, %s", button) << "add" << ok << "A: a | B: b | 标签_2: ";
        }
    }
    void textLibrary()
    {
        QFETCH(QString, action);
        QFETCH(bool, ok);
        QFETCH(QString, library);
        const QString file = m_dir.filePath("texts.csv");
        TextLib imported;
        imported.add("N", {{"n"}});
        QString error;
        QVERIFY2(TagExchange::exportTextTags(file, TagExchange::textHeader(), imported.records(),
                                             &error),
                 qPrintable(error));
        const QString before = describeTexts();
        const QByteArray bytes = projectText();
        QUndoStack *history = ProjectDocument::current()->undoStack();
        TextLibDialog dialog;
        QSignalSpy changed(ProjectDocument::current(), &ProjectDocument::textTagsChanged);

        m_steps << [&](const ModalRequest &) {
            QTableWidget *table = dialog.table();
            if (action == "edit") {
                table->item(0, 1)->setText("a2");
            } else if (action == "remove") {
                table->setCurrentCell(0, 0);
                dialog.on_remove_clicked();
            } else if (action == "import") {
                dialog.findChild<QPushButton *>("importTxt")->click();
            } else {
                table->setCurrentCell(1, 0);
                dialog.on_add_clicked();
            }
            return answer(ok);
        };
        if (action == "import")
            m_steps << [&](const ModalRequest &) { return answer(true, file); };
        if (action == "add") // the new tag's dialog, confirmed as it proposes
            m_steps << [](const ModalRequest &) { return answer(true); };
        dialog.showLibrary(QString());

        if (!ok) {
            QCOMPARE(projectText(), bytes);
            QCOMPARE(history->count(), 0);
            QCOMPARE(changed.count(), 0);
            return;
        }
        QCOMPARE(describeTexts(), library);
        QCOMPARE(history->count(), 1);
        QCOMPARE(changed.count(), 1);
        history->undo();
        QCOMPARE(projectText(), bytes);
        QCOMPARE(describeTexts(), before);
    }
};

QTEST_MAIN(TestTagLibCommit)
#include "tst_taglibcommit.moc"
