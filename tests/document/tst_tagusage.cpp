#include "document/drawmanager.h"
#include "document/projectcheck.h"
#include "document/projectdocument.h"
#include "document/tagusage.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "model/taglib/textlib.h"
#include "shapes/graphicsitemgroup.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QStandardItemModel>
#include <QXmlStreamReader>
#include <QUndoStack>
#include <QtTest>

namespace {

Binding tagged(Binding::Kind kind, const QString &tag)
{
    Binding binding;
    binding.kind = kind;
    binding.tag = tag;
    return binding;
}

Binding textState(const QString &tag, const QString &textTag)
{
    Binding binding = tagged(Binding::TextState, tag);
    binding.textTag = textTag;
    return binding;
}

Binding action(Binding::ActionKind kind, const QString &screen)
{
    Binding binding = tagged(Binding::Action, QStringLiteral("Motor"));
    binding.action = kind;
    binding.screen = screen;
    return binding;
}

Binding direct(const QString &device)
{
    Binding binding;
    binding.device = device;
    binding.address = QStringLiteral("D 100");
    binding.format = QStringLiteral("Int16");
    return binding;
}

void addTag(const QString &name)
{
    QList<QStandardItem *> items;
    for (const QString &cell : {name, QStringLiteral("本地"), QStringLiteral("LW 1"),
                                QStringLiteral("Int16"), QStringLiteral("2"), QString()})
        items << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(items);
}

// Bindings of kinds this version does not know, kept unread by the shape
// as a newer version wrote them.
KeptContent keptBindings()
{
    QXmlStreamReader reader(QStringLiteral(
        "<rect><binding kind=\"gauge\" tag=\"Motor\" texttag=\"States\" screen=\"Second\"/>"
        "<binding kind=\"meter\" device=\"Press\" address=\"D 1\"/><other tag=\"Motor\"/>"
        "<binding kind=\"dial\" tag=\"Speed\" device=\"Press\"/></rect>"));
    reader.readNextStartElement();
    KeptContent kept;
    kept.keepChildren(&reader, KeptContent::defaultLevels());
    return kept;
}

// Every binding's names, shape by shape, those kept unread too: what a
// rename may touch.
QStringList bindingNames()
{
    QStringList out;
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    for (int s = 0; s < scenes.size(); ++s) {
        const QList<QGraphicsItem *> items = scenes.at(s)->userItems();
        for (int i = 0; i < items.size(); ++i) {
            for (const Binding &b : shapeBindings(items.at(i)))
                out << QStringLiteral("%1/%2 %3 tag=%4 text=%5 screen=%6 device=%7")
                           .arg(s).arg(i).arg(Binding::kindKey(b.kind), b.tag, b.textTag,
                                              b.screen, b.device);
            const KeptContent *kept = shapeKeptContent(items.at(i));
            for (int e = 0; kept && e < kept->elementCount(); ++e) {
                const UnknownElement &k = kept->element(e);
                out << QStringLiteral("%1/%2 kept %3 tag=%4 text=%5 screen=%6 device=%7")
                           .arg(s).arg(i).arg(k.name(), k.attribute("tag"), k.attribute("texttag"),
                                              k.attribute("screen"), k.attribute("device"));
            }
        }
    }
    return out;
}

} // namespace

// Bindings name tags, screens and devices by name: renames reach them, the
// library warns of removals and the check of what nothing uses.
class TestTagUsage : public QObject
{
    Q_OBJECT

    DrawScene *m_main = nullptr;
    DrawScene *m_second = nullptr;

    // Two screens; on each, a bound rectangle and a group whose members and
    // the group itself are bound.
    void buildProject()
    {
        Config *config = Config::instance();
        DevicePara device;
        device.name = QStringLiteral("Press");
        config->devices.append(device);
        addTag(QStringLiteral("Motor"));
        addTag(QStringLiteral("Speed"));
        addTag(QStringLiteral("Spare"));
        config->textLib()->add(QStringLiteral("States"), {{QStringLiteral("off")}});
        config->textLib()->add(QStringLiteral("Unused"), {{QStringLiteral("x")}});

        m_main = DrawManager::instance()->createScreen(1);
        m_main->setObjectName(QStringLiteral("Main"));
        m_second = DrawManager::instance()->createScreen(1);
        m_second->setObjectName(QStringLiteral("Second"));
        for (DrawScene *scene : {m_main, m_second}) {
            auto *single = scenetest::addRect(scene, QRectF(10, 10, 40, 40));
            setShapeBindings(single, {tagged(Binding::Value, QStringLiteral("Motor")),
                                      textState(QStringLiteral("Speed"), QStringLiteral("States")),
                                      direct(QStringLiteral("Press")),
                                      tagged(Binding::Visible, QStringLiteral("Motor"))});
            setShapeKeptContent(single, keptBindings());
            auto *a = scenetest::addRect(scene, QRectF(100, 10, 40, 40));
            auto *b = scenetest::addRect(scene, QRectF(200, 10, 40, 40));
            setShapeBindings(a, {action(Binding::SwitchScreen, QStringLiteral("Second")),
                                 tagged(Binding::Visible, QStringLiteral("Speed"))});
            setShapeBindings(b, {textState(QStringLiteral("Motor"), QStringLiteral("States"))});
            GraphicsItemGroup *group = scene->createGroup({a, b});
            setShapeBindings(group, {action(Binding::OpenWindow, QStringLiteral("Second")),
                                     direct(QStringLiteral("Press"))});
        }
    }

private slots:
    void init() { ProcessFixture::start(800, 480); }
    void cleanup() { ProcessFixture::finish(); }

