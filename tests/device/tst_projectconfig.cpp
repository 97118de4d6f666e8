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

Step answer(const ModalAnswer &given)
{
    return [given](const ModalRequest &) { return given; };
}

DevicePara device(const QString &name)
{
    DevicePara dev;
    dev.name = name;
    return dev;
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
    DeviceAddDialog *deviceDialog() const { return m_dialog->findChild<DeviceAddDialog *>(); }
    QCheckBox *box(const QString &name) const
    {
        return child<QCheckBox>(m_dialog.get(), qPrintable(name));
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
    Step typePasswords(const QString &password, const QString &confirm)
    {
        return [this, password, confirm](const ModalRequest &) {
            QDialog *dialog = child<QDialog>(m_dialog.get(), "passwordDialog");
            child<QLineEdit>(dialog, "password")->setText(password);
            child<QLineEdit>(dialog, "confirm")->setText(confirm);
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

    // The table shows port and format in full, type and parity letter included.
    void deviceRowTexts()
    {
        Config::instance()->hard = 5; // three ports
        DevicePara dev = device("PLC");
        dev.deviceId = 7;
        dev.overtime = 250;
        m_steps << [&](const ModalRequest &) {
            child<QComboBox>(deviceDialog(), "port")->setCurrentIndex(2);
            child<QComboBox>(deviceDialog(), "type")->setCurrentIndex(1);
            child<QComboBox>(deviceDialog(), "baud")->setCurrentText("19200");
            child<QComboBox>(deviceDialog(), "dataBits")->setCurrentText("7");
            child<QComboBox>(deviceDialog(), "parity")->setCurrentIndex(2);
            child<QComboBox>(deviceDialog(), "stopBits")->setCurrentText("2");
            return accepted();
        };
        QVERIFY(m_dialog->showDeviceAddDialog(dev));
        QCOMPARE(ProjectConfigDialog::deviceRowTexts(dev),
                 QStringList({"PLC", Config::instance()->protocolNames().value(0), "COM3-RS232",
                              "19200-7O2", "7", "250"}));
    }

    // A new device goes below the current row, proposed a name no device
    // has (the count of devices plus one is taken here).
    void addGoesBelowCurrentRow_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("none current") << -1 << QStringList({"新", "设备_3", "B"});
        QTest::newRow("first current") << 0 << QStringList({"设备_3", "新", "B"});
        QTest::newRow("last current") << 1 << QStringList({"设备_3", "B", "新"});
    }
    void addGoesBelowCurrentRow()
    {
        QFETCH(int, current);
        QFETCH(QStringList, order);
        Config::instance()->devices = {device("设备_3"), device("B")};
        m_dialog->getConfig();
        devices()->setCurrentCell(current, 0);
        QString proposed;
        m_steps << [&](const ModalRequest &request) {
            proposed = child<LineEdit>(deviceDialog(), "name")->text();
            return confirmDevice("新")(request);
        };
        m_dialog->on_addDevice_clicked();
        QCOMPARE(proposed, QString("设备_4"));
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(Config::instance()->devices.value(i).name, order.at(i));
            QCOMPARE(devices()->item(i, 0)->text(), order.at(i));
        }
        QCOMPARE(devices()->currentRow(), order.indexOf("新"));
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
        m_steps << confirmDevice("A", 42) << answer(accepted());
        m_steps << [&](const ModalRequest &) {
            reopened = child<LineEdit>(deviceDialog(), "name")->text() + ' '
                + QString::number(child<QSpinBox>(deviceDialog(), "station")->value());
            child<LineEdit>(deviceDialog(), "name")->setText("B");
            return accepted();
        };
        QWidget *viewport = devices()->viewport();
        const QPoint at = devices()->visualItemRect(devices()->item(1, 2)).center();
        mouseclicks::click(viewport, at);
        QVERIFY2(ModalSeam::history().isEmpty(), "a single click opened the device");
        mouseclicks::send(viewport, QEvent::MouseButtonDblClick, at);
        mouseclicks::send(viewport, QEvent::MouseButtonRelease, at);
        QCOMPARE(messages(), QStringList({"设备名称重复！"}));
        QCOMPARE(reopened, QString("A 42"));
        QCOMPARE(Config::instance()->devices.at(1).name, QString("B"));
        QCOMPARE(int(Config::instance()->devices.at(1).deviceId), 42);
        QCOMPARE(devices()->item(1, 4)->text(), QString("42"));
        QCOMPARE(int(Config::instance()->devices.at(0).deviceId), 1);
    }

    // A port or baud rate the lists lack is shown as unavailable and kept
    // until the user picks another.
    void unavailablePortGivesWayToAPick()
    {
        DevicePara dev = device("PLC");
        dev.port = 3; // the model has two
        dev.baud = 1200;
        QStringList offered;
        DeviceAddDialog dialog;
        ModalSeam::setHandler([&](const ModalRequest &) {
            auto *ports = child<QComboBox>(&dialog, "port");
            for (int i = 0; i < ports->count(); ++i)
                offered << ports->itemText(i);
            offered << ports->currentText();
            return accepted();
        });
        QCOMPARE(dialog.setDevice(dev), int(QDialog::Accepted));
        QCOMPARE(offered, QStringList({"COM1", "COM2", "COM4（不可用）", "COM4（不可用）"}));
        QCOMPARE(int(dev.port), 3);
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
        QStandardItemModel *tags = Config::instance()->addressTagModel();
        for (int i = 0; i <= tagsUsingIt; ++i)
            tags->insertRow(0, {new QStandardItem("tag"), new QStandardItem(i ? "B" : "A")});
        m_dialog->getConfig();
        devices()->selectRow(1);
        if (tagsUsingIt)
            m_steps << answer(accepted(button));
        child<QPushButton>(m_dialog.get(), "removeDevice")->click();

        QCOMPARE(ModalSeam::history().size(), tagsUsingIt ? 1 : 0);
        if (tagsUsingIt) {
            const ModalRequest &question = ModalSeam::history().first();
            QVERIFY2(question.text.contains("2") && question.text.contains("B"),
                     qPrintable(question.text));
            QCOMPARE(question.buttons, QStringList({"删除设备", "取消"}));
        }
        QCOMPARE(Config::instance()->devices.size(), removed ? 1 : 2);
        QCOMPARE(devices()->rowCount(), removed ? 1 : 2);
        QCOMPARE(m_changed->count(), removed ? 1 : 0);
        // The tags keep naming it, so the library reports them later.
        QCOMPARE(tags->rowCount(), tagsUsingIt + 1);
        QCOMPARE(tags->index(0, Config::DeviceColumn).data(), QVariant(tagsUsingIt ? "B" : "A"));
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
        if (before == 2)
            config->languages.append({"English", "export", QFont("Arial", 12)});
        QString shown;
        m_steps << [&](const ModalRequest &) {
            auto *number = child<QComboBox>(m_dialog.get(), "lanNum");
            shown = number->currentText() + ' ' + QString::number(languages()->rowCount());
            if (before == 2) {
                auto *font = qobject_cast<FontEditWidget *>(languages()->cellWidget(1, 1));
                shown += ' ' + languages()->item(1, 2)->text() + child<QLabel>(font, "text")->text();
            }
            number->setCurrentIndex(count - 1);
            return ok ? accepted() : cancelled();
        };
        QCOMPARE(m_dialog->run(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(shown, before == 2 ? QString("2 2 export[Arial, 12]") : QString("1 1"));
        QStringList names;
        for (const LanguagePara &language : qAsConst(config->languages))
            names << language.name;
        QCOMPARE(names, after);
        QCOMPARE(m_changed->count(), ok ? 1 : 0);
        if (count == 3)
            QCOMPARE(config->languages.at(2).font, QFont("宋体", 10));
    }

    // Confirming the dialog unchanged neither marks the project modified
    // nor alters what is saved.
    void unchangedOkChangesNothing()
    {
        Config *config = Config::instance();
        DevicePara dev = device("PLC");
        dev.baud = 19200;
        dev.comDelay = 40;
        config->devices = {dev, device("HMI2")};
        config->languages.append({"English", "备注", QFont("Arial", 12)});
        config->macroPw = "m";
        config->encryption = 1;
        const QByteArray before = ProjectFile::projectBytes();
        m_steps << answer(accepted());
        QCOMPARE(m_dialog->run(), int(QDialog::Accepted));
        QVERIFY(box("macroPassword")->isChecked() && box("encrpty")->isChecked());
        QVERIFY(!box("prjPassword")->isChecked());
        QCOMPARE(m_changed->count(), 0);
        QCOMPARE(ProjectFile::projectBytes(), before);
    }

    void setPassword_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("typed"); // pairs; a missing pair cancels
        QTest::addColumn<QStringList>("refusals");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty then cancel") << "prjPassword" << "设置项目密码"
                                           << QStringList({"", ""})
                                           << QStringList({"请输入密码！"}) << QString();
        QTest::newRow("mismatch in case only, then match")
            << "prjPassword" << "设置项目密码" << QStringList({"abc", "Abc", "Abc", "Abc"})
            << QStringList({"输入密码和确认密码不一致！"}) << "Abc";
        QTest::newRow("macro") << "macroPassword" << "设置宏指令密码" << QStringList({"m", "m"})
                               << QStringList() << "m";
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
        this->box(box)->click();

        const Config *config = Config::instance();
        QCOMPARE(box == "prjPassword" ? config->projectPw : config->macroPw, stored);
        QCOMPARE(this->box(box)->isChecked(), !stored.isEmpty());
        QCOMPARE(messages(), refusals);
        QCOMPARE(ModalSeam::history().first().title, title);
        QCOMPARE(m_changed->count(), stored.isEmpty() ? 0 : 1);
    }

    // Each box switches off only after its password is given within three
    // tries; encryption is guarded by the project password alone.
    void switchOff_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("projectPw");
        QTest::addColumn<QStringList>("answers"); // an empty entry cancels
        QTest::addColumn<bool>("off");
        QTest::newRow("project, wrong thrice")
            << "prjPassword" << "secret" << QStringList({"a", "b", "Secret"}) << false;
        QTest::newRow("project, right at the third")
            << "prjPassword" << "secret" << QStringList({"a", "b", "secret"}) << true;
        QTest::newRow("project, cancelled")
            << "prjPassword" << "secret" << QStringList({QString()}) << false;
        QTest::newRow("macro, right") << "macroPassword" << "" << QStringList({"macro"}) << true;
        QTest::newRow("encryption, no password") << "encrpty" << "" << QStringList() << true;
        QTest::newRow("encryption, project password")
            << "encrpty" << "pw" << QStringList({"pw"}) << true;
        QTest::newRow("encryption, macro password")
            << "encrpty" << "pw" << QStringList({"macro", "macro", "macro"}) << false;
    }
    void switchOff()
    {
        QFETCH(QString, box);
        QFETCH(QString, projectPw);
        QFETCH(QStringList, answers);
        QFETCH(bool, off);
        Config *config = Config::instance();
        config->projectPw = projectPw;
        config->macroPw = "macro";
        config->encryption = 1;
        m_dialog->getConfig();
        QVERIFY(this->box(box)->isChecked());
        for (const QString &typed : qAsConst(answers))
            m_steps << answer(typed.isEmpty() ? cancelled() : accepted(QMessageBox::Yes, typed));
        if (!off)
            m_steps << answer(accepted());
        this->box(box)->click();

        const bool stillOn = box == "prjPassword"     ? !config->projectPw.isEmpty()
                             : box == "macroPassword" ? !config->macroPw.isEmpty()
                                                      : config->encryption != 0;
        QCOMPARE(stillOn, !off);
        if (!answers.isEmpty()) {
            QCOMPARE(ModalSeam::history().first().kind, ModalRequest::PasswordInput);
            QCOMPARE(ModalSeam::history().first().title,
                     QString(box == "macroPassword" ? "宏指令密码验证" : "项目密码验证"));
        }
        QCOMPARE(messages(), off ? QStringList() : QStringList({"密码验证失败！"}));
        QCOMPARE(m_changed->count(), off ? 1 : 0);
        m_dialog->getConfig();
        QCOMPARE(this->box(box)->isChecked(), !off);
        if (box == "encrpty" && off) { // switching it on again asks nothing
            const int asked = ModalSeam::history().size();
            this->box(box)->click();
            QCOMPARE(int(config->encryption), 1);
            QCOMPARE(ModalSeam::history().size(), asked);
        }
    }
};

QTEST_MAIN(TestProjectConfig)
#include "tst_projectconfig.moc"
