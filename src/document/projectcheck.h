#pragma once

#include "model/projectplace.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// One fault or doubtful spot the project check reports.
struct Finding
{
    enum Severity { Error, Warning };

    // What was found; stable names for scripts (see codeName()).
    enum Code {
        NoBaseScreen,
        BadHardware,
        LanguageWithoutName,
        DeviceDuplicateName,
        DevicePortBeyondHardware,
        DeviceUnused,
        ScreenDuplicateName,
        ShapeDuplicateName,
        ShapeOutsideScreen,
        ShapePartlyOutsideScreen,
        ShapeZeroSize,
        WidgetWithoutText,
        AddressEmptyName,
        AddressDuplicateName,
        AddressBadDevice,
        AddressBadType,
        AddressBadAddress,
        AddressBadLength,
        AddressOutOfRange,
        TextTagEmptyName,
        TextTagDuplicateName,
        TextTagEmptyText,
        // Added later; appended so that the numbers above stay put.
        DeviceEmptyName,
        ScreenEmptyName,
        ScreenZeroSize,
        ShapeEmptyName,
        ValueOutOfRange,
        AddressNoDevice,
        PictureMissing,
        PictureUnreadable,
        BindingMissingTag,
        BindingBadAddress,
        BindingMissingTextTag,
        BindingMissingScreen,
        BindingNotBit,
        BindingBadFormat,
        BindingWritesReadOnly,
        AddressTagUnused,
        TextTagUnused,
        BindingWrongScreenType,
        BindingReversedLimits
    };

    Severity severity = Error;
    Code code = NoBaseScreen;
    QString message; // translated
    ProjectPlace place;
};

// Checks the open project (Config and the screens of DrawManager) for what
// would keep it from working on a panel. Reads only; needs no window, so
// the command-line tool runs the same check as the editor.
class ProjectCheck
{
    Q_DECLARE_TR_FUNCTIONS(ProjectCheck)

public:
    // Every finding, grouped by place: the project, its languages and
    // devices, the screens in order, the address tags by row, the text tags
    // in order; last the numbers the load had to bring within range.
    static QVector<Finding> run();
    // Warnings for the address tags (system registers aside) and the text
    // tags that no binding names, by row and in library order.
    static QVector<Finding> unusedAddressTags();
    static QVector<Finding> unusedTextTags();

    static int errorCount(const QVector<Finding> &findings);
    static int warningCount(const QVector<Finding> &findings);

    // "错误" or "警告", translated.
    static QString severityText(Finding::Severity severity);
    // The finding's code as an untranslated identifier ("shapeOutsideScreen").
    static QString codeName(Finding::Code code);
    // The place in words, translated ("画面 主画面，图形 rectangle_1"). An
    // empty or blank screen or shape name gives way to its number, counted
    // from 1 ("画面 #6"), so two unnamed shapes can be told apart; names show
    // their control characters escaped.
    static QString placeText(const ProjectPlace &place);
    // text with line breaks, tabs and other control characters written as
    // escapes ("\n", "\t", "\x1b"), so a name from a file can neither split
    // one line of a report in two nor act on a terminal.
    static QString printable(const QString &text);
    // "%1 个错误，%2 个警告", translated.
    static QString summary(const QVector<Finding> &findings);
};
