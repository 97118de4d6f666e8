// 编译 in the main window: where a click on a line of its dock leads.

#include "mainwindow/checkpanel.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "services/modalseam.h"
#include "shapes/graphicsitem.h"
#include "support/modalscript.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

namespace {

// Clicks the first line holding part, as the user does, on the text.
bool clickLine(QTextBrowser *browser, const QString &part)
{
    const int line = browser->toPlainText().split(QLatin1Char('\n')).indexOf(QRegularExpression(
        QStringLiteral(".*%1.*").arg(QRegularExpression::escape(part))));
    if (line < 0)
        return false;
    const QTextBlock block = browser->document()->findBlockByNumber(line);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + 2);
    mouseclicks::click(browser->viewport(), browser->cursorRect(cursor).center());
    return true;
}

} // namespace

class TestCheckFind : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    QString m_shown; // what the dialog a click opened showed while open

    // Answers every modal request with Cancel, noting the rows the address
    // and text libraries show.
    void watchDialogs()
    {
        ModalSeam::setHandler([this](const ModalRequest &) {
            bool system = true;
            int row = -1;
            m_window->addressLibDialog()->selection(system, row);
            const QTableWidget *text = m_window->textLibDialog()->table();
            // A current row the filter hides is no row to the user.
            const int textRow = text->currentRow();
            m_shown = QStringLiteral("address %1 %2; text %3")
                          .arg(system)
                          .arg(row)
                          .arg(textRow >= 0 && text->isRowHidden(textRow) ? -9 : textRow);
            return ModalAnswer();
        });
    }

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void init()
    {
        ProcessFixture::forgetSettings();
        ProcessFixture::start();
        m_window = std::make_unique<MainWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QString file = m_dir.filePath("faults.mvprg");
        QFile::remove(file);
        QVERIFY(QFile::copy(QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + "/check/faults.mvprg",
                            file));
        ModalScript quiet;
        QVERIFY(m_window->projectController()->openProject(file));
    }

    void cleanup()
    {
        ModalSeam::setHandler({});
        m_window->setModified(false);
        ProcessFixture::close(m_window);
        ProcessFixture::finish();
    }

    // A library row is shown even when the library's filter hid every row.
    void clickingAFinding_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown"); // selected shapes, or what the library showed
        QTest::newRow("shape") << "图形 away" << "away";
        QTest::newRow("address tag") << "地址标签第 4 行" << "address 0 3; text -1";
        QTest::newRow("text tag") << "文本标签第 3 个" << "address 0 -1; text 3";
    }

    void clickingAFinding()
    {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        QTest::ignoreMessage(QtDebugMsg, "build");
        m_window->action("build")->trigger();
        // Another screen current first, so that the click must change it.
        m_window->showForm(DrawManager::instance()->scenes().at(2));
        m_window->addressLibDialog()->selectRow(false, -1);
        m_window->addressLibDialog()->findChild<QComboBox *>("filter")->setCurrentText("x!");
        m_window->textLibDialog()->findChild<QComboBox *>("filter")->setCurrentText("x!");
        QVERIFY(m_window->textLibDialog()->table()->isRowHidden(3));
        watchDialogs();
        QVERIFY(clickLine(m_window->checkPanel(), line));
        if (shown.startsWith("address")) {
            QCOMPARE(m_shown, shown);
        } else {
            QCOMPARE(DrawManager::instance()->currentScene(),
                     DrawManager::instance()->scenes().at(0));
            const QList<QGraphicsItem *> selected
                = DrawManager::instance()->currentScene()->selectedItems();
            QCOMPARE(selected.size(), 1);
            QCOMPARE(shapeObject(selected.first())->objectName(), shown);
            QVERIFY(m_shown.isEmpty());
        }
    }
};

QTEST_MAIN(TestCheckFind)
#include "tst_checkfind.moc"
