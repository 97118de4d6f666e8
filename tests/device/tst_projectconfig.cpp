#include "app/modalseam.h"
#include "device/deviceadddialog.h"
#include "device/projectconfigdialog.h"
#include "project/projectfile.h"
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
        DevicePara dev = device("PLC");
        dev.deviceId = 7;
        dev.overtime = 250;
        dev.port = 2;
        dev.rsType = 1;
        dev.baud = 19200;
        dev.dataBits = 7;
        dev.parity = 2;
        dev.stopBits = 2;
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
        QStringList names;
        for (const DevicePara &dev : qAsConst(Config::instance()->devices))
            names << dev.name;
        QCOMPARE(names, order);
        QCOMPARE(devices()->item(order.indexOf("新"), 0)->text(), QString("新"));
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
        mouseclicks::send(viewport, QEvent::MouseButtonDblClick, at);
        mouseclicks::send(viewport, QEvent::MouseButtonRelease, at);
        QCOMPARE(messages(), QStringList({"设备名称重复！"}));
        QCOMPARE(reopened, QString("A 42"));
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
        m_steps << answer(accepted(button));
        child<QPushButton>(m_dialog.get(), "removeDevice")->click();

        QCOMPARE(ModalSeam::history().size(), 1);
        const QString question = ModalSeam::history().first().text;
        QVERIFY2(question.contains("2") && question.contains("B"), qPrintable(question));
        QCOMPARE(Config::instance()->devices.size(), removed ? 1 : 2);
        QCOMPARE(m_changed->count(), removed ? 1 : 0);
        QCOMPARE(tags->index(1, Config::DeviceColumn).data(), QVariant("B"));
    }

    void languageCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("up, OK") << 3 << true << QStringList({"中文", "English", "语言3"});
        QTest::newRow("down, OK") << 1 << true << QStringList({"中文"});
        QTest::newRow("down, cancel") << 1 << false << QStringList({"中文", "English"});
    }
    void languageCount()
    {
        QFETCH(int, count);
        QFETCH(bool, ok);
        QFETCH(QStringList, after);
        Config *config = Config::instance();
        config->languages.append({"English", "export", QFont("Arial", 12)});
        m_steps << [&](const ModalRequest &) {
            child<QComboBox>(m_dialog.get(), "lanNum")->setCurrentIndex(count - 1);
            return ok ? accepted() : cancelled();
        };
        QCOMPARE(m_dialog->run(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QStringList names;
        for (const LanguagePara &language : qAsConst(config->languages))
            names << language.name;
        QCOMPARE(names, after);
        QCOMPARE(m_changed->count(), ok ? 1 : 0);
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
        QCOMPARE(m_changed->count(), 0);
        QCOMPARE(ProjectFile::projectBytes(), before);
    }

    void setPassword_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("typed"); // pairs; a missing pair cancels
        QTest::addColumn<QStringList>("refusals");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty then cancel") << "prjPassword" << QStringList({"", ""})
                                           << QStringList({"请输入密码！"}) << QString();
        QTest::newRow("mismatch in case only, then match")
            << "prjPassword" << QStringList({"abc", "Abc", "Abc", "Abc"})
            << QStringList({"输入密码和确认密码不一致！"}) << "Abc";
        QTest::newRow("macro") << "macroPassword" << QStringList({"m", "m"}) << QStringList()
                               << "m";
    }
    void setPassword()
    {
        QFETCH(QString, box);
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
        QCOMPARE(m_changed->count(), stored.isEmpty() ? 0 : 1);
    }

    // Each box switches off only after its password is given within three
    // tries; encryption is guarded by the project password alone.
    void switchOff_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("projectPw");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("off");
        QTest::newRow("project, wrong thrice")
            << "prjPassword" << "secret" << QStringList({"a", "b", "Secret"}) << false;
        QTest::newRow("project, right at the third")
            << "prjPassword" << "secret" << QStringList({"a", "b", "secret"}) << true;
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
        for (const QString &typed : qAsConst(answers))
            m_steps << answer(accepted(QMessageBox::Yes, typed));
        if (!off)
            m_steps << answer(accepted());
        this->box(box)->click();

        const bool stillOn = box == "prjPassword"     ? !config->projectPw.isEmpty()
                             : box == "macroPassword" ? !config->macroPw.isEmpty()
                                                      : config->encryption != 0;
        QCOMPARE(stillOn, !off);
        QCOMPARE(messages(), off ? QStringList() : QStringList({"密码验证失败！"}));
        QCOMPARE(m_changed->count(), off ? 1 : 0);
    }
};

QTEST_MAIN(TestProjectConfig)
#include "tst_projectconfig.moc"
