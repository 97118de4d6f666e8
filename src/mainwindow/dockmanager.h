#pragma once

#include <QMap>
#include <QObject>

class QDockWidget;
class QMainWindow;
class QTabBar;
class QToolBar;

// Creates the main window's docks and, for each dock area in use, a slim bar
// of tabs at the window's edge through which each dock is shown or hidden
// with one click.
class DockManager : public QObject
{
    Q_OBJECT
public:
    // window is also the parent; it owns the docks and the edge bars.
    explicit DockManager(QMainWindow *window);

    // Creates a dock in area with the given untranslated title (translated in
    // this class's context now and on every retranslateDocks()). The dock is
    // owned by the main window.
    QDockWidget *createDock(Qt::DockWidgetArea area, const char *title);

    // Stacks second onto first as tabs and remembers them as one group; the
    // layout's own record of tab groups is lost while all of them are hidden.
    void tabifyDocks(QDockWidget *first, QDockWidget *second);
    // The docks sharing a tab group with dock, dock itself excluded.
    QList<QDockWidget *> tabifiedWith(QDockWidget *dock) const;

    void setDocksEnabled(bool enable);
    void retranslateDocks();

    // The tab bar of area's edge bar; null for an area without one.
    QTabBar *tabBar(Qt::DockWidgetArea area) const { return m_bars.value(area); }
    QToolBar *edgeBar(Qt::DockWidgetArea area) const { return m_edgeBars.value(area); }
    QDockWidget *dock(int number) const { return m_docks.value(number); }
    QList<QDockWidget *> docks() const { return m_docks.values(); }

public slots:
    void createDockWidgetBar(Qt::DockWidgetArea area);
    void tabBarClicked(int index);
    void reorderDockWidget(QTabBar *bar, QDockWidget *dockWidget, bool enable);

private:
    QMainWindow *m_window; // not owned: our parent
    QMap<Qt::DockWidgetArea, QTabBar *> m_bars;
    QMap<Qt::DockWidgetArea, QToolBar *> m_edgeBars;
    QMap<int, QDockWidget *> m_docks;
    QMap<QDockWidget *, Qt::DockWidgetArea> m_areas;
    QMap<QDockWidget *, const char *> m_titles;
    QMap<QDockWidget *, int> m_tabGroups;
    // Counted per manager rather than per process, so a second window (as in
    // tests) numbers its docks from 0 like the first.
    int m_counter = 0;
};
