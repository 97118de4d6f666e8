#pragma once

#include "model/binding.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

class QComboBox;
class QDoubleValidator;
class QGraphicsItem;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;
class QTableWidgetItem;
class RegEditWidget;

// Edits one binding of a shape: its kind, its source (through the register
// picker) and the parameters of that kind. The dialog shows a binding and
// gives it back; what the user left alone comes back exactly as it was,
// down to a source the current project no longer knows how to decode.
//
// Numbers are typed as text and refused on 确定 when they are none, rather
// than rounded by a spin box into something the user never typed.
class BindingDialog : public QDialog
{
    Q_OBJECT
public:
    explicit BindingDialog(QWidget *parent = nullptr);

    // The kinds that fit item: visibility, colours and actions for every
    // shape and group; values and text states for text and widget shapes;
    // pictures for image shapes.
    static QVector<Binding::Kind> kindsFor(QGraphicsItem *item);

    // Offers kinds (in this order) in the kind chooser. A binding shown
    // later whose kind is not among them adds its own, so that it is shown
    // as it is.
    void setKinds(const QVector<Binding::Kind> &kinds);
    void setBinding(const Binding &binding);
    // Shows a new binding of kind, with defaults a word source serves. Its
    // source is stored as shown: there is no stored one to keep.
    void startNew(Binding::Kind kind);
    // The binding the fields describe; false, with a message, when a
    // number field holds no number.
    bool takeBinding(Binding *binding);

    // Shows the source of binding in the register picker: the user's tag by
    // name, or the direct address decoded for the current project.
    static void showSource(RegEditWidget *edit, const Binding &binding);
    // The source the picker shows, stored as the address library stores a
    // row. A system register is stored as its address: the system list
    // belongs to the panel model, which the project may change.
    static void takeSource(const RegEditWidget *edit, Binding *binding);
    static bool sameSource(const Binding &a, const Binding &b);

    RegEditWidget *sourceEdit() const { return m_source; }
    QComboBox *kindBox() const { return m_kind; }

    // Runs the dialog through the modal seam; true when it was confirmed
    // with fields that all hold numbers.
    bool run();

    void on_ok_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildForm();
    QWidget *buildValuePage();
    QWidget *buildTextStatePage();
    QWidget *buildVisiblePage();
    QWidget *buildColoursPage();
    QWidget *buildActionPage();
    QWidget *buildPicturePage();
    // A label for a form row, retranslated with the others.
    QLabel *label(QWidget *parent);
    void retranslate();
    void fillKinds();
    void kindChosen();
    // Enables the fields the chosen kind and action use.
    void followAction();
    // Offers the screens the chosen action goes to: base screens for a
    // switch, windows for opening and closing.
    void fillScreens();
    // The message refusing limits the wrong way round; empty when none are.
    static QString reversedLimits(const Binding &binding);
    void addRange(const Binding::Range &range);
    void chooseRangeColour(QTableWidgetItem *cell);
    void addPictures();
    // Sets combo's current entry to text, adding it when it is missing.
    static void showName(QComboBox *combo, const QString &text);

    QVector<Binding::Kind> m_kinds;
    Binding m_loaded;
    // What the picker showed once loaded: a source the user left alone is
    // given back as it was stored.
    Binding m_shownSource;
    bool m_fresh = false; // shown by startNew
    int m_screensType = 0; // the ScreenType m_screen lists
    QStringList m_bad; // names of number fields that hold no number

    QComboBox *m_kind = nullptr;
    RegEditWidget *m_source = nullptr;
    QStackedWidget *m_pages = nullptr;
    QDoubleValidator *m_realValidator = nullptr;

    QSpinBox *m_digits = nullptr;
    QSpinBox *m_decimals = nullptr;
    QLineEdit *m_scale = nullptr;
    QLineEdit *m_offset = nullptr;
    QLineEdit *m_unit = nullptr;
    QLineEdit *m_minimum = nullptr;
    QLineEdit *m_maximum = nullptr;

    QComboBox *m_textTag = nullptr;
    QSpinBox *m_fallback = nullptr;

    QComboBox *m_condition = nullptr;
    QLineEdit *m_value = nullptr;
    QLineEdit *m_value2 = nullptr;

    QTableWidget *m_ranges = nullptr;
    QPushButton *m_addRange = nullptr;
    QPushButton *m_removeRange = nullptr;

    QComboBox *m_action = nullptr;
    QLineEdit *m_step = nullptr;
    QLineEdit *m_stepMinimum = nullptr;
    QLineEdit *m_stepMaximum = nullptr;
    QComboBox *m_screen = nullptr;

    QListWidget *m_pictures = nullptr;
    QPushButton *m_addPicture = nullptr;
    QPushButton *m_removePicture = nullptr;

    QList<QLabel *> m_labels; // retranslated in order of creation
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
