#include "regpanel.h"

#include "addresseditform.h"
#include "model/config.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace {

AddressPara defaultPara()
{
    AddressPara para;
    para.length = 2;
    return para;
}

} // namespace

RegPanel::RegPanel(QWidget *parent)
    : QToolButton(parent)
    , m_menu(new QMenu(this))
{
    setPopupMode(QToolButton::MenuButtonPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMenu(m_menu);
    m_opened = defaultPara();

    m_holder = new QWidget;
    auto *layout = new QVBoxLayout(m_holder);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QToolButton(m_holder);
    ok->setObjectName(QStringLiteral("RegPanelOk"));
    auto *no = new QToolButton(m_holder);
    no->setObjectName(QStringLiteral("RegPanelNo"));
    buttons->addWidget(ok);
    buttons->addWidget(no);
    layout->addLayout(buttons);
    auto *action = new QWidgetAction(m_menu);
    action->setDefaultWidget(m_holder);
    m_menu->addAction(action);

    connect(ok, &QToolButton::clicked, this, &RegPanel::on_ok_clicked);
    connect(no, &QToolButton::clicked, this, &RegPanel::on_no_clicked);
    connect(this, &QToolButton::clicked, this, &RegPanel::showPopup);
    connect(m_menu, &QMenu::aboutToShow, this, [this] { m_opened = para(); });
    connect(m_menu, &QMenu::aboutToHide, this, &RegPanel::onAboutToHide);
    updateText();
}

void RegPanel::setWidget(QWidget *widget)
{
    if (!widget)
        return;
    auto *layout = static_cast<QVBoxLayout *>(m_holder->layout());
    layout->insertWidget(layout->count() - 1, widget);
    m_form = qobject_cast<AddressEditForm *>(widget);
    updateText();
}

AddressPara RegPanel::para() const
{
    AddressPara para = defaultPara();
    if (m_form)
        m_form->getPara(para);
    return para;
}

void RegPanel::setPara(const AddressPara &para)
{
    if (m_form)
        m_form->setPara(para);
    updateText();
}

void RegPanel::showPopup()
{
    m_menu->setFixedWidth(width());
    showMenu();
}

void RegPanel::mousePressEvent(QMouseEvent *event)
{
    // The pop-up hangs under the button like a drop-down list: as wide as
    // the button, whichever part was pressed.
    m_menu->setFixedWidth(width());
    QToolButton::mousePressEvent(event);
}

void RegPanel::on_ok_clicked()
{
    closePopup();
    emit confirmed();
}

void RegPanel::on_no_clicked()
{
    if (m_form)
        m_form->setPara(m_opened);
    closePopup();
}

void RegPanel::closePopup()
{
    // Closing reports the address; a pop-up already gone reports it too.
    if (m_menu->isVisible())
        m_menu->hide();
    else
        onAboutToHide();
}

void RegPanel::onAboutToHide()
{
    updateText();
    emit paraChanged();
}

void RegPanel::updateText()
{
    setText(Config::instance()->addressSummary(para()));
}
