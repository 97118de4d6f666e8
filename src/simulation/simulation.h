#pragma once

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <QVector>

#include <memory>
#include <vector>

class BoundShape;
class DrawManager;
class QGraphicsItem;
class QGraphicsScene;
class RegisterMemory;
class ScreenCopy;

// The project running as the panel would run it, without a window: one
// base screen with the window screens opened over it, shapes showing and
// writing the registers of a memory their bindings name.
//
// The simulation shows copies of the screens (made when a screen is first
// shown): what the editor holds is only read, and a simulation keeps
// running on what it copied until reload(). The panel's size, languages,
// text tags and address tags come from Config::instance().
//
// Window screens store no place of their own: they open centred on the
// panel, each newer one above the older ones.
//
// Shapes handed out (findShape, shapeAt) stay valid until reload() or the
// simulation's end.
class Simulation : public QObject
{
    Q_OBJECT
public:
    explicit Simulation(DrawManager *screens, QObject *parent = nullptr);
    ~Simulation() override;

    RegisterMemory *memory() const { return m_memory; }

    // Shows the base screen called screen, or the first base screen when
    // screen is empty; false (and nothing shown) when there is no such one.
    bool start(const QString &screen = QString());

    // The base screen shown; empty before start().
    QString currentScreen() const;
    // The open window screens, bottom first.
    QStringList openWindows() const;
    // Shows another base screen; the windows open over the old one close.
    bool switchScreen(const QString &name);
    // Opens a window screen above the others (an open one comes to the top).
    bool openWindow(const QString &name);
    // Closes the named window, or the topmost one for an empty name; false
    // when it is not open.
    bool closeWindow(const QString &name = QString());

    // The project language texts are shown in.
    int language() const { return m_language; }
    // An index outside the project's languages changes nothing.
    void setLanguage(int index);

    // What the panel shows, at panelSize().
    QGraphicsScene *stage() const { return m_stage; }
    QSize panelSize() const { return m_panelSize; }

    // The shape called name, the topmost window first, then the base
    // screen; group members too. Null when no shown screen has one.
    QGraphicsItem *findShape(const QString &name) const;
    // The visible shape the operator would hit at stagePos: the innermost
    // one, so a member rather than its group. Null over a screen's bare
    // area and outside every screen.
    QGraphicsItem *shapeAt(const QPointF &stagePos) const;

    // Operator input. Each is false (with *error) when the shape is not
    // shown or does nothing with the input. A press runs the actions of
    // the shape and of the groups it is in: bits and values are written on
    // press, momentary bits reset on release, screens change on release.
    // A check box or radio button with a value binding writes its bit on
    // press (a check box toggles it).
    bool press(QGraphicsItem *shape, QString *error = nullptr);
    bool release(QGraphicsItem *shape, QString *error = nullptr);
    // A press and a release, reported as one click.
    bool click(QGraphicsItem *shape, QString *error = nullptr);
    // What a widget with a value binding takes: a line edit's text (within
    // the binding's limits), a check box's or radio button's bool, a combo
    // box's index.
    bool enter(QGraphicsItem *shape, const QVariant &value, QString *error = nullptr);

    // Shows what the bindings of the shown screens ask for now; only the
    // shapes whose look changed are touched. Runs on its own shortly after
    // the memory changes.
    void refresh();
    // Blinking colour rows show their colours only while on (on from the
    // start).
    void setBlinkPhase(bool on);
    bool blinkPhase() const { return m_blinkOn; }

    // Copies the screens again, keeping the memory, the language, the base
    // screen shown and the windows open (those that still exist).
    void reload(DrawManager *screens);

    // The stage drawn at panel size.
    QImage snapshot() const;

signals:
    void screenChanged(const QString &name);
    // The open windows changed.
    void windowsChanged();
    void refreshed();
    // action is "press", "release", "click" or "set"; target the shape's
    // name; value what was set.
    void operatorInput(const QString &action, const QString &target, const QString &value);

private:
    enum Phase { Press, Release };

    void copyScreens(DrawManager *screens);
    ScreenCopy *screenNamed(const QString &name, int type) const;
    // Puts the base screen and the open windows on the stage, in order.
    void arrangeStage();
    void scheduleRefresh();
    // The shown screens, topmost first.
    QVector<ScreenCopy *> shownScreens() const;
    // The screen shown that holds shape, or null.
    ScreenCopy *screenOf(const QGraphicsItem *shape) const;
    // The bound entries of shape and of the groups it is in, innermost first.
    QVector<BoundShape *> boundChain(QGraphicsItem *shape, ScreenCopy *screen) const;
    bool operate(QGraphicsItem *shape, Phase phase, QString *error);
    bool runAction(const BoundShape &bound, int index, Phase phase, ScreenCopy *screen,
                   QString *error);
    bool stepValue(const BoundShape &bound, int index, QString *error);
    bool pressWidget(const BoundShape &bound, QString *error);
    static QString shapeName(const QGraphicsItem *shape);

    RegisterMemory *m_memory;
    QGraphicsScene *m_stage;
    QSize m_panelSize;
    std::vector<std::unique_ptr<ScreenCopy>> m_screens;
    ScreenCopy *m_base = nullptr;
    QVector<ScreenCopy *> m_windows;
    int m_language = 0;
    bool m_blinkOn = true;
    QTimer m_refreshTimer;
};
