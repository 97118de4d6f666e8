#pragma once

#include <QMap>
#include <QTreeWidget>

class DrawManager;
class QAction;
class QMenu;

// The "工程" dock: the project's screens and scripts under fixed category
// entries, each category with an entry that adds a document of its kind.
//
// Documents (forms: a screen's DrawScene or a ProjectScript) are created
// through DrawManager, which owns them; the tree only refers to them and
// shows their names (object names), following them as they change. It asks
// for tabs to be shown or removed through its two signals; whoever answers
// removeTabContent also lets DrawManager delete the form. An entry whose
// form is deleted elsewhere disappears by itself. Category and add entries
// are never removed.
class ProjectTree : public QTreeWidget
{
    Q_OBJECT
public:
    // Item data roles in column 0.
    enum Role { KindRole = Qt::UserRole + 1, FormRole = Qt::UserRole + 2 };
    // Entry kinds: 0 for the root and the categories, the ScreenType code
    // (1-4) for documents, the code plus AddFlag for add entries.
    enum Kind {
        Category = 0,
        AddFlag = 16,
        AddBase = 17,
        AddWindow = 18,
        AddTemplate = 19,
        AddScript = 20
    };

    explicit ProjectTree(QWidget *parent = nullptr);

    // Sets the texts of the fixed entries and of the menu in the current
    // language. Document entries keep their names.
    void retranslate();
    // The menu shown on document entries.
    QMenu *contextMenu() const { return m_menu; }
    // 属性 of that menu: emits propertyRequested for the entry clicked.
    QAction *propertyAction() const { return m_propertyAction; }

    // Creates a document of kind (1-4) through DrawManager, copying
    // copyFrom when given, and appends its entry under the category. With
    // show set, showTabContent(form) follows; a project loader passes false
    // and shows the first screen itself. Returns the new form, or null when
    // the kind has no category.
    QObject *addForm(int kind, QObject *copyFrom = nullptr, bool show = true);

    // Entries for every screen and script of screens (a project just
    // opened), in the order made, none of them shown.
    void addDocuments(DrawManager *screens);

    // The entry of form, or null.
    QTreeWidgetItem *findItem(QObject *form) const;
    // The category entry of a document kind (1-4), or null.
    QTreeWidgetItem *categoryItem(int kind) const { return m_categories.value(kind); }
    static int kindOf(const QTreeWidgetItem *item);
    // The document an entry refers to; null for fixed entries.
    static QObject *formOf(const QTreeWidgetItem *item);

    // Removes a document entry and emits removeTabContent(form). Fixed
    // entries and null are ignored.
    void deleteItem(QTreeWidgetItem *item);
    // Removes every document entry, each through deleteItem (closing the
    // project).
    void closeAll();
    // Makes form's entry the current one; nothing when it has none.
    void selectForm(QObject *form);
    // Shows title as the text of form's entry. Entries also follow their
    // form's name by themselves.
    void renameForm(QObject *form, const QString &title);

public slots:
    // A committed rename: the form's name takes the new text, as one step
    // of the project's history. An empty name is refused and the entry
    // shows the old one again.
    void onItemChanged(QTreeWidgetItem *item, int column);
    // pos in viewport coordinates. Only document entries have a menu.
    void onCustomContextMenuRequested(const QPoint &pos);
    void onRenameTriggered();
    // "创建副本": a new document of the current entry's kind copied from it.
    void onCopyTriggered();
    // Asks for confirmation, then deletes the current document entry.
    void onDeleteTriggered();

signals:
    void removeTabContent(QObject *form);
    void showTabContent(QObject *form);
    // addForm() made form with show set (a user's new screen or copy, not
    // one read from a file): the project changed.
    void formAdded(QObject *form);
    // The user gave form a new name in the tree.
    void formRenamed(QObject *form);
    // 属性 was chosen on form's entry (a screen's scene).
    void propertyRequested(QObject *form);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // Appends form's entry under the category of kind, which must exist.
    void addEntry(int kind, QObject *form);
    QTreeWidgetItem *addFixedEntry(QTreeWidgetItem *parent, int kind, const QString &icon);
    QList<QTreeWidgetItem *> documentItems() const;
    static bool isDocument(const QTreeWidgetItem *item);

    QMenu *m_menu;
    QAction *m_renameAction;
    QAction *m_copyAction;
    QAction *m_deleteAction;
    QAction *m_propertyAction;
    // Children of this tree (items are owned by the tree).
    QTreeWidgetItem *m_screensRoot = nullptr;
    QMap<int, QTreeWidgetItem *> m_categories;
    QMap<int, QTreeWidgetItem *> m_addEntries;
    // Set while the tree writes an entry's text itself, so that
    // onItemChanged does not take it for a user's rename.
    bool m_updating = false;
};
