#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QStackedWidget;
class QToolButton;

// The central page while no project is open: new, open, clear and the
// recent projects.
class FirstPage : public QWidget
{
    Q_OBJECT
public:
    explicit FirstPage(QWidget *parent = nullptr);

    // The buttons show and trigger the given actions (not owned).
    void setNewAction(QAction *action);
    void setOpenAction(QAction *action);
    void setClearAction(QAction *action);

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
};
