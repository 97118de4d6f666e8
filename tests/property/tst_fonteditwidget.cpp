#include "app/modalseam.h"
#include "property/fonteditwidget.h"

#include <QtTest>
#include <QtWidgets>

class TestFontEditWidget : public QObject
{
    Q_OBJECT

    // Answers the font chooser with chosen (cancels when it is empty) and
    // records what the chooser was opened with.
    void answerChooser(const QString &chosen, QString *offered)
    {
        ModalSeam::setHandler([chosen, offered](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind == ModalRequest::Font) {
                *offered = request.value;
                answer.accepted = !chosen.isEmpty();
                answer.text = chosen;
            }
            return answer;
        });
    }

private slots:
    void cleanup() { ModalSeam::setHandler({}); }

    void showsFamilyAndSize()
    {
        FontEditWidget widget;
        QSignalSpy changed(&widget, &FontEditWidget::fontChanged);
        widget.setFont(QFont("Arial", 12));
        QCOMPARE(widget.findChild<QLabel *>("text")->text(), QString("[Arial, 12]"));
        QCOMPARE(widget.font(), QFont("Arial", 12));
        QVERIFY(!widget.findChild<QLabel *>("preview")->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(changed.count(), 0);
    }

    void chooserChoice_data()
    {
        QTest::addColumn<int>("chosenWeight");
        QTest::addColumn<int>("storedWeight");
        QTest::addColumn<bool>("italic");
        QTest::newRow("semi-bold") << 63 << 75 << false;
        QTest::newRow("just below the cut") << 57 << 50 << false;
        QTest::newRow("cut") << 58 << 75 << false;
        QTest::newRow("light") << 25 << 50 << true;
    }
    void chooserChoice()
    {
        QFETCH(int, chosenWeight);
        QFETCH(int, storedWeight);
        QFETCH(bool, italic);
        FontEditWidget widget;
        const QFont current("Arial", 10, QFont::Normal);
        widget.setFont(current);
        QFont chosen("Courier", 14);
        chosen.setWeight(chosenWeight);
        chosen.setItalic(italic);
        QString offered;
        answerChooser(chosen.toString(), &offered);
        QSignalSpy changed(&widget, &FontEditWidget::fontChanged);
        widget.findChild<QPushButton *>("choose")->click();

        QCOMPARE(offered, current.toString());
        QCOMPARE(changed.count(), 1);
        const QFont stored = widget.font();
        QCOMPARE(changed.first().first().value<QFont>(), stored);
        QCOMPARE(stored.weight(), storedWeight);
        QCOMPARE(stored.family(), QString("Courier"));
        QCOMPARE(stored.pointSize(), 14);
        QCOMPARE(stored.italic(), italic);
        QCOMPARE(widget.findChild<QLabel *>("text")->text(), QString("[Courier, 14]"));
    }

    void unchangedOrCancelledChoiceEmitsNothing_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("same font") << false;
    }
    void unchangedOrCancelledChoiceEmitsNothing()
    {
        QFETCH(bool, cancel);
        FontEditWidget widget;
        const QFont current("Arial", 10);
        widget.setFont(current);
        QString offered;
        answerChooser(cancel ? QString() : current.toString(), &offered);
        QSignalSpy changed(&widget, &FontEditWidget::fontChanged);
        widget.buttonClicked();
        QCOMPARE(changed.count(), 0);
        QCOMPARE(widget.font(), current);
    }

    void onlyDifferingAttributesAreTakenOver()
    {
        QFont current("Arial", 10);
        current.setUnderline(true);
        current.setWeight(QFont::Bold);
        QFont chosen = current;
        chosen.setStrikeOut(true);
        // Equal weight: the chooser's own rounding must not demote bold.
        const QFont merged = FontEditWidget::mergedChoice(current, chosen);
        QVERIFY(merged.strikeOut());
        QVERIFY(merged.underline());
        QCOMPARE(merged.weight(), int(QFont::Bold));
    }
};

QTEST_MAIN(TestFontEditWidget)
#include "tst_fonteditwidget.moc"
