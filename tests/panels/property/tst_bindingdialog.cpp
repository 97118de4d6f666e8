#include "document/drawmanager.h"
#include "document/bindingcheck.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "editor/setbindingscommand.h"
#include "editor/useroptgroup.h"
#include "model/config.h"
#include "panels/property/bindingdialog.h"
#include "panels/property/bindinglistpage.h"
#include "panels/property/propertydialog.h"
#include "panels/taglib/regpanel.h"
#include "panels/property/propertytreebrowser.h"
#include "panels/taglib/regeditwidget.h"
#include "services/modalseam.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicstextitem.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"
#include "support/testpictures.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

using scenetest::addRect;

namespace {

Binding tagged(Binding::Kind kind, const QString &tag)
{
    Binding binding;
    binding.kind = kind;
    binding.tag = tag;
    return binding;
}

Binding direct(Binding::Kind kind, const QString &address)
{
    Binding binding;
    binding.kind = kind;
    binding.device = QStringLiteral("本地");
    binding.address = address;
    binding.format = QStringLiteral("Int16");
    return binding;
}

AddressPara panelAddress(const QString &text)
{
    AddressPara para;
    para.length = 2;
    Config::instance()->parseDataFormat(QStringLiteral("Int16"), para);
    if (!Config::instance()->parseAddress(text, para))
        qWarning("no address %s", qPrintable(text));
    return para;
}

void addTag(const QString &name, const QString &address)
{
    QList<QStandardItem *> cells;
    for (const QString &cell : {name, QStringLiteral("本地"), address, QStringLiteral("Int16"),
                                QStringLiteral("2"), QString()})
        cells << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(cells);
}

template<typename T>
T *field(QWidget *dialog, const char *name)
{
    T *found = dialog->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no field %s", name);
    return found;
}

} // namespace

class TestBindingDialog : public QObject
{
    Q_OBJECT

