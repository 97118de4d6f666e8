#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/taglib/textlib.h"
#include "panels/device/deviceadddialog.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "services/modalseam.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"
#include "support/scenetesting.h"
#include "widgets/lineedit.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

namespace {

// One answer of a scripted modal request; it may work the dialog that asks.
using Step = std::function<ModalAnswer(const ModalRequest &)>;

template<typename T>
T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

ModalAnswer accepted(int button = QMessageBox::Yes, const QString &text = QString())
{
    ModalAnswer answer;
    answer.button = button;
    answer.accepted = true;
    answer.text = text;
    return answer;
}

ModalAnswer cancelled()
{
    ModalAnswer answer;
    answer.button = QMessageBox::Cancel;
    return answer;
}

// The text tags a saved project holds.
TextLib savedTextTags(const QByteArray &project)
{
    QXmlStreamReader reader(project);
    TextLib library;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement
            && reader.name() == QLatin1String("TextLib")) {
            library.readXml(&reader);
            break;
        }
    }
    return library;
}

// How many texts of the library are not empty; from text `from` of each
// state on.
int nonEmptyTexts(const TextLib &library, int from = 0)
{
    int count = 0;
    for (int i = 0; i < library.count(); ++i) {
        for (const TextLib::State &state : library.statesAt(i)) {
            for (int k = from; k < state.size(); ++k)
                count += state.at(k).isEmpty() ? 0 : 1;
        }
    }
    return count;
}

DevicePara device(const QString &name)
{
    DevicePara dev;
    dev.name = name;
    return dev;
}

} // namespace

Q_DECLARE_METATYPE(DevicePara)

class TestProjectConfig : public QObject
{
    Q_OBJECT

    std::unique_ptr<ProjectConfigDialog> m_dialog;
    std::unique_ptr<QSignalSpy> m_changed;
    QQueue<Step> m_steps;

    QTableWidget *devices() const { return child<QTableWidget>(m_dialog.get(), "devices"); }
    DeviceAddDialog *deviceDialog() const { return m_dialog->findChild<DeviceAddDialog *>(); }
    QStringList messages() const
    {
        QStringList texts;
        for (const ModalRequest &request : ModalSeam::history()) {
            if (request.kind == ModalRequest::Message)
                texts << request.text;
        }
        return texts;
    }
    // Types into the device dialog open at the moment and confirms it.
    Step confirmDevice(const QString &name = QString(), int station = 0)
    {
        return [this, name, station](const ModalRequest &) {
            if (!name.isEmpty())
                child<LineEdit>(deviceDialog(), "name")->setText(name);
            if (station)
                child<QSpinBox>(deviceDialog(), "station")->setValue(station);
            return accepted();
        };
    }

private slots:
    void init()
    {
        ProcessFixture::start();
        m_steps.clear();
        ModalSeam::setHandler([this](const ModalRequest &request) {
            return m_steps.isEmpty() ? cancelled() : m_steps.dequeue()(request);
        });
        ProjectDocument::current()->undoStack()->clear();
        m_dialog = std::make_unique<ProjectConfigDialog>();
        m_changed
            = std::make_unique<QSignalSpy>(m_dialog.get(), &ProjectConfigDialog::configChanged);
    }

    void cleanup()
    {
        QVERIFY2(m_steps.isEmpty(), "a scripted answer was not asked for");
        m_changed.reset();
        m_dialog.reset();
        ModalSeam::setHandler({});
        ProcessFixture::finish();
    }

    // A new device goes below the current row, proposed a name no device
    // has (the count of devices plus one is taken here).
    void addGoesBelowCurrentRow()
    {
        Config::instance()->devices = {device("设备_3"), device("B")};
        m_dialog->getConfig();
        devices()->setCurrentCell(0, 0);
        QString proposed;
        m_steps << [&](const ModalRequest &request) {
            proposed = child<LineEdit>(deviceDialog(), "name")->text();
            return confirmDevice("新")(request);
        };
        m_dialog->on_addDevice_clicked();
        QCOMPARE(proposed, QString("设备_4"));
        QCOMPARE(devices()->item(1, 0)->text(), QString("新"));
        QCOMPARE(m_changed->count(), 0);
        QVERIFY(m_dialog->setConfig());
        QCOMPARE(Config::instance()->deviceNames().mid(1),
                 QStringList({"设备_3", "新", "B"}));
        QCOMPARE(m_changed->count(), 1);
    }

