#pragma once

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QProcessEnvironment>
#include <QString>
#include <QVector>

// The help text of the editor and of the command-line tool. Columns are
// aligned by the width a terminal gives each character, so Chinese names
// and descriptions line up, and the headings are translated with the rest.
class CommandLineHelp
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineHelp)

public:
    // A left-hand column entry and its description; a description may hold
    // line breaks, and its further lines are indented to the column.
    using Entry = QPair<QString, QString>;

    // usage: what follows "Usage:" (the program and its arguments), one
    // line per form.
    explicit CommandLineHelp(const QString &usage, const QString &description = QString());

    // A titled list of entries, printed in the order added.
    void addSection(const QString &title, const QVector<Entry> &entries);
    // The section "Options:" for these options, hidden ones left out.
    void addOptions(const QList<QCommandLineOption> &options);
    // A paragraph after the sections.
    void addNote(const QString &text);

    QString text() const;

    // "-o, --output <path>" for an option.
    static QString optionNames(const QCommandLineOption &option);

    // The columns a terminal gives text: East Asian wide and full-width
    // characters take two, combining marks and zero-width characters none.
    static int displayWidth(const QString &text);

    // Whether the environment asks for Chinese: the first of LC_ALL,
    // LC_MESSAGES and LANG that is set and not empty decides, as for any
    // command-line program, and Chinese is any value beginning with "zh".
    static bool wantsChinese(const QProcessEnvironment &environment);

private:
    struct Section {
        QString title;
        QVector<Entry> entries;
    };

    QString m_usage;
    QString m_description;
    QVector<Section> m_sections;
    QStringList m_notes;
};
