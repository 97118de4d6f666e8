#pragma once

#include <QSplitter>

class QTabWidget;

// The central tab area. Tab groups and their context menu come with the
// screen-editing work; until then there is one group.
class TabContent : public QSplitter
{
    Q_OBJECT
public:
    explicit TabContent(QWidget *parent = nullptr);

    // The current group's current widget; null when the group is empty.
    QWidget *currentWidget() const;
    // Shows widget's tab, adding it when no group holds it. The tab area
    // does not take ownership of widget.
    void activateWidget(QWidget *widget);

public slots:
    void addTabForm(QWidget *widget);
    void removeTabContent(QWidget *widget);
    void tabTextChanged(QWidget *widget);

signals:
    void currentChanged(int index);

private:
    QTabWidget *m_current = nullptr;
};
