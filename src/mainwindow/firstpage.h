#pragma once

#include <QVector>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QToolButton;
class RecentLabel;

// The central page while no project is open: new, open, clear and the
// recent projects, which it mirrors from the main window's recent-project
// menu.
class FirstPage : public QWidget
{
    Q_OBJECT
public:
    enum { RecentCount = 10 };

    explicit FirstPage(QWidget *parent = nullptr);

    // The buttons show and trigger the given actions (not owned).
    void setNewAction(QAction *action);
    void setOpenAction(QAction *action);
    void setClearAction(QAction *action);

    // Shows row i for every visible action i of menu (the first RecentCount
    // actions) and hides the other rows. menu is not owned.
    void updateRecent(QMenu *menu);

    // Row index (0 .. RecentCount - 1), owned by the page; null outside.
    RecentLabel *recentLabel(int index) const { return m_rows.value(index); }

public slots:
    void on_project_clicked();
    void on_example_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QToolButton *m_project = nullptr;
    QToolButton *m_example = nullptr;
    QToolButton *m_newp = nullptr;
    QToolButton *m_openp = nullptr;
    QToolButton *m_clear = nullptr;
    QLabel *m_recentTitle = nullptr;
    QStackedWidget *m_pages = nullptr;
    QVector<RecentLabel *> m_rows;
};
