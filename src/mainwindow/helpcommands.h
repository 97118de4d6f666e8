#pragma once

#include <QObject>

class HelpWindow;
class QWidget;

// 帮助 and 关于: the local help window, made when first asked for, shown in
// the interface language and not modal; and the about box with the
// version, the build date and the licences.
class HelpCommands : public QObject
{
    Q_OBJECT
public:
    // window is the parent of the help window and the about box; not owned.
    explicit HelpCommands(QWidget *window);

    // A help window already open turns to language's pages; none is made.
    void followLanguage(int language);

public slots:
    void help();
    void about();

private:
    // This binary's build date as yyyy-MM-dd.
    static QString buildDate();

    QWidget *m_window;
    HelpWindow *m_helpWindow = nullptr; // a child of m_window
};
