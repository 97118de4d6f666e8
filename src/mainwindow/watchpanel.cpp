#include "watchpanel.h"

#include "watchmodel.h"

#include "model/binding.h"
#include "model/config.h"
#include "shapes/graphicsitem.h"
#include "simulation/generator.h"
#include "simulation/registermemory.h"
#include "simulation/simulation.h"

#include <QComboBox>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The generator's kind is picked from a list rather than typed.
class KindDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *box = new QComboBox(parent);
        box->addItem(WatchPanel::tr("无"), QString());
        for (int k = Generator::Constant; k <= Generator::List; ++k) {
            const auto kind = static_cast<Generator::Kind>(k);
            box->addItem(Generator::kindName(kind), Generator::kindKey(kind));
        }
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *box = static_cast<QComboBox *>(editor);
        box->setCurrentIndex(qMax(0, box->findData(index.data(Qt::EditRole).toString())));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        model->setData(index, static_cast<QComboBox *>(editor)->currentData());
    }
};

// A name for a binding's source that RegisterMemory::resolveName reads
// back as the same register, so that a recorded entry replays.
QString watchName(const Binding &binding, const AddressPara &para)
{
    if (!binding.tag.isEmpty())
        return binding.tag;
    QString name = binding.address.trimmed();
    if (para.device != 0)
        name = binding.device.trimmed() + QLatin1Char(':') + name;
    if (para.format == Config::String)
        name += QStringLiteral("(String %1)").arg(para.length);
    else if (para.format != Config::Int16)
        name += QStringLiteral("(%1)").arg(Config::dataFormatText(para));
    return name;
}

} // namespace

WatchPanel::WatchPanel(QWidget *parent)
    : QWidget(parent)
    , m_table(new QTableView(this))
    , m_nameEdit(new QLineEdit(this))
    , m_addButton(new QPushButton(this))
    , m_pauseButton(new QPushButton(this))
    , m_stepButton(new QPushButton(this))
    , m_message(new QLabel(this))
{
    setObjectName(QStringLiteral("watchPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *addRow = new QHBoxLayout;
    addRow->addWidget(m_nameEdit, 1);
    addRow->addWidget(m_addButton);
    addRow->addSpacing(12);
    addRow->addWidget(m_pauseButton);
    addRow->addWidget(m_stepButton);
    layout->addLayout(addRow);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_message);
    m_message->setWordWrap(true);
    m_table->verticalHeader()->hide();
    m_table->setItemDelegateForColumn(WatchModel::KindColumn, new KindDelegate(m_table));
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);

    m_clock.setInterval(WatchModel::TickMsec);
    connect(&m_clock, &QTimer::timeout, this, [this] {
        if (m_model)
            m_model->tick();
    });
    connect(m_nameEdit, &QLineEdit::returnPressed, this, &WatchPanel::addTyped);
    connect(m_addButton, &QPushButton::clicked, this, &WatchPanel::addTyped);
    connect(m_pauseButton, &QPushButton::clicked, this, [this] {
        if (isRunning())
            pause();
        else
            resume();
    });
    connect(m_stepButton, &QPushButton::clicked, this, &WatchPanel::step);
    retranslate();
    m_stepButton->setEnabled(false);
}

void WatchPanel::setSimulation(Simulation *simulation)
{
    m_clock.stop();
    if (m_simulation)
        disconnect(m_simulation, nullptr, this, nullptr);
    delete m_model;
    m_model = nullptr;
    m_simulation = simulation;
    if (simulation) {
        m_model = new WatchModel(simulation->memory(), this);
        connect(m_model, &WatchModel::problem, this, &WatchPanel::showMessage);
        connect(simulation, &Simulation::screenChanged, this, &WatchPanel::followScreens);
        connect(simulation, &Simulation::windowsChanged, this, &WatchPanel::followScreens);
        connect(simulation, &Simulation::refreshed, m_model, &WatchModel::refreshValues);
        followScreens();
        m_clock.start();
    }
    m_table->setModel(m_model);
    retranslate();
}

void WatchPanel::addTyped()
{
    if (!m_model)
        return;
    QString error;
    if (m_model->addName(m_nameEdit->text(), &error)) {
        m_nameEdit->clear();
        showMessage(QString());
    } else {
        showMessage(error);
    }
}

void WatchPanel::pause()
{
    m_clock.stop();
    retranslate();
}

void WatchPanel::resume()
{
    if (m_model)
        m_clock.start();
    retranslate();
}

void WatchPanel::step()
{
    if (m_model && !isRunning())
        m_model->tick();
}

void WatchPanel::followScreens()
{
    if (!m_model || !m_simulation)
        return;
    QVector<QPair<QString, AddressPara>> sources;
    QStringList seen;
    // items() lists the topmost first; the table lists the base screen's first.
    const QList<QGraphicsItem *> items = m_simulation->stage()->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        const QVector<Binding> bindings = shapeBindings(item);
        for (const Binding &binding : bindings) {
            AddressPara para;
            if (!m_simulation->memory()->resolve(binding, &para))
                continue;
            const QString name = watchName(binding, para);
            if (seen.contains(name))
                continue;
            seen << name;
            sources.append({name, para});
        }
    }
    m_model->setScreenSources(sources);
}

void WatchPanel::showMessage(const QString &text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void WatchPanel::retranslate()
{
    m_nameEdit->setPlaceholderText(tr("变量名称或地址，如 LW 100"));
    m_addButton->setText(tr("添加"));
    m_pauseButton->setText(isRunning() ? tr("暂停") : tr("继续"));
    m_stepButton->setText(tr("单步"));
    m_stepButton->setEnabled(m_model && !isRunning());
}
