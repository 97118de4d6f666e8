#include "projectconfigdialog.h"

#include "deviceadddialog.h"
#include "document/projectdocument.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "services/messagedialog.h"
#include "services/modalseam.h"
#include "services/verifypassword.h"
#include "widgets/fonteditwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const int MaxLanguages = 10;
const int FontColumnWidth = 150;
enum LanguageColumn { LanguageName, LanguageFont, LanguageMark };

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFont defaultLanguageFont()
{
    return QFont(QStringLiteral("宋体"), 10);
}

bool sameLanguages(const QList<LanguagePara> &a, const QList<LanguagePara> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).name != b.at(i).name || a.at(i).mark != b.at(i).mark
            || a.at(i).font.toString() != b.at(i).font.toString())
            return false;
    }
    return true;
}

} // namespace

ProjectConfigDialog::ProjectConfigDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    m_tabs = named(new QTabWidget(this), "tabs");
    m_tabs->addTab(buildInfoPage(), QString());
    m_tabs->addTab(buildLanguagePage(), QString());
    m_tabs->addTab(buildDevicePage(), QString());
    m_tabs->addTab(new QWidget(this), QString());
    m_tabs->addTab(buildProtectionPage(), QString());

    m_ok = named(new QPushButton(this), "ok");
    m_ok->setDefault(true);
    m_cancel = named(new QPushButton(this), "cancel");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &ProjectConfigDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &ProjectConfigDialog::on_cancel_clicked);
    retranslate();
    // Room for all five tabs and a device table that shows every column.
    resize(640, 460);
}

QWidget *ProjectConfigDialog::buildInfoPage()
{
    auto *page = named(new QWidget(this), "infoPage");
    m_hardLabel = new QLabel(page);
    m_hard = named(new QComboBox(page), "hard");
    m_orientationLabel = new QLabel(page);
    m_orientation = named(new QComboBox(page), "orientation");
    m_orientation->addItems({QString(), QString()});

    m_details = new QGroupBox(page);
    m_sizeLabel = new QLabel(m_details);
    m_size = named(new QLabel(m_details), "screenSize");
    m_resolutionLabel = new QLabel(m_details);
    m_resolution = named(new QLabel(m_details), "resolution");
    m_serialLabel = new QLabel(m_details);
    m_serial = named(new QLabel(m_details), "serials");
    m_otherLabel = new QLabel(m_details);
    m_usb = named(new QLabel(m_details), "usb");
    auto *details = new QFormLayout(m_details);
    details->addRow(m_sizeLabel, m_size);
    details->addRow(m_resolutionLabel, m_resolution);
    details->addRow(m_serialLabel, m_serial);
    details->addRow(m_otherLabel, m_usb);

    m_nameLabel = new QLabel(page);
    m_name = named(new QLineEdit(page), "name");
    m_locationLabel = new QLabel(page);
    m_location = named(new QLineEdit(page), "location");
    m_browse = new QPushButton(page);
    auto *location = new QHBoxLayout;
    location->addWidget(m_location);
    location->addWidget(m_browse);

    auto *layout = new QGridLayout(page);
    layout->addWidget(m_hardLabel, 0, 0);
    layout->addWidget(m_hard, 0, 1);
    layout->addWidget(m_orientationLabel, 1, 0);
    layout->addWidget(m_orientation, 1, 1);
    layout->addWidget(m_details, 2, 0, 1, 2);
    layout->addWidget(m_nameLabel, 3, 0);
    layout->addWidget(m_name, 3, 1);
    layout->addWidget(m_locationLabel, 4, 0);
    layout->addLayout(location, 4, 1);
    layout->setRowStretch(5, 1);
    // Fixed when the project was created; shown only.
    page->setEnabled(false);
    return page;
}

QWidget *ProjectConfigDialog::buildLanguagePage()
{
    auto *page = named(new QWidget(this), "languagePage");
    m_lanNumLabel = new QLabel(page);
    m_lanNum = named(new QComboBox(page), "lanNum");
    for (int i = 1; i <= MaxLanguages; ++i)
        m_lanNum->addItem(QString::number(i));
    m_languages = named(new QTableWidget(0, 3, page), "languages");
    m_languages->setColumnWidth(LanguageFont, FontColumnWidth);
    m_languages->horizontalHeader()->setStretchLastSection(true);
    connect(m_lanNum, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ProjectConfigDialog::on_lanNum_currentIndexChanged);

    auto *count = new QHBoxLayout;
    count->addWidget(m_lanNumLabel);
    count->addWidget(m_lanNum);
    count->addStretch();
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(count);
    layout->addWidget(m_languages);
    return page;
}

