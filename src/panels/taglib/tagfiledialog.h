#pragma once

#include <QString>

class QWidget;

// The file choosers of the tag library dialogs: they start in the project
// folder and answer through the modal seam like every other chooser.
class TagFileDialog
{
public:
    // The file to import, or "" when the user cancelled.
    static QString openFile(QWidget *parent, const QString &title, const QString &filter);
    // The file to export to, or "" when the user cancelled. A name typed
    // without any suffix gets defaultSuffix (without its dot), as the kind
    // of file to write follows the suffix.
    static QString saveFile(QWidget *parent, const QString &title, const QString &filter,
                            const QString &defaultSuffix);

    // A filter written with ";" between the patterns of one entry
    // ("表格文件(*.csv;*.txt)") in the form the chooser matches: patterns
    // separated by blanks. Separators between entries (";;") stay.
    static QString chooserFilter(const QString &filter);
};