    // Shapes count once however many of their bindings name the tag; group
    // members count at their own places.
    void countsShapesAndPlaces()
    {
        buildProject();
        const TagUsage usage(DrawManager::instance());
        // Motor: the single rectangle (twice), both members and the group
        // (the actions' source), on each screen.
        QCOMPARE(usage.addressTagShapes(QStringLiteral("Motor")), 8);
        // And the binding the rectangle keeps unread.
        QCOMPARE(usage.addressTagUses(QStringLiteral("Motor")).size(), 12);
        QCOMPARE(usage.addressTagUses(QStringLiteral("Motor")).at(2).kindKey(), QStringLiteral("gauge"));
        QCOMPARE(usage.addressTagUses(QStringLiteral("Motor")).at(2).binding, 4);
        // Speed: the single rectangle and member a.
        QCOMPARE(usage.addressTagShapes(QStringLiteral("Speed")), 4);
        QCOMPARE(usage.addressTagShapes(QStringLiteral("Spare")), 0);
        QCOMPARE(usage.addressTagShapes(QStringList {"Speed", "Spare", "Speed"}), 4);
        QCOMPARE(usage.addressTagShapes(QStringList {"Motor", "Speed"}), 8);
        QCOMPARE(usage.textTagShapes(QStringLiteral("States")), 4);
        QCOMPARE(usage.screenUses(QStringLiteral("Second")).size(), 6);
        QCOMPARE(usage.directUses().size(), 6);

        const QVector<ProjectPlace> places
            = TagUsage::places(usage.textTagUses(QStringLiteral("States")));
        QCOMPARE(places.size(), 4);
        const QList<QGraphicsItem *> items = m_second->userItems();
        const ProjectPlace &last = places.last();
        QCOMPARE(last.kind, ProjectPlace::Shape);
        QCOMPARE(last.screen, QStringLiteral("Second"));
        QCOMPARE(last.screenIndex, 1);
        QVERIFY(last.index >= 0 && last.index < items.size());
        QCOMPARE(shapeBindings(items.at(last.index)).first().textTag, QStringLiteral("States"));
        QVERIFY(items.at(last.index)->parentItem()); // a member of the group
    }

