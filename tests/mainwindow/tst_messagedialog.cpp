#include "mainwindow/messagedialog.h"
#include "support/modalscript.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QTimer>
#include <QtTest>

// The real message box: buttons, their texts, default and Escape. The
// dialog is inspected and closed from a timer once it is shown.
class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void realBox_data();
    void realBox();
    void seamRecordsRequest();
};

void TestMessageDialog::realBox_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("shownTexts");
    QTest::addColumn<int>("escapeResult");

    QTest::newRow("one") << QStringList{"确定"} << QStringList{"确定"} << int(QMessageBox::Yes);
    QTest::newRow("two") << QStringList{"是(&Y)", "否(&N)"} << QStringList{"是(&Y)", "否(&N)"}
                         << int(QMessageBox::No);
    QTest::newRow("three") << QStringList{"是(&Y)", "否(&N)", "取消(&C)"}
                           << QStringList{"是(&Y)", "否(&N)", "取消(&C)"}
                           << int(QMessageBox::Cancel);
}

void TestMessageDialog::realBox()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, shownTexts);
    QFETCH(int, escapeResult);

    QStringList seenTexts;
    QString seenTitle;
    bool defaultIsYes = false;
    bool fixedSize = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenTitle = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            seenTexts << b->text();
        defaultIsYes = qobject_cast<QAbstractButton *>(box->defaultButton())
                       == box->button(QMessageBox::Yes);
        fixedSize = box->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const int result = MessageDialog::showMessage(nullptr, QMessageBox::Warning, "标题", "正文",
                                                  texts);
    QCOMPARE(seenTitle, QString("标题"));
    seenTexts.sort();
    shownTexts.sort();
    QCOMPARE(seenTexts, shownTexts);
    QVERIFY(defaultIsYes);
    QVERIFY(fixedSize);
    QCOMPARE(result, escapeResult);
}

void TestMessageDialog::seamRecordsRequest()
{
    ModalScript script;
    script.pressButton(QMessageBox::No);
    const int result = MessageDialog::showMessage(nullptr, QMessageBox::Critical, "错误",
                                                  "工程文件打开失败！", {"确定"});
    QCOMPARE(result, int(QMessageBox::No));
    QCOMPARE(script.requests().size(), 1);
    const ModalRequest &r = script.requests().first();
    QCOMPARE(r.icon, int(QMessageBox::Critical));
    QCOMPARE(r.title, QString("错误"));
    QCOMPARE(r.text, QString("工程文件打开失败！"));
    QCOMPARE(r.buttons, QStringList{"确定"});
}

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