QWidget *ProjectConfigDialog::buildDevicePage()
{
    auto *page = named(new QWidget(this), "devicePage");
    m_addDevice = named(new QPushButton(page), "addDevice");
    m_removeDevice = named(new QPushButton(page), "removeDevice");
    m_devices = named(new QTableWidget(0, 6, page), "devices");
    m_devices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_devices->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_devices->setSelectionMode(QAbstractItemView::SingleSelection);
    m_devices->horizontalHeader()->setStretchLastSection(true);
    connect(m_addDevice, &QPushButton::clicked, this, &ProjectConfigDialog::on_addDevice_clicked);
    connect(m_removeDevice, &QPushButton::clicked, this,
            &ProjectConfigDialog::on_removeDevice_clicked);
    connect(m_devices, &QTableWidget::cellDoubleClicked, this,
            &ProjectConfigDialog::tableDeviceDoubleClicked);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addDevice);
    buttons->addWidget(m_removeDevice);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(m_devices);
    return page;
}

QWidget *ProjectConfigDialog::buildProtectionPage()
{
    auto *page = named(new QWidget(this), "otherPage");
    m_protection = new QGroupBox(page);
    m_prjPassword = named(new QCheckBox(m_protection), "prjPassword");
    m_macroPassword = named(new QCheckBox(m_protection), "macroPassword");
    m_encrypt = named(new QCheckBox(m_protection), "encrpty");
    auto *group = new QVBoxLayout(m_protection);
    group->addWidget(m_prjPassword);
    group->addWidget(m_macroPassword);
    group->addWidget(m_encrypt);
    // Users take "加密" for real protection; say what it is where they switch it.
    m_protectionNote = named(new QLabel(m_protection), "protectionNote");
    m_protectionNote->setWordWrap(true);
    group->addWidget(m_protectionNote);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_protection);
    layout->addStretch();
    // clicked, not toggled: getConfig() sets the boxes without asking.
    connect(m_prjPassword, &QCheckBox::clicked, this, &ProjectConfigDialog::on_prjPassword_clicked);
    connect(m_macroPassword, &QCheckBox::clicked, this,
            &ProjectConfigDialog::on_macroPassword_clicked);
    connect(m_encrypt, &QCheckBox::clicked, this, &ProjectConfigDialog::on_encrpty_clicked);
    return page;
}

int ProjectConfigDialog::run()
{
    getConfig();
    return ModalSeam::runDialog(this, [this] { on_ok_clicked(); },
                                [this] { on_cancel_clicked(); });
}

int ProjectConfigDialog::runOnPage(int page, int deviceRow)
{
    getConfig();
    m_tabs->setCurrentIndex(page);
    if (deviceRow >= 0 && deviceRow < m_devices->rowCount())
        m_devices->setCurrentCell(deviceRow, 0);
    return ModalSeam::runDialog(this, [this] { on_ok_clicked(); },
                                [this] { on_cancel_clicked(); });
}

