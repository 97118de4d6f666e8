#pragma once

#include <QTextBrowser>
#include <QUrl>

// The local help: a window of its own, not modal, showing the help page kept
// in the resources in the interface language.
class HelpWindow : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // The page for an interface language (0 Chinese, 1 English).
    static QUrl pageUrl(int language);
    // Shows the page for language, from its top when the language changed.
    void showPage(int language);
};
