#include "services/messagedialog.h"

#include <QtTest>
#include <QtWidgets>

// The real message box, inspected and closed from a timer once it is shown.
class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void realBox_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("escapeResult");
        QTest::newRow("two") << QStringList {"是(&Y)", "否(&N)"} << int(QMessageBox::No);
        QTest::newRow("three") << QStringList {"是(&Y)", "否(&N)", "取消(&C)"}
                               << int(QMessageBox::Cancel);
    }

    void realBox()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, escapeResult);
        QStringList seenTexts;
        bool defaultIsYes = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton *b : box->buttons())
                seenTexts << b->text();
            defaultIsYes = qobject_cast<QAbstractButton *>(box->defaultButton())
                == box->button(QMessageBox::Yes);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        const int result
            = MessageDialog::showMessage(nullptr, QMessageBox::Warning, "标题", "正文", texts);
        seenTexts.sort();
        texts.sort();
        QCOMPARE(seenTexts, texts);
        QVERIFY(defaultIsYes);
        QCOMPARE(result, escapeResult);
    }
};

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
