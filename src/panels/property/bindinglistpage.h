#pragma once

#include "model/binding.h"

#include <QVector>
#include <QWidget>

class BindingDialog;
class QListWidget;
class QPushButton;

// The 数据 page of the property dialog: the bindings of one shape, one line
// each, edited in a working copy with 添加, 编辑 (or a double click), 删除,
// 上移 and 下移. Nothing reaches the shape from here; the property dialog
// takes bindings() on 确定.
class BindingListPage : public QWidget
{
    Q_OBJECT
public:
    explicit BindingListPage(QWidget *parent = nullptr);

    // Starts a working copy of bindings; kinds are those a new binding may
    // take. Emits nothing.
    void setBindings(const QVector<Binding> &bindings, const QVector<Binding::Kind> &kinds);
    const QVector<Binding> &bindings() const { return m_bindings; }
    QVector<Binding::Kind> kinds() const { return m_kinds; }

    QListWidget *list() const { return m_list; }
    // Made on first use; the one add and edit open.
    BindingDialog *bindingDialog();

public slots:
    void addBinding();
    void editBinding();
    void removeBinding();
    void moveUp();
    void moveDown();

signals:
    // Before any button acts: the dialog brings its register field into
    // the working copy first.
    void aboutToEdit();
    // The working copy changed through this page.
    void changed();

protected:
    void changeEvent(QEvent *event) override;

private:
    void fillList(int current);
    void move(int by);
    void updateButtons();
    void retranslate();

    QVector<Binding> m_bindings;
    QVector<Binding::Kind> m_kinds;
    QListWidget *m_list = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_up = nullptr;
    QPushButton *m_down = nullptr;
    BindingDialog *m_dialog = nullptr;
};