void ProjectConfigDialog::getConfig()
{
    const Config *config = Config::instance();
    m_name->setText(config->name);
    m_name->setCursorPosition(0);
    m_location->setText(config->path);
    m_location->setCursorPosition(0);
    m_hard->clear();
    m_hard->addItems(BuiltinTables::instance()->hardDeviceTexts());
    m_hard->setCurrentIndex(config->hard < m_hard->count() ? config->hard : -1);
    m_orientation->setCurrentIndex(config->orientation ? 1 : 0);
    const HardDevice *model = config->currentHardDevice();
    if (model) {
        m_size->setText(tr("%1 寸").arg(double(model->psize), 0, 'f', 1));
        m_resolution->setText(tr("%1×%2 像素").arg(model->width).arg(model->height));
        m_serial->setText(tr("%1 个").arg(model->serials));
        m_usb->setText(QStringLiteral("USB: ") + tr("%1 个").arg(model->usb));
    } else {
        for (QLabel *label : {m_size, m_resolution, m_serial, m_usb})
            label->clear();
    }

    // A hand-edited file may hold more languages than the box offers; they
    // are all shown and kept unless the user picks a count.
    const QList<LanguagePara> &languages = config->languages;
    {
        const QSignalBlocker blocker(m_lanNum);
        m_lanNum->setCurrentIndex(qBound(0, int(languages.size()) - 1, MaxLanguages - 1));
    }
    m_languages->setRowCount(languages.size());
    for (int i = 0; i < languages.size(); ++i)
        setLanguageRow(i, languages.at(i).name, languages.at(i).mark, languages.at(i).font);
    m_knownLanguages = languages + config->hiddenLanguages();

    m_deviceList = config->devices;
    m_deviceOrigins.clear();
    m_devices->clearContents();
    m_devices->setRowCount(m_deviceList.size());
    for (int i = 0; i < m_deviceList.size(); ++i) {
        m_deviceOrigins.append(m_deviceList.at(i).name);
        setDeviceTable(i, m_deviceList.at(i));
    }

    m_projectPw = config->projectPw;
    m_macroPw = config->macroPw;
    m_encryption = config->encryption;
    m_encrypt->setChecked(m_encryption != 0);
    m_prjPassword->setChecked(!m_projectPw.isEmpty());
    m_macroPassword->setChecked(!m_macroPw.isEmpty());
}

void ProjectConfigDialog::setLanguageRow(int row, const QString &name, const QString &mark,
                                         const QFont &font)
{
    m_languages->setItem(row, LanguageName, new QTableWidgetItem(name));
    m_languages->setItem(row, LanguageMark, new QTableWidgetItem(mark));
    auto *editor = qobject_cast<FontEditWidget *>(m_languages->cellWidget(row, LanguageFont));
    if (!editor) {
        editor = new FontEditWidget;
        m_languages->setCellWidget(row, LanguageFont, editor);
        connect(editor, &FontEditWidget::valueChanged, this, [this, editor] { fitFont(editor); });
    }
    editor->setValue(font);
    fitFont(editor);
}

void ProjectConfigDialog::fitFont(const FontEditWidget *editor)
{
    // The family and size are what tell the languages apart; a long family
    // name must not be cut off. The column only grows, so the user's own
    // widening stays.
    const int width = editor->sizeHint().width() + (m_languages->showGrid() ? 1 : 0);
    if (width > m_languages->columnWidth(LanguageFont))
        m_languages->setColumnWidth(LanguageFont, width);
}

LanguagePara ProjectConfigDialog::languageRow(int row) const
{
    LanguagePara language;
    if (const QTableWidgetItem *item = m_languages->item(row, LanguageName))
        language.name = item->text();
    if (const QTableWidgetItem *item = m_languages->item(row, LanguageMark))
        language.mark = item->text();
    if (auto *editor = qobject_cast<FontEditWidget *>(m_languages->cellWidget(row, LanguageFont)))
        language.font = editor->value();
    return language;
}

namespace {

bool sameDevice(const DevicePara &a, const DevicePara &b)
{
    return a.name == b.name && a.protocol == b.protocol && a.deviceId == b.deviceId
           && a.port == b.port && a.rsType == b.rsType && a.dataBits == b.dataBits
           && a.stopBits == b.stopBits && a.parity == b.parity && a.retryNum == b.retryNum
           && a.baud == b.baud && a.overtime == b.overtime && a.comDelay == b.comDelay
           && a.resDelay == b.resDelay;
}

bool sameDevices(const QList<DevicePara> &a, const QList<DevicePara> &b)
{
    return a.size() == b.size() && std::equal(a.cbegin(), a.cend(), b.cbegin(), sameDevice);
}

// Whether part is whole with some devices left out.
bool isSubsequence(const QList<DevicePara> &part, const QList<DevicePara> &whole)
{
    int at = 0;
    for (const DevicePara &device : whole)
        at += at < part.size() && sameDevice(part.at(at), device) ? 1 : 0;
    return at == part.size();
}

QStringList tagDeviceCells(const Config *config)
{
    const QStandardItemModel *tags = config->addressTagModel();
    QStringList cells;
    for (int row = 0; row < tags->rowCount(); ++row)
        cells.append(tags->index(row, Config::DeviceColumn).data().toString());
    return cells;
}

// The tags of every renamed device take its new name. The renames happen
// at once: one after the other, names swapped between two devices would
// put both devices' tags on one.
void renameTags(Config *config, const QList<QPair<QString, QString>> &renames)
{
    QStringList taken = tagDeviceCells(config);
    QStringList parked;
    for (const auto &rename : renames) {
        QString park;
        for (int n = parked.size();; ++n) {
            park = QStringLiteral("\x01renaming %1").arg(n);
            if (!taken.contains(park))
                break;
        }
        taken.append(park);
        parked.append(park);
        config->renameTagDevice(rename.first, park);
    }
    for (int i = 0; i < renames.size(); ++i)
        config->renameTagDevice(parked.at(i), renames.at(i).second);
}

QString documentText(const char *text, const QString &arg = QString())
{
    const QString made = QCoreApplication::translate("ProjectDocument", text);
    return arg.isNull() ? made : made.arg(arg);
}

} // namespace

