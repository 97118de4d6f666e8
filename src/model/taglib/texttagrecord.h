#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One text tag as the exchange files carry it: its name and its states,
// each state one text per language, in column order.
struct TextTagRecord
{
    QString name;
    QList<QStringList> states;

    bool operator==(const TextTagRecord &other) const
    {
        return name == other.name && states == other.states;
    }
};
