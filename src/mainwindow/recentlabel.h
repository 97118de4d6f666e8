#pragma once

#include <QLabel>
#include <QPointer>

class QAction;

// One row of the start page's recent-project list: number, file icon, the
// project name as a link and the full path beneath it. Activating the link,
// or clicking anywhere on the row, triggers the recent-project action the
// row was last given.
class RecentLabel : public QLabel
{
    Q_OBJECT
public:
    explicit RecentLabel(QWidget *parent = nullptr);

    // Shows entry index (counting from 0) of the recent list. action is not
    // owned; it stays connected until another action is set or it is
    // destroyed. Calling this again with the same action adds no second
    // connection.
    void setEntry(int index, const QString &path, QAction *action);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_number = nullptr;
    QLabel *m_icon = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_path = nullptr;
    QPointer<QAction> m_action;
};
