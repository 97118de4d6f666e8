#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QStringList>

// The picture files the tool writes, one per screen.
class CliPictures
{
    Q_DECLARE_TR_FUNCTIONS(CliTool)

public:
    // The picture file name of each screen, in the order given: the name
    // made a safe, visible file name of at most 255 bytes, repeats told
    // apart by "-2", "-3"...
    static QStringList fileNames(const QStringList &screenNames);
    // Writes image as a PNG file at path; false with *reason on failure.
    static bool write(const QImage &image, const QString &path, QString *reason);
};
