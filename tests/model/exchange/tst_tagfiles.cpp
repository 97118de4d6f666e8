#include "model/exchange/tagexchange.h"
#include "model/taglib/textlib.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "widgets/tableview.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using Rows = QVector<QStringList>;

namespace {

const Rows someTags = {{"Start", "本地", "M 10", "Bool", "1", "motor start"},
                       {"Speed", "本地", "LW 20", "Int16", "2", "速度, rpm"}};

void setLibraries()
{
    TagExchange::setAddressRows(Config::instance()->addressTagModel(), {{"Old", "本地", "LW 1", "Int16", "2", ""}});
    TextLib library;
    library.add("old", {{"旧", "old"}});
    *Config::instance()->textLib() = library;
}

bool isAddress(const QString &library)
{
    return library == QLatin1String("address");
}

} // namespace

// The import and export buttons of both tag library dialogs: what they ask,
// what they change and what they say, with every chooser and message
// answered through the modal seam.
class TestTagFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir; // one per test function
    std::unique_ptr<ModalScript> m_script;
    std::unique_ptr<AddressLibDialog> m_address;
    std::unique_ptr<TextLibDialog> m_text;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    // The address ("address") or text library's dialog.
    QDialog *dialog(const QString &library) const
    {
        return isAddress(library) ? static_cast<QDialog *>(m_address.get()) : m_text.get();
    }

    void click(const QString &library, const QString &button)
    {
        auto *found = dialog(library)->findChild<QPushButton *>(button);
        QVERIFY2(found, qPrintable(button));
        found->click();
    }

    // Whether the file came into the dialog: the address list, or the text
    // table, which OK takes into the library.
    bool changed(const QString &library, const QSignalSpy &textChanged)
    {
        if (isAddress(library))
            return m_address->isEdited();
        m_text->on_ok_clicked();
        return textChanged.count() > 0;
    }

    // The library in a comparable form: the address dialog's list (OK would
    // refuse tags of some foreign lists until they are mended), or text tags.
    static QString snapshot(const QString &library)
    {
        QStringList lines;
        if (isAddress(library)) {
            for (const QStringList &row : TagExchange::addressRows(AddressLibDialog::current()->tags()))
                lines << row.join('|');
        } else {
            for (const TextTagRecord &tag : Config::instance()->textLib()->records()) {
                QStringList states;
                for (const QStringList &state : tag.states)
                    states << state.join('/');
                lines << tag.name + ':' + states.join(';');
            }
        }
        return lines.join('\n');
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        ProcessFixture::start();
        Config *config = Config::instance();
        config->languages = {{"中文", QString(), QFont()}, {"English", QString(), QFont()}};
        config->setProjectFile(path("plant.mvprg"));
        setLibraries();
        m_script = std::make_unique<ModalScript>();
        m_address = std::make_unique<AddressLibDialog>();
        m_text = std::make_unique<TextLibDialog>();
        m_text->reloadTable();
    }

    void cleanup()
    {
        m_text.reset();
        m_address.reset();
        m_script.reset();
        ProcessFixture::finish();
        m_dir.reset();
    }

    // Each library goes out through its export button and back in through
    // its import button. The export writes under the chosen name, with the
    // filter's suffix when none is typed, and the text library writes its
    // table with edits not yet confirmed; the import replaces the whole
    // library (the text library once OK confirms the table), fitted to the
    // project's languages, and the table shows it.
    void exportWrites_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("address text") << "address" << "Txt" << "a.txt" << "a.txt";
        QTest::newRow("address, no suffix") << "address" << "Excel" << "a" << "a.xlsx";
        QTest::newRow("text csv, no suffix") << "text" << "Txt" << "t" << "t.csv";
        QTest::newRow("text xlsx") << "text" << "Excel" << "t.xlsx" << "t.xlsx";
    }

    void exportWrites()
    {
        QFETCH(QString, library);
        QFETCH(QString, format);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        TagExchange::setAddressRows(Config::instance()->addressTagModel(), someTags);
        m_address->selectRow(false, -1); // opened on them
        m_text->table()->item(0, 1)->setText("edited");
        const QString expected = isAddress(library) ? snapshot(library) : "old:edited";

        m_script->chooseText(path(typed));
        m_script->pressButton(QMessageBox::Yes);
        click(library, "export" + format);

        TagExchange::setAddressRows(Config::instance()->addressTagModel(), {});
        *Config::instance()->textLib() = TextLib();
        Config::instance()->languages.removeLast();
        m_text->reloadTable();
        m_address->selectRow(false, -1);
        QSignalSpy textChanged(m_text.get(), &TextLibDialog::libraryChanged);
        m_script->chooseText(path(written));
        click(library, "import" + format);
        QVERIFY(changed(library, textChanged));
        QCOMPARE(snapshot(library), expected);
        // The chooser and "done" of the export, the import's chooser and no
        // message after it but, for the text library, the one naming the
        // language column the project no longer has.
        QCOMPARE(m_script->requests().size(), isAddress(library) ? 3 : 4);
        QCOMPARE(m_script->requests().at(2).value, m_dir->path());
        if (!isAddress(library))
            QVERIFY2(m_script->requests().at(3).text.contains("“English”"),
                     qPrintable(m_script->requests().at(3).text));
        if (!isAddress(library))
            QCOMPARE(m_text->table()->item(0, 1)->text(), QString("edited"));
    }

    // Nothing readable or writable: the library stays as it was, no file is
    // left under the chosen name, and the user learns why.
    void failure_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // written unless null
        QTest::addColumn<QString>("reason");
        QTest::newRow("address, missing") << "address" << "importTxt" << "none.csv" << QByteArray()
                                          << "none.csv";
        QTest::newRow("text, not a workbook") << "text" << "importExcel" << "bad.xls"
                                              << QByteArray("plain text") << "工作簿";
        QTest::newRow("address, no GBK") << "address" << "exportTxt" << "a.csv" << QByteArray()
                                         << "第1行";
        QTest::newRow("text, no such folder") << "text" << "exportTxt" << "gone/t.csv"
                                              << QByteArray() << "";
    }

    void failure()
    {
        QFETCH(QString, library);
        QFETCH(QString, button);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        // A remark GBK has no character for.
        TagExchange::setAddressRows(Config::instance()->addressTagModel(), {{"Emoji", "本地", "LW 1", "Int16", "2", "\U0001F600"}});
        m_address->selectRow(false, -1);
        if (!bytes.isNull())
            QVERIFY(writeFileBytes(path(file), bytes));
        const QString before = snapshot(library);
        QSignalSpy textChanged(m_text.get(), &TextLibDialog::libraryChanged);

        m_script->chooseText(path(file));
        m_script->pressButton(QMessageBox::Yes);
        click(library, button);

        QVERIFY(!changed(library, textChanged));
        QCOMPARE(snapshot(library), before);
        QCOMPARE(m_script->requests().size(), 2);
        const QString message = m_script->requests().at(1).text;
        QVERIFY2(!message.isEmpty() && message.contains(reason), qPrintable(message));
        QCOMPARE(QFile::exists(path(file)), !bytes.isNull());
        if (!isAddress(library))
            QCOMPARE(m_text->table()->item(0, 0)->text(), QString("old"));
    }

    // Skipped lines of a variable list are named once the rest is in.
    void skippedLinesAfterImport()
    {
        QVERIFY(writeFileBytes(path("list.csv"),
                               "h\nStart,M10,BOOL,,,\nbroken,M11\nStop,M12,BOOL,,,\n"));
        m_script->chooseText(path("list.csv"));
        m_script->pressButton(QMessageBox::Yes);
        click("address", "importTxt");
        QCOMPARE(snapshot("address"), QString("Start|本地|M 10|Bool|1|\nStop|本地|M 12|Bool|1|"));
        QCOMPARE(m_script->requests().size(), 2);
        QCOMPARE(m_script->requests().at(1).text, TagExchange::skippedLinesMessage({3}));
    }

    // A file in neither encoding still comes in, and the user hears of it.
    void encodingWarning_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("address") << "address";
        QTest::newRow("text") << "text";
    }

    void encodingWarning()
    {
        QFETCH(QString, library);
        QVERIFY(writeFileBytes(path("odd.csv"), "Name,a\nx\x81,LW1,WORD,,,\n"));
        m_script->chooseText(path("odd.csv"));
        m_script->pressButton(QMessageBox::Yes);
        click(library, "importTxt");
        QVERIFY(changed(library, QSignalSpy(m_text.get(), &TextLibDialog::libraryChanged)));
        QVERIFY(snapshot(library).startsWith('x'));
        QCOMPARE(m_script->requests().size(), 2);
        QVERIFY2(m_script->requests().at(1).text.contains("GBK"),
                 qPrintable(m_script->requests().at(1).text));
    }

    // The view is taken off the model while the rows are replaced; its
    // sorting and its filter must come back with it.
    void importKeepsSortAndFilter()
    {
        QVERIFY(writeFileBytes(path("a.csv"), "h\nv2,LW2,WORD,,,\nw1,LW1,WORD,,,\nv10,LW3,WORD,,,\n"));
        m_address->table()->sortByColumn(0, Qt::DescendingOrder);
        m_address->findChild<QComboBox *>("filter")->setCurrentText("v");
        m_script->chooseText(path("a.csv"));
        click("address", "importTxt");
        QAbstractItemModel *view = m_address->table()->model();
        QStringList shown;
        for (int row = 0; row < view->rowCount(); ++row)
            shown << view->index(row, 0).data().toString();
        QCOMPARE(shown, (QStringList{"v10", "v2"}));
    }
};

QTEST_MAIN(TestTagFiles)
#include "tst_tagfiles.moc"
