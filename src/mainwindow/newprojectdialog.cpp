#include "newprojectdialog.h"

#include "model/builtintables.h"
#include "model/config.h"
#include "services/apppaths.h"
#include "services/appsettings.h"
#include "services/filedialog.h"
#include "services/messagedialog.h"
#include "services/safefile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QDebug>
#include <QToolButton>
#include <QTransform>
#include <QVBoxLayout>

namespace {

const QSize PictureSize(240, 200);

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

NewProjectDialog::NewProjectDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    m_deviceTitle = new QLabel(this);
    m_device = named(new QComboBox(this), "device");
    m_device->addItems(BuiltinTables::instance()->hardDeviceTexts());
    m_orientationTitle = new QLabel(this);
    m_orientation = named(new QComboBox(this), "orientation");
    m_orientation->addItems({QString(), QString()});

    m_details = named(new QGroupBox(this), "details");
    m_picture = named(new QLabel(m_details), "picture");
    m_picture->setFixedSize(PictureSize);
    m_picture->setAlignment(Qt::AlignCenter);
    m_sizeTitle = new QLabel(m_details);
    m_sizeValue = named(new QLabel(m_details), "sizeValue");
    m_resolutionTitle = new QLabel(m_details);
    m_resolutionValue = named(new QLabel(m_details), "resolutionValue");
    m_usbTitle = new QLabel(m_details);
    m_usbValue = named(new QLabel(m_details), "usbValue");
    m_serialTitle = new QLabel(m_details);
    m_serialValue = named(new QLabel(m_details), "serialValue");
    m_otherTitle = new QLabel(m_details);
    m_otherValue = named(new QLabel(m_details), "otherValue");

    auto *values = new QGridLayout;
    const QList<QPair<QLabel *, QLabel *>> rows = {{m_sizeTitle, m_sizeValue},
                                                   {m_resolutionTitle, m_resolutionValue},
                                                   {m_usbTitle, m_usbValue},
                                                   {m_serialTitle, m_serialValue},
                                                   {m_otherTitle, m_otherValue}};
    for (int i = 0; i < rows.size(); ++i) {
        values->addWidget(rows.at(i).first, i, 0);
        values->addWidget(rows.at(i).second, i, 1);
    }
    values->setRowStretch(rows.size(), 1);
    values->setColumnStretch(1, 1);
    auto *detailsLayout = new QHBoxLayout(m_details);
    detailsLayout->addWidget(m_picture);
    detailsLayout->addLayout(values, 1);

    m_nameTitle = new QLabel(this);
    m_name = named(new QLineEdit(this), "name");
    m_name->setText(QStringLiteral("untiled"));
    m_locationTitle = new QLabel(this);
    m_location = named(new QLineEdit(this), "location");
    m_choose = named(new QPushButton(this), "choose");
    m_choose->setFixedWidth(40);

    m_displayCheck = named(new QCheckBox(this), "dispalyCheck");
    m_recent = named(new QToolButton(this), "recent");
    m_recent->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_recent->setPopupMode(QToolButton::InstantPopup);
    m_ok = named(new QPushButton(this), "ok");
    m_ok->setDefault(true);
    m_cancel = named(new QPushButton(this), "cancel");

    auto *form = new QGridLayout;
    form->addWidget(m_deviceTitle, 0, 0);
    form->addWidget(m_device, 0, 1, 1, 2);
    form->addWidget(m_orientationTitle, 1, 0);
    form->addWidget(m_orientation, 1, 1, 1, 2);
    form->addWidget(m_details, 2, 0, 1, 3);
    form->addWidget(m_nameTitle, 3, 0);
    form->addWidget(m_name, 3, 1, 1, 2);
    form->addWidget(m_locationTitle, 4, 0);
    form->addWidget(m_location, 4, 1);
    form->addWidget(m_choose, 4, 2);
    form->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_displayCheck);
    buttons->addStretch();
    buttons->addWidget(m_recent);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_device, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &NewProjectDialog::on_device_currentIndexChanged);
    connect(m_orientation, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &NewProjectDialog::on_orientation_currentIndexChanged);
    connect(m_choose, &QPushButton::clicked, this, &NewProjectDialog::on_choose_clicked);
    connect(m_displayCheck, &QCheckBox::clicked, this, &NewProjectDialog::on_dispalyCheck_clicked);
    connect(m_ok, &QPushButton::clicked, this, &NewProjectDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &NewProjectDialog::on_cancel_clicked);

    retranslate();
}

void NewProjectDialog::setRecentMenu(QMenu *menu)
{
    if (m_recentMenu == menu)
        return;
    if (m_recentMenu)
        disconnect(m_recentMenu, &QMenu::triggered, this, nullptr);
    m_recentMenu = menu;
    m_recent->setMenu(menu);
    if (menu)
        connect(menu, &QMenu::triggered, this, &NewProjectDialog::recentTriggered);
}

int NewProjectDialog::run(Config *target)
{
    m_target = target;
    loadFromConfig();
    const int result = exec();
    m_target = nullptr;
    return result;
}

Config *NewProjectDialog::target() const
{
    return m_target ? m_target : Config::instance();
}

void NewProjectDialog::loadFromConfig()
{
    const Config *config = target();
    m_name->setText(config->name);
    m_name->setCursorPosition(0);
    m_location->setText(config->path);
    // A hand-edited project may carry values outside the lists; start from
    // the first entry rather than from no selection.
    m_device->setCurrentIndex(config->hard < m_device->count() ? config->hard : 0);
    m_orientation->setCurrentIndex(
        config->orientation < m_orientation->count() ? config->orientation : 0);
    m_displayCheck->setChecked(AppSettings::instance()->showNew());
    deviceInfoChanged();
}

