#include "app/modalseam.h"
#include "device/deviceadddialog.h"
#include "device/projectconfigdialog.h"
#include "project/projectfile.h"
#include "property/fonteditwidget.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "taglib/lineedit.h"

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

DevicePara device(const QString &name)
{
    DevicePara dev;
    dev.name = name;
    return dev;
}

void addTag(const QString &name, const QString &deviceName)
{
    QList<QStandardItem *> items;
    for (const QString &cell : {name, deviceName, QStringLiteral("LW 1"), QStringLiteral("Int16"),
                                QStringLiteral("2"), QString()})
        items << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(items);
}

} // namespace

class TestProjectConfig : public QObject
{
    Q_OBJECT

    std::unique_ptr<ProjectConfigDialog> m_dialog;
    std::unique_ptr<QSignalSpy> m_changed;
    QQueue<Step> m_steps;

    QTableWidget *devices() const { return child<QTableWidget>(m_dialog.get(), "devices"); }
    QTableWidget *languages() const { return child<QTableWidget>(m_dialog.get(), "languages"); }
    QStringList deviceRow(int row) const
    {
        QStringList texts;
        for (int column = 0; column < devices()->columnCount(); ++column)
            texts << devices()->item(row, column)->text();
        return texts;
    }
    QStringList askedTitles() const
    {
        QStringList titles;
        for (const ModalRequest &request : ModalSeam::history())
            titles << request.title;
        return titles;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const ModalRequest &request : ModalSeam::history()) {
            if (request.kind == ModalRequest::Message)
                texts << request.text;
        }
        return texts;
    }

    // The device dialog open at the moment, with name typed in and OK.
    Step confirmDevice(const QString &name = QString(), int station = 0)
    {
        return [this, name, station](const ModalRequest &request) {
            if (request.kind != ModalRequest::Dialog)
                return cancelled();
            DeviceAddDialog *dialog = m_dialog->findChild<DeviceAddDialog *>();
            if (!name.isEmpty())
                child<LineEdit>(dialog, "name")->setText(name);
            if (station)
                child<QSpinBox>(dialog, "station")->setValue(station);
            return accepted();
        };
    }
    // The password dialog open at the moment, filled in and confirmed.
    Step typePasswords(const QString &password, const QString &confirm)
    {
        return [this, password, confirm](const ModalRequest &) {
            QDialog *dialog = child<QDialog>(m_dialog.get(), "passwordDialog");
            child<QLineEdit>(dialog, "password")->setText(password);
            child<QLineEdit>(dialog, "confirm")->setText(confirm);
            return accepted();
        };
    }
    static Step answer(const ModalAnswer &given)
    {
        return [given](const ModalRequest &) { return given; };
    }
    void clickBox(const char *name) { child<QCheckBox>(m_dialog.get(), name)->click(); }
    bool boxChecked(const char *name) const
    {
        return child<QCheckBox>(m_dialog.get(), name)->isChecked();
    }

