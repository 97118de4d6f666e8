// The property browser's read-only 数据 row: bindings are edited on the
// property dialog's 数据 page; the browser only says what a shape holds.

#include "propertytreebrowser.h"

#include "shapes/graphicsitem.h"

#include <QGraphicsItem>
#include <QStandardItemModel>

namespace {

QGraphicsItem *shapeItem(QObject *object)
{
    // Single shapes and groups are both QObject and item; a screen is not.
    auto *item = dynamic_cast<QGraphicsItem *>(object);
    return item && shapeObject(item) == object ? item : nullptr;
}

} // namespace

QString PropertyTreeBrowser::bindingsText(const QVector<Binding> &bindings)
{
    if (bindings.isEmpty())
        return tr("无");
    QStringList summaries;
    for (const Binding &binding : bindings)
        summaries << binding.summary();
    return tr("%n 项: %1", nullptr, bindings.size()).arg(summaries.join(QLatin1String("; ")));
}

QModelIndex PropertyTreeBrowser::dataIndex() const
{
    return m_dataValue ? m_dataValue->index() : QModelIndex();
}

void PropertyTreeBrowser::addDataRow()
{
    if (!shapeItem(m_object))
        return;
    m_dataTitle = new QStandardItem;
    m_dataValue = new QStandardItem;
    for (QStandardItem *cell : {m_dataTitle, m_dataValue}) {
        // Shown, never edited here: no editor opens and no edit is applied.
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        cell->setData(StringRow, KindRole);
    }
    m_model->appendRow({m_dataTitle, m_dataValue});
    fillDataRow();
}

void PropertyTreeBrowser::fillDataRow()
{
    QGraphicsItem *item = shapeItem(m_object);
    if (!item || !m_dataValue)
        return;
    const QVector<Binding> bindings = shapeBindings(item);
    m_dataTitle->setText(tr("数据"));
    m_dataValue->setText(bindingsText(bindings));
    QStringList lines;
    for (const Binding &binding : bindings)
        lines << binding.summary();
    m_dataValue->setToolTip(lines.join(QLatin1Char('\n')));
}
