#include "firstpage.h"

#include "recentlabel.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *makeButton(const char *name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(96, 64);
    return button;
}

} // namespace

FirstPage::FirstPage(QWidget *parent)
    : QWidget(parent)
{
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(40, 40, 40, 40);
    outer->setSpacing(24);

    auto *side = new QVBoxLayout;
    m_project = makeButton("project", this);
    m_example = makeButton("example", this);
    for (QToolButton *b : {m_project, m_example}) {
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumSize(120, 36);
        side->addWidget(b);
    }
    m_project->setChecked(true);
    side->addStretch();
    outer->addLayout(side);

    m_pages = new QStackedWidget(this);
    auto *projects = new QWidget(m_pages);
    auto *pageLayout = new QVBoxLayout(projects);
    auto *buttons = new QHBoxLayout;
    m_newp = makeButton("newp", projects);
    m_openp = makeButton("openp", projects);
    m_clear = makeButton("clear", projects);
    for (QToolButton *b : {m_newp, m_openp, m_clear})
        buttons->addWidget(b);
    buttons->addStretch();
    pageLayout->addLayout(buttons);

    m_recentTitle = new QLabel(projects);
    pageLayout->addWidget(m_recentTitle);
    auto *recentArea = new QWidget(projects);
    recentArea->setObjectName(QStringLiteral("recentArea"));
    auto *recentLayout = new QVBoxLayout(recentArea);
    recentLayout->setContentsMargins(0, 0, 12, 12);
    for (int i = 0; i < RecentCount; ++i) {
        auto *row = new RecentLabel(recentArea);
        row->hide();
        recentLayout->addWidget(row);
        m_rows.append(row);
    }
    recentLayout->addStretch();
    pageLayout->addWidget(recentArea, 1);

    m_pages->addWidget(projects);
    m_pages->addWidget(new QWidget(m_pages));
    outer->addWidget(m_pages, 1);

    connect(m_project, &QToolButton::clicked, this, &FirstPage::on_project_clicked);
    connect(m_example, &QToolButton::clicked, this, &FirstPage::on_example_clicked);
    retranslate();
}

void FirstPage::setNewAction(QAction *action)
{
    m_newp->setDefaultAction(action);
}

void FirstPage::setOpenAction(QAction *action)
{
    m_openp->setDefaultAction(action);
}

void FirstPage::setClearAction(QAction *action)
{
    m_clear->setDefaultAction(action);
}

void FirstPage::updateRecent(QMenu *menu)
{
    const QList<QAction *> actions = menu ? menu->actions() : QList<QAction *>();
    for (int i = 0; i < RecentCount; ++i) {
        QAction *action = actions.value(i);
        if (action && action->isVisible()) {
            m_rows.at(i)->setEntry(i, action->data().toString(), action);
            m_rows.at(i)->show();
        } else {
            m_rows.at(i)->hide();
        }
    }
}

void FirstPage::on_project_clicked()
{
    m_project->setChecked(true);
    m_example->setChecked(false);
    m_pages->setCurrentIndex(0);
}

void FirstPage::on_example_clicked()
{
    m_example->setChecked(true);
    m_project->setChecked(false);
    m_pages->setCurrentIndex(1);
}

void FirstPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void FirstPage::retranslate()
{
    m_project->setText(tr("工程"));
    m_example->setText(tr("示例"));
    m_recentTitle->setText(tr("最近工程："));
}
