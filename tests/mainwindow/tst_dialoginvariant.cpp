#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/useroptgroup.h"
#include "model/config.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/property/propertydialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "services/modalseam.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QMessageBox>
#include <QUndoStack>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Every screen's history and the project's own.
int undoEntries()
{
    int count = 0;
    QList<QUndoStack *> stacks = UserOptGroup::instance()->stacks();
    QUndoStack *project = ProjectDocument::current()->undoStack();
    if (!stacks.contains(project))
        stacks.append(project);
    for (const QUndoStack *stack : qAsConst(stacks))
        count += stack->count();
    return count;
}

// The first line where the two saves differ, both versions.
QString firstDifference(const QByteArray &a, const QByteArray &b)
{
    const QList<QByteArray> linesA = a.split('\n');
    const QList<QByteArray> linesB = b.split('\n');
    for (int i = 0; i < std::max(linesA.size(), linesB.size()); ++i) {
        const QByteArray lineA = linesA.value(i);
        const QByteArray lineB = linesB.value(i);
        if (lineA == lineB)
            continue;
        // From a little before the first differing character: lines of
        // shapes are long.
        int at = 0;
        while (at < lineA.size() && at < lineB.size() && lineA.at(at) == lineB.at(at))
            ++at;
        at = std::max(0, at - 40);
        return QStringLiteral("line %1: ...%2 -> ...%3")
            .arg(i + 1)
            .arg(QString::fromUtf8(lineA.mid(at, 120)), QString::fromUtf8(lineB.mid(at, 120)));
    }
    return QString();
}

} // namespace

// Opening a dialog and pressing 确定 without touching anything changes
// nothing: over projects drawn at random, each dialog of the project in turn
// (project settings, every device, the property dialog of every screen and
// shape, both tag libraries) leaves the saved bytes and every undo history
// as they were.
class TestDialogInvariant : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(); }

    void cleanup()
    {
        ModalSeam::setHandler({});
        m_property.reset();
        m_settings.reset();
        m_text.reset();
        m_address.reset();
        ProcessFixture::finish();
    }

    void untouchedOkChangesNothing_data()
    {
        QTest::addColumn<quint32>("seed");
        // A sample of the round-trip projects.
        for (quint32 seed = 7; seed <= 1000; seed += 20)
            QTest::addRow("seed %u", seed) << seed;
    }

    void untouchedOkChangesNothing()
    {
        QFETCH(quint32, seed);
        // Built as the round-trip test builds it from the same seed.
        QRandomGenerator sizes(seed ^ 0x5a5a5a5au);
        ProjectGenerator::Options options;
        options.screens = int(sizes.bounded(1, 4));
        options.shapesPerScreen = int(sizes.bounded(3, 13));
        options.groupsPerScreen = int(sizes.bounded(0, 6));
        options.groupSize = 4;
        options.addressTags = int(sizes.bounded(0, 11));
        options.textTags = int(sizes.bounded(0, 6));
        options.encoded = seed % 2 == 0;
        // Bound shapes too: the 数据 page and the register field must give
        // every binding back as it was read.
        options.bindingPercent = 40;
        ProjectGenerator(seed).build(options);
        // A device as a file may hold it, its values outside the ranges the
        // device dialog's fields offer.
        DevicePara stored;
        stored.name = QStringLiteral("stored");
        stored.deviceId = 0;
        stored.retryNum = 200;
        stored.overtime = 60000;
        stored.comDelay = 20000;
        stored.resDelay = 20000;
        Config::instance()->devices.append(stored);

        m_property = std::make_unique<PropertyDialog>();
        m_settings = std::make_unique<ProjectConfigDialog>();
        m_text = std::make_unique<TextLibDialog>();
        m_address = std::make_unique<AddressLibDialog>();
        QStringList asked;
        std::function<void()> inside;
        int depth = 0;
        int nested = 0;
        // Every dialog is confirmed untouched; the dialog opened first runs
        // `inside` (opening a device's dialog from the settings) before its
        // OK. A dialog that refuses its OK and opens again (a device whose
        // name another one has) is then cancelled, as a user would.
        ModalSeam::setHandler([&](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind == ModalRequest::Dialog) {
                if (++depth == 1) {
                    nested = 0;
                    if (inside) {
                        const std::function<void()> run = std::move(inside);
                        inside = nullptr;
                        run();
                    }
                    answer.accepted = true;
                } else {
                    answer.accepted = nested++ == 0;
                    if (!answer.accepted)
                        asked << QStringLiteral("opened again: ") + request.title;
                }
                --depth;
            } else {
                asked << request.text;
                answer.button = QMessageBox::Yes;
            }
            return answer;
        });

        QStringList changed;
        const auto check = [&](const QString &dialog, const std::function<void()> &open) {
            const QByteArray before = ProjectFile::decodeProjectText(ProjectFile::projectBytes());
            const int entries = undoEntries();
            asked.clear();
            open();
            QStringList faults;
            const QByteArray after = ProjectFile::decodeProjectText(ProjectFile::projectBytes());
            if (after != before)
                faults << firstDifference(before, after);
            if (undoEntries() != entries)
                faults << QStringLiteral("%1 undo entries added").arg(undoEntries() - entries);
            // A refused OK changes nothing; worth knowing, but no fault here.
            if (!asked.isEmpty())
                qInfo("%s refused its OK: %s", qPrintable(dialog),
                      qPrintable(asked.join(QStringLiteral(" / "))));
            if (!faults.isEmpty())
                changed << dialog + QStringLiteral(": ") + faults.join(QStringLiteral("; "));
        };

        check(QStringLiteral("settings"), [&] { m_settings->run(); });
        for (int row = 0; row < Config::instance()->devices.size(); ++row) {
            check(QStringLiteral("device %1").arg(row), [&] {
                inside = [&] { m_settings->tableDeviceDoubleClicked(row, 0); };
                m_settings->run();
            });
        }
        const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
        for (int s = 0; s < scenes.size(); ++s) {
            DrawScene *scene = scenes.at(s);
            UserOptGroup::instance()->setActiveForm(scene);
            scene->clearSelection();
            check(QStringLiteral("screen %1").arg(s), [&] { m_property->showFor(scene); });
            const QList<QGraphicsItem *> shapes = scene->userItems();
            for (int i = 0; i < shapes.size(); ++i) {
                if (shapes.at(i)->parentItem())
                    continue;
                scene->clearSelection();
                shapes.at(i)->setSelected(true);
                check(QStringLiteral("shape %1 of screen %2").arg(i).arg(s),
                      [&] { m_property->showFor(scene); });
            }
            scene->clearSelection();
        }
        check(QStringLiteral("textLibrary"), [&] {
            m_text->reloadTable();
            ModalSeam::runDialog(m_text.get(), [&] { m_text->on_ok_clicked(); },
                                 [&] { m_text->on_cancel_clicked(); });
        });
        check(QStringLiteral("addressLibrary"), [&] {
            m_address->selectRow(false, -1);
            ModalSeam::runDialog(m_address.get(), [&] { m_address->on_ok_clicked(); },
                                 [&] { m_address->on_cancel_clicked(); });
        });
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(QLatin1Char('\n'))));
    }

private:
    std::unique_ptr<PropertyDialog> m_property;
    std::unique_ptr<ProjectConfigDialog> m_settings;
    std::unique_ptr<TextLibDialog> m_text;
    std::unique_ptr<AddressLibDialog> m_address;
};

QTEST_MAIN(TestDialogInvariant)
#include "tst_dialoginvariant.moc"