bool ProjectConfigDialog::setConfig()
{
    ProjectDocument *document = ProjectDocument::current();
    const Config *config = document->config();
    QList<LanguagePara> languages;
    for (int row = 0; row < m_languages->rowCount(); ++row)
        languages.append(languageRow(row));
    QList<QPair<QString, QString>> renames;
    for (int row = 0; row < m_deviceList.size(); ++row) {
        const QString &origin = m_deviceOrigins.at(row);
        if (!origin.isNull() && origin != m_deviceList.at(row).name)
            renames.append({origin, m_deviceList.at(row).name});
    }
    const QStringList cells = tagDeviceCells(config);
    const bool tagsFollow = std::any_of(renames.cbegin(), renames.cend(),
                                        [&cells](const QPair<QString, QString> &rename) {
                                            return cells.contains(rename.first);
                                        });

    ProjectDocument::Parts parts;
    if (m_projectPw != config->projectPw || m_macroPw != config->macroPw
        || m_encryption != config->encryption)
        parts |= ProjectDocument::Settings;
    if (!sameLanguages(config->languages, languages))
        parts |= ProjectDocument::Languages;
    if (!sameDevices(config->devices, m_deviceList))
        parts |= ProjectDocument::Devices;
    if (tagsFollow)
        parts |= ProjectDocument::AddressTags;
    if (!parts)
        return false;

    const QList<DevicePara> devices = m_deviceList;
    const bool changed = document->change(parts, changeText(int(parts)), [&](Config *project) {
        if (parts & ProjectDocument::Settings) {
            project->projectPw = m_projectPw;
            project->macroPw = m_macroPw;
            project->encryption = m_encryption;
        }
        if (parts & ProjectDocument::Languages)
            project->setLanguages(languages);
        if (parts & ProjectDocument::Devices) {
            renameTags(project, renames);
            project->devices = devices;
        }
    }, [&] {
        // Bindings with an address entered on a renamed device follow it.
        BindingRewrite::Renames moved;
        for (const auto &rename : renames)
            moved.insert(rename.first, rename.second);
        return BindingRewrite::renameDevices(document->screens(), moved);
    });
    if (changed)
        emit configChanged();
    return changed;
}

std::function<QString()> ProjectConfigDialog::changeText(int parts) const
{
    const Config *config = ProjectDocument::current()->config();
    if (parts == ProjectDocument::Languages)
        return [] { return documentText(QT_TRANSLATE_NOOP("ProjectDocument", "修改语言")); };
    if (parts & ~(ProjectDocument::Devices | ProjectDocument::AddressTags))
        return [] { return tr("修改工程设置"); };
    // Devices alone: the step says what happened to them where it was one
    // thing.
    const QList<DevicePara> &was = config->devices;
    const char *text = QT_TRANSLATE_NOOP("ProjectDocument", "修改设备");
    QString name;
    if (m_deviceList.size() > was.size() && isSubsequence(was, m_deviceList)) {
        text = QT_TRANSLATE_NOOP("ProjectDocument", "添加设备");
    } else if (m_deviceList.size() < was.size() && isSubsequence(m_deviceList, was)) {
        text = QT_TRANSLATE_NOOP("ProjectDocument", "删除设备");
    } else if (m_deviceList.size() == was.size()) {
        int edited = -1;
        for (int row = 0; row < was.size(); ++row) {
            if (sameDevice(was.at(row), m_deviceList.at(row)))
                continue;
            DevicePara renamed = was.at(row);
            renamed.name = m_deviceList.at(row).name;
            edited = edited == -1 && sameDevice(renamed, m_deviceList.at(row)) ? row : -2;
        }
        if (edited >= 0) {
            text = QT_TRANSLATE_NOOP("ProjectDocument", "重命名设备 %1");
            name = m_deviceList.at(edited).name;
        }
    }
    return [text, name] { return documentText(text, name); };
}