    // A rename reaches every binding naming the old name, on every screen and
    // inside groups, as one step with the library change; undo and redo put
    // back bindings and library exactly.
    void renameReachesBindings_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("changed"); // bindings whose names change
        // Each count holds two bindings kept unread (one per screen); only
        // "binding" elements are renamed, never other kept elements.
        QTest::newRow("address tag") << "address" << "Motor" << "Drive" << 12;
        QTest::newRow("address tags swapped") << "swap" << "Motor" << "Speed" << 18;
        QTest::newRow("unused address tag") << "address" << "Spare" << "Reserve" << 0;
        QTest::newRow("text tag") << "text" << "States" << "Modes" << 6;
        QTest::newRow("screen") << "screen" << "Second" << "Detail" << 6;
        // A kept binding naming a tag and a device follows both: its kind
        // may mean the device apart from the tag.
        QTest::newRow("device") << "device" << "Press" << "Punch" << 8;
    }
    void renameReachesBindings()
    {
        QFETCH(QString, what);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, changed);
        buildProject();
        ProjectDocument *document = ProjectDocument::current();
        const QStringList before = bindingNames();
        const Config::State configBefore = Config::instance()->state();
        const int steps = document->undoStack()->count();

        bool done = false;
        if (what == "address" || what == "swap") {
            QStandardItemModel tags;
            const QStandardItemModel *own = Config::instance()->addressTagModel();
            BindingRewrite::Renames renames {{from, to}};
            if (what == "swap")
                renames.insert(to, from);
            for (int row = 0; row < own->rowCount(); ++row) {
                QList<QStandardItem *> items;
                for (int column = 0; column < own->columnCount(); ++column)
                    items << own->item(row, column)->clone();
                items.first()->setText(renames.value(items.first()->text(), items.first()->text()));
                tags.appendRow(items);
            }
            done = document->replaceAddressTags(tags, renames);
        } else if (what == "text") {
            TextLib library;
            const TextLib *own = Config::instance()->textLib();
            for (int i = 0; i < own->count(); ++i)
                library.add(own->names().at(i) == from ? to : own->names().at(i), own->statesAt(i));
            done = document->replaceTextTags(library, {{from, to}});
        } else if (what == "screen") {
            done = document->renameForm(m_second, to);
        } else {
            done = document->renameDevice(0, to);
        }
        QVERIFY(done);
        QCOMPARE(document->undoStack()->count(), steps + 1);

        const QStringList after = bindingNames();
        QCOMPARE(after.size(), before.size());
        int differ = 0;
        for (int i = 0; i < before.size(); ++i)
            differ += before.at(i) != after.at(i) ? 1 : 0;
        QCOMPARE(differ, changed);
        for (const QString &line : after) {
            if (what != "swap" && !line.contains(" kept other "))
                QVERIFY2(!(line + ' ').contains('=' + from + ' '), qPrintable(line));
        }
        const Config::State configAfter = Config::instance()->state();

        document->undoStack()->undo();
        QCOMPARE(bindingNames(), before);
        QVERIFY(Config::instance()->state() == configBefore);
        document->undoStack()->redo();
        QCOMPARE(bindingNames(), after);
        QVERIFY(Config::instance()->state() == configAfter);
    }

    // While another screen keeps the old name, actions may mean that one.
    void screenRenameLeavesSharedName()
    {
        buildProject();
        DrawScene *twin = DrawManager::instance()->createScreen(1);
        twin->setObjectName(QStringLiteral("Second"));
        const QStringList before = bindingNames();
        QVERIFY(ProjectDocument::current()->renameForm(m_second, QStringLiteral("Detail")));
        QCOMPARE(bindingNames(), before);
        // A name another screen has is refused: the references meant for
        // that one would follow the next rename of this one.
        const int steps = ProjectDocument::current()->undoStack()->count();
        QVERIFY(!ProjectDocument::current()->renameForm(m_second, QStringLiteral("Main")));
        QCOMPARE(m_second->objectName(), QStringLiteral("Detail"));
        QCOMPARE(ProjectDocument::current()->undoStack()->count(), steps);
    }

    // A screen removed after the rename takes its shapes along; undoing and
    // redoing the rename still restores the others.
    void undoAfterScreenRemoved()
    {
        buildProject();
        ProjectDocument *document = ProjectDocument::current();
        const QStringList before = bindingNames();
        QVERIFY(document->renameDevice(0, QStringLiteral("Punch")));
        QVERIFY(DrawManager::instance()->removeForm(m_second));
        document->undoStack()->undo();
        const QStringList remaining = before.mid(0, bindingNames().size());
        QCOMPARE(bindingNames(), remaining);
        document->undoStack()->redo();
        QVERIFY(!bindingNames().join('\n').contains("device=Press"));
    }

    // Tags nothing names are warned of, system registers and nameless tags
    // aside; a warning alone makes no error.
    void checkWarnsOfUnusedTags()
    {
        buildProject();
        addTag(QString());
        const QVector<Finding> findings = ProjectCheck::run();
        QStringList unused;
        for (const Finding &finding : findings) {
            if (finding.code == Finding::AddressTagUnused || finding.code == Finding::TextTagUnused) {
                QCOMPARE(finding.severity, Finding::Warning);
                unused << ProjectCheck::codeName(finding.code) + ' ' + finding.place.name + ' '
                        + QString::number(finding.place.index);
            }
        }
        QCOMPARE(unused, QStringList({"addressTagUnused Spare 2", "textTagUnused Unused 1"}));

        // Once named by a binding, neither is reported.
        setShapeBindings(m_main->userItems().first(),
                         {tagged(Binding::Value, QStringLiteral("Spare")),
                          textState(QStringLiteral("Motor"), QStringLiteral("Unused"))});
        for (const Finding &finding : ProjectCheck::run())
            QVERIFY(finding.code != Finding::AddressTagUnused
                    && finding.code != Finding::TextTagUnused);
    }
};

QTEST_MAIN(TestTagUsage)
#include "tst_tagusage.moc"
