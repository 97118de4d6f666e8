#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RegisterMemory;
class Simulation;
class WatchModel;

// The watch dock of the simulation window: the registers the screens shown
// use and those added by name, their values, cells to set them and their
// generators, which run at 20 Hz on the model's virtual clock until
// paused; a single step then moves the clock one tick.
class WatchPanel : public QWidget
{
    Q_OBJECT
public:
    explicit WatchPanel(QWidget *parent = nullptr);

    // Watches simulation's memory and the screens it shows; null watches
    // nothing. Not owned.
    void setSimulation(Simulation *simulation);

    WatchModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }
    QLineEdit *nameEdit() const { return m_nameEdit; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *pauseButton() const { return m_pauseButton; }
    QPushButton *stepButton() const { return m_stepButton; }
    QLabel *messageLabel() const { return m_message; }
    bool isRunning() const { return m_clock.isActive(); }

public slots:
    // Adds the name typed in the name field.
    void addTyped();
    void pause();
    void resume();
    // One tick while paused.
    void step();
    // The rows follow the screens shown.
    void followScreens();

private:
    void showMessage(const QString &text);
    void retranslate();

    Simulation *m_simulation = nullptr;
    WatchModel *m_model = nullptr;
    QTableView *m_table;
    QLineEdit *m_nameEdit;
    QPushButton *m_addButton;
    QPushButton *m_pauseButton;
    QPushButton *m_stepButton;
    QLabel *m_message;
    QTimer m_clock;
};
