#include "toolboxform.h"

#include "drawtool.h"
#include "shapes/shapekind.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QSize ListItemSize(100, 30);
const QSize IconItemSize(60, 60);

QPushButton *makeToolButton(const char *name, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

ToolBoxForm::ToolBoxForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolBoxForm"));
    setAttribute(Qt::WA_StyledBackground);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(5, 10, 5, 10);
    m_select = makeToolButton("select", this);
    m_rotate = makeToolButton("rotate", this);
    m_continous = makeToolButton("continous", this);
    m_listmode = makeToolButton("listmode", this);
    m_select->setChecked(true);
    m_exclusive = new QButtonGroup(this);
    m_exclusive->addButton(m_select);
    m_exclusive->addButton(m_rotate);
    m_exclusive->setExclusive(true);
    for (QPushButton *b : {m_select, m_rotate, m_continous, m_listmode})
        top->addWidget(b);
    top->addStretch();
    layout->addLayout(top);
    connect(m_listmode, &QPushButton::toggled, this, &ToolBoxForm::on_listmode_triggered);
    connect(m_select, &QPushButton::clicked, this, &ToolBoxForm::on_select_triggered);
    connect(m_rotate, &QPushButton::clicked, this, &ToolBoxForm::on_rotate_triggered);
    connect(m_continous, &QPushButton::clicked, this, &ToolBoxForm::on_continous_triggered);

    addPage(QStringLiteral(":/resources/images/graph/"),
            {{2, QStringLiteral("line.png")}, {3, QStringLiteral("rectangle.png")},
             {4, QStringLiteral("roundrect.png")}, {5, QStringLiteral("ellipse.png")},
             {6, QStringLiteral("polygon.png")}, {7, QStringLiteral("polyline.png")},
             {8, QStringLiteral("bezier.png")}, {9, QStringLiteral("textitem.png")},
             {10, QStringLiteral("imageitem.png")}});
    addPage(QStringLiteral(":/resources/images/widget/"),
            {{12, QStringLiteral("label.png")}, {13, QStringLiteral("pushbutton.png")},
             {14, QStringLiteral("combobox.png")}, {15, QStringLiteral("radiobutton.png")},
             {16, QStringLiteral("checkbox.png")}, {17, QStringLiteral("lineedit.png")},
             {18, QStringLiteral("textedit.png")}, {19, QStringLiteral("spinbox.png")}});
    addPage(QString(), {});
    layout->addStretch();

    retranslate();
}

void ToolBoxForm::addPage(const QString &folder, const QList<QPair<int, QString>> &items)
{
    auto *title = new QCheckBox(this);
    title->setObjectName(QStringLiteral("ToolBoxTitle"));
    title->setChecked(true);
    auto *list = new QListWidget(this);
    list->setObjectName(QStringLiteral("ToolBoxList"));
    list->setMinimumHeight(10);
    list->setFocusPolicy(Qt::NoFocus);
    for (const auto &entry : items) {
        auto *item = new QListWidgetItem(QIcon(QStringLiteral("%1%2").arg(folder, entry.second)),
                                         QString(), list);
        item->setData(Qt::UserRole, entry.first);
        item->setSizeHint(ListItemSize);
    }
    connect(title, &QCheckBox::toggled, list, &QWidget::setVisible);
    connect(list, &QListWidget::itemClicked, this, &ToolBoxForm::itemClicked);
    layout()->addWidget(title);
    layout()->addWidget(list);
    m_titles.append(title);
    m_lists.append(list);
}

void ToolBoxForm::itemClicked(QListWidgetItem *item)
{
    const int code = item->data(Qt::UserRole).toInt();
    DrawTool::currentShape = code;
    showCurrentTool();
    emit userDrawShape(code);
}

void ToolBoxForm::showCurrentTool()
{
    const int shape = DrawTool::currentShape;
    for (QListWidget *list : qAsConst(m_lists)) {
        QListWidgetItem *entry = nullptr;
        for (int i = 0; i < list->count() && !entry; ++i) {
            if (list->item(i)->data(Qt::UserRole).toInt() == shape)
                entry = list->item(i);
        }
        const QSignalBlocker blocker(list);
        if (entry) {
            list->setCurrentItem(entry);
        } else {
            list->setCurrentItem(nullptr);
            list->clearSelection();
        }
    }
    if (shape == SelectKind) {
        m_select->setChecked(true);
    } else if (shape == RotateKind) {
        m_rotate->setChecked(true);
    } else {
        // An exclusive group never lets its last checked button go.
        m_exclusive->setExclusive(false);
        m_select->setChecked(false);
        m_rotate->setChecked(false);
        m_exclusive->setExclusive(true);
    }
}

void ToolBoxForm::on_select_triggered(bool checked)
{
    Q_UNUSED(checked)
    DrawTool::currentShape = SelectKind;
    showCurrentTool();
}

void ToolBoxForm::on_rotate_triggered(bool checked)
{
    Q_UNUSED(checked)
    DrawTool::currentShape = RotateKind;
    showCurrentTool();
}

void ToolBoxForm::on_continous_triggered(bool checked)
{
    DrawTool::currentShape = SelectKind;
    DrawTool::continuousInsert = checked;
    showCurrentTool();
}

void ToolBoxForm::on_listmode_triggered(bool checked)
{
    for (QListWidget *list : qAsConst(m_lists)) {
        list->setViewMode(checked ? QListView::IconMode : QListView::ListMode);
        if (checked)
            list->setResizeMode(QListView::Adjust);
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSizeHint(checked ? IconItemSize : ListItemSize);
    }
}

void ToolBoxForm::setToolsEnabled(bool enable)
{
    m_rotate->setEnabled(enable);
    // A rotate button that cannot be pressed cannot stay the tool either.
    if (!enable && DrawTool::currentShape == RotateKind)
        DrawTool::currentShape = SelectKind;
    showCurrentTool();
}

void ToolBoxForm::retranslate()
{
    m_select->setToolTip(tr("选择"));
    m_rotate->setToolTip(tr("旋转"));
    m_continous->setToolTip(tr("连续插入"));
    m_listmode->setToolTip(tr("列表模式"));

    const QStringList pages = {tr("图形"), tr("对象"), tr("图库")};
    for (int i = 0; i < m_titles.size() && i < pages.size(); ++i)
        m_titles[i]->setText(pages.at(i));

    const QStringList texts[] = {
        {tr("线条"), tr("矩形"), tr("圆角矩形"), tr("椭圆"), tr("多边形"), tr("折线"), tr("曲线"),
         tr("文本"), tr("图片")},
        {tr("标签"), tr("按钮"), tr("下拉框"), tr("单选框"), tr("复选框"), tr("单行文本"),
         tr("多行文本"), tr("数值框")},
    };
    for (int p = 0; p < 2 && p < m_lists.size(); ++p) {
        for (int i = 0; i < m_lists[p]->count() && i < texts[p].size(); ++i)
            m_lists[p]->item(i)->setText(texts[p].at(i));
    }
}
