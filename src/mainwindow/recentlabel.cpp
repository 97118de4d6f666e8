#include "recentlabel.h"

#include <QAction>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace {

const QLatin1String ProjectSuffix(".mvprg");

} // namespace

RecentLabel::RecentLabel(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("recentLabel"));

    m_number = new QLabel(this);
    m_number->setObjectName(QStringLiteral("recentNumber"));
    // Wide enough for "10", the last row's number.
    m_number->setFixedSize(20, 20);
    m_number->setAlignment(Qt::AlignCenter);

    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("recentIcon"));
    m_icon->setFixedSize(32, 32);
    m_icon->setPixmap(
        QPixmap(QStringLiteral(":/resources/images/edit/") + QLatin1String("file.png"))
            .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("recentName"));
    m_name->setTextFormat(Qt::RichText);

    // A path may hold characters that rich text would interpret.
    m_path = new QLabel(this);
    m_path->setObjectName(QStringLiteral("recentPath"));
    m_path->setTextFormat(Qt::PlainText);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(0);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->addWidget(m_number, 0, 0);
    grid->addWidget(m_icon, 0, 1);
    grid->addWidget(m_name, 0, 2);
    grid->addWidget(m_path, 1, 2);
    grid->setColumnStretch(2, 1);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setFixedHeight(screen->geometry().height() / 20);

    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(10);
    shadow->setColor(Qt::gray);
    shadow->setOffset(5, 5);
    setGraphicsEffect(shadow);
}

void RecentLabel::setEntry(int index, const QString &path, QAction *action)
{
    // The rows are refreshed on every change of the recent list; a row that
    // kept its previous connections would open a project several times.
    if (m_action && m_action != action)
        disconnect(m_name, &QLabel::linkActivated, m_action, &QAction::trigger);
    m_action = action;
    if (action)
        connect(m_name, &QLabel::linkActivated, action, &QAction::trigger, Qt::UniqueConnection);

    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    name.remove(ProjectSuffix);
    m_name->setText(QStringLiteral("<a href=1>%1</a>").arg(name.toHtmlEscaped()));
    m_path->setText(path);
    m_number->setText(QString::number(index + 1));
}

void RecentLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit m_name->linkActivated(QString());
}
