#include "optionsetdialog.h"

#include "services/apppaths.h"
#include "services/appsettings.h"
#include "services/messagedialog.h"
#include "services/colourdialog.h"
#include "services/modalseam.h"
#include "services/safefile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QSpinBox *spacingBox(QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(4, 60);
    box->setSingleStep(2);
    box->setValue(20);
    return box;
}

} // namespace

OptionSetDialog::OptionSetDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);

    auto *gridPage = new QWidget(m_tabs);
    auto *gridLayout = new QVBoxLayout(gridPage);
    m_grid = new QGroupBox(gridPage);
    m_grid->setCheckable(true);
    m_grid->setChecked(true);
    auto *gridForm = new QFormLayout(m_grid);
    m_fixeAll = new QCheckBox(m_grid);
    m_align = new QCheckBox(m_grid);
    gridForm->addRow(m_fixeAll);
    gridForm->addRow(m_align);
    m_xLabel = new QLabel(m_grid);
    m_x = spacingBox(m_grid);
    gridForm->addRow(m_xLabel, m_x);
    m_yLabel = new QLabel(m_grid);
    m_y = spacingBox(m_grid);
    gridForm->addRow(m_yLabel, m_y);
    m_colourLabel = new QLabel(m_grid);
    m_colour = new QPushButton(m_grid);
    m_colour->setObjectName(QStringLiteral("colour"));
    gridForm->addRow(m_colourLabel, m_colour);
    gridLayout->addWidget(m_grid);
    m_autoSave = new QGroupBox(gridPage);
    m_autoSave->setCheckable(true);
    auto *saveForm = new QFormLayout(m_autoSave);
    m_intervalLabel = new QLabel(m_autoSave);
    m_interval = new QSpinBox(m_autoSave);
    m_interval->setRange(1, 120);
    m_interval->setValue(10);
    saveForm->addRow(m_intervalLabel, m_interval);
    gridLayout->addWidget(m_autoSave);
    gridLayout->addStretch();
    m_tabs->addTab(gridPage, QString());

    auto *languagePage = new QWidget(m_tabs);
    auto *languageLayout = new QHBoxLayout(languagePage);
    m_languageLabel = new QLabel(languagePage);
    m_language = new QComboBox(languagePage);
    m_language->addItems({QString(), QString()});
    languageLayout->addWidget(m_languageLabel);
    languageLayout->addWidget(m_language, 1);
    languageLayout->setAlignment(Qt::AlignTop);
    m_tabs->addTab(languagePage, QString());
    m_tabs->setCurrentIndex(0);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &OptionSetDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &OptionSetDialog::on_cancel_clicked);
    connect(m_colour, &QPushButton::clicked, this, &OptionSetDialog::on_colour_clicked);

    showCurrentValues();
    retranslate();
}

void OptionSetDialog::showCurrentValues()
{
    m_language->setCurrentIndex(AppSettings::instance()->uiLanguage());
    const EditorSettings::Values &values = EditorSettings::instance()->values();
    m_grid->setChecked(values.gridShown);
    m_fixeAll->setChecked(values.lockAll);
    m_align->setChecked(values.snapToGrid);
    m_x->setValue(values.gridX);
    m_y->setValue(values.gridY);
    setGridColour(values.gridColor);
    m_autoSave->setChecked(values.autoSave);
    m_interval->setValue(values.autoSaveMinutes);
}

EditorSettings::Values OptionSetDialog::shownValues() const
{
    // Starts from the current set: the View menu's choices are not on this
    // dialog and must survive its 确定.
    EditorSettings::Values values = EditorSettings::instance()->values();
    values.gridShown = m_grid->isChecked();
    values.gridX = m_x->value();
    values.gridY = m_y->value();
    values.gridColor = m_gridColour;
    values.lockAll = m_fixeAll->isChecked();
    values.snapToGrid = m_align->isChecked();
    values.autoSave = m_autoSave->isChecked();
    values.autoSaveMinutes = m_interval->value();
    return values;
}

int OptionSetDialog::run()
{
    showCurrentValues();
    return ModalSeam::runDialog(this, [this] { on_ok_clicked(); },
                                [this] { on_cancel_clicked(); });
}

void OptionSetDialog::on_ok_clicked()
{
    AppSettings *settings = AppSettings::instance();
    settings->setLanguage(m_language->currentIndex());
    EditorSettings *editor = EditorSettings::instance();
    editor->setValues(shownValues());
    // The choices hold for this session whatever happens; only keeping
    // them for the next one can fail.
    QString error;
    if (!SafeFile::updateSettings(AppPaths::settingsFile(),
                                  {{QStringLiteral("language"), settings->uiLanguage()}}, &error)
        || !editor->store(&error)) {
        MessageDialog::showMessage(
            this, QMessageBox::Critical, tr("错误"),
            SafeFile::failureMessage(AppPaths::settingsFile(), error), {tr("确定")});
    }
    accept();
}

void OptionSetDialog::on_colour_clicked()
{
    QColor chosen;
    // Cancelling the chooser (or no colour) keeps the colour shown.
    if (ColourDialog::getColour(this, tr("网格颜色"), m_gridColour, &chosen) && chosen.isValid())
        setGridColour(chosen);
}

void OptionSetDialog::setGridColour(const QColor &colour)
{
    m_gridColour = colour;
    QPixmap swatch(48, 14);
    swatch.fill(colour);
    m_colour->setIcon(QIcon(swatch));
    m_colour->setIconSize(swatch.size());
    m_colour->setToolTip(colour.name());
}

void OptionSetDialog::on_cancel_clicked()
{
    reject();
}

void OptionSetDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void OptionSetDialog::retranslate()
{
    setWindowTitle(tr("系统设置"));
    m_tabs->setTabText(0, tr("网格设置"));
    m_tabs->setTabText(1, tr("语言设置"));
    m_grid->setTitle(tr("网格"));
    m_fixeAll->setText(tr("锁定所有元件"));
    m_align->setText(tr("对齐网格"));
    m_xLabel->setText(tr("X间隔(4-60)"));
    m_yLabel->setText(tr("Y间隔(4-60)"));
    m_colourLabel->setText(tr("网格颜色"));
    m_autoSave->setTitle(tr("工程自动保存"));
    m_intervalLabel->setText(tr("时间间隔(min)"));
    m_languageLabel->setText(tr("选择系统语言"));
    m_language->setItemText(0, tr("中文"));
    m_language->setItemText(1, tr("英文"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
}
