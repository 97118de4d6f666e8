#pragma once

#include <QFont>
#include <QString>

// One display language of a project; every text tag holds one text per
// project language.
struct LanguagePara
{
    QString name;
    QString mark; // free remark
    QFont font; // stored in the project file as QFont::toString()
};
