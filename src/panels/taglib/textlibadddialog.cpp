#include "textlibadddialog.h"

#include "services/messagedialog.h"
#include "widgets/lineedit.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TextLibAddDialog::TextLibAddDialog(const QString &name, int stateCount, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
    , m_acceptedName(name)
    , m_acceptedCount(stateCount)
{
    m_nameTitle = new QLabel(this);
    m_name = new LineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setText(name);
    m_countTitle = new QLabel(this);
    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("count"));
    m_count->setRange(1, 1000);
    m_count->setValue(stateCount);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cancel"));

    auto *form = new QFormLayout;
    form->addRow(m_nameTitle, m_name);
    form->addRow(m_countTitle, m_count);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TextLibAddDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &TextLibAddDialog::on_cancel_clicked);
    retranslate();
    m_name->selectAll();
}

void TextLibAddDialog::on_ok_clicked()
{
    if (m_name->text().trimmed().isEmpty()) {
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"),
                                   tr("文本标签不能为空！"), {tr("确定")});
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    m_acceptedName = m_name->text();
    m_acceptedCount = m_count->value();
    accept();
}

void TextLibAddDialog::on_cancel_clicked()
{
    reject();
}

void TextLibAddDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TextLibAddDialog::retranslate()
{
    setWindowTitle(tr("新建文本标签"));
    m_nameTitle->setText(tr("标签名称"));
    m_countTitle->setText(tr("状态数量"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
}