void ProjectConfigDialog::on_ok_clicked()
{
    setConfig();
    accept();
}

void ProjectConfigDialog::on_cancel_clicked()
{
    reject();
}

void ProjectConfigDialog::on_lanNum_currentIndexChanged(int index)
{
    const int oldRows = m_languages->rowCount();
    const int rows = index + 1;
    if (rows < oldRows) {
        const int leftOut = Config::instance()->textsLeftOut(rows);
        if (leftOut > 0
            && MessageDialog::showMessage(
                   this, QMessageBox::Question, tr("语言数量"),
                   tr("减少语言数量后，%1 条文本不会保存到工程文件中；关闭工程之前再增加语言数量，"
                      "这些文本仍会回来。\n是否继续？")
                       .arg(leftOut),
                   {tr("确定"), tr("取消")})
                != QMessageBox::Yes) {
            const QSignalBlocker blocker(m_lanNum);
            m_lanNum->setCurrentIndex(std::min(oldRows, MaxLanguages) - 1);
            return;
        }
        // The rows come back as they were if the count goes up again.
        for (int row = rows; row < oldRows; ++row) {
            while (m_knownLanguages.size() <= row)
                m_knownLanguages.append(LanguagePara());
            m_knownLanguages[row] = languageRow(row);
        }
    }
    m_languages->setRowCount(rows);
    for (int row = oldRows; row < rows; ++row) {
        if (row < m_knownLanguages.size()) {
            const LanguagePara &known = m_knownLanguages.at(row);
            setLanguageRow(row, known.name, known.mark, known.font);
        } else {
            setLanguageRow(row, tr("语言%1").arg(row + 1), QString(), defaultLanguageFont());
        }
    }
}

QStringList ProjectConfigDialog::deviceRowTexts(const DevicePara &device)
{
    const BuiltinTables *tables = BuiltinTables::instance();
    const QMetaEnum portTypes = QMetaEnum::fromType<Config::PortType>();
    const QMetaEnum parities = QMetaEnum::fromType<Config::ComParity>();
    const char *portType = portTypes.valueToKey(device.rsType);
    const char *parity = parities.valueToKey(device.parity);
    return {device.name,
            tables->protocolDisplayNames().value(device.protocol),
            QStringLiteral("COM%1-%2")
                .arg(device.port + 1)
                .arg(QLatin1String(portType ? portType : "?")),
            QStringLiteral("%1-%2%3%4")
                .arg(device.baud)
                .arg(device.dataBits)
                .arg(QLatin1Char(parity ? parity[0] : '?'))
                .arg(device.stopBits),
            QString::number(device.deviceId),
            QString::number(device.overtime)};
}

void ProjectConfigDialog::setDeviceTable(int row, const DevicePara &device)
{
    const QStringList texts = deviceRowTexts(device);
    for (int column = 0; column < texts.size(); ++column)
        m_devices->setItem(row, column, new QTableWidgetItem(texts.at(column)));
    // The port and format texts too: cut off, "COM1-RS485" and
    // "COM1-RS232" look the same.
    for (int column = 0; column <= 3; ++column)
        m_devices->resizeColumnToContents(column);
}

