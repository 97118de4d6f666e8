#pragma once

#include <QTreeWidget>

class QMenu;

// The "工程" dock: the project's screens and scripts under fixed category
// entries, each with an entry that adds a document of its kind.
class ProjectTree : public QTreeWidget
{
    Q_OBJECT
public:
    // Entry kinds stored in the items' user data.
    enum Kind { Category = 0, AddBase = 17, AddWindow = 18, AddTemplate = 19, AddScript = 20 };

    explicit ProjectTree(QWidget *parent = nullptr);

    void retranslate();
    // The menu shown on document entries; the main window adds its
    // property action to it.
    QMenu *contextMenu() const { return m_menu; }

signals:
    void removeTabContent(QWidget *widget);
    void showTabContent(QWidget *widget);

private:
    QTreeWidgetItem *addEntry(QTreeWidgetItem *parent, int kind, const QString &icon);

    QMenu *m_menu = nullptr;
    QList<QTreeWidgetItem *> m_fixed;
};
