#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The "工具箱" dock: the select/rotate/continuous/list-mode buttons above
// collapsible pages of drawing tools and widgets.
class ToolBoxForm : public QWidget
{
    Q_OBJECT
public:
    explicit ToolBoxForm(QWidget *parent = nullptr);

    // Enables the rotate button (only a single plain shape can be rotated)
    // and shows the current tool.
    void setToolsEnabled(bool enable);
    void retranslate();

    QPushButton *selectButton() const { return m_select; }
    QPushButton *rotateButton() const { return m_rotate; }
    QPushButton *continousButton() const { return m_continous; }
    QPushButton *listModeButton() const { return m_listmode; }
    QList<QListWidget *> lists() const { return m_lists; }

signals:
    // A shape kind was picked from the pages (not the select or rotate
    // button); DrawTool::currentShape already holds it.
    void userDrawShape(int shape);

public slots:
    // Highlights the tool of DrawTool::currentShape: the select or rotate
    // button, or the entry of a drawing tool, and nothing else.
    void showCurrentTool();
    // Choose the select or the rotate tool.
    void on_select_triggered(bool checked);
    void on_rotate_triggered(bool checked);
    // Returns to the select tool and makes creation tools stay chosen
    // after each shape while checked.
    void on_continous_triggered(bool checked);
    // Icons in a grid when checked, a list of named rows otherwise.
    void on_listmode_triggered(bool checked);

private:
    struct Page {
        QCheckBox *title;
        QListWidget *list;
    };
    void addPage(const QString &folder, const QList<QPair<int, QString>> &items);
    void itemClicked(QListWidgetItem *item);

    QPushButton *m_select = nullptr;
    QPushButton *m_rotate = nullptr;
    QPushButton *m_continous = nullptr;
    QPushButton *m_listmode = nullptr;
    QButtonGroup *m_exclusive = nullptr;
    QList<QCheckBox *> m_titles;
    QList<QListWidget *> m_lists;
};
