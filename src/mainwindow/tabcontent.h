#pragma once

#include <QList>
#include <QPointer>
#include <QSplitter>

class QAction;
class QMenu;
class QTabWidget;

// The central tab area: the views of open screens and the script editors
// as tabs, in one or more tab groups laid side by side (horizontal) or one
// above the other (vertical).
//
// The tab area never owns the widgets in its tabs: FormWidgets does.
// Removing or closing a tab detaches the widget (parent none), and the
// destructor detaches every widget still shown. There is always at least
// one group; a group is deleted once it has no tab and another group exists,
// also when its last widget was deleted elsewhere.
class TabContent : public QSplitter
{
    Q_OBJECT
public:
    explicit TabContent(QWidget *parent = nullptr);
    ~TabContent() override;

    // The current group's current widget; null when that group is empty.
    QWidget *currentWidget() const;
    // Shows widget's tab in the first group holding it, which becomes
    // current; adds it to the current group when no group holds it. Null is
    // ignored.
    void activateWidget(QWidget *widget);

    // The groups in creation order, and the one last clicked or used.
    QList<QTabWidget *> groups() const { return m_groups; }
    QTabWidget *currentGroup() const { return m_current; }
    // The tab context menu: close this, close all, close others, new
    // horizontal group, new vertical group, move to previous, move to next.
    QMenu *contextMenu() const { return m_menu; }

public slots:
    // Adds widget as a tab of the current group (taking it out of any
    // other group) and makes it current.
    void addTabForm(QWidget *widget);
    // Takes widget's tab out of whichever group holds it.
    void removeTabContent(QWidget *widget);
    // Sets the tab text of widget to its window title. Tabs also follow
    // title changes by themselves.
    void tabTextChanged(QWidget *widget);

    // Close tabs of the current group. Closing only detaches: the document
    // stays in the project. An index outside the group is ignored.
    void closeTab(int index);
    void closeThisTab();
    void closeAllTab();
    void closeAllButThisTab();
    // pos is in the coordinates of the tab bar that asked (the sender), or
    // of the current group's tab bar when called directly.
    void on_customContextMenuRequested(const QPoint &pos);

signals:
    // A tab bar of some group was clicked; index is that group's current
    // index. currentWidget() tells which widget is shown now.
    void currentChanged(int index);
    // One close command has ended (one or more tabs closed). currentWidget()
    // tells which widget is shown now; null when the current group is empty.
    void tabsClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    QTabWidget *addTabGroup(Qt::Orientation orientation, QWidget *widget);
    QTabWidget *groupOf(QWidget *widget) const;
    // Removes widget's tab from group and detaches it; false when group does
    // not hold it.
    bool detach(QTabWidget *group, QWidget *widget);
    void addToGroup(QTabWidget *group, QWidget *widget);
    void closeTabOf(QTabWidget *group, int index);
    void removeEmptyGroup(QTabWidget *group);
    void pruneEmptyGroups();
    void moveToNeighbourGroup(QWidget *widget, int step);
    void moveWidgetToGroup(QTabWidget *target, QWidget *widget);
    void tabBarClicked(QTabWidget *group, int index);

    QMenu *m_menu;
    QAction *m_closeThis;
    QAction *m_closeAll;
    QAction *m_closeOthers;
    QAction *m_newHorizontal;
    QAction *m_newVertical;
    QAction *m_movePrevious;
    QAction *m_moveNext;
    // Children of the splitter.
    QList<QTabWidget *> m_groups;
    QPointer<QTabWidget> m_current;
};
