// The running panel on a small project built here: what each kind of
// binding shows, what presses and entries write, screens and windows,
// languages, reload, pictures of the stage, and that the editor's own
// shapes never change.

#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicswidgetitem.h"
#include "simulation/registermemory.h"
#include "simulation/simulation.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QAbstractButton>
#include <QStandardItemModel>
#include <QGraphicsScene>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

namespace {

// Two languages; a base screen with a shape of each binding kind and a
// button of each action; a second base screen; two window screens.
const QByteArray Project = R"xml(<?xml version="1.0"?><Project>
<Config hard="0" name="sim" screen="800,480">
<Language><lan0 name="中文"/><lan1 name="English"/></Language>
<TextLib count="1"><label0 name="开关">
 <status0><lan0 value="关"/><lan1 value="off"/></status0>
 <status1><lan0 value="开"/><lan1 value="on"/></status1>
</label0></TextLib>
<AddressLib count="5">
 <label0 address="LW 100" device="本地" length="2" mark="" name="温度" type="Int16"/>
 <label1 address="LW_Bit 110_0" device="本地" length="1" mark="" name="flag" type="Bool"/>
 <label2 address="LW 102" device="本地" length="2" mark="" name="mode" type="Int16"/>
 <label3 address="LW 104" device="本地" length="2" mark="" name="level" type="Int16"/>
 <label4 address="LW_Bit 120_0" device="本地" length="1" mark="" name="jog" type="Bool"/>
</AddressLib>
</Config>
<Form>
<Window type="1" objectName="主画面" width="800" height="480" brushColor="#ffffff" brushStyle="1">
 <textitem objectName="value" text="v" width="100" height="30" pos="(10,10)">
  <binding kind="value" tag="温度" decimals="1" scale="0.1" unit="°C"/></textitem>
 <textitem objectName="state" text="s" width="100" height="30" pos="(10,50)">
  <binding kind="textstate" tag="温度" texttag="开关" fallback="0"/></textitem>
 <textitem objectName="ghost" text="as drawn" width="100" height="30" pos="(10,90)">
  <binding kind="value" tag="没有这个"/></textitem>
 <rectangle objectName="lamp" width="40" height="40" pos="(10,130)" brushColor="#c0d0e0" brushStyle="1">
  <binding kind="visible" tag="温度" condition="equal" value="5"/></rectangle>
 <rectangle objectName="band" width="40" height="40" pos="(60,130)" brushColor="#c0d0e0" penColor="#102030" brushStyle="1">
  <binding kind="colours" tag="温度"><range from="10" to="20" fill="#ff0000" line="#00ff00"/>
  <range from="15" to="30" fill="#0000ff"/><range from="40" to="50" fill="#ffff00" blink="1"/></binding></rectangle>
 <textitem objectName="tint" text="t" width="60" height="30" pos="(110,130)" penColor="#102030">
  <binding kind="colours" tag="温度"><range from="10" to="20" line="#00ff00" text="#ff00ff"/></binding></textitem>
 <imageitem objectName="pic" width="40" height="40" pos="(10,180)" picture="images/own.png">
  <binding kind="picture" tag="温度"><picture file="images/a.png"/><picture file="images/b.png"/></binding></imageitem>
 <rectangle objectName="set" width="40" height="20" pos="(300,10)"><binding kind="action" action="set" tag="flag"/></rectangle>
 <rectangle objectName="reset" width="40" height="20" pos="(300,40)"><binding kind="action" action="reset" tag="flag"/></rectangle>
 <rectangle objectName="toggle" width="40" height="20" pos="(300,70)"><binding kind="action" action="toggle" tag="flag"/></rectangle>
 <rectangle objectName="jog" width="40" height="20" pos="(300,100)"><binding kind="action" action="momentary" tag="jog"/></rectangle>
 <rectangle objectName="write" width="40" height="20" pos="(300,130)"><binding kind="action" action="write" tag="level" value="42"/></rectangle>
 <rectangle objectName="plus" width="40" height="20" pos="(300,160)"><binding kind="action" action="add" tag="level" value="5" min="0" max="12"/></rectangle>
 <rectangle objectName="minus" width="40" height="20" pos="(300,190)"><binding kind="action" action="subtract" tag="level" value="5" min="0" max="12"/></rectangle>
 <rectangle objectName="free" width="40" height="20" pos="(300,220)"><binding kind="action" action="add" tag="level" value="5"/></rectangle>
 <rectangle objectName="go" width="40" height="20" pos="(300,250)"><binding kind="action" action="screen" screen="第二"/></rectangle>
 <rectangle objectName="open" width="40" height="20" pos="(300,280)"><binding kind="action" action="open" screen="弹窗"/></rectangle>
 <rectangle objectName="note" width="40" height="20" pos="(300,310)"><binding kind="action" action="open" screen="提示"/></rectangle>
 <rectangle objectName="plain" width="40" height="20" pos="(360,10)"/>
 <rectangle objectName="under" width="100" height="100" pos="(350,190)" brushColor="#00ff00" brushStyle="1"/>
 <widget objectName="entry" type="17" width="80" height="30" pos="(500,10)">
  <binding kind="value" tag="温度" min="0" max="100"/></widget>
 <widget objectName="check" type="16" width="80" height="30" pos="(500,50)"><binding kind="value" tag="flag"/></widget>
 <widget objectName="combo" type="14" width="80" height="30" pos="(500,90)"><binding kind="value" tag="mode"/></widget>
 <group objectName="pair" pos="(600,300)">
  <binding kind="visible" tag="flag" condition="bitclear"/>
  <binding kind="action" action="write" tag="mode" value="7"/>
  <rectangle objectName="a" width="30" height="30" pos="(600,300)"/>
  <rectangle objectName="b" width="30" height="30" pos="(650,300)"/>
 </group>
</Window>
<Window type="1" objectName="第二" width="800" height="480" brushColor="#0000ff" brushStyle="1">
 <rectangle objectName="back" width="40" height="20" pos="(10,10)"><binding kind="action" action="screen" screen="主画面"/></rectangle>
</Window>
<Window type="2" objectName="弹窗" width="300" height="200" brushColor="#ff0000" brushStyle="1">
 <rectangle objectName="close" width="40" height="20" pos="(10,10)"><binding kind="action" action="close"/></rectangle>
 <rectangle objectName="bad" width="40" height="20" pos="(60,10)"><binding kind="action" action="screen" screen="弹窗"/></rectangle>
</Window>
<Window type="2" objectName="提示" width="200" height="100" brushColor="#ffff00" brushStyle="1">
 <rectangle objectName="shut" width="40" height="20" pos="(10,10)"><binding kind="action" action="close" screen="弹窗"/></rectangle>
</Window>
</Form></Project>)xml";

