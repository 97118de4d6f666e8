#include "projectscript.h"

ProjectScript::ProjectScript(QObject *parent)
    : QObject(parent)
{
}

void ProjectScript::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
}