bool ProjectConfigDialog::showDeviceAddDialog(DevicePara &device, int editedRow)
{
    const QList<DevicePara> &devices = m_deviceList;
    DevicePara entry = device;
    DeviceAddDialog dialog(this);
    for (;;) {
        if (dialog.setDevice(entry) != QDialog::Accepted)
            return false;
        // A name the device already had is not the user's to answer for: a
        // file may hold one the dialog would now refuse, and confirming the
        // device untouched must not be turned down.
        if (editedRow >= 0 && entry.name == device.name) {
            device = entry;
            return true;
        }
        bool duplicate = false;
        for (int row = 0; row < devices.size() && !duplicate; ++row)
            duplicate = row != editedRow && devices.at(row).name == entry.name;
        QString error;
        // An empty name cannot be told apart in an address tag's device
        // column from a tag that names no device at all.
        if (entry.name.trimmed().isEmpty())
            error = tr("设备名称不能为空！");
        else if (duplicate)
            error = tr("设备名称重复！");
        // Tags naming it would mean the panel, in either interface language.
        else if (Config::isLocalDeviceName(entry.name) || entry.name == tr("本地"))
            error = tr("“%1”是面板本身的名称，不能用作设备名称！").arg(entry.name);
        if (error.isEmpty()) {
            device = entry;
            return true;
        }
        MessageDialog::showMessage(this, QMessageBox::Critical, tr("错误"), error, {tr("确定")});
    }
}

void ProjectConfigDialog::on_addDevice_clicked()
{
    DevicePara device;
    // After a removal the row count can repeat a name still in use, and
    // the proposal would then be refused as a duplicate as it stands.
    const QList<DevicePara> &existing = m_deviceList;
    const auto taken = [&existing](const QString &name) {
        return std::any_of(existing.cbegin(), existing.cend(),
                           [&name](const DevicePara &other) { return other.name == name; });
    };
    for (int number = m_devices->rowCount() + 1;; ++number) {
        device.name = tr("设备_%1").arg(number);
        if (!taken(device.name))
            break;
    }
    if (!showDeviceAddDialog(device))
        return;
    const int current = m_devices->currentRow();
    const int row = current < 0 ? 0 : current + 1;
    m_devices->insertRow(row);
    setDeviceTable(row, device);
    m_devices->setCurrentCell(row, 0);
    const int at = qMin(row, int(m_deviceList.size()));
    m_deviceList.insert(at, device);
    m_deviceOrigins.insert(at, QString());
}

void ProjectConfigDialog::tableDeviceDoubleClicked(int row, int)
{
    if (row < 0 || row >= m_deviceList.size())
        return;
    DevicePara device = m_deviceList.at(row);
    if (!showDeviceAddDialog(device, row) || sameDevice(device, m_deviceList.at(row)))
        return;
    m_deviceList[row] = device;
    setDeviceTable(row, device);
}

int ProjectConfigDialog::tagsUsing(int row) const
{
    // A renamed device takes its old name's tags on OK, and tags that
    // already name it.
    const QString &origin = m_deviceOrigins.at(row);
    const QString &name = m_deviceList.at(row).name;
    int count = 0;
    for (const QString &cell : tagDeviceCells(ProjectDocument::current()->config())) {
        if (cell == name || (!origin.isNull() && cell == origin))
            ++count;
    }
    return count;
}

void ProjectConfigDialog::on_removeDevice_clicked()
{
    const QList<QTableWidgetItem *> selected = m_devices->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = selected.first()->row();
    if (row < m_deviceList.size()) {
        const QString name = m_deviceList.at(row).name;
        const int users = tagsUsing(row);
        if (users > 0) {
            const int answer = MessageDialog::showMessage(
                this, QMessageBox::Question, tr("删除设备"),
                tr("%1 个地址标签使用设备“%2”，删除后这些标签将指向不存在的设备。")
                    .arg(users)
                    .arg(name),
                {tr("删除设备"), tr("取消")});
            if (answer != QMessageBox::Yes)
                return;
        }
        m_deviceList.removeAt(row);
        m_deviceOrigins.removeAt(row);
    }
    m_devices->removeRow(row);
}

