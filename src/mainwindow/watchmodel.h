#pragma once

#include "model/addresspara.h"
#include "simulation/generator.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>
#include <QVector>

class RegisterMemory;

// The rows of the simulation's watch table: registers by the name a user or
// a screen's bindings give them, each with its value, a cell to set it and
// an optional generator that writes it as time goes on.
//
// Time is virtual: it moves only by tick(), TickMsec at a time, so a run
// that ticks the same number of times writes the same values whatever the
// host's load. A generator counts its time from the tick it was switched
// on at.
class WatchModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        ValueColumn,
        SetColumn,
        KindColumn,
        MinimumColumn,
        MaximumColumn,
        PeriodColumn,
        SeedColumn,
        ValuesColumn,
        ColumnCount
    };
    static constexpr int TickMsec = 50;
    // Bounds what a typed list of generator values may hold.
    static constexpr int MaxListValues = 1000;

    // memory is not owned and must outlive the model's use.
    explicit WatchModel(RegisterMemory *memory, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The set cell writes the memory; the generator cells edit the row's
    // generator (the kind cell takes a kind key, or the empty text for none).
    // A refused entry leaves everything as it was and reports why through
    // problem().
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The registers the screens shown use, by name: rows that came from a
    // screen before and are not among them go, unless they were added by
    // name or run a generator.
    void setScreenSources(const QVector<QPair<QString, AddressPara>> &sources);
    // A row for what text names (see RegisterMemory::resolveName); a name
    // already watched is not added twice. False with the reason otherwise.
    bool addName(const QString &text, QString *error = nullptr);
    void removeWatch(int row);

    // The row watching name, or -1.
    int rowOf(const QString &name) const;
    QString name(int row) const;
    AddressPara para(int row) const;
    // The row's value as the table shows it.
    QString valueText(int row) const;
    QStringList names() const;

    // Writes text to the row's register, as the set cell does.
    bool setValue(int row, const QString &text, QString *error = nullptr);

    // The row's generator; switching one on starts its time at now().
    void setGenerator(int row, const Generator &generator, bool on = true);
    bool hasGenerator(int row) const;
    Generator generator(int row) const;

    // Virtual time since the model was made.
    qint64 now() const { return m_now; }
    // Moves time one step on and writes what each generator gives then.
    void tick();
    // The values shown are read again.
    void refreshValues();

signals:
    // A value was set from the table (not by a generator): for recording.
    void valueSet(const QString &name, const QString &value);
    // An entry was refused.
    void problem(const QString &message);

private:
    struct Row
    {
        QString name;
        AddressPara para;
        bool fromScreen = false;
        bool generated = false;
        Generator generator;
        qint64 startedAt = 0;
        QString lastSet;
    };

    bool editGenerator(Row *row, int column, const QString &text, QString *error);
    void writeGenerated(const Row &row);
    void appendRow(const Row &row);

    QPointer<RegisterMemory> m_memory;
    QVector<Row> m_rows;
    qint64 m_now = 0;
};
