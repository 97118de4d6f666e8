#include "services/modalseam.h"
#include "widgets/fonteditwidget.h"

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

    // The edited value is shown, and the widget itself stays in the
    // application's font, whatever value it holds.
    void valueApartFromDisplayFont()
    {
        FontEditWidget widget;
        const QFont shown = widget.font();
        QFont value("Courier", 31);
        value.setBold(true);
        widget.setValue(value);
        QCOMPARE(widget.value(), value);
        QCOMPARE(widget.font(), shown);
        QCOMPARE(widget.findChild<QLabel *>("text")->text(),
                 QStringLiteral("[%1, 31]").arg(value.family()));
        widget.setFont(QFont("Courier", 5));
        QCOMPARE(widget.value(), value);
    }

    void chooserChoice_data()
    {
        QTest::addColumn<int>("chosenWeight");
        QTest::addColumn<int>("storedWeight");
        QTest::newRow("just below the cut") << 57 << 50;
        QTest::newRow("cut") << 58 << 75;
    }
    void chooserChoice()
    {
        QFETCH(int, chosenWeight);
        QFETCH(int, storedWeight);
        FontEditWidget widget;
        QSignalSpy changed(&widget, &FontEditWidget::valueChanged);
        const QFont current("Arial", 10, QFont::Normal);
        widget.setValue(current);

        QFont chosen("Courier", 14);
        chosen.setWeight(chosenWeight);
        QString offered;
        answerChooser(chosen.toString(), &offered);
        widget.findChild<QPushButton *>("choose")->click();
        QCOMPARE(offered, current.toString());
        QCOMPARE(changed.count(), 1);
        const QFont stored = widget.value();
        QCOMPARE(stored.weight(), storedWeight);

        // Cancelled, or the same font again: no change.
        for (const QString &again : {QString(), stored.toString()}) {
            answerChooser(again, &offered);
            widget.buttonClicked();
            QCOMPARE(changed.count(), 1);
            QCOMPARE(widget.value(), stored);
        }
    }
};

QTEST_MAIN(TestFontEditWidget)
#include "tst_fonteditwidget.moc"
