#include "propertytreebrowser.h"

PropertyTreeBrowser::PropertyTreeBrowser(QWidget *parent)
    : QTreeWidget(parent)
{
    setColumnCount(2);
    setAlternatingRowColors(true);
    retranslate();
}

void PropertyTreeBrowser::retranslate()
{
    setHeaderLabels({tr("属性"), tr("值")});
}