    // A real double click opens the device; a duplicate name is refused and
    // the dialog reopens with what was typed, while the device's own name
    // is accepted.
    void doubleClickEditsKeepingOwnName()
    {
        Config::instance()->devices = {device("A"), device("B")};
        m_dialog->getConfig();
        child<QTabWidget>(m_dialog.get(), "tabs")->setCurrentIndex(2);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        QString reopened;
        m_steps << confirmDevice("A", 42) << confirmDevice();
        m_steps << [&](const ModalRequest &) {
            reopened = child<LineEdit>(deviceDialog(), "name")->text() + ' '
                + QString::number(child<QSpinBox>(deviceDialog(), "station")->value());
            child<LineEdit>(deviceDialog(), "name")->setText("B");
            return accepted();
        };
        mouseclicks::doubleClick(devices()->viewport(),
                                 devices()->visualItemRect(devices()->item(1, 2)).center());
        QCOMPARE(messages(), QStringList({"设备名称重复！"}));
        QCOMPARE(reopened, QString("A 42"));
        m_dialog->setConfig();
        QCOMPARE(Config::instance()->devices.at(1).name, QString("B"));
        QCOMPARE(int(Config::instance()->devices.at(1).deviceId), 42);
        QCOMPARE(int(Config::instance()->devices.at(0).deviceId), 1);
    }

