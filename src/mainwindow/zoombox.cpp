#include "zoombox.h"

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace {

// The zoom in percent a text of the zoom box asks for; 0 unless it is a
// number from 10 to 500, with or without "%".
double typedZoomPercent(QString text)
{
    text.remove(QLatin1Char('%'));
    bool ok = false;
    const double percent = text.trimmed().toDouble(&ok);
    return ok && percent >= 10 && percent <= 500 ? percent : 0;
}

// The view of the screen being edited, or null.
DrawView *currentView()
{
    DrawScene *scene = DrawManager::instance()->currentScene();
    return scene ? scene->view() : nullptr;
}

} // namespace

ZoomBox::ZoomBox(QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("zoomBox"));
    setEditable(true);
    addItems({QStringLiteral("10%"), QStringLiteral("50%"), QStringLiteral("100%"),
              QStringLiteral("200%"), QStringLiteral("300%"), QStringLiteral("400%"),
              QStringLiteral("500%")});
    setCurrentIndex(2);
    setEnabled(false);
    // The list keeps its seven steps: a typed zoom is applied, never added.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentTextChanged, this, &ZoomBox::textChanged);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &ZoomBox::textCommitted);
}

void ZoomBox::zoomIn()
{
    step(10);
}

void ZoomBox::zoomOut()
{
    step(-10);
}

void ZoomBox::step(int delta)
{
    QString text = currentText();
    text.remove(QLatin1Char('%'));
    const int z = text.toInt() + delta;
    if (z > 500 || z < 10)
        return;
    setCurrentText(QStringLiteral("%1%").arg(z));
}

void ZoomBox::textChanged(const QString &text)
{
    // While the user types, "900%" passes through "90": a typed zoom waits
    // for Enter or for the box to lose focus.
    if (lineEdit()->isModified())
        return;
    // A typed text that is not a zoom from 10 to 500 % is ignored, so no
    // factor of zero or less ever reaches a view.
    const double percent = typedZoomPercent(text);
    if (percent <= 0)
        return;
    if (DrawView *view = currentView())
        view->setZoom(percent / 100.0);
}

void ZoomBox::textCommitted()
{
    QLineEdit *edit = lineEdit();
    if (!edit->isModified())
        return;
    edit->setModified(false);
    if (typedZoomPercent(currentText()) > 0) {
        textChanged(currentText());
        return;
    }
    const DrawView *view = currentView();
    const double factor = view ? view->zoomFactor() : DrawView::sharedZoom();
    // Only the text changes: the zoom shown is the one already in force.
    const QSignalBlocker blocker(this);
    setEditText(QStringLiteral("%1%").arg(QString::number(factor * 100, 'g', 4)));
}
