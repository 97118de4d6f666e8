#include "addressadddialog.h"

#include "addresseditform.h"
#include "services/messagedialog.h"
#include "widgets/lineedit.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

AddressAddDialog::Runner &runnerSlot()
{
    static AddressAddDialog::Runner runner;
    return runner;
}

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

void AddressAddDialog::setRunner(Runner runner)
{
    runnerSlot() = std::move(runner);
}

AddressAddDialog::AddressAddDialog(QWidget *parent, Purpose purpose)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint), m_purpose(purpose)
{
    m_nameLabel = new QLabel(this);
    m_name = named(new LineEdit(this), "name");
    m_form = named(new AddressEditForm(this), "form");
    m_markLabel = new QLabel(this);
    m_mark = named(new LineEdit(this), "mark");
    m_ok = named(new QPushButton(this), "ok");
    m_ok->setDefault(true);
    m_cancel = named(new QPushButton(this), "cancel");

    auto *fields = new QGridLayout;
    fields->addWidget(m_nameLabel, 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(m_form, 1, 0, 1, 2);
    fields->addWidget(m_markLabel, 2, 0);
    fields->addWidget(m_mark, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &AddressAddDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &AddressAddDialog::on_cancel_clicked);
    retranslate();
}

int AddressAddDialog::showPara(AddressPara &para)
{
    m_name->setText(para.name);
    m_name->selectAll();
    m_mark->setText(para.mark);
    m_form->setPara(para);
    m_para = &para;
    const int result = runnerSlot() ? runnerSlot()(*this) : exec();
    m_para = nullptr;
    return result;
}

void AddressAddDialog::on_ok_clicked()
{
    // Blanks alone make a name that cannot be told from an empty one in the
    // table nor in a register picker.
    if (m_name->text().trimmed().isEmpty()) {
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"),
                                   tr("地址标签不能为空！"), {tr("确定")});
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    if (m_para) {
        m_para->name = m_name->text();
        m_para->mark = m_mark->text();
        m_form->getPara(*m_para);
    }
    accept();
}

void AddressAddDialog::on_cancel_clicked()
{
    reject();
}

void AddressAddDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void AddressAddDialog::retranslate()
{
    setWindowTitle(m_purpose == EditTag ? tr("编辑地址标签") : tr("新建地址标签"));
    m_nameLabel->setText(tr("标签名称"));
    m_markLabel->setText(tr("备注"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
}