QString ProjectConfigDialog::userInputPassword(const QString &title)
{
    QDialog dialog(this, Qt::Dialog | Qt::WindowCloseButtonHint);
    dialog.setObjectName(QStringLiteral("passwordDialog"));
    dialog.setWindowTitle(title);
    auto *password = named(new QLineEdit(&dialog), "password");
    password->setEchoMode(QLineEdit::Password);
    auto *confirm = named(new QLineEdit(&dialog), "confirm");
    confirm->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *form = new QFormLayout(&dialog);
    form->addRow(tr("输入密码: "), password);
    form->addRow(tr("确认密码: "), confirm);
    form->addRow(buttons);

    for (;;) {
        bool accepted = false;
        if (ModalSeam::hasHandler()) {
            ModalRequest request;
            request.kind = ModalRequest::Dialog;
            request.title = title;
            accepted = ModalSeam::answer(request).accepted;
        } else {
            accepted = dialog.exec() == QDialog::Accepted;
        }
        if (!accepted)
            return QString();
        QString error;
        if (password->text().isEmpty())
            error = tr("请输入密码！");
        else if (password->text() != confirm->text())
            error = tr("输入密码和确认密码不一致！");
        else
            return password->text();
        MessageDialog::showMessage(&dialog, QMessageBox::Critical, tr("错误"), error, {tr("确定")});
    }
}

void ProjectConfigDialog::switchPassword(QCheckBox *box, QString *password, bool checked,
                                         const QString &setTitle, const QString &verifyTitle)
{
    if (checked) {
        const QString typed = userInputPassword(setTitle);
        box->setChecked(!typed.isEmpty());
        if (typed.isEmpty() || typed == *password)
            return;
        *password = typed;
        return;
    }
    if (!verifyPassword(*password, verifyTitle)) {
        box->setChecked(true);
        return;
    }
    password->clear();
}

void ProjectConfigDialog::on_prjPassword_clicked(bool checked)
{
    switchPassword(m_prjPassword, &m_projectPw, checked, tr("设置项目密码"),
                   tr("项目密码验证"));
}

void ProjectConfigDialog::on_macroPassword_clicked(bool checked)
{
    switchPassword(m_macroPassword, &m_macroPw, checked, tr("设置宏指令密码"),
                   tr("宏指令密码验证"));
}

void ProjectConfigDialog::on_encrpty_clicked(bool checked)
{
    // Without the guard, anyone at the desk could save a protected project
    // in the clear and read its password from the file.
    if (!checked && m_prjPassword->isChecked()
        && !verifyPassword(m_projectPw, tr("项目密码验证"))) {
        m_encrypt->setChecked(true);
        return;
    }
    m_encryption = checked ? 1 : 0;
}

void ProjectConfigDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void ProjectConfigDialog::retranslate()
{
    setWindowTitle(tr("工程配置"));
    m_tabs->setTabText(0, tr("工程信息"));
    m_tabs->setTabText(1, tr("语言字体"));
    m_tabs->setTabText(2, tr("设备管理"));
    m_tabs->setTabText(3, tr("用户管理"));
    m_tabs->setTabText(4, tr("其他设置"));

    m_hardLabel->setText(tr("硬件类型"));
    m_orientationLabel->setText(tr("屏幕方向"));
    m_orientation->setItemText(0, tr("水平"));
    m_orientation->setItemText(1, tr("垂直"));
    m_details->setTitle(tr("详细"));
    m_sizeLabel->setText(tr("画面尺寸："));
    m_resolutionLabel->setText(tr("分辨率："));
    m_serialLabel->setText(tr("串口："));
    m_otherLabel->setText(tr("其他："));
    m_nameLabel->setText(tr("工程名称"));
    m_locationLabel->setText(tr("工程位置"));
    m_browse->setText(QStringLiteral("· · ·"));

    m_lanNumLabel->setText(tr("语言数量"));
    m_languages->setHorizontalHeaderLabels({tr("语言名称"), tr("使用字体"), tr("说明")});

    m_addDevice->setText(tr("添加设备"));
    m_removeDevice->setText(tr("删除设备"));
    m_devices->setHorizontalHeaderLabels(
        {tr("名称"), tr("协议"), tr("端口"), tr("数据格式"), tr("站号"), tr("通讯超时")});

    m_protection->setTitle(tr("项目保护"));
    m_prjPassword->setText(tr("项目密码"));
    m_macroPassword->setText(tr("宏指令密码"));
    m_encrypt->setText(tr("工程文件保存时加密（文件将以密文格式保存）"));
    m_protectionNote->setText(
        tr("两个密码只在本编辑器中起作用：它们按输入的原样保存在工程文件里。“加密”保存只是一种"
           "任何人都能还原的编码，不能防止别人读出文件内容和密码。"));

    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
}
