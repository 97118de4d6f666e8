#pragma once

#include <QCoreApplication>
#include <QString>

class QFileDevice;

// Why a file could not be read or written, in the interface language. The
// system and the toolkit say it in English whatever the interface speaks;
// the common causes get a sentence of ours, anything else keeps the
// system's words.
class FileErrorText
{
    Q_DECLARE_TR_FUNCTIONS(FileErrorText)

public:
    // The reason for the last failure of file.
    static QString reason(const QFileDevice &file);
    // systemText: what the system or the toolkit said; systemError: the
    // errno value when the caller has it, else 0 to judge by the text.
    static QString reason(const QString &systemText, int systemError = 0);
    // Our sentence for an errno value, empty when there is none.
    static QString sentence(int systemError);
};