// What a shape shows of one of its properties, as text.
QString shown(QGraphicsItem *item, const QString &property)
{
    auto *shape = dynamic_cast<GraphicsItem *>(item);
    if (property == QLatin1String("text"))
        return shape ? shape->text() : QString();
    if (property == QLatin1String("visible"))
        return item->isVisible() ? "1" : "0";
    if (property == QLatin1String("fill"))
        return shape ? shape->brushColor().name() : QString();
    if (property == QLatin1String("pen"))
        return shape ? shape->penColor().name() : QString();
    if (property == QLatin1String("picture"))
        return static_cast<GraphicsImageItem *>(item)->picture();
    if (property == QLatin1String("checked")) {
        auto *button = qobject_cast<QAbstractButton *>(
            static_cast<GraphicsWidgetItem *>(item)->widget());
        return button && button->isChecked() ? "1" : "0";
    }
    return QStringLiteral("?");
}

// Everything of the editor's shapes a run could change.
QStringList editorState()
{
    QStringList lines;
    for (DrawScene *scene : DrawManager::instance()->scenes()) {
        for (QGraphicsItem *item : scene->userItems()) {
            QObject *object = shapeObject(item);
            lines << QStringLiteral("%1/%2 %3 %4 %5 %6")
                         .arg(scene->objectName(), object ? object->objectName() : QString(),
                              shown(item, "text"), shown(item, "visible"), shown(item, "fill"),
                              shown(item, "pen"))
                  + (item->type() == WidgetItemType ? shown(item, "checked") : QString());
        }
    }
    return lines;
}

} // namespace

