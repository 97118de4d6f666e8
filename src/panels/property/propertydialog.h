#pragma once

#include "model/binding.h"

#include <QDialog>
#include <QFont>
#include <QPointer>

class BindingListPage;
class ColorCombox;
class FontEditWidget;
class GraphicsImageItem;
class DrawScene;
class QCheckBox;
class QGraphicsItem;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class RegEditWidget;

// The property dialog of a screen or of one shape, created once by the main
// window and reused; each opening sets a fresh target.
//
// For a screen only the name is live; a rename is one step of the project's
// history, as a rename in the project tree is. For a shape the name, the layout group (position, size,
// pin), the background colour and the font (text shapes) are loaded from
// the shape and written back by 应用/确定 as one undo step on the active
// stack. Only fields the user changed are written, so 确定 on an untouched
// dialog changes nothing. Refused with a message, the shape left as it
// was: a name another shape of the screen already has, a size below 1, and
// a position or size the screen would not hold. An image shape's picture is
// chosen with "..." and copied into the project's "images" folder only when
// the choice is applied. The 数据 page edits a working copy of the shape's
// bindings; the register field shows the source of the first value binding
// and, once changed, stores it there (on a shape without one that takes
// values, it adds one). 确定 gives the shape the working copy in the same
// one step as the other fields. The event pages are laid out but hold no
// data.
class PropertyDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PropertyDialog(QWidget *parent = nullptr);

    // Opens the dialog for scene: with no shape selected for the screen
    // itself, with one selected for that shape; with several selected, or
    // without a scene, nothing opens. Returns whether it opened.
    bool showFor(DrawScene *scene);
    // Opens the dialog for scene itself, whatever is selected on it.
    // Returns whether it opened.
    bool showForScreen(DrawScene *scene);

    // Targets (at most one is set; each clears the other) and loading.
    void setScreenTarget(DrawScene *scene);
    void setItemTarget(QGraphicsItem *item);
    DrawScene *screenTarget() const;
    QGraphicsItem *itemTarget() const;

    QTreeWidget *navigation() const { return m_tree; }
    QLineEdit *nameEdit() const { return m_name; }
    QSpinBox *xEdit() const { return m_x; }
    QSpinBox *yEdit() const { return m_y; }
    QSpinBox *widthEdit() const { return m_width; }
    QSpinBox *heightEdit() const { return m_height; }
    QCheckBox *pinBox() const { return m_pin; }
    FontEditWidget *fontEdit() const { return m_font; }
    ColorCombox *backgroundEdit() const { return m_background; }
    RegEditWidget *registerEdit() const { return m_register; }
    QLineEdit *pictureEdit() const { return m_picture; }
    QToolButton *pictureButton() const { return m_pictureButton; }
    QToolButton *pictureClearButton() const { return m_pictureClear; }
    BindingListPage *bindingPage() const { return m_bindingPage; }

signals:
    // A screen was renamed here (its scene is passed): the project changed.
    void formRenamed(QObject *form);

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();
    // Returns whether the values were taken (a refused name keeps the
    // dialog open on OK).
    bool on_apply_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildForm();
    // Widens the page tree to its longest entry.
    void fitTree();
    void retranslate();
    void showPage(QTreeWidgetItem *item);
    void loadItem();
    bool applyScreen();
    bool applyItem();
    void refuse(const QString &text);
    void refuseSize(const QString &text);
    // Asks for a picture file (the choice waits for 应用).
    void choosePicture();
    void loadPicture(const GraphicsImageItem *image);
    // Takes the chosen picture into the project's folder; false, with a
    // message, when that fails. *picture is what the shape is to store.
    bool takePicture(QString *picture);
    int run();
    // Shows the working copy's first value binding in the register field.
    void showRegister();
    // Takes a register field the user changed into the working copy.
    void foldRegister();

    QPointer<DrawScene> m_screen; // not owned
    QPointer<QObject> m_shape; // the shape's QObject side, not owned
    QGraphicsItem *m_item = nullptr; // valid while m_shape is

    // What the fields showed when loaded: only fields the user changed are
    // written, so an untouched fractional size is not rounded.
    QString m_loadedName;
    int m_loadedX = 0;
    int m_loadedY = 0;
    int m_loadedWidth = 0;
    int m_loadedHeight = 0;
    bool m_loadedPin = false;
    QColor m_loadedColor;
    QColor m_chosenColor;
    bool m_colorChosen = false;
    QFont m_loadedFont;
    QString m_loadedPicture;
    // The file chosen with "..." (empty once cleared), not yet copied.
    QString m_chosenPicture;
    bool m_pictureChosen = false;

    QTreeWidget *m_tree = nullptr;
    QList<QTreeWidgetItem *> m_entries; // in order of appearance
    QStackedWidget *m_pages = nullptr;
    QLabel *m_nameLabel = nullptr;
    QLineEdit *m_name = nullptr;
    QGroupBox *m_layoutGroup = nullptr;
    QLabel *m_xLabel = nullptr;
    QLabel *m_yLabel = nullptr;
    QLabel *m_widthLabel = nullptr;
    QLabel *m_heightLabel = nullptr;
    QSpinBox *m_x = nullptr;
    QSpinBox *m_y = nullptr;
    QSpinBox *m_width = nullptr;
    QSpinBox *m_height = nullptr;
    QCheckBox *m_pin = nullptr;
    QLabel *m_registerLabel = nullptr;
    RegEditWidget *m_register = nullptr;
    QLabel *m_backgroundLabel = nullptr;
    ColorCombox *m_background = nullptr;
    QLabel *m_fontLabel = nullptr;
    FontEditWidget *m_font = nullptr;
    QLabel *m_pictureLabel = nullptr;
    QLineEdit *m_picture = nullptr;
    QToolButton *m_pictureButton = nullptr;
    QToolButton *m_pictureClear = nullptr;
    BindingListPage *m_bindingPage = nullptr;
    // The working copy's binding the register field shows (-1: none yet),
    // and the source it showed when loaded.
    int m_registerIndex = -1;
    Binding m_registerShown;
    // The user confirmed the field's address: on a shape without a value
    // binding even the address shown at first is then one to store.
    bool m_registerConfirmed = false;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_apply = nullptr;
};
