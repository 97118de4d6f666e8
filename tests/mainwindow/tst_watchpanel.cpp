#include "mainwindow/watchmodel.h"
#include "mainwindow/watchpanel.h"

#include "simulation/generator.h"
#include "simulation/registermemory.h"
#include "simulation/simulation.h"
#include "support/processfixture.h"
#include "support/simulationproject.h"

#include <QtTest>
#include <QtWidgets>

using namespace simulationproject;

Q_DECLARE_METATYPE(Generator::Kind)

class TestWatchPanel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static double number(RegisterMemory *memory, const QString &name)
    {
        AddressPara para;
        if (!memory->resolveName(name, &para))
            return qQNaN();
        return memory->number(para);
    }

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }
    void init() { ProcessFixture::start(400, 300); }
    void cleanup() { ProcessFixture::finish(); }

    // What a generator writes after a number of ticks on the virtual clock,
    // its time counted from the tick it was switched on at. expected NaN:
    // whatever Generator::valueAt gives for that time, as a Float holds it.
    void generatorAtTicks_data()
    {
        QTest::addColumn<Generator::Kind>("kind");
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<int>("ticksBefore");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<double>("expected");
        const QVector<double> list{3, 5, 8};
        QTest::newRow("list, first step") << Generator::List << list << 0 << 19 << 3.0;
        QTest::newRow("list, third step") << Generator::List << list << 0 << 50 << 8.0;
        QTest::newRow("list cycles") << Generator::List << list << 0 << 60 << 3.0;
        QTest::newRow("list switched on late") << Generator::List << list << 10 << 30 << 5.0;
        QTest::newRow("ramp halfway") << Generator::Ramp << list << 0 << 10 << 50.0;
        QTest::newRow("sine") << Generator::Sine << list << 3 << 7 << qQNaN();
        QTest::newRow("random") << Generator::Random << list << 0 << 23 << qQNaN();
        QTest::newRow("square") << Generator::Square << list << 5 << 31 << qQNaN();
    }
    void generatorAtTicks()
    {
        QFETCH(Generator::Kind, kind);
        QFETCH(QVector<double>, values);
        QFETCH(int, ticksBefore);
        QFETCH(int, ticks);
        QFETCH(double, expected);
        Generator generator;
        generator.kind = kind;
        generator.minimum = 0;
        generator.maximum = 100;
        generator.period = 1;
        generator.seed = 7;
        generator.values = values;
        if (qIsNaN(expected))
            expected = float(generator.valueAt(qint64(ticks) * WatchModel::TickMsec));

        RegisterMemory memory;
        WatchModel model(&memory);
        QVERIFY(model.addName("LW 100(Float)"));
        for (int i = 0; i < ticksBefore; ++i)
            model.tick();
        model.setGenerator(0, generator);
        for (int i = 0; i < ticks; ++i)
            model.tick();
        QCOMPARE(model.now(), qint64(ticksBefore + ticks) * WatchModel::TickMsec);
        QCOMPARE(number(&memory, "LW 100(Float)"), expected);
        // Shown to a Float's precision.
        QVERIFY2(qAbs(model.valueText(0).toDouble() - expected) <= 1e-6 * qMax(1.0, qAbs(expected)),
                 qPrintable(model.valueText(0)));
    }

    // The generator cells: a refused entry leaves the generator as it was.
    void generatorCells_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("kind") << int(WatchModel::KindColumn) << "square" << true;
        QTest::newRow("unknown kind") << int(WatchModel::KindColumn) << "wobble" << false;
        QTest::newRow("period") << int(WatchModel::PeriodColumn) << "2.5" << true;
        QTest::newRow("zero period") << int(WatchModel::PeriodColumn) << "0" << false;
        QTest::newRow("minimum") << int(WatchModel::MinimumColumn) << "-4" << true;
        QTest::newRow("maximum not a number") << int(WatchModel::MaximumColumn) << "x" << false;
        QTest::newRow("negative seed") << int(WatchModel::SeedColumn) << "-1" << false;
        QTest::newRow("values") << int(WatchModel::ValuesColumn) << "1; 2,3 4" << true;
        QTest::newRow("values with a word") << int(WatchModel::ValuesColumn) << "1; two" << false;
    }
    void generatorCells()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        RegisterMemory memory;
        WatchModel model(&memory);
        QVERIFY(model.addName("LW 100"));
        QSignalSpy problems(&model, &WatchModel::problem);
        const QString before = model.index(0, column).data(Qt::EditRole).toString();
        QCOMPARE(model.setData(model.index(0, column), typed), accepted);
        QCOMPARE(problems.count(), accepted ? 0 : 1);
        const QString after = model.index(0, column).data(Qt::EditRole).toString();
        if (!accepted)
            QCOMPARE(after, before);
        else if (column == WatchModel::ValuesColumn)
            QCOMPARE(model.generator(0).values, QVector<double>({1, 2, 3, 4}));
        else
            QCOMPARE(after, typed);
        QCOMPARE(model.hasGenerator(0), accepted && column == WatchModel::KindColumn);
    }

    void addName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("word") << "LW 100" << true;
        QTest::newRow("word with format") << "LW 100(Float)" << true;
        QTest::newRow("bit of a word") << "LW_Bit 100_3" << true;
        QTest::newRow("empty") << "  " << false;
        QTest::newRow("no such tag") << "NoSuchTag" << false;
        QTest::newRow("beyond the area") << "LW 999999" << false;
    }
    void addName()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        RegisterMemory memory;
        WatchModel model(&memory);
        QString error;
        QCOMPARE(model.addName(typed, &error), accepted);
        QCOMPARE(model.rowCount(), accepted ? 1 : 0);
        QCOMPARE(error.isEmpty(), accepted);
        if (!accepted && !typed.trimmed().isEmpty())
            QVERIFY2(error.contains(typed), qPrintable(error));
        // The same name twice is one row.
        if (accepted) {
            QVERIFY(model.addName(typed));
            QCOMPARE(model.rowCount(), 1);
        }
    }

    void setCell_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("word") << "LW 100" << "12" << true << "12";
        QTest::newRow("negative word") << "LW 100" << "-12" << true << "-12";
        QTest::newRow("too large for Int16") << "LW 100" << "70000" << false << "0";
        QTest::newRow("not a number") << "LW 100" << "abc" << false << "0";
        QTest::newRow("bit") << "LW_Bit 100_3" << "1" << true << "1";
        QTest::newRow("float") << "LW 100(Float)" << "2.5" << true << "2.5";
    }
    void setCell()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, shown);
        RegisterMemory memory;
        WatchModel model(&memory);
        QVERIFY(model.addName(name));
        QSignalSpy sets(&model, &WatchModel::valueSet);
        QSignalSpy problems(&model, &WatchModel::problem);
        QCOMPARE(model.setData(model.index(0, WatchModel::SetColumn), typed), accepted);
        QCOMPARE(model.index(0, WatchModel::ValueColumn).data().toString(), shown);
        QCOMPARE(sets.count(), accepted ? 1 : 0);
        QCOMPARE(problems.count(), accepted ? 0 : 1);
        if (accepted)
            QCOMPARE(sets.first(), QVariantList({name, typed}));
    }

    // The rows follow the screen shown; those added by name or running a
    // generator stay.
    void rowsFollowScreens()
    {
        DrawScene *main = screen(BaseScreen, "Main");
        widget(main, LabelKind, "Shown", QRect(10, 10, 80, 30), {value("LW 100")});
        widget(main, PushButtonKind, "Button", QRect(10, 50, 80, 30),
               {action(Binding::SetBit, "LW_Bit 100_0")});
        widget(main, LabelKind, "Level", QRect(10, 90, 80, 30), {value("LW 110", "Float")});
        DrawScene *second = screen(BaseScreen, "Second");
        widget(second, LabelKind, "Other", QRect(10, 10, 80, 30), {value("LW 500")});
        Simulation simulation(DrawManager::instance());
        QVERIFY(simulation.start("Main"));
        WatchPanel panel;
        panel.setSimulation(&simulation);
        WatchModel *model = panel.model();
        QCOMPARE(model->names(), QStringList({"LW 100", "LW_Bit 100_0(Bool)", "LW 110(Float)"}));
        // A screen's names read back as the same registers.
        for (const QString &name : model->names()) {
            AddressPara para;
            QVERIFY2(simulation.memory()->resolveName(name, &para), qPrintable(name));
            QCOMPARE(para.format, model->para(model->rowOf(name)).format);
        }
        panel.nameEdit()->setText("LW 42");
        panel.addButton()->click();
        QVERIFY(panel.nameEdit()->text().isEmpty());
        model->setGenerator(model->rowOf("LW 110(Float)"), Generator());

        QVERIFY(simulation.switchScreen("Second"));
        QCOMPARE(model->names(), QStringList({"LW 110(Float)", "LW 42", "LW 500"}));

        panel.nameEdit()->setText("NoSuchTag");
        panel.addButton()->click();
        QVERIFY(panel.messageLabel()->text().contains("NoSuchTag"));
        QCOMPARE(model->rowCount(), 3);
    }

    // Paused, the clock stands; a single step is one tick.
    void pauseAndStep()
    {
        screen(BaseScreen, "Main");
        Simulation simulation(DrawManager::instance());
        QVERIFY(simulation.start());
        WatchPanel panel;
        panel.setSimulation(&simulation);
        QVERIFY(panel.isRunning());
        QVERIFY(!panel.stepButton()->isEnabled());
        panel.pauseButton()->click();
        QVERIFY(!panel.isRunning());
        const qint64 paused = panel.model()->now();
        QTest::qWait(4 * WatchModel::TickMsec);
        QCOMPARE(panel.model()->now(), paused);
        QVERIFY(panel.stepButton()->isEnabled());
        panel.stepButton()->click();
        QCOMPARE(panel.model()->now(), paused + WatchModel::TickMsec);
        panel.pauseButton()->click();
        QVERIFY(panel.isRunning());
        QTRY_VERIFY(panel.model()->now() > paused + WatchModel::TickMsec);
    }
};

QTEST_MAIN(TestWatchPanel)
#include "tst_watchpanel.moc"