class TestSimulation : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Simulation> m_sim;

    void write(const QString &name, const QVariant &value)
    {
        AddressPara para;
        QString error;
        QVERIFY2(m_sim->memory()->resolveName(name, &para, &error), qPrintable(error));
        QVERIFY2(m_sim->memory()->write(para, value, &error), qPrintable(error));
    }
    double number(const QString &name)
    {
        AddressPara para;
        if (!m_sim->memory()->resolveName(name, &para))
            return qQNaN();
        return m_sim->memory()->number(para);
    }
    QGraphicsItem *shape(const QString &name)
    {
        QGraphicsItem *item = m_sim->findShape(name);
        if (!item)
            qWarning("no shape %s", qPrintable(name));
        return item;
    }
    bool click(const QString &name)
    {
        QString error;
        const bool done = m_sim->click(shape(name), &error);
        if (!done)
            qWarning("%s: %s", qPrintable(name), qPrintable(error));
        return done;
    }

private slots:
    void init()
    {
        ProcessFixture::start();
        QCOMPARE(ProjectFile::loadBytes(Project).status, ProjectFile::Loaded);
        Config::instance()->loadSystemRegisters();
        m_sim.reset(new Simulation(DrawManager::instance()));
        QVERIFY(m_sim->start());
    }
    void cleanup()
    {
        m_sim.reset();
        ProcessFixture::finish();
    }

    void bindingKinds_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected");

        auto row = [](const char *tag, const char *shape, const char *address,
                      const QVariant &value, const char *property, const QString &expected) {
            QTest::newRow(tag) << shape << address << value << property << expected;
        };
        row("value scaled, with unit", "value", "LW 100", 123, "text", "12.3 °C");
        row("text state", "state", "LW 100", 1, "text", "开");
        row("text state beyond the tag's states", "state", "LW 100", 7, "text", "关");
        row("unknown source leaves the shape", "ghost", "LW 100", 3, "text", "as drawn");
        row("visible when equal", "lamp", "LW 100", 5, "visible", "1");
        row("hidden when unequal", "lamp", "LW 100", 4, "visible", "0");
        row("first matching colour row", "band", "LW 100", 15, "fill", "#ff0000");
        row("line colour of that row", "band", "LW 100", 15, "pen", "#00ff00");
        row("second row alone", "band", "LW 100", 25, "fill", "#0000ff");
        row("no row keeps the own fill", "band", "LW 100", 35, "fill", "#c0d0e0");
        row("no row keeps the own line", "band", "LW 100", 35, "pen", "#102030");
        row("text shape takes the text colour", "tint", "LW 100", 12, "pen", "#ff00ff");
        row("picture of the state", "pic", "LW 100", 1, "picture", "images/b.png");
        row("no picture for the state keeps the own", "pic", "LW 100", 2, "picture",
            "images/own.png");
        row("negative state keeps the own", "pic", "LW 100", -1, "picture", "images/own.png");
        row("check box shows its bit", "check", "LW_Bit 110_0", true, "checked", "1");
        row("group hidden by its condition", "pair", "LW_Bit 110_0", true, "visible", "0");
        row("member hidden with its group", "a", "LW_Bit 110_0", true, "visible", "0");
    }
    void bindingKinds()
    {
        QFETCH(QString, shape);
        QFETCH(QString, address);
        QFETCH(QVariant, value);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        write(address, value);
        m_sim->refresh();
        QCOMPARE(shown(this->shape(shape), property), expected);
    }

    // A value that goes back where no binding applies brings back what the
    // shape was drawn with.
    void lookComesBack()
    {
        QGraphicsItem *band = shape("band");
        const QString own = shown(band, "fill");
        write("LW 100", 15);
        m_sim->refresh();
        QVERIFY(shown(band, "fill") != own);
        write("LW 100", 0);
        m_sim->refresh();
        QCOMPARE(shown(band, "fill"), own);
    }

    void blinking()
    {
        QGraphicsItem *band = shape("band");
        write("LW 100", 45);
        m_sim->refresh();
        QCOMPARE(shown(band, "fill"), QString("#ffff00"));
        m_sim->setBlinkPhase(false);
        QCOMPARE(shown(band, "fill"), QString("#c0d0e0"));
        m_sim->setBlinkPhase(true);
        QCOMPARE(shown(band, "fill"), QString("#ffff00"));
    }

    void language()
    {
        write("LW 100", 1);
        m_sim->refresh();
        m_sim->setLanguage(1);
        QCOMPARE(m_sim->language(), 1);
        QCOMPARE(shown(shape("state"), "text"), QString("on"));
        m_sim->setLanguage(2); // the project has two
        QCOMPARE(m_sim->language(), 1);
        m_sim->setLanguage(0);
        QCOMPARE(shown(shape("state"), "text"), QString("开"));
    }

    void actions_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("address");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("after");

        QTest::newRow("set") << "set" << 1 << "LW_Bit 110_0" << 0.0 << 1.0;
        QTest::newRow("reset") << "reset" << 1 << "LW_Bit 110_0" << 1.0 << 0.0;
        QTest::newRow("toggle once") << "toggle" << 1 << "LW_Bit 110_0" << 0.0 << 1.0;
        QTest::newRow("toggle twice") << "toggle" << 2 << "LW_Bit 110_0" << 0.0 << 0.0;
        QTest::newRow("momentary ends reset") << "jog" << 1 << "LW_Bit 120_0" << 0.0 << 0.0;
        QTest::newRow("write a constant") << "write" << 1 << "LW 104" << 0.0 << 42.0;
        QTest::newRow("add") << "plus" << 1 << "LW 104" << 3.0 << 8.0;
        QTest::newRow("add stops at the maximum") << "plus" << 1 << "LW 104" << 10.0 << 12.0;
        QTest::newRow("add from beyond the maximum") << "plus" << 1 << "LW 104" << 40.0 << 12.0;
        QTest::newRow("subtract") << "minus" << 1 << "LW 104" << 12.0 << 7.0;
        QTest::newRow("subtract stops at the minimum") << "minus" << 2 << "LW 104" << 7.0 << 0.0;
        QTest::newRow("add without limits") << "free" << 3 << "LW 104" << 100.0 << 115.0;
        QTest::newRow("group's action from a member") << "b" << 1 << "LW 102" << 0.0 << 7.0;
    }
    void actions()
    {
        QFETCH(QString, button);
        QFETCH(int, clicks);
        QFETCH(QString, address);
        QFETCH(double, before);
        QFETCH(double, after);
        write(address, before);
        for (int i = 0; i < clicks; ++i)
            QVERIFY(click(button));
        QCOMPARE(number(address), after);
    }

    void momentary()
    {
        QGraphicsItem *jog = shape("jog");
        QVERIFY(m_sim->press(jog));
        QCOMPARE(number("LW_Bit 120_0"), 1.0);
        QVERIFY(m_sim->release(jog));
        QCOMPARE(number("LW_Bit 120_0"), 0.0);
    }

    void refusedInput_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("hideWith"); // register set to 1 first, or empty

        QTest::newRow("shape without actions") << "plain" << "";
        QTest::newRow("hidden group's member") << "a" << "LW_Bit 110_0";
    }
    void refusedInput()
    {
        QFETCH(QString, shape);
        QFETCH(QString, hideWith);
        QGraphicsItem *item = this->shape(shape);
        if (!hideWith.isEmpty()) {
            write(hideWith, 1);
            m_sim->refresh();
        }
        const quint64 revision = m_sim->memory()->revision();
        QString error;
        QVERIFY(!m_sim->press(item, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!m_sim->click(item));
        QCOMPARE(m_sim->memory()->revision(), revision);
        QVERIFY(!m_sim->press(nullptr));
    }

    void entry_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("address");
        QTest::addColumn<double>("after");

        QTest::newRow("line edit") << "entry" << QVariant("55") << true << "LW 100" << 55.0;
        QTest::newRow("line edit beyond the maximum")
            << "entry" << QVariant("500") << false << "LW 100" << 0.0;
        QTest::newRow("line edit, no number") << "entry" << QVariant("x") << false << "LW 100" << 0.0;
        QTest::newRow("check box") << "check" << QVariant(true) << true << "LW_Bit 110_0" << 1.0;
        QTest::newRow("check box as text") << "check" << QVariant("1") << true << "LW_Bit 110_0"
                                           << 1.0;
        QTest::newRow("check box, not a bit") << "check" << QVariant("maybe") << false
                                              << "LW_Bit 110_0" << 0.0;
        QTest::newRow("combo box index") << "combo" << QVariant(2) << true << "LW 102" << 2.0;
        QTest::newRow("combo box, negative") << "combo" << QVariant(-1) << false << "LW 102" << 0.0;
        QTest::newRow("rectangle takes none") << "set" << QVariant(1) << false << "LW_Bit 110_0"
                                              << 0.0;
    }
    void entry()
    {
        QFETCH(QString, shape);
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        QFETCH(QString, address);
        QFETCH(double, after);
        QSignalSpy input(m_sim.get(), &Simulation::operatorInput);
        QString error;
        QCOMPARE(m_sim->enter(this->shape(shape), value, &error), accepted);
        QCOMPARE(error.isEmpty(), accepted);
        QCOMPARE(number(address), after);
        QCOMPARE(input.size(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(input.at(0).at(0).toString(), QString("set"));
    }

    void checkBoxClick()
    {
        QVERIFY(click("check"));
        QCOMPARE(number("LW_Bit 110_0"), 1.0);
        QVERIFY(click("check"));
        QCOMPARE(number("LW_Bit 110_0"), 0.0);
    }

    void operatorInputReported()
    {
        QSignalSpy input(m_sim.get(), &Simulation::operatorInput);
        QVERIFY(click("set"));
        QVERIFY(m_sim->press(shape("jog")));
        QVERIFY(m_sim->release(shape("jog")));
        QVERIFY(!m_sim->press(shape("plain")));
        QStringList seen;
        for (const QList<QVariant> &args : qAsConst(input))
            seen << args.at(0).toString() + " " + args.at(1).toString();
        QCOMPARE(seen, QStringList({"click set", "press jog", "release jog"}));
    }

    void screensAndWindows()
    {
        QSignalSpy screens(m_sim.get(), &Simulation::screenChanged);
        QCOMPARE(m_sim->currentScreen(), QString("主画面"));
        QVERIFY(click("open"));
        QVERIFY(click("note"));
        QCOMPARE(m_sim->openWindows(), QStringList({"弹窗", "提示"}));
        // Opening an open window brings it to the top.
        QVERIFY(m_sim->openWindow("弹窗"));
        QCOMPARE(m_sim->openWindows(), QStringList({"提示", "弹窗"}));
        // A named close on another window; a close without a name closes
        // the window its button is on.
        QVERIFY(click("shut"));
        QCOMPARE(m_sim->openWindows(), QStringList({"提示"}));
        QVERIFY(m_sim->openWindow("弹窗"));
        QVERIFY(click("close"));
        QCOMPARE(m_sim->openWindows(), QStringList({"提示"}));
        QVERIFY(!m_sim->closeWindow("弹窗"));
        QVERIFY(!m_sim->findShape("close"));

        QVERIFY(!m_sim->switchScreen("弹窗"));
        QVERIFY(!m_sim->openWindow("主画面"));
        QVERIFY(!m_sim->switchScreen("没有"));
        QVERIFY(click("go"));
        QCOMPARE(m_sim->currentScreen(), QString("第二"));
        QCOMPARE(m_sim->openWindows(), QStringList());
        QVERIFY(!m_sim->findShape("set"));
        QVERIFY(click("back"));
        QCOMPARE(m_sim->currentScreen(), QString("主画面"));
        QCOMPARE(screens.size(), 2);
        QVERIFY(!m_sim->closeWindow());

        // A switch to a window fails with a message and changes nothing.
        QVERIFY(m_sim->openWindow("弹窗"));
        QString error;
        QVERIFY(!m_sim->click(shape("bad"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(m_sim->currentScreen(), QString("主画面"));
    }

    void startChoices()
    {
        QVERIFY(m_sim->start("第二"));
        QCOMPARE(m_sim->currentScreen(), QString("第二"));
        QVERIFY(!m_sim->start("弹窗"));
        QVERIFY(!m_sim->start("没有"));
        QCOMPARE(m_sim->currentScreen(), QString("第二"));
    }

    void shapeAt()
    {
        const QPointF onUnder(400, 240); // "under": 350..450 x 190..290
        QCOMPARE(m_sim->shapeAt(onUnder), shape("under"));
        QCOMPARE(m_sim->shapeAt(QPointF(320, 20)), shape("set"));
        QCOMPARE(m_sim->shapeAt(QPointF(615, 315)), shape("a"));
        QCOMPARE(m_sim->shapeAt(QPointF(790, 470)), nullptr);
        // The window (300 x 200, centred: 250..550 x 140..340) covers it.
        QVERIFY(m_sim->openWindow("弹窗"));
        QCOMPARE(m_sim->shapeAt(onUnder), nullptr);
        QCOMPARE(m_sim->shapeAt(QPointF(280, 160)), shape("close"));
        QVERIFY(m_sim->closeWindow());
        // Hidden shapes are not hit.
        write("LW_Bit 110_0", 1);
        m_sim->refresh();
        QCOMPARE(m_sim->shapeAt(QPointF(615, 315)), nullptr);
    }

    void coalescedRefresh()
    {
        QSignalSpy refreshed(m_sim.get(), &Simulation::refreshed);
        write("LW 100", 123);
        write("LW 100", 124);
        QCOMPARE(refreshed.size(), 0);
        QTRY_COMPARE(refreshed.size(), 1);
        QCOMPARE(shown(shape("value"), "text"), QString("12.4 °C"));
        QTest::qWait(20);
        QCOMPARE(refreshed.size(), 1);
    }

    // After one register changes, only the shapes bound to it are drawn
    // again.
    void refreshTouchesOnlyChanged()
    {
        QSignalSpy changed(m_sim->stage(), &QGraphicsScene::changed);
        // The widgets' first paints settle first.
        QTest::qWait(50);
        changed.clear();
        write("LW 104", 9); // bound to actions only
        m_sim->refresh();
        QCoreApplication::processEvents();
        QCOMPARE(changed.size(), 0);

        write("LW_Bit 120_0", 1); // bound to nothing shown
        write("LW 100", 5); // shown by "value", "lamp", "pic" and "entry"
        m_sim->refresh();
        QTRY_VERIFY(!changed.isEmpty());
        QVector<QRectF> allowed;
        for (const char *name : {"value", "lamp", "pic", "entry"})
            allowed << shape(name)->sceneBoundingRect().adjusted(-2, -2, 2, 2);
        for (const QList<QVariant> &args : qAsConst(changed)) {
            for (const QRectF &rect : args.at(0).value<QList<QRectF>>()) {
                const bool inside = std::any_of(allowed.begin(), allowed.end(),
                                                [&](const QRectF &r) { return r.contains(rect); });
                QVERIFY2(inside, qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                .arg(rect.x())
                                                .arg(rect.y())
                                                .arg(rect.width())
                                                .arg(rect.height())));
            }
        }
    }

    void reloadKeepsState()
    {
        write("LW 100", 77);
        m_sim->setLanguage(1);
        QVERIFY(m_sim->switchScreen("第二"));
        QVERIFY(m_sim->openWindow("提示"));

        // The editor changes the screen shown and deletes a window.
        DrawScene *second = DrawManager::instance()->scenes().at(1);
        auto *added = new GraphicsRectItem(QRect(100, 100, 50, 50));
        added->setObjectName(QStringLiteral("added"));
        second->addItem(added);
        QVERIFY(!m_sim->findShape("added"));
        m_sim->reload(DrawManager::instance());

        QCOMPARE(m_sim->currentScreen(), QString("第二"));
        QCOMPARE(m_sim->openWindows(), QStringList({"提示"}));
        QCOMPARE(m_sim->language(), 1);
        QCOMPARE(number("LW 100"), 77.0);
        QVERIFY(m_sim->findShape("added"));
        QVERIFY(m_sim->findShape("back") != nullptr);

        // A screen that went away leaves the first base screen shown.
        QVERIFY(DrawManager::instance()->removeForm(second));
        QSignalSpy screens(m_sim.get(), &Simulation::screenChanged);
        m_sim->reload(DrawManager::instance());
        QCOMPARE(m_sim->currentScreen(), QString("主画面"));
        QCOMPARE(screens.size(), 1);
        QCOMPARE(shown(shape("value"), "text"), QString("7.7 °C"));
    }

    void snapshot()
    {
        QImage image = m_sim->snapshot();
        QCOMPARE(image.size(), QSize(800, 480));
        QCOMPARE(m_sim->panelSize(), QSize(800, 480));
        QCOMPARE(image.pixelColor(780, 400), QColor(Qt::white));
        // The window's fill over the base screen's, on the bare part of
        // the window.
        QVERIFY(m_sim->openWindow("弹窗"));
        image = m_sim->snapshot();
        QCOMPARE(image.pixelColor(500, 300), QColor(Qt::red));
        QVERIFY(m_sim->switchScreen("第二"));
        QCOMPARE(m_sim->snapshot().pixelColor(500, 300), QColor(Qt::blue));
    }

    // A run writes, switches and changes languages; the editor's shapes
    // stay as they were, and the simulation's are its own.
    void editorUntouched()
    {
        const QStringList before = editorState();
        QVERIFY(!before.isEmpty());
        write("LW 100", 15);
        write("LW_Bit 110_0", 1);
        QVERIFY(m_sim->enter(shape("entry"), "45"));
        QVERIFY(click("open"));
        m_sim->setLanguage(1);
        m_sim->refresh();
        QVERIFY(click("close"));
        QVERIFY(click("go"));
        QCOMPARE(editorState(), before);
        for (DrawScene *scene : DrawManager::instance()->scenes()) {
            for (QGraphicsItem *item : scene->userItems())
                QVERIFY(item->scene() == scene);
        }
        QVERIFY(m_sim->findShape("back")->scene() == m_sim->stage());
    }

    // Random bindings of every kind, many of them nonsense (reversed
    // limits, missing tags and screens, huge scales): every shape of every
    // base screen pressed, released and given entries, every tag written,
    // then a reload. Nothing may crash, and the editor keeps its shapes.
    void generatedProjects_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void generatedProjects()
    {
        QFETCH(quint32, seed);
        m_sim.reset();
        ProcessFixture::start();
        ProjectGenerator::Options options;
        options.screens = 4;
        options.shapesPerScreen = 25;
        options.groupsPerScreen = 2;
        options.addressTags = 8;
        options.textTags = 3;
        options.bindingPercent = 70;
        ProjectGenerator(seed).build(options);
        const QStringList before = editorState();

        m_sim.reset(new Simulation(DrawManager::instance()));
        QVERIFY(m_sim->start());
        QStringList bases;
        for (DrawScene *scene : DrawManager::instance()->scenes()) {
            if (scene->type() == BaseScreen)
                bases << scene->objectName();
        }
        QRandomGenerator values(seed);
        const QStandardItemModel *tags = Config::instance()->addressTagModel();
        for (const QString &base : qAsConst(bases)) {
            QVERIFY(m_sim->switchScreen(base) || m_sim->currentScreen() == base);
            QList<QGraphicsItem *> shapes;
            for (QGraphicsItem *item : m_sim->stage()->items()) {
                if (item->type() > QGraphicsItem::UserType)
                    shapes << item;
            }
            for (QGraphicsItem *item : qAsConst(shapes)) {
                m_sim->press(item);
                m_sim->release(item);
                m_sim->enter(item, QStringLiteral("1"));
                m_sim->enter(item, values.bounded(-5, 5));
                for (int row = 0; row < tags->rowCount(); ++row) {
                    AddressPara para;
                    if (m_sim->memory()->resolveName(tags->item(row, 0)->text(), &para))
                        m_sim->memory()->write(para, values.bounded(-3, 40));
                }
                m_sim->setBlinkPhase(values.bounded(2) == 0);
                m_sim->setLanguage(values.bounded(3));
                m_sim->refresh();
            }
        }
        QCOMPARE(m_sim->snapshot().size(), m_sim->panelSize());
        m_sim->reload(DrawManager::instance());
        QVERIFY(!m_sim->currentScreen().isEmpty());
        QCOMPARE(editorState(), before);
    }
};

QTEST_MAIN(TestSimulation)
#include "tst_simulation.moc"