    // Removing a device that tags use asks first; the tags keep its name
    // either way, so the library reports them later.
    void removeDevice_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("removed");
        QTest::newRow("used, confirmed") << int(QMessageBox::Yes) << true;
        QTest::newRow("used, cancelled") << int(QMessageBox::No) << false;
    }
    void removeDevice()
    {
        QFETCH(int, button);
        QFETCH(bool, removed);
        Config::instance()->devices = {device("A"), device("B")};
        QStandardItemModel *tags = Config::instance()->addressTagModel();
        for (int i = 0; i < 2; ++i)
            tags->appendRow({new QStandardItem("tag"), new QStandardItem("B")});
        m_dialog->getConfig();
        devices()->selectRow(1);
        m_steps << [button](const ModalRequest &) { return accepted(button); };
        child<QPushButton>(m_dialog.get(), "removeDevice")->click();
        m_dialog->setConfig();

        const QString question = ModalSeam::history().value(0).text;
        QVERIFY2(question.contains("2") && question.contains("B"), qPrintable(question));
        QCOMPARE(Config::instance()->devices.size(), removed ? 1 : 2);
        QCOMPARE(m_changed->count(), removed ? 1 : 0);
        QCOMPARE(tags->index(1, Config::DeviceColumn).data(), QVariant("B"));
    }

    // The language count applies on OK only; confirming the dialog unchanged
    // neither marks the project modified nor alters what is saved.
    void languageCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("up, OK") << 3 << true << QStringList({"中文", "English", "语言3"});
        QTest::newRow("down, OK") << 1 << true << QStringList({"中文"});
        QTest::newRow("down, cancel") << 1 << false << QStringList({"中文", "English"});
        QTest::newRow("unchanged, OK") << 2 << true << QStringList({"中文", "English"});
    }
    void languageCount()
    {
        QFETCH(int, count);
        QFETCH(bool, ok);
        QFETCH(QStringList, after);
        Config *config = Config::instance();
        DevicePara dev = device("PLC");
        dev.baud = 19200;
        dev.comDelay = 40;
        config->devices = {dev, device("HMI2")};
        config->languages.append({"English", "备注", QFont("Arial", 12)});
        config->macroPw = "m";
        config->encryption = 1;
        const QByteArray before = ProjectFile::projectBytes();
        m_steps << [&](const ModalRequest &) {
            child<QComboBox>(m_dialog.get(), "lanNum")->setCurrentIndex(count - 1);
            return ok ? accepted() : cancelled();
        };
        QCOMPARE(m_dialog->run(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QStringList names;
        for (const LanguagePara &language : qAsConst(config->languages))
            names << language.name;
        QCOMPARE(names, after);
        const bool changed = ok && count != 2;
        QCOMPARE(m_changed->count(), changed ? 1 : 0);
        QCOMPARE(ProjectFile::projectBytes() == before, !changed);
    }

    // A rename carries the tags naming the device with it; the panel's own
    // name is no device's, in either interface language.
    void renameDevice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("renamed") << "PLC2" << false;
        QTest::newRow("panel, Chinese") << "本地" << true;
        QTest::newRow("panel, English, any case") << "LOCAL" << true;
    }
    void renameDevice()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        Config *config = Config::instance();
        config->devices = {device("PLC"), device("Other")};
        QStandardItemModel *tags = config->addressTagModel();
        for (const char *dev : {"PLC", "本地", "Other", "PLC"})
            tags->appendRow({new QStandardItem("t"), new QStandardItem(dev),
                             new QStandardItem("LW 1"), new QStandardItem("Int16"),
                             new QStandardItem("2")});
        m_dialog->getConfig();
        m_steps << confirmDevice(name);
        m_dialog->tableDeviceDoubleClicked(0, 0);
        m_dialog->setConfig();

        QCOMPARE(messages().size(), refused ? 1 : 0);
        const QString now = refused ? "PLC" : name;
        QStringList cells;
        for (int row = 0; row < tags->rowCount(); ++row) {
            AddressPara para;
            QCOMPARE(config->tagAt(false, row, para), int(Config::TagOk));
            cells << tags->item(row, Config::DeviceColumn)->text();
        }
        QCOMPARE(cells, QStringList({now, "本地", "Other", now}));
        QCOMPARE(m_changed->count(), refused ? 0 : 1);
    }

    // A device confirmed untouched stays as the file has it, whatever its
    // fields can show; a renamed one keeps its other fields too.
    void deviceUntouched_data()
    {
        QTest::addColumn<DevicePara>("stored");
        const auto with = [](const std::function<void(DevicePara &)> &change) {
            DevicePara dev = device("PLC");
            change(dev);
            return dev;
        };
        QTest::newRow("station 0") << with([](DevicePara &d) { d.deviceId = 0; });
        QTest::newRow("retries 200") << with([](DevicePara &d) { d.retryNum = 200; });
        QTest::newRow("time-out 60000") << with([](DevicePara &d) { d.overtime = 60000; });
        QTest::newRow("delays -1, 99999")
            << with([](DevicePara &d) { d.comDelay = -1, d.resDelay = 99999; });
        QTest::newRow("unknown protocol, type, parity")
            << with([](DevicePara &d) { d.protocol = 9, d.rsType = 3, d.parity = 5; });
        QTest::newRow("odd baud and bits")
            << with([](DevicePara &d) { d.baud = 12345, d.dataBits = 9, d.stopBits = 0; });
        QTest::newRow("port beyond the panel") << with([](DevicePara &d) { d.port = 7; });
    }
    void deviceUntouched()
    {
        QFETCH(DevicePara, stored);
        Config *config = Config::instance();
        config->devices = {stored};
        const QByteArray before = ProjectFile::projectBytes();
        m_steps << [this](const ModalRequest &) {
            m_steps << confirmDevice();
            m_dialog->tableDeviceDoubleClicked(0, 0);
            return accepted();
        };
        QCOMPARE(m_dialog->run(), int(QDialog::Accepted));
        QCOMPARE(ProjectFile::projectBytes(), before);
        QCOMPARE(m_changed->count(), 0);

        m_steps << confirmDevice("Renamed");
        m_dialog->tableDeviceDoubleClicked(0, 0);
        m_dialog->setConfig();
        const QByteArray renamed = ProjectFile::projectBytes();
        stored.name = "Renamed";
        config->devices = {stored};
        QCOMPARE(renamed, ProjectFile::projectBytes());
    }

    // A value typed outside its range is named, not cut to the limit; the
    // device stays as it was.
    void outOfRangeEntry_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("station 0") << "station" << 0 << "站号应在1到255之间。";
        QTest::newRow("time-out 6000") << "overtime" << 6000 << "通讯超时应在0到5000之间。";
        QTest::newRow("retries 101") << "retry" << 101 << "重发次数应在0到100之间。";
        QTest::newRow("retries 100") << "retry" << 100 << "";
    }
    void outOfRangeEntry()
    {
        QFETCH(QString, box);
        QFETCH(int, value);
        QFETCH(QString, message);
        Config::instance()->devices = {device("PLC")};
        const QByteArray before = ProjectFile::projectBytes();
        m_dialog->getConfig();
        m_steps << [&](const ModalRequest &request) {
            child<QSpinBox>(deviceDialog(), qPrintable(box))->setValue(value);
            return confirmDevice()(request);
        };
        if (!message.isEmpty())
            m_steps << [](const ModalRequest &) { return accepted(); };
        m_dialog->tableDeviceDoubleClicked(0, 0);
        m_dialog->setConfig();
        QCOMPARE(messages(), message.isEmpty() ? QStringList() : QStringList(message));
        QCOMPARE(ProjectFile::projectBytes() == before, !message.isEmpty());
    }

    // Generated projects come through the settings dialog, with each device
    // opened and confirmed, byte for byte.
    void generatedProjectsUntouched_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 30; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void generatedProjectsUntouched()
    {
        QFETCH(quint32, seed);
        ProjectGenerator::Options options;
        options.screens = 1;
        options.shapesPerScreen = 2;
        options.encoded = seed % 2 == 0;
        ProjectGenerator(seed).build(options);
        const QByteArray before = ProjectFile::projectBytes();
        m_steps << [this](const ModalRequest &) {
            for (int row = 0; row < Config::instance()->devices.size(); ++row) {
                m_steps << confirmDevice();
                m_dialog->tableDeviceDoubleClicked(row, 0);
            }
            return accepted();
        };
        QCOMPARE(m_dialog->run(), int(QDialog::Accepted));
        QCOMPARE(m_changed->count(), 0);
        QVERIFY(ProjectFile::projectBytes() == before);
    }

    // Lowering the language count asks first, naming how many texts the
    // next save leaves out; cancelling the question keeps the count. The
    // texts stay for the session, also through OK in the text library, and
    // come back with the count and the language they belong to.
    void lowerLanguageCount_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("question cancelled") << false;
    }
    void lowerLanguageCount()
    {
        QFETCH(bool, confirm);
        Config *config = Config::instance();
        config->languages = {{"中文", "", QFont("宋体", 10)},
                             {"English", "en", QFont("Arial", 12)},
                             {"日本語", "ja", QFont("Arial", 11)}};
        TextLib *library = config->textLib();
        library->add("灯", {{"关", "off", "オフ"}, {"开", "on", ""}});
        library->add("门", {{"门", "door", "ドア"}});
        const TextLib original = *library;
        const QByteArray before = ProjectFile::projectBytes();
        auto setCount = [this](int count) {
            return [this, count](const ModalRequest &) {
                child<QComboBox>(m_dialog.get(), "lanNum")->setCurrentIndex(count - 1);
                return accepted();
            };
        };

        QString question;
        m_steps << setCount(2) << [&](const ModalRequest &request) {
            question = request.text;
            return confirm ? accepted() : cancelled();
        };
        m_dialog->run();
        const QRegularExpressionMatch named = QRegularExpression("\\d+").match(question);
        QVERIFY2(named.hasMatch(), qPrintable(question));
        QCOMPARE(named.captured().toInt(), nonEmptyTexts(original, 2));
        if (!confirm) {
            QCOMPARE(child<QComboBox>(m_dialog.get(), "lanNum")->currentText(), QString("3"));
            QCOMPARE(config->languages.size(), 3);
            QCOMPARE(ProjectFile::projectBytes(), before);
            return;
        }
        QCOMPARE(config->languages.size(), 2);

        // OK in the text library after an edit keeps the hidden texts.
        TextLibDialog texts;
        texts.reloadTable();
        QCOMPARE(texts.table()->columnCount(), 3);
        texts.table()->item(0, 2)->setText("OFF");
        texts.on_ok_clicked();
        TextLib edited;
        edited.add("灯", {{"关", "OFF", "オフ"}, {"开", "on", ""}});
        edited.add("门", {{"门", "door", "ドア"}});
        QCOMPARE(*library, edited);

        // The file leaves out exactly the texts the question named.
        const TextLib saved = savedTextTags(ProjectFile::projectBytes());
        QCOMPARE(nonEmptyTexts(saved), nonEmptyTexts(edited) - named.captured().toInt());
        QCOMPARE(saved, TextLib::fromRecords(edited.records(), 2));

        m_steps << setCount(3);
        m_dialog->run();
        QCOMPARE(config->languages.size(), 3);
        QCOMPARE(config->languages.at(2).name, QString("日本語"));
        QCOMPARE(config->languages.at(2).font.toString(), QFont("Arial", 11).toString());
        QCOMPARE(savedTextTags(ProjectFile::projectBytes()), edited);
    }

    // What the dialog does reaches the project on OK only, as one undo step
    // named for it that brings the saved bytes back exactly; Cancel leaves
    // the bytes and the history as they were. Tags, and bindings with an
    // address entered on a device, follow a renamed device there and back,
    // also when two devices trade names.
    void commitsOneStep_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("tagDevices"); // after OK
        const QStringList untouched({"PLC", "Other", "PLC", "gone"});
        const struct
        {
            const char *edit;
            const char *text;
            QStringList tags;
        } rows[] = {
            {"rename", "重命名设备 PLC2", {"PLC2", "Other", "PLC2", "gone"}},
            {"swap", "修改设备", {"Other", "PLC", "Other", "gone"}},
            {"add", "添加设备", untouched},
            {"remove", "删除设备", untouched},
            {"languages down", "修改语言", untouched},
            {"languages up", "修改语言", untouched},
            {"encryption", "修改工程设置", untouched},
            {"rename and encryption", "修改工程设置", {"PLC2", "Other", "PLC2", "gone"}},
        };
        for (const auto &row : rows) {
            for (const bool ok : {true, false}) {
                QTest::addRow("%s, %s", row.edit, ok ? "OK" : "cancel")
                    << QString(row.edit) << ok << QString(row.text) << row.tags;
            }
        }
    }
    void commitsOneStep()
    {
        QFETCH(QString, edit);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        QFETCH(QStringList, tagDevices);
        Config *config = Config::instance();
        config->devices = {device("PLC"), device("Other")};
        config->languages.append({"English", "en", QFont("Arial", 12)});
        config->textLib()->add("灯", {{"关", "off"}, {"开", "on"}});
        config->encryption = 1;
        QStandardItemModel *tags = config->addressTagModel();
        for (const char *dev : {"PLC", "Other", "PLC", "gone"})
            tags->appendRow({new QStandardItem("t"), new QStandardItem(dev),
                             new QStandardItem("LW 1"), new QStandardItem("Int16"),
                             new QStandardItem("2")});
        // A shape bound to an address on each device the tags name.
        DrawScene *screen = DrawManager::instance()->createScreen(1);
        QGraphicsItem *shape = scenetest::addRect(screen, QRectF(10, 10, 40, 40));
        QVector<Binding> bindings;
        for (const char *dev : {"PLC", "Other", "PLC", "gone"}) {
            Binding binding;
            binding.device = dev;
            binding.address = "LW 1";
            binding.format = "Int16";
            bindings << binding;
        }
        setShapeBindings(shape, bindings);
        const auto tagCells = [tags, shape] {
            QStringList cells;
            for (int row = 0; row < tags->rowCount(); ++row)
                cells << tags->item(row, Config::DeviceColumn)->text();
            QStringList bound;
            for (const Binding &binding : shapeBindings(shape))
                bound << binding.device;
            // Bindings name the devices the tags do, in the same order.
            return bound == cells ? cells : QStringList{"bindings:"} + bound;
        };
        const QStringList tagsBefore = tagCells();
        const QByteArray before = ProjectFile::projectBytes();
        QUndoStack *stack = ProjectDocument::current()->undoStack();

        const auto setCount = [this](int count) {
            child<QComboBox>(m_dialog.get(), "lanNum")->setCurrentIndex(count - 1);
        };
        const auto rename = [this](int row, const QString &name) {
            m_steps.prepend(confirmDevice(name));
            m_dialog->tableDeviceDoubleClicked(row, 0);
        };
        m_steps << [&](const ModalRequest &) {
            if (edit.startsWith("rename"))
                rename(0, "PLC2");
            if (edit == "swap") {
                rename(0, "tmp");
                rename(1, "PLC");
                rename(0, "Other");
            }
            if (edit == "add") {
                m_steps.prepend(confirmDevice("PLC3"));
                m_dialog->on_addDevice_clicked();
            }
            if (edit == "remove") {
                devices()->selectRow(1);
                m_steps.prepend([](const ModalRequest &) { return accepted(); });
                child<QPushButton>(m_dialog.get(), "removeDevice")->click();
            }
            if (edit == "languages down") {
                m_steps.prepend([](const ModalRequest &) { return accepted(); });
                setCount(1);
            }
            if (edit == "languages up")
                setCount(4);
            if (edit.endsWith("encryption"))
                child<QCheckBox>(m_dialog.get(), "encrpty")->click();
            return ok ? accepted() : cancelled();
        };
        m_dialog->run();

        if (!ok) {
            QCOMPARE(ProjectFile::projectBytes(), before);
            QCOMPARE(stack->count(), 0);
            QCOMPARE(tagCells(), tagsBefore);
            QCOMPARE(m_changed->count(), 0);
            return;
        }
        const QByteArray after = ProjectFile::projectBytes();
        QVERIFY(after != before);
        QCOMPARE(stack->count(), 1);
        QCOMPARE(stack->text(0), text);
        QCOMPARE(tagCells(), tagDevices);
        QCOMPARE(m_changed->count(), 1);
        stack->undo();
        QCOMPARE(ProjectFile::projectBytes(), before);
        QCOMPARE(tagCells(), tagsBefore);
        stack->redo();
        QCOMPARE(ProjectFile::projectBytes(), after);

        // Opened again on the project as it now is, an untouched OK adds
        // nothing.
        m_steps << [](const ModalRequest &) { return accepted(); };
        m_dialog->run();
        QCOMPARE(stack->count(), 1);
        QCOMPARE(ProjectFile::projectBytes(), after);
    }

    // Every password flow through the modal seam. A typed entry "p/c" fills
    // the set dialog, a plain one answers the verify prompt; messages are
    // acknowledged and running out of entries cancels. Encryption is guarded
    // by the project password alone, and a box stays on unless its password
    // is given within three tries.
    void passwords_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("projectPw");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after"); // the password, or "1"/"0" for encryption
        QTest::newRow("set empty, then cancel")
            << "prjPassword" << "" << QStringList({"/"}) << "请输入密码！" << "";
        QTest::newRow("set, mismatch in case only, then match")
            << "prjPassword" << "" << QStringList({"abc/Abc", "Abc/Abc"})
            << "输入密码和确认密码不一致！" << "Abc";
        QTest::newRow("project off, wrong thrice")
            << "prjPassword" << "secret" << QStringList({"a", "b", "Secret"}) << "密码验证失败！"
            << "secret";
        QTest::newRow("project off, right at the third")
            << "prjPassword" << "secret" << QStringList({"a", "b", "secret"}) << "" << "";
        QTest::newRow("macro off") << "macroPassword" << "" << QStringList({"macro"}) << "" << "";
        QTest::newRow("encryption off, no password") << "encrpty" << "" << QStringList() << ""
                                                     << "0";
        QTest::newRow("encryption off, project password")
            << "encrpty" << "pw" << QStringList({"pw"}) << "" << "0";
        QTest::newRow("encryption off, macro password refused")
            << "encrpty" << "pw" << QStringList({"macro", "macro", "macro"}) << "密码验证失败！"
            << "1";
    }
    void passwords()
    {
        QFETCH(QString, box);
        QFETCH(QString, projectPw);
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, after);
        Config *config = Config::instance();
        config->projectPw = projectPw;
        config->macroPw = "macro";
        config->encryption = 1;
        const auto state = [&] {
            return box == "prjPassword"     ? config->projectPw
                   : box == "macroPassword" ? config->macroPw
                                            : QString::number(config->encryption);
        };
        const QString before = state();
        m_dialog->getConfig();
        ModalSeam::setHandler([&](const ModalRequest &request) {
            if (request.kind == ModalRequest::Message)
                return accepted();
            if (typed.isEmpty())
                return cancelled();
            const QStringList entry = typed.takeFirst().split('/');
            if (request.kind != ModalRequest::Dialog)
                return accepted(QMessageBox::Yes, entry.at(0));
            QDialog *dialog = child<QDialog>(m_dialog.get(), "passwordDialog");
            child<QLineEdit>(dialog, "password")->setText(entry.at(0));
            child<QLineEdit>(dialog, "confirm")->setText(entry.value(1));
            return accepted();
        });
        QCheckBox *checkBox = child<QCheckBox>(m_dialog.get(), qPrintable(box));
        checkBox->click();
        QCOMPARE(state(), before);
        m_dialog->setConfig();

        QCOMPARE(state(), after);
        QCOMPARE(checkBox->isChecked(), !after.isEmpty() && after != "0");
        QCOMPARE(messages(), message.isEmpty() ? QStringList() : QStringList(message));
        QCOMPARE(m_changed->count(), after == before ? 0 : 1);
    }
};

QTEST_MAIN(TestProjectConfig)
#include "tst_projectconfig.moc"
