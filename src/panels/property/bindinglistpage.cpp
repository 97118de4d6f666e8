#include "bindinglistpage.h"

#include "bindingdialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

BindingListPage::BindingListPage(QWidget *parent)
    : QWidget(parent)
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("bindings"));
    const auto button = [this](const char *name) {
        auto *made = new QPushButton(this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    m_add = button("addBinding");
    m_edit = button("editBinding");
    m_remove = button("removeBinding");
    m_up = button("upBinding");
    m_down = button("downBinding");
    auto *buttons = new QVBoxLayout;
    for (QPushButton *made : {m_add, m_edit, m_remove, m_up, m_down})
        buttons->addWidget(made);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, &BindingListPage::addBinding);
    connect(m_edit, &QPushButton::clicked, this, &BindingListPage::editBinding);
    connect(m_remove, &QPushButton::clicked, this, &BindingListPage::removeBinding);
    connect(m_up, &QPushButton::clicked, this, &BindingListPage::moveUp);
    connect(m_down, &QPushButton::clicked, this, &BindingListPage::moveDown);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &BindingListPage::editBinding);
    connect(m_list, &QListWidget::currentRowChanged, this, &BindingListPage::updateButtons);
    retranslate();
    updateButtons();
}

BindingDialog *BindingListPage::bindingDialog()
{
    if (!m_dialog)
        m_dialog = new BindingDialog(this);
    return m_dialog;
}

void BindingListPage::setBindings(const QVector<Binding> &bindings,
                                  const QVector<Binding::Kind> &kinds)
{
    m_bindings = bindings;
    m_kinds = kinds;
    fillList(bindings.isEmpty() ? -1 : 0);
}

void BindingListPage::fillList(int current)
{
    m_list->clear();
    for (const Binding &binding : qAsConst(m_bindings))
        m_list->addItem(binding.summary());
    m_list->setCurrentRow(current);
    updateButtons();
}

void BindingListPage::updateButtons()
{
    const int row = m_list->currentRow();
    // A shape holds no more than its element is read with.
    m_add->setEnabled(isEnabled() && !m_kinds.isEmpty() && m_bindings.size() < Binding::MaxPerShape);
    m_edit->setEnabled(row >= 0);
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < m_bindings.size());
}

void BindingListPage::addBinding()
{
    emit aboutToEdit();
    if (m_kinds.isEmpty() || m_bindings.size() >= Binding::MaxPerShape)
        return;
    BindingDialog *dialog = bindingDialog();
    dialog->setKinds(m_kinds);
    dialog->startNew(m_kinds.first());
    if (!dialog->run())
        return;
    Binding made;
    if (!dialog->takeBinding(&made))
        return;
    m_bindings.append(made);
    fillList(m_bindings.size() - 1);
    emit changed();
}

void BindingListPage::editBinding()
{
    emit aboutToEdit();
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_bindings.size())
        return;
    BindingDialog *dialog = bindingDialog();
    dialog->setKinds(m_kinds);
    dialog->setBinding(m_bindings.at(row));
    if (!dialog->run())
        return;
    Binding made;
    if (!dialog->takeBinding(&made) || made == m_bindings.at(row))
        return;
    m_bindings[row] = made;
    fillList(row);
    emit changed();
}

void BindingListPage::removeBinding()
{
    emit aboutToEdit();
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_bindings.size())
        return;
    m_bindings.remove(row);
    fillList(qMin(row, m_bindings.size() - 1));
    emit changed();
}

void BindingListPage::moveUp()
{
    move(-1);
}

void BindingListPage::moveDown()
{
    move(1);
}

void BindingListPage::move(int by)
{
    emit aboutToEdit();
    const int row = m_list->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= m_bindings.size())
        return;
    std::swap(m_bindings[row], m_bindings[to]);
    fillList(to);
    emit changed();
}

void BindingListPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    else if (event->type() == QEvent::EnabledChange)
        updateButtons();
    QWidget::changeEvent(event);
}

void BindingListPage::retranslate()
{
    m_add->setText(tr("添加"));
    m_edit->setText(tr("编辑"));
    m_remove->setText(tr("删除"));
    m_up->setText(tr("上移"));
    m_down->setText(tr("下移"));
    // The summaries name the kinds in the interface language.
    for (int i = 0; i < m_list->count() && i < m_bindings.size(); ++i)
        m_list->item(i)->setText(m_bindings.at(i).summary());
}