    QUndoStack *stack() const { return UserOptGroup::instance()->activeStack(); }

private slots:
    void init()
    {
        ProcessFixture::start(800, 600);
        addTag(QStringLiteral("Motor"), QStringLiteral("LW 10"));
        addTag(QStringLiteral("Valve"), QStringLiteral("LW 20"));
        m_form = std::make_unique<QWidget>();
        UserOptGroup::instance()->setActiveForm(m_form.get());
        m_scene = std::make_unique<DrawScene>();
        m_scene->setObjectName(QStringLiteral("Main"));
        m_messages.clear();
        m_fill = nullptr;
        m_accept = true;
        // Dialogs run m_fill, then OK (Cancel unless m_accept); messages are
        // recorded; file and colour choosers answer m_choice.
        ModalSeam::setHandler([this](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind == ModalRequest::Dialog) {
                if (m_fill)
                    m_fill();
                answer.accepted = m_accept;
            } else if (request.kind == ModalRequest::Message) {
                m_messages << request.text;
                answer.button = QMessageBox::Yes;
            } else {
                answer.accepted = true;
                answer.text = m_choice;
            }
            return answer;
        });
    }

    void cleanup()
    {
        ModalSeam::setHandler({});
        UserOptGroup::instance()->removeForm(m_form.get());
        m_scene.reset();
        m_form.reset();
        ProcessFixture::finish();
    }

    // A binding shown and taken back untouched is the same binding, for
    // every kind and both kinds of source, and for a source the project
    // can no longer decode.
    void showsBackUnchanged_data()
    {
        QTest::addColumn<Binding>("binding");
        Binding value = tagged(Binding::Value, QStringLiteral("Motor"));
        value.digits = 5;
        value.decimals = 2;
        value.scale = 0.1;
        value.offset = -273.15;
        value.unit = QStringLiteral("℃");
        value.minimum = -1e300;
        value.maximum = 1.0 / 3;
        QTest::newRow("value, tag") << value;
        Binding gone = tagged(Binding::Value, QStringLiteral("Removed"));
        QTest::newRow("value, tag gone from the library") << gone;
        Binding unknown = direct(Binding::Visible, QStringLiteral("QQ 9"));
        unknown.device = QStringLiteral("no such device");
        unknown.format = QStringLiteral("Float");
        unknown.condition = Binding::InRange;
        unknown.value = 2;
        unknown.value2 = 9.5;
        QTest::newRow("visible, address no device decodes") << unknown;
        Binding state = direct(Binding::TextState, QStringLiteral("LW 3"));
        state.textTag = QStringLiteral("not in the library");
        state.fallback = 7;
        QTest::newRow("text state") << state;
        Binding colours = tagged(Binding::Colours, QStringLiteral("Motor"));
        Binding::Range low;
        low.to = 10;
        low.fill = QColor(255, 0, 0);
        low.text = QColor(0, 0, 255, 128);
        Binding::Range high;
        high.from = 10.5;
        high.to = 1e9;
        high.line = QColor(0, 255, 0);
        high.blink = true;
        colours.ranges = {low, high};
        QTest::newRow("colours") << colours;
        Binding add = direct(Binding::Action, QStringLiteral("LW 4"));
        add.action = Binding::AddStep;
        add.value = 5;
        add.minimum = -10;
        add.maximum = 50;
        QTest::newRow("action add") << add;
        Binding open = tagged(Binding::Action, QString());
        open.action = Binding::OpenWindow;
        open.screen = QStringLiteral("Popup");
        QTest::newRow("action open window") << open;
        Binding pictures = tagged(Binding::Picture, QStringLiteral("Motor"));
        pictures.pictures = {{QStringLiteral("images/off.png"), {}},
                             {QStringLiteral("images/on.svg"), {}}};
        QTest::newRow("pictures") << pictures;
    }
    void showsBackUnchanged()
    {
        QFETCH(Binding, binding);
        BindingDialog dialog;
        // Only what a plain rectangle offers: a kind it does not is still
        // shown as it is.
        dialog.setKinds({Binding::Visible, Binding::Colours, Binding::Action});
        dialog.setBinding(binding);
        Binding taken;
        QVERIFY(dialog.takeBinding(&taken));
        QCOMPARE(taken, binding);
        QCOMPARE(taken.sourceText(), binding.sourceText());
        QVERIFY(m_messages.isEmpty());
    }

    // The fields build the binding: the source picked (a user tag by name,
    // a system register or a typed address as the library stores a row)
    // and the kind's parameters.
    void fieldsBuildTheBinding_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<Binding>("expected");
        Binding value = tagged(Binding::Value, QStringLiteral("Valve"));
        value.digits = 4;
        value.decimals = 1;
        value.scale = 0.5;
        value.offset = -2;
        value.unit = QStringLiteral("bar");
        value.minimum = 0;
        value.maximum = 16;
        QTest::newRow("value of a user tag") << "value" << value;
        Binding colours = tagged(Binding::Colours, QStringLiteral("Motor"));
        Binding::Range range;
        range.from = 1;
        range.to = 2;
        range.fill = QColor(255, 0, 0);
        range.blink = true;
        colours.ranges = {range};
        QTest::newRow("one colour range") << "colours" << colours;
        Binding screen = tagged(Binding::Action, QString());
        screen.action = Binding::SwitchScreen;
        screen.screen = QStringLiteral("Main");
        QTest::newRow("switch screen") << "screen" << screen;
        Binding picture = tagged(Binding::Picture, QStringLiteral("Motor"));
        picture.pictures = {{QStringLiteral("images/state.png"), {}}};
        QTest::newRow("picture copied into the project") << "picture" << picture;
    }
    void fieldsBuildTheBinding()
    {
        QFETCH(QString, scenario);
        QFETCH(Binding, expected);
        BindingDialog dialog;
        dialog.setBinding(Binding());
        const auto choose = [&](Binding::Kind kind) {
            dialog.kindBox()->setCurrentIndex(dialog.kindBox()->findData(int(kind)));
        };
        const auto type = [&](const char *name, const QString &text) {
            field<QLineEdit>(&dialog, name)->setText(text);
        };
        RegEditWidget *source = dialog.sourceEdit();
        if (scenario == "value") {
            choose(Binding::Value);
            source->userButton()->click();
            source->tagBox()->setCurrentIndex(source->tagBox()->findText("Valve"));
            field<QSpinBox>(&dialog, "digits")->setValue(4);
            field<QSpinBox>(&dialog, "decimals")->setValue(1);
            type("scale", "0.5");
            type("offset", "-2");
            type("unit", "bar");
            type("minimum", "0");
            type("maximum", "16");
        } else if (scenario == "colours") {
            choose(Binding::Colours);
            source->setTag("Motor");
            field<QPushButton>(&dialog, "addRange")->click();
            auto *ranges = field<QTableWidget>(&dialog, "ranges");
            ranges->item(0, 0)->setText("1");
            ranges->item(0, 1)->setText("2");
            m_choice = QStringLiteral("#ff0000");
            emit ranges->itemDoubleClicked(ranges->item(0, 2));
            ranges->item(0, 5)->setCheckState(Qt::Checked);
        } else if (scenario == "picture") {
            QTemporaryDir folder;
            Config::instance()->setPictureFolder(folder.path());
            QVERIFY(QDir(folder.path()).mkpath("chosen"));
            QFile file(folder.path() + "/chosen/state.png");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(testpictures::halves(QSize(4, 4), Qt::red, Qt::blue));
            file.close();
            choose(Binding::Picture);
            source->setTag("Motor");
            m_choice = file.fileName();
            field<QPushButton>(&dialog, "addPicture")->click();
            QVERIFY(QFile::exists(folder.path() + "/images/state.png"));
            Config::instance()->setPictureFolder(QString());
        } else if (scenario == "screen") {
            // The project's screens are offered.
            DrawManager::instance()->createScreen(BaseScreen)->setObjectName("Main");
            dialog.setBinding(Binding());
            choose(Binding::Action);
            auto *action = field<QComboBox>(&dialog, "action");
            action->setCurrentIndex(action->findData(int(Binding::SwitchScreen)));
            field<QComboBox>(&dialog, "screen")->setCurrentText("Main");
            // The address of a screen action means nothing: not asked for.
            QVERIFY(!source->isEnabled());
        }
        Binding taken;
        QVERIFY(dialog.takeBinding(&taken));
        QCOMPARE(taken, expected);
        QCOMPARE(taken.sourceText(), expected.sourceText());
        // The dialog is reused: the next binding asks for its address again.
        // Its action field, which a visibility binding ignores, the same.
        Binding next = tagged(Binding::Visible, "Motor");
        next.action = taken.action;
        dialog.setKinds({Binding::Visible});
        dialog.setBinding(next);
        QVERIFY(source->isEnabled());
    }

    // A system register is stored by its address, which the panel model
    // fixes, not by a name only the system list knows.
    void systemRegisterStoredAsAddress()
    {
        Config::instance()->loadSystemRegisters();
        BindingDialog dialog;
        dialog.setBinding(Binding());
        RegEditWidget *source = dialog.sourceEdit();
        source->systemButton()->click();
        QVERIFY(source->tagBox()->count() > 0);
        const AddressPara para = source->para();
        Binding taken;
        QVERIFY(dialog.takeBinding(&taken));
        QVERIFY(taken.tag.isEmpty());
        QCOMPARE(taken.address, Config::instance()->addressText(para));
        QVERIFY(!taken.address.isEmpty());
    }

    // A new binding stores the source its picker shows, with defaults the
    // check accepts on that word; a screen action stores none. A binding
    // added on the page and confirmed untouched is the same.
    void newBindingStoresShownSource_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("action"); // -1: the default
        QTest::addColumn<bool>("sourced");
        QTest::newRow("value") << int(Binding::Value) << -1 << true;
        QTest::newRow("visible") << int(Binding::Visible) << -1 << true;
        QTest::newRow("colours") << int(Binding::Colours) << -1 << true;
        QTest::newRow("action") << int(Binding::Action) << -1 << true;
        QTest::newRow("switch screen") << int(Binding::Action) << int(Binding::SwitchScreen)
                                       << false;
    }
    void newBindingStoresShownSource()
    {
        QFETCH(int, kind);
        QFETCH(int, action);
        QFETCH(bool, sourced);
        DrawManager::instance()->createScreen(BaseScreen)->setObjectName("Main");
        auto *text = new GraphicsTextItem(QRect(10, 10, 80, 30));
        m_scene->addItem(text);
        BindingListPage page;
        page.setBindings({}, {Binding::Kind(kind)});
        m_fill = [&] {
            auto *actions = field<QComboBox>(page.bindingDialog(), "action");
            if (action >= 0)
                actions->setCurrentIndex(actions->findData(action));
            field<QComboBox>(page.bindingDialog(), "screen")->setCurrentText("Main");
        };
        page.addBinding();
        QCOMPARE(page.bindings().size(), 1);
        const Binding made = page.bindings().first();
        const AddressPara shown = page.bindingDialog()->sourceEdit()->para();
        QCOMPARE(made.address, sourced ? Config::instance()->addressText(shown) : QString());
        QCOMPARE(made.device.isEmpty(), !sourced);
        QCOMPARE(made.format.isEmpty(), !sourced);
        setShapeBindings(text, {made});
        ProjectPlace place;
        QVector<Finding> findings;
        BindingCheck().checkShape(text, place, &findings);
        QStringList codes;
        for (const Finding &finding : findings)
            codes << ProjectCheck::codeName(finding.code);
        QCOMPARE(codes, QStringList());
    }

    // A system register reopens on the system list, by its name; an
    // address of the user area on the direct entry. Untouched, either is
    // given back as stored.
    void systemRegisterShownByName_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("system");
        QTest::newRow("clock register") << "LW 9000" << true;
        QTest::newRow("read-only register") << "LW 9009" << true;
        QTest::newRow("user area") << "LW 12" << false;
        QTest::newRow("between user area and registers") << "LW 8000" << false;
    }
    void systemRegisterShownByName()
    {
        QFETCH(QString, address);
        QFETCH(bool, system);
        Config::instance()->loadSystemRegisters();
        BindingDialog dialog;
        const Binding stored = direct(Binding::Value, address);
        dialog.setBinding(stored);
        RegEditWidget *source = dialog.sourceEdit();
        QCOMPARE(source->systemButton()->isChecked(), system);
        QCOMPARE(source->currentPage(), system ? 1 : 0);
        if (system) {
            QCOMPARE(source->para().address, panelAddress(address).address);
            QCOMPARE(source->para().area, panelAddress(address).area);
            QVERIFY(source->summaryLabel()->text().contains(address.mid(3)));
        }
        Binding taken;
        QVERIFY(dialog.takeBinding(&taken));
        QCOMPARE(taken, stored);
    }

    // Screen actions offer the screens of their type: a switch base
    // screens, windows to open and close. A stored screen of the wrong
    // type is still shown as it is.
    void screensOfTheActionsType_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("switch") << int(Binding::SwitchScreen) << QStringList {"", "Main", "Other"};
        QTest::newRow("open") << int(Binding::OpenWindow) << QStringList {"", "Popup"};
        QTest::newRow("close") << int(Binding::CloseWindow) << QStringList {"", "Popup"};
    }
    void screensOfTheActionsType()
    {
        QFETCH(int, action);
        QFETCH(QStringList, offered);
        DrawManager *screens = DrawManager::instance();
        screens->createScreen(BaseScreen)->setObjectName("Main");
        screens->createScreen(WindowScreen)->setObjectName("Popup");
        screens->createScreen(BaseScreen)->setObjectName("Other");
        screens->createScreen(TemplateScreen)->setObjectName("Template");
        BindingDialog dialog;
        dialog.startNew(Binding::Action);
        auto *actions = field<QComboBox>(&dialog, "action");
        auto *screen = field<QComboBox>(&dialog, "screen");
        // Chosen after another screen action: the list follows.
        actions->setCurrentIndex(actions->findData(action == Binding::SwitchScreen
                                                       ? int(Binding::OpenWindow)
                                                       : int(Binding::SwitchScreen)));
        actions->setCurrentIndex(actions->findData(action));
        QStringList listed;
        for (int i = 0; i < screen->count(); ++i)
            listed << screen->itemText(i);
        QCOMPARE(listed, offered);

        Binding wrong = tagged(Binding::Action, QString());
        wrong.action = Binding::ActionKind(action);
        wrong.screen = action == Binding::SwitchScreen ? "Popup" : "Main";
        dialog.setBinding(wrong);
        QCOMPARE(screen->currentText(), wrong.screen);
    }

    // Limits the wrong way round refuse 确定 with a message; equal limits,
    // and limits the kind does not use, do not.
    void reversedLimitsRefused_data()
    {
        QTest::addColumn<Binding>("binding");
        QTest::addColumn<bool>("refused");
        Binding value = tagged(Binding::Value, "Motor");
        value.minimum = 1e308;
        value.maximum = -5;
        QTest::newRow("value limits") << value << true;
        value.minimum = -5;
        QTest::newRow("value limits equal") << value << false;
        Binding subtract = tagged(Binding::Action, "Motor");
        subtract.action = Binding::SubtractStep;
        subtract.minimum = 10;
        subtract.maximum = 0;
        QTest::newRow("subtract limits") << subtract << true;
        Binding write = subtract;
        write.action = Binding::WriteValue;
        QTest::newRow("write uses none") << write << false;
        Binding range = tagged(Binding::Visible, "Motor");
        range.condition = Binding::InRange;
        range.value = 9;
        range.value2 = 1;
        QTest::newRow("visible range") << range << true;
        Binding equal = range;
        equal.condition = Binding::Equal;
        QTest::newRow("visible equal uses no end") << equal << false;
    }
    void reversedLimitsRefused()
    {
        QFETCH(Binding, binding);
        QFETCH(bool, refused);
        BindingDialog dialog;
        dialog.setBinding(binding);
        QCOMPARE(dialog.run(), !refused);
        QCOMPARE(m_messages.size(), refused ? 1 : 0);
    }

    // A number field that holds no number refuses 确定 and says which.
    void notANumberRefused()
    {
        BindingDialog dialog;
        dialog.setBinding(tagged(Binding::Value, "Motor"));
        field<QLineEdit>(&dialog, "scale")->setText("1e999");
        m_fill = nullptr;
        QVERIFY(!dialog.run());
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains("比例"));
    }

    // The page's edits reach the shape only on 确定, all as one step with the
    // dialog's other fields; 取消 leaves everything, an untouched 确定 adds
    // no step.
    void pageCommitsOneStep_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<bool>("accept");
        QTest::newRow("bindings only") << false << true;
        QTest::newRow("bindings and name") << true << true;
        QTest::newRow("cancelled") << true << false;
    }
    void pageCommitsOneStep()
    {
        QFETCH(bool, rename);
        QFETCH(bool, accept);
        auto *text = new GraphicsTextItem(QRect(10, 10, 80, 30));
        m_scene->addItem(text);
        text->setObjectName("lamp");
        const QVector<Binding> before = {tagged(Binding::Visible, "Valve"),
                                         direct(Binding::Value, "LW 1"),
                                         tagged(Binding::Colours, "Motor")};
        setShapeBindings(text, before);
        PropertyDialog dialog;
        dialog.setItemTarget(text);
        BindingListPage *page = dialog.bindingPage();
        QCOMPARE(page->list()->count(), 3);
        // Edit the first (its condition), remove the second, add one.
        page->list()->setCurrentRow(0);
        m_fill = [&] {
            auto *condition = field<QComboBox>(page->bindingDialog(), "condition");
            condition->setCurrentIndex(condition->findData(int(Binding::BitClear)));
        };
        page->editBinding();
        page->list()->setCurrentRow(1);
        page->removeBinding();
        m_fill = [&] {
            BindingDialog *binding = page->bindingDialog();
            binding->kindBox()->setCurrentIndex(binding->kindBox()->findData(int(Binding::Value)));
            binding->sourceEdit()->setTag("Motor");
        };
        page->addBinding();
        QVector<Binding> after = before;
        after[0].condition = Binding::BitClear;
        after.remove(1);
        after.append(tagged(Binding::Value, "Motor"));
        QCOMPARE(page->bindings(), after);
        QCOMPARE(shapeBindings(text), before);
        if (rename)
            dialog.nameEdit()->setText("pump");

        const int steps = stack()->count();
        if (accept)
            dialog.on_ok_clicked();
        else
            dialog.on_cancel_clicked();
        if (!accept) {
            QCOMPARE(stack()->count(), steps);
            QCOMPARE(shapeBindings(text), before);
            QCOMPARE(text->objectName(), QString("lamp"));
            return;
        }
        QCOMPARE(stack()->count(), steps + 1);
        QCOMPARE(shapeBindings(text), after);
        QCOMPARE(text->objectName(), QString(rename ? "pump" : "lamp"));
        stack()->undo();
        QCOMPARE(shapeBindings(text), before);
        QCOMPARE(text->objectName(), QString("lamp"));
        stack()->redo();
        QCOMPARE(shapeBindings(text), after);
        QCOMPARE(text->objectName(), QString(rename ? "pump" : "lamp"));

        // Opened again and confirmed untouched: no step.
        dialog.setItemTarget(text);
        dialog.on_ok_clicked();
        QCOMPARE(stack()->count(), steps + 1);
    }

    // The register field stores what it shows: the first value binding's
    // source, or a new value binding on a shape that takes values; a shape
    // that takes none offers no field to store into.
    void registerFieldStores()
    {
        auto *text = new GraphicsTextItem(QRect(10, 10, 80, 30));
        m_scene->addItem(text);
        PropertyDialog dialog;
        dialog.setItemTarget(text);
        QVERIFY(dialog.registerEdit()->isEnabled());
        dialog.registerEdit()->setPara(panelAddress("LW 7"));
        dialog.on_ok_clicked();
        QCOMPARE(shapeBindings(text), QVector<Binding>({direct(Binding::Value, "LW 7")}));

        // Shown back, and left alone by an untouched 确定.
        const int steps = stack()->count();
        dialog.setItemTarget(text);
        QCOMPARE(dialog.registerEdit()->para().address, panelAddress("LW 7").address);
        dialog.on_ok_clicked();
        QCOMPARE(stack()->count(), steps);

        // A visibility binding first: the field still edits the value one,
        // and the page shows the change before 确定.
        setShapeBindings(text, {tagged(Binding::Visible, "Valve"), direct(Binding::Value, "LW 7")});
        dialog.setItemTarget(text);
        dialog.registerEdit()->setTag("Motor");
        dialog.navigation()->setCurrentItem(dialog.navigation()->topLevelItem(
            dialog.navigation()->topLevelItemCount() - 1));
        QCOMPARE(dialog.bindingPage()->list()->item(1)->text(), QString("数值: Motor"));
        dialog.on_ok_clicked();
        QCOMPARE(shapeBindings(text), QVector<Binding>({tagged(Binding::Visible, "Valve"),
                                                        tagged(Binding::Value, "Motor")}));

        // On a shape without a value binding, the address shown at first
        // is stored once the user confirms it (✓), and only then.
        auto *label = new GraphicsTextItem(QRect(100, 10, 80, 30));
        m_scene->addItem(label);
        dialog.setItemTarget(label);
        dialog.on_ok_clicked();
        QVERIFY(shapeBindings(label).isEmpty());
        dialog.setItemTarget(label);
        Binding shown;
        BindingDialog::takeSource(dialog.registerEdit(), &shown);
        QVERIFY(!shown.address.isEmpty());
        shown.kind = Binding::Value;
        dialog.registerEdit()->panel()->on_ok_clicked();
        dialog.on_ok_clicked();
        QCOMPARE(shapeBindings(label), QVector<Binding>{shown});

        GraphicsRectItem *rect = addRect(m_scene.get(), QRectF(100, 100, 10, 10));
        dialog.setItemTarget(rect);
        QVERIFY(!dialog.registerEdit()->isEnabled());
    }

    // The browser's 数据 row says what the shape holds, follows undo and
    // offers no editor; a screen has none.
    void browserRowFollowsUndo()
    {
        GraphicsRectItem *rect = addRect(m_scene.get(), QRectF(10, 10, 50, 50));
        PropertyTreeBrowser browser;
        browser.currentItemChanged(static_cast<QObject *>(m_scene.get()));
        QVERIFY(!browser.dataIndex().isValid());
        browser.currentItemChanged(static_cast<QGraphicsItem *>(rect));
        QModelIndex row = browser.dataIndex();
        QVERIFY(row.isValid());
        QCOMPARE(row.data().toString(), QString("无"));
        QVERIFY(!(row.flags() & Qt::ItemIsEditable));
        QVERIFY(SetBindingsCommand::apply(UserOptGroup::instance(), m_form.get(), rect,
                                          {tagged(Binding::Value, "Motor"),
                                           direct(Binding::Visible, "LW 100")}));
        browser.refresh();
        QCOMPARE(browser.dataIndex().data().toString(),
                 QString("2 项: 数值: Motor; 可见: 本地 LW 100"));
        stack()->undo();
        browser.refresh();
        QCOMPARE(browser.dataIndex().data().toString(), QString("无"));
    }

private:
    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<DrawScene> m_scene;
    std::function<void()> m_fill;
    bool m_accept = true;
    QString m_choice;
    QStringList m_messages;
};

QTEST_MAIN(TestBindingDialog)
#include "tst_bindingdialog.moc"
