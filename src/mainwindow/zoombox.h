#pragma once

#include <QComboBox>

// The zoom of the current screen in percent, 10 to 500: seven steps to pick
// from, any zoom between to type. A typed zoom is applied when the typing
// ends (Enter or leaving the box); a text that is no zoom gives way to the
// zoom in force.
class ZoomBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ZoomBox(QWidget *parent = nullptr);

public slots:
    // Ten percent up or down, within 10 to 500.
    void zoomIn();
    void zoomOut();

private:
    void step(int delta);
    void textChanged(const QString &text);
    void textCommitted();
};
