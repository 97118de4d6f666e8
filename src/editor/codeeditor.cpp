#include "codeeditor.h"

#include <QFontDatabase>

CodeEditor::CodeEditor(QWidget *parent)
    : QsciScintilla(parent)
{
    setUtf8(true);
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    setMarginsFont(font);
    setMarginType(0, QsciScintilla::NumberMargin);
    setMarginLineNumbers(0, true);
    setAutoIndent(true);
    setTabWidth(4);
    setIndentationsUseTabs(false);
    setBraceMatching(QsciScintilla::SloppyBraceMatch);
    fitLineNumberMargin();
    connect(this, &QsciScintilla::linesChanged, this, &CodeEditor::fitLineNumberMargin);
}

void CodeEditor::fitLineNumberMargin()
{
    // One digit more than the line count needs, so the numbers never touch
    // the text and the margin does not jump at every tenth line.
    const int digits = QString::number(qMax(1, lines())).size() + 1;
    setMarginWidth(0, QString(digits, QLatin1Char('9')));
}
