#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class GraphicsImageItem;
class QGraphicsItem;

// The picture files of a project: the folder "images" beside the project
// file holds them, and image shapes name them relative to the project's
// folder, so that the folder can move as a whole.
class PictureFiles
{
    Q_DECLARE_TR_FUNCTIONS(PictureFiles)

public:
    // Copies the picture source into projectFolder's "images" (made when
    // missing) and returns its path relative to projectFolder
    // ("images/NAME.ext"). A file of that name with other content is left
    // alone and the copy gets a free name ("NAME-2.ext"); one with the same
    // content is used as it is, as is source when it lies there already.
    // Empty, with *error saying why, when source is no picture this program
    // draws or the copy fails.
    static QString import(const QString &source, const QString &projectFolder, QString *error);

    // The image shapes of the open project that show a picture, group
    // members included, screen by screen.
    static QList<GraphicsImageItem *> pictureShapes();

    // For saving the project into toFolder: copies every picture the
    // shapes and their picture bindings use that lies inside fromFolder
    // to the same relative place in
    // toFolder. A file there with other content is never replaced: then
    // nothing is copied, false is returned and *clashes names those paths.
    // False with *error for a copy that fails. Pictures that are missing,
    // absolute or outside fromFolder are left to the project check.
    static bool copyForSaveAs(const QString &fromFolder, const QString &toFolder,
                              QStringList *clashes, QString *error);

    // For shapes copied from the project in fromFolder into the one in
    // toFolder, before they join a screen: copies each picture they show
    // (image shapes and picture bindings, group members included) into
    // toFolder's "images" as import() does, and points the shape at the
    // copy. Nothing happens when both folders are one. A picture missing in
    // fromFolder is left as named, for the project check to report; one
    // that cannot be copied is left as well, and *failures gets import()'s
    // reason.
    static void adoptPictures(const QList<QGraphicsItem *> &items, const QString &fromFolder,
                              const QString &toFolder, QStringList *failures);

    // Whether the two files hold the same bytes.
    static bool sameContent(const QString &a, const QString &b);
};
