#pragma once

#include <QString>

class QWidget;

// The program's file and folder choosers; like MessageDialog they answer
// through the modal seam when tests have installed a handler.
class FileDialog
{
public:
    // Each returns the chosen path, or an empty string when cancelled.
    static QString getOpenFileName(QWidget *parent, const QString &caption,
                                   const QString &dir, const QString &filter);
    static QString getSaveFileName(QWidget *parent, const QString &caption,
                                   const QString &dir, const QString &filter);
    static QString getExistingDirectory(QWidget *parent, const QString &caption,
                                        const QString &dir);
};
