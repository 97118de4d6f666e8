#pragma once

#include <Qsci/qsciscintilla.h>

// The editor of one script: UTF-8 text in a fixed-pitch font with line
// numbers in the left margin. The main window shows it as a tab page; its
// window title names the script, and QsciScintilla's modificationChanged(bool)
// and setModified(bool) carry its modified state.
class CodeEditor : public QsciScintilla
{
    Q_OBJECT
public:
    explicit CodeEditor(QWidget *parent = nullptr);

private:
    void fitLineNumberMargin();
};
