#pragma once

#include <QTreeWidget>

// The "属性浏览" dock: the selected shape's or the screen's properties as a
// two-column tree.
class PropertyTreeBrowser : public QTreeWidget
{
    Q_OBJECT
public:
    explicit PropertyTreeBrowser(QWidget *parent = nullptr);

    void retranslate();
};