private slots:
    void init()
    {
        ProcessFixture::start();
        m_steps.clear();
        ModalSeam::setHandler([this](const ModalRequest &request) {
            return m_steps.isEmpty() ? cancelled() : m_steps.dequeue()(request);
        });
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

    void deviceRowTexts_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("rsType");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("formatText");
        QTest::newRow("odd") << 1 << 0 << 19200 << 7 << 2 << 2 << "COM2-RS485"
                             << "19200-7O2";
        QTest::newRow("even rs232") << 2 << 1 << 115200 << 8 << 1 << 1 << "COM3-RS232"
                                    << "115200-8E1";
    }
    void deviceRowTexts()
    {
        QFETCH(int, port);
        QFETCH(int, rsType);
        QFETCH(int, baud);
        QFETCH(int, dataBits);
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        QFETCH(QString, portText);
        QFETCH(QString, formatText);
        Config::instance()->hard = 5; // three ports
        DevicePara dev = device("PLC");
        dev.deviceId = 7;
        dev.overtime = 250;
        m_steps << [&](const ModalRequest &) {
            DeviceAddDialog *dialog = m_dialog->findChild<DeviceAddDialog *>();
            child<QComboBox>(dialog, "port")->setCurrentIndex(port);
            child<QComboBox>(dialog, "type")->setCurrentIndex(rsType);
            child<QComboBox>(dialog, "baud")->setCurrentText(QString::number(baud));
            child<QComboBox>(dialog, "dataBits")->setCurrentText(QString::number(dataBits));
            child<QComboBox>(dialog, "stopBits")->setCurrentText(QString::number(stopBits));
            child<QComboBox>(dialog, "parity")->setCurrentIndex(parity);
            return accepted();
        };
        QVERIFY(m_dialog->showDeviceAddDialog(dev));
        QCOMPARE(ProjectConfigDialog::deviceRowTexts(dev),
                 QStringList({"PLC", Config::instance()->protocolNames().value(0), portText,
                              formatText, "7", "250"}));
    }

    void addedDeviceDefaults()
    {
        m_dialog->run(); // cancelled: the table is filled all the same
        m_steps << confirmDevice();
        child<QPushButton>(m_dialog.get(), "addDevice")->click();
        QCOMPARE(devices()->rowCount(), 1);
        QCOMPARE(deviceRow(0),
                 QStringList({"设备_1", Config::instance()->protocolNames().value(0), "COM1-RS485",
                              "9600-8N1", "1", "1000"}));
        const DevicePara &stored = Config::instance()->devices.value(0);
        QCOMPARE(stored.name, QString("设备_1"));
        QCOMPARE(stored.comDelay, 0);
        QCOMPARE(stored.resDelay, 0);
        QCOMPARE(int(stored.retryNum), 0);
        QCOMPARE(m_changed->count(), 1);
    }

    void proposedNameIsFree_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("two others") << QStringList({"A", "B"}) << "设备_3";
        QTest::newRow("after a removal") << QStringList({"设备_1", "设备_3"}) << "设备_4";
        QTest::newRow("two taken") << QStringList({"设备_3", "X", "设备_4"}) << "设备_5";
    }
    void proposedNameIsFree()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, proposed);
        for (const QString &name : qAsConst(existing))
            Config::instance()->devices.append(device(name));
        m_dialog->getConfig();
        QString shown;
        m_steps << [&](const ModalRequest &) {
            shown = child<LineEdit>(m_dialog->findChild<DeviceAddDialog *>(), "name")->text();
            return cancelled();
        };
        m_dialog->on_addDevice_clicked();
        QCOMPARE(shown, proposed);
    }

    void addGoesBelowCurrentRow_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("none current") << -1 << QStringList({"新", "A", "B"});
        QTest::newRow("first current") << 0 << QStringList({"A", "新", "B"});
        QTest::newRow("last current") << 1 << QStringList({"A", "B", "新"});
    }
    void addGoesBelowCurrentRow()
    {
        QFETCH(int, current);
        QFETCH(QStringList, order);
        Config::instance()->devices = {device("A"), device("B")};
        m_dialog->getConfig();
        devices()->setCurrentCell(current, 0);
        m_steps << confirmDevice("新");
        m_dialog->on_addDevice_clicked();
        QStringList stored;
        QStringList shown;
        for (int i = 0; i < order.size(); ++i) {
            stored << Config::instance()->devices.value(i).name;
            shown << devices()->item(i, 0)->text();
        }
        QCOMPARE(stored, order);
        QCOMPARE(shown, order);
        QCOMPARE(devices()->currentRow(), order.indexOf("新"));
    }

    void addCancelledChangesNothing()
    {
        m_dialog->getConfig();
        m_dialog->on_addDevice_clicked();
        QCOMPARE(devices()->rowCount(), 0);
        QVERIFY(Config::instance()->devices.isEmpty());
        QCOMPARE(m_changed->count(), 0);
    }

    void duplicateNameAsksAgainKeepingTheEntry_data()
    {
        QTest::addColumn<bool>("finallyCancel");
        QTest::newRow("cancel after the refusal") << true;
        QTest::newRow("unique name after the refusal") << false;
    }
    void duplicateNameAsksAgainKeepingTheEntry()
    {
        QFETCH(bool, finallyCancel);
        Config::instance()->devices = {device("A"), device("B")};
        m_dialog->getConfig();
        QString nameOnReopen;
        int stationOnReopen = 0;
        m_steps << confirmDevice("A", 42) << answer(accepted());
        m_steps << [&](const ModalRequest &) {
            DeviceAddDialog *dialog = m_dialog->findChild<DeviceAddDialog *>();
            nameOnReopen = child<LineEdit>(dialog, "name")->text();
            stationOnReopen = child<QSpinBox>(dialog, "station")->value();
            if (finallyCancel)
                return cancelled();
            child<LineEdit>(dialog, "name")->setText("C");
            return accepted();
        };
        m_dialog->tableDeviceDoubleClicked(1, 3);

        QCOMPARE(messages(), QStringList({"设备名称重复！"}));
        QCOMPARE(nameOnReopen, QString("A"));
        QCOMPARE(stationOnReopen, 42);
        const DevicePara &edited = Config::instance()->devices.at(1);
        QCOMPARE(edited.name, QString(finallyCancel ? "B" : "C"));
        QCOMPARE(int(edited.deviceId), finallyCancel ? 1 : 42);
        QCOMPARE(devices()->item(1, 0)->text(), edited.name);
        QCOMPARE(devices()->item(1, 4)->text(), QString::number(edited.deviceId));
        QCOMPARE(m_changed->count(), finallyCancel ? 0 : 1);
    }

    void doubleClickEditsKeepingOwnName()
    {
        Config::instance()->devices = {device("A"), device("B")};
        m_dialog->getConfig();
        child<QTabWidget>(m_dialog.get(), "tabs")->setCurrentIndex(2);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        m_steps << confirmDevice(QString(), 9);
        QWidget *viewport = devices()->viewport();
        const QPoint at = devices()->visualItemRect(devices()->item(1, 2)).center();
        mouseclicks::click(viewport, at);
        QVERIFY2(ModalSeam::history().isEmpty(), "a single click opened the device");
        mouseclicks::send(viewport, QEvent::MouseButtonDblClick, at);
        mouseclicks::send(viewport, QEvent::MouseButtonRelease, at);
        QVERIFY(messages().isEmpty());
        QCOMPARE(int(Config::instance()->devices.at(1).deviceId), 9);
        QCOMPARE(Config::instance()->devices.at(1).name, QString("B"));
        QCOMPARE(devices()->item(1, 4)->text(), QString("9"));
        QCOMPARE(int(Config::instance()->devices.at(0).deviceId), 1);
    }

    void portsFollowTheModel_data()
    {
        QTest::addColumn<int>("hard");
        QTest::addColumn<int>("storedPort");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<int>("shown");
        QTest::newRow("two ports") << 0 << 1 << QStringList({"COM1", "COM2"}) << 1;
        QTest::newRow("three ports") << 5 << 2 << QStringList({"COM1", "COM2", "COM3"}) << 2;
        QTest::newRow("port beyond the model")
            << 0 << 3 << QStringList({"COM1", "COM2", "COM4（不可用）"}) << 2;
    }
    void portsFollowTheModel()
    {
        QFETCH(int, hard);
        QFETCH(int, storedPort);
        QFETCH(QStringList, offered);
        QFETCH(int, shown);
        Config::instance()->hard = quint8(hard);
        DevicePara dev = device("PLC");
        dev.port = quint8(storedPort);
        QStringList items;
        int current = -1;
        DeviceAddDialog dialog;
        ModalSeam::setHandler([&](const ModalRequest &) {
            auto *ports = child<QComboBox>(&dialog, "port");
            for (int i = 0; i < ports->count(); ++i)
                items << ports->itemText(i);
            current = ports->currentIndex();
            return accepted();
        });
        QCOMPARE(dialog.setDevice(dev), int(QDialog::Accepted));
        QCOMPARE(items, offered);
        QCOMPARE(current, shown);
        QCOMPARE(int(dev.port), storedPort);
    }

    void unavailablePortGivesWayToAPick()
    {
        DevicePara dev = device("PLC");
        dev.port = 5;
        dev.baud = 1200; // not on offer either: kept as well
        DeviceAddDialog dialog;
        ModalSeam::setHandler([&](const ModalRequest &) {
            child<QComboBox>(&dialog, "port")->setCurrentIndex(1);
            return accepted();
        });
        dialog.setDevice(dev);
        QCOMPARE(int(dev.port), 1);
        QCOMPARE(dev.baud, 1200);
    }

    void removeDevice_data()
    {
        QTest::addColumn<int>("tagsUsingIt");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("removed");
        QTest::newRow("unused") << 0 << int(QMessageBox::Cancel) << true;
        QTest::newRow("used, confirmed") << 2 << int(QMessageBox::Yes) << true;
        QTest::newRow("used, cancelled") << 2 << int(QMessageBox::No) << false;
    }
    void removeDevice()
    {
        QFETCH(int, tagsUsingIt);
        QFETCH(int, button);
        QFETCH(bool, removed);
        Config::instance()->devices = {device("A"), device("B")};
        for (int i = 0; i < tagsUsingIt; ++i)
            addTag(QStringLiteral("tag%1").arg(i), "B");
        addTag("other", "A");
        m_dialog->getConfig();
        devices()->selectRow(1);
        if (tagsUsingIt)
            m_steps << answer(accepted(button));
        child<QPushButton>(m_dialog.get(), "removeDevice")->click();

        if (tagsUsingIt) {
            QCOMPARE(ModalSeam::history().size(), 1);
            const ModalRequest &question = ModalSeam::history().first();
            QVERIFY2(question.text.contains("2") && question.text.contains("B"),
                     qPrintable(question.text));
            QCOMPARE(question.buttons, QStringList({"删除设备", "取消"}));
        } else {
            QVERIFY(ModalSeam::history().isEmpty());
        }
        QCOMPARE(Config::instance()->devices.size(), removed ? 1 : 2);
        QCOMPARE(devices()->rowCount(), removed ? 1 : 2);
        QCOMPARE(m_changed->count(), removed ? 1 : 0);
        // The tags keep naming it, so the library reports them later.
        const QStandardItemModel *tags = Config::instance()->addressTagModel();
        QCOMPARE(tags->index(0, Config::DeviceColumn).data().toString(),
                 QString(tagsUsingIt ? "B" : "A"));
    }

    void languageCount_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("up, OK") << 1 << 3 << true << QStringList({"中文", "语言2", "语言3"});
        QTest::newRow("down, OK") << 2 << 1 << true << QStringList({"中文"});
        QTest::newRow("down, cancel") << 2 << 1 << false << QStringList({"中文", "English"});
    }
    void languageCount()
    {
        QFETCH(int, before);
        QFETCH(int, count);
        QFETCH(bool, ok);
        QFETCH(QStringList, after);
        Config *config = Config::instance();
        if (before == 2) {
            LanguagePara english;
            english.name = "English";
            english.font = QFont("Arial", 12);
            config->languages.append(english);
        }
        QString shownCount;
        int shownRows = 0;
        m_steps << [&](const ModalRequest &) {
            auto *number = child<QComboBox>(m_dialog.get(), "lanNum");
            shownCount = number->currentText();
            shownRows = languages()->rowCount();
            number->setCurrentIndex(count - 1);
            return ok ? accepted() : cancelled();
        };
        QCOMPARE(m_dialog->run(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(shownCount, QString::number(before));
        QCOMPARE(shownRows, before);
        QStringList names;
        for (const LanguagePara &language : qAsConst(config->languages))
            names << language.name;
        QCOMPARE(names, after);
        QCOMPARE(m_changed->count(), ok ? 1 : 0);
        if (count == 3)
            QCOMPARE(config->languages.at(2).font, QFont("宋体", 10));
    }

    void languageShownOnOpening()
    {
        Config *config = Config::instance();
        LanguagePara english;
        english.name = "English";
        english.mark = "export";
        english.font = QFont("Arial", 12);
        config->languages.append(english);
        m_dialog->getConfig();
        QCOMPARE(child<QComboBox>(m_dialog.get(), "lanNum")->currentText(), QString("2"));
        QCOMPARE(languages()->rowCount(), 2);
        QCOMPARE(languages()->item(1, 2)->text(), QString("export"));
        auto *font = qobject_cast<FontEditWidget *>(languages()->cellWidget(1, 1));
        QVERIFY(font);
        QCOMPARE(child<QLabel>(font, "text")->text(), QString("[Arial, 12]"));
        // OK without an edit changes nothing, so nothing is marked modified.
        m_dialog->on_ok_clicked();
        QCOMPARE(m_changed->count(), 0);
    }

    void roundTripThroughTheProjectFile()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        Config *config = Config::instance();
        config->hard = 5;
        DevicePara dev = device("PLC");
        dev.port = 2;
        dev.rsType = 1;
        dev.baud = 19200;
        dev.dataBits = 7;
        dev.parity = 2;
        dev.stopBits = 2;
        dev.overtime = 300;
        dev.comDelay = 40;
        dev.resDelay = 50;
        dev.retryNum = 3;
        config->devices = {dev, device("HMI2")};
        m_steps << [&](const ModalRequest &) {
            child<QComboBox>(m_dialog.get(), "lanNum")->setCurrentIndex(1);
            languages()->item(1, 2)->setText("备注");
            return accepted();
        };
        m_dialog->run();
        m_steps << typePasswords("pw1", "pw1");
        clickBox("macroPassword");
        clickBox("encrpty");

        const QString file = folder.filePath("round.mvprg");
        QString error;
        QVERIFY2(ProjectFile::write(file, &error), qPrintable(error));
        const QByteArray saved = ProjectFile::projectBytes();
        const QStringList rows = {m_dialog->deviceRowTexts(config->devices.at(0)).join('|'),
                                  m_dialog->deviceRowTexts(config->devices.at(1)).join('|')};

        ProcessFixture::start();
        QCOMPARE(ProjectFile::load(file).status, ProjectFile::Loaded);
        m_dialog->getConfig();
        QCOMPARE(deviceRow(0).join('|'), rows.at(0));
        QCOMPARE(deviceRow(1).join('|'), rows.at(1));
        QCOMPARE(languages()->rowCount(), 2);
        QCOMPARE(languages()->item(1, 0)->text(), QString("语言2"));
        QCOMPARE(languages()->item(1, 2)->text(), QString("备注"));
        QVERIFY(boxChecked("macroPassword"));
        QVERIFY(!boxChecked("prjPassword"));
        QVERIFY(boxChecked("encrpty"));
        QCOMPARE(config->devices.at(0).comDelay, 40);
        QCOMPARE(config->devices.at(0).resDelay, 50);
        QCOMPARE(int(config->devices.at(0).retryNum), 3);
        // Opening and confirming the dialog unchanged writes the same file.
        m_steps << answer(accepted());
        m_dialog->run();
        QCOMPARE(ProjectFile::projectBytes(), saved);
    }

    void setPassword_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("typed"); // pairs; a missing pair cancels
        QTest::addColumn<QStringList>("refusals");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty then cancel") << "prjPassword"
                                           << "设置项目密码" << QStringList({"", ""})
                                           << QStringList({"请输入密码！"}) << QString();
        QTest::newRow("cancel at once")
            << "prjPassword"
            << "设置项目密码" << QStringList() << QStringList() << QString();
        QTest::newRow("mismatch in case only, then match")
            << "prjPassword"
            << "设置项目密码" << QStringList({"abc", "Abc", "Abc", "Abc"})
            << QStringList({"输入密码和确认密码不一致！"}) << "Abc";
        QTest::newRow("macro") << "macroPassword"
                               << "设置宏指令密码" << QStringList({"m", "m"}) << QStringList()
                               << "m";
    }
    void setPassword()
    {
        QFETCH(QString, box);
        QFETCH(QString, title);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, refusals);
        QFETCH(QString, stored);
        m_dialog->getConfig();
        for (int i = 0; i + 1 < typed.size(); i += 2) {
            m_steps << typePasswords(typed.at(i), typed.at(i + 1));
            if (i + 2 < typed.size() || stored.isEmpty())
                m_steps << answer(accepted());
        }
        clickBox(qPrintable(box));

        const Config *config = Config::instance();
        const QString &password = box == "prjPassword" ? config->projectPw : config->macroPw;
        QCOMPARE(password, stored);
        QCOMPARE(boxChecked(qPrintable(box)), !stored.isEmpty());
        QCOMPARE(messages(), refusals);
        QCOMPARE(askedTitles().first(), title);
        QCOMPARE(m_changed->count(), stored.isEmpty() ? 0 : 1);
    }

    void switchPasswordOff_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("answers"); // an empty entry cancels
        QTest::addColumn<bool>("cleared");
        QTest::newRow("project, right") << "prjPassword"
                                        << "项目密码验证" << QStringList({"secret"}) << true;
        QTest::newRow("project, wrong thrice")
            << "prjPassword"
            << "项目密码验证" << QStringList({"a", "b", "Secret"}) << false;
        QTest::newRow("project, right at the third")
            << "prjPassword"
            << "项目密码验证" << QStringList({"a", "b", "secret"}) << true;
        QTest::newRow("project, cancelled") << "prjPassword"
                                            << "项目密码验证" << QStringList({QString()}) << false;
        QTest::newRow("macro, right") << "macroPassword"
                                      << "宏指令密码验证" << QStringList({"secret"}) << true;
    }
    void switchPasswordOff()
    {
        QFETCH(QString, box);
        QFETCH(QString, title);
        QFETCH(QStringList, answers);
        QFETCH(bool, cleared);
        Config *config = Config::instance();
        QString &password = box == "prjPassword" ? config->projectPw : config->macroPw;
        password = "secret";
        m_dialog->getConfig();
        QVERIFY(boxChecked(qPrintable(box)));
        for (const QString &typed : qAsConst(answers))
            m_steps << answer(typed.isEmpty() ? cancelled() : accepted(QMessageBox::Yes, typed));
        if (!cleared)
            m_steps << answer(accepted());
        clickBox(qPrintable(box));

        QCOMPARE(password, QString(cleared ? "" : "secret"));
        QCOMPARE(boxChecked(qPrintable(box)), !cleared);
        QCOMPARE(ModalSeam::history().first().kind, ModalRequest::PasswordInput);
        QCOMPARE(ModalSeam::history().first().title, title);
        QCOMPARE(messages(), cleared ? QStringList() : QStringList({"密码验证失败！"}));
        QCOMPARE(m_changed->count(), cleared ? 1 : 0);
        // Shown again, the box says what Config holds.
        m_dialog->getConfig();
        QCOMPARE(boxChecked(qPrintable(box)), !cleared);
    }

    void encryptionGuardedByProjectPassword_data()
    {
        QTest::addColumn<QString>("projectPw");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("encryption");
        QTest::newRow("no password") << QString() << QStringList() << 0;
        QTest::newRow("right password") << "pw" << QStringList({"pw"}) << 0;
        QTest::newRow("wrong password") << "pw" << QStringList({"a", "b", "c"}) << 1;
    }
    void encryptionGuardedByProjectPassword()
    {
        QFETCH(QString, projectPw);
        QFETCH(QStringList, answers);
        QFETCH(int, encryption);
        Config *config = Config::instance();
        config->encryption = 1;
        config->projectPw = projectPw;
        config->macroPw = "macro"; // never the guard
        m_dialog->getConfig();
        for (const QString &typed : qAsConst(answers))
            m_steps << answer(accepted(QMessageBox::Yes, typed));
        if (encryption)
            m_steps << answer(accepted());
        clickBox("encrpty");
        QCOMPARE(int(config->encryption), encryption);
        QCOMPARE(boxChecked("encrpty"), encryption != 0);
        QCOMPARE(m_changed->count(), encryption ? 0 : 1);
        if (!answers.isEmpty())
            QCOMPARE(askedTitles().first(), QString("项目密码验证"));

        // Switching it on again asks nothing.
        ModalSeam::setHandler([this](const ModalRequest &) { return cancelled(); });
        if (!encryption) {
            clickBox("encrpty");
            QCOMPARE(int(config->encryption), 1);
            QVERIFY(ModalSeam::history().isEmpty());
        }
    }
};

QTEST_MAIN(TestProjectConfig)
#include "tst_projectconfig.moc"
