#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// A scripted run of the simulated panel: what the operator does and what
// must then hold, each at a time counted from the start. Stored as a comma
// file a spreadsheet opens, with the header row "time,action,target,value":
//
//   time    seconds from the start, decimals allowed (kept to the
//           millisecond); never earlier than the row before; empty: the
//           time of the row before
//   action  set, press, release, click, wait, expect, expect-screen, snapshot
//   target  a tag, an address ("LW 100", "PLC1:D 20(Float)"), a shape's
//           name (press, release, click; set on an input shape; expect of
//           the text a shape shows) or a screen's name (expect-screen)
//   value   what set writes, what expect wants, the picture file of
//           snapshot (default snapshot-LINE.png)
//
// Blank rows and rows whose first cell starts with "#" are skipped, so a
// hand-written scenario can carry notes.
class Scenario
{
    Q_DECLARE_TR_FUNCTIONS(Scenario)

public:
    enum Action { Set, Press, Release, Click, Wait, Expect, ExpectScreen, Snapshot };

    struct Step
    {
        int line = 0; // the row's line in the file it was read from; 0 when made otherwise
        qint64 msec = 0;
        Action action = Wait;
        QString target;
        QString value;
    };

    // Bounds of what a file may make the reader hold or the runner do; a
    // recording of a long session stays far within them.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
    static constexpr int MaxSteps = 100000;
    static constexpr qint64 MaxMsec = qint64(7) * 24 * 3600 * 1000;

    QVector<Step> steps;

    // The action's word in the file, and back (case ignored).
    static QString actionKey(Action action);
    static bool actionFromKey(const QString &key, Action *action);
    static QStringList actionKeys();

    // "1.5" for 1500 ms: whole milliseconds, no trailing zeros.
    static QString timeText(qint64 msec);
    // The picture a snapshot step writes: its value, or snapshot-LINE.png.
    static QString snapshotFile(const Step &step);

    // Reads the file at path; false with a message naming the file and, for
    // its contents, the line.
    static bool read(const QString &path, Scenario *scenario, QString *error);
    // Reads a file's bytes (UTF-8, with or without its mark, or GBK as a
    // spreadsheet may save it); false with a message naming the line.
    static bool parse(const QByteArray &bytes, Scenario *scenario, QString *error);

    // The file's bytes: UTF-8 behind its mark, for spreadsheets, rows
    // ending in CR LF.
    QByteArray bytes() const;
    bool write(const QString &path, QString *error) const;

private:
    static bool readStep(const QStringList &cells, int line, qint64 previous, Step *step,
                         QString *error);
};
