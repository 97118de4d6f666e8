// 编译 and 查找 in the main window: the lines of their docks, and where a
// click on a line leads.

#include "mainwindow/mainwindow.h"

#include "app/modalseam.h"
#include "device/projectconfigdialog.h"
#include "editor/drawscene.h"
#include "mainwindow/finddialog.h"
#include "project/drawmanager.h"
#include "shapes/graphicsitem.h"
#include "support/modalscript.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "taglib/addresslibdialog.h"
#include "taglib/textlibdialog.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

namespace {

QStringList browserLines(const QTextBrowser *browser)
{
    return browser->toPlainText().split(QLatin1Char('\n'));
}

// Clicks the first line holding part, as the user does, on the text.
bool clickLine(QTextBrowser *browser, const QString &part)
{
    const int line = browserLines(browser).indexOf(QRegularExpression(
        QStringLiteral(".*%1.*").arg(QRegularExpression::escape(part))));
    if (line < 0)
        return false;
    const QTextBlock block = browser->document()->findBlockByNumber(line);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + 2);
    mouseclicks::click(browser->viewport(), browser->cursorRect(cursor).center());
    return true;
}

QStringList selectedNames()
{
    QStringList names;
    const QList<QGraphicsItem *> items = DrawManager::instance()->currentScene()->selectedItems();
    for (QGraphicsItem *item : items) {
        if (auto *shape = dynamic_cast<GraphicsItem *>(item))
            names << shape->objectName();
    }
    return names;
}

} // namespace

class TestCheckFind : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    QString m_shown; // what the dialog a click opened showed while open

    // Answers every modal request with Cancel, noting what the library or
    // settings dialog shows.
    void watchDialogs()
    {
        ModalSeam::setHandler([this](const ModalRequest &) {
            bool system = true;
            int row = -1;
            m_window->addressLibDialog()->selection(system, row);
            const QTableWidget *text = m_window->textLibDialog()->table();
            const auto *tabs = m_window->projectConfigDialog()->findChild<QTabWidget *>("tabs");
            const auto *devices =
                m_window->projectConfigDialog()->findChild<QTableWidget *>("devices");
            // A current row the filter hides is no row to the user.
            const int textRow = text->currentRow();
            m_shown = QStringLiteral("address %1 %2; text %3; settings %4 %5")
                          .arg(system)
                          .arg(row)
                          .arg(textRow >= 0 && text->isRowHidden(textRow) ? -9 : textRow)
                          .arg(tabs->currentIndex())
                          .arg(devices->currentRow());
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
        QVERIFY(m_window->openProject(file));
    }

    void cleanup()
    {
        ModalSeam::setHandler({});
        m_window->setModified(false);
        ProcessFixture::close(m_window);
        ProcessFixture::finish();
    }

    void clickingAFinding_data()
    {
        QTest::addColumn<QString>("line");
        // Current screen afterwards; -1: a dialog, -2: a dialog whose
        // filter hid every row before.
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("shown"); // selected shapes, or what the dialog showed
        QTest::newRow("shape") << "图形 away" << 0 << "away";
        QTest::newRow("duplicate screen, the second") << "画面 弹窗: 画面名称" << 1 << "";
        QTest::newRow("address tag row hidden by the filter")
            << "地址标签第 4 行" << -2 << "address 0 3; text -1; settings 0 -1";
        QTest::newRow("text tag hidden by the filter") << "文本标签第 3 个" << -2
                                                       << "address 0 -1; text 3; settings 0 -1";
        QTest::newRow("device") << "设备 3 PLC3" << -1 << "address 0 -1; text -1; settings 2 2";
    }
    void clickingAFinding()
    {
        QFETCH(QString, line);
        QFETCH(int, screen);
        QFETCH(QString, shown);
        QTest::ignoreMessage(QtDebugMsg, "build");
        m_window->action("build")->trigger();
        // Another screen current first, so that the click must change it.
        m_window->showTabContent(DrawManager::instance()->scenes().at(2)->view());
        m_window->addressLibDialog()->selectRow(false, -1);
        if (screen == -2) {
            m_window->addressLibDialog()->findChild<QComboBox *>("filter")->setCurrentText("x!");
            m_window->textLibDialog()->findChild<QComboBox *>("filter")->setCurrentText("x!");
            QVERIFY(m_window->textLibDialog()->table()->isRowHidden(3));
        }
        watchDialogs();
        QVERIFY(clickLine(m_window->compileOutput(), line));
        if (screen >= 0) {
            QCOMPARE(DrawManager::instance()->currentScene(),
                     DrawManager::instance()->scenes().at(screen));
            QCOMPARE(selectedNames().join(','), shown);
            QVERIFY(m_shown.isEmpty());
        } else {
            QCOMPARE(m_shown, shown);
        }
    }

    void findAndFollow()
    {
        ModalSeam::setHandler([this](const ModalRequest &) {
            auto *dialog = m_window->findChild<FindDialog *>();
            dialog->textEdit()->setText("motor");
            dialog->wholeWordBox()->setChecked(true);
            ModalAnswer answer;
            answer.accepted = true;
            return answer;
        });
        m_window->action("find")->trigger();
        QTextBrowser *output = m_window->findOutput();
        QVERIFY(output->isVisible());
        QCOMPARE(browserLines(output),
                 QStringList({"画面 弹窗，图形 alarm: 图形文字: 报警 Motor overheat",
                              "地址标签第 9 行 speed: 备注: Motor speed", "找到 2 处“motor”"}));
        QVERIFY(clickLine(output, "图形 alarm"));
        QCOMPARE(selectedNames(), QStringList {"alarm"});
    }
};

QTEST_MAIN(TestCheckFind)
#include "tst_checkfind.moc"