void NewProjectDialog::on_device_currentIndexChanged(int index)
{
    Q_UNUSED(index)
    deviceInfoChanged();
}

void NewProjectDialog::on_orientation_currentIndexChanged(int index)
{
    Q_UNUSED(index)
    deviceInfoChanged();
}

void NewProjectDialog::deviceInfoChanged()
{
    const QVector<HardDevice> &models = BuiltinTables::instance()->hardDevices();
    const int index = m_device->currentIndex();
    if (index < 0 || index >= models.size())
        return;
    const HardDevice &model = models.at(index);

    QPixmap picture(QStringLiteral(":/resources/images/product/") + model.image);
    if (!picture.isNull()) {
        if (m_orientation->currentIndex() == 1)
            picture = picture.transformed(QTransform().rotate(90), Qt::SmoothTransformation);
        picture = picture.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    m_picture->setPixmap(picture);

    m_sizeValue->setText(tr("%1 寸").arg(double(model.psize), 3, 'f', 1));
    // The panel's own resolution, whichever way it is mounted.
    m_resolutionValue->setText(tr("%1×%2 像素").arg(model.width).arg(model.height));
    m_usbValue->setText(tr("%1 个").arg(model.usb));
    m_serialValue->setText(tr("%1 个").arg(model.serials));
}

void NewProjectDialog::on_choose_clicked()
{
    const QString dir = FileDialog::getExistingDirectory(this, tr("选择路径"), m_location->text());
    if (!dir.isEmpty())
        m_location->setText(dir);
}

void NewProjectDialog::on_dispalyCheck_clicked()
{
    AppSettings *settings = AppSettings::instance();
    settings->setShowNew(m_displayCheck->isChecked());
    // Stored at once: the choice holds even when the dialog is cancelled or
    // the program does not end normally.
    QString error;
    if (!SafeFile::updateSettings(AppPaths::settingsFile(),
                                  {{QStringLiteral("showNew"), settings->showNew()}}, &error))
        qWarning().noquote() << SafeFile::failureMessage(AppPaths::settingsFile(), error);
}

void NewProjectDialog::on_ok_clicked()
{
    // A typed relative location would be taken against the executable's
    // folder, which the user never sees.
    const QString typed = m_location->text();
    const QString location = typed.trimmed().isEmpty() ? typed : QDir(typed).absolutePath();
    const QString name = m_name->text().trimmed();
    const int hard = m_device->currentIndex();
    const int orient = m_orientation->currentIndex();
    const QVector<HardDevice> &models = BuiltinTables::instance()->hardDevices();
    if (hard < 0 || hard >= models.size() || orient < 0)
        return;

    // The project must get a folder of its own below the location: an empty
    // name or "." would make the location itself the project folder, ".."
    // its parent, and a separator would reach into another folder.
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        refuse(tr("工程名称不能为空，不能是 . 或 ..，也不能包含 / 或 \\。"));
        return;
    }
    // An empty location would put the project at the root of the file system.
    if (location.trimmed().isEmpty()) {
        refuse(tr("请选择工程位置。"));
        return;
    }

    if (QFileInfo::exists(location + QLatin1Char('/') + name)) {
        const int answer = MessageDialog::showMessage(this, QMessageBox::Question, tr("工程"),
                                                      tr("该目录下已存在同名工程，是否覆盖?"),
                                                      {tr("是(&Y)"), tr("否(&N)")});
        if (answer != QMessageBox::Yes)
            return;
    }

    Config *config = target();
    if (!config->createProjectDirs(location, name)) {
        refuse(tr("无法创建工程目录 %1。")
                   .arg(QDir::toNativeSeparators(location + QLatin1Char('/') + name)));
        return;
    }

    AppPaths::rememberProjectLocation(location);
    const HardDevice &model = models.at(hard);
    config->name = name;
    config->path = location + QLatin1Char('/') + name;
    config->hard = quint8(hard);
    config->orientation = quint8(orient);
    config->screenWidth = orient == 1 ? model.height : model.width;
    config->screenHeight = orient == 1 ? model.width : model.height;
    accept();
}

void NewProjectDialog::on_cancel_clicked()
{
    reject();
}

void NewProjectDialog::recentTriggered()
{
    // The menu is shared with the main window's menu bar; picking from there
    // while the dialog is closed must not touch the dialog's result.
    if (isVisible())
        done(RecentPicked);
}

void NewProjectDialog::refuse(const QString &text)
{
    MessageDialog::showMessage(this, QMessageBox::Critical, tr("错误"), text, {tr("确定")});
}

void NewProjectDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void NewProjectDialog::retranslate()
{
    setWindowTitle(tr("创建新工程"));
    m_deviceTitle->setText(tr("硬件类型"));
    m_orientationTitle->setText(tr("屏幕方向"));
    m_orientation->setItemText(0, tr("水平"));
    m_orientation->setItemText(1, tr("垂直"));
    m_details->setTitle(tr("详细"));
    m_sizeTitle->setText(tr("画面尺寸："));
    m_resolutionTitle->setText(tr("分辨率："));
    m_usbTitle->setText(tr("USB:"));
    m_serialTitle->setText(tr("串口："));
    m_otherTitle->setText(tr("其他："));
    m_nameTitle->setText(tr("工程名称"));
    m_locationTitle->setText(tr("工程位置"));
    m_choose->setText(tr("· · ·"));
    m_displayCheck->setText(tr("启动时显示这个对话框"));
    m_recent->setText(tr("   最近工程   "));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
    deviceInfoChanged();
}
