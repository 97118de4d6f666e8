#include "picturefiles.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "model/binding.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/pictureloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

const QString ImagesFolder = QStringLiteral("images");
// Enough for any real folder; a bound so a folder full of clashing names
// cannot keep the search going.
constexpr int MaxNameTries = 10000;

// relative as a path inside a folder, or empty when it would lead out of it
// (absolute, or climbing with "..").
QString insidePath(const QString &relative)
{
    if (relative.isEmpty() || QDir::isAbsolutePath(relative))
        return QString();
    const QString clean = QDir::cleanPath(relative);
    if (clean == QLatin1String("..") || clean.startsWith(QLatin1String("../"))
        || clean == QLatin1String("."))
        return QString();
    return clean;
}

// Every picture the screens name: those of image shapes and those of
// picture bindings, group members included.
QStringList namedPictures()
{
    QStringList pictures;
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    for (DrawScene *scene : scenes) {
        const QList<QGraphicsItem *> items = scene->userItems();
        for (QGraphicsItem *item : items) {
            if (auto *image = dynamic_cast<GraphicsImageItem *>(item))
                pictures.append(image->picture());
            const QVector<Binding> bindings = shapeBindings(item);
            for (const Binding &binding : bindings) {
                if (binding.kind != Binding::Picture)
                    continue;
                for (const Binding::PictureFile &picture : binding.pictures)
                    pictures.append(picture.file);
            }
        }
    }
    return pictures;
}

// Copies the pictures of one shape and of its members, reusing what an
// earlier shape of the same paste brought (by source file).
class PictureAdoption
{
public:
    PictureAdoption(const QString &fromFolder, const QString &toFolder, QStringList *failures)
        : m_from(fromFolder)
        , m_to(toFolder)
        , m_failures(failures)
    { }

    void adopt(QGraphicsItem *item, int depth)
    {
        // A group read from a file is already bounded in depth; this only
        // keeps a damaged tree from running away.
        if (!item || depth > 64)
            return;
        if (auto *image = dynamic_cast<GraphicsImageItem *>(item)) {
            const QString adopted = path(image->picture());
            if (adopted != image->picture())
                image->setPicture(adopted);
        }
        QVector<Binding> bindings = shapeBindings(item);
        bool changed = false;
        for (Binding &binding : bindings) {
            if (binding.kind != Binding::Picture)
                continue;
            for (Binding::PictureFile &picture : binding.pictures) {
                const QString adopted = path(picture.file);
                changed = changed || adopted != picture.file;
                picture.file = adopted;
            }
        }
        if (changed)
            setShapeBindings(item, bindings);
        if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
            const QList<QGraphicsItem *> members = group->members();
            for (QGraphicsItem *member : members)
                adopt(member, depth + 1);
        }
    }

private:
    // The path the target project names the picture by.
    QString path(const QString &picture)
    {
        if (picture.isEmpty())
            return picture;
        const QString source = QDir(m_from).filePath(picture);
        if (!QFileInfo(source).isFile())
            return picture;
        const auto done = m_done.constFind(source);
        if (done != m_done.constEnd())
            return done.value();
        QString error;
        QString adopted = PictureFiles::import(source, m_to, &error);
        if (adopted.isEmpty()) {
            if (!m_failures->contains(error))
                m_failures->append(error);
            adopted = picture;
        }
        m_done.insert(source, adopted);
        return adopted;
    }

    QString m_from;
    QString m_to;
    QStringList *m_failures;
    QHash<QString, QString> m_done;
};

} // namespace

void PictureFiles::adoptPictures(const QList<QGraphicsItem *> &items, const QString &fromFolder,
                                 const QString &toFolder, QStringList *failures)
{
    if (fromFolder.isEmpty() || !QDir(fromFolder).exists()
        || QDir(fromFolder).canonicalPath() == QDir(toFolder).canonicalPath())
        return;
    PictureAdoption adoption(fromFolder, toFolder, failures);
    for (QGraphicsItem *item : items)
        adoption.adopt(item, 0);
}

bool PictureFiles::sameContent(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly)
        || !second.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 Chunk = 1 << 16;
    while (!first.atEnd()) {
        if (first.read(Chunk) != second.read(Chunk))
            return false;
    }
    return second.atEnd();
}

QString PictureFiles::import(const QString &source, const QString &projectFolder, QString *error)
{
    const PictureLoader::Status status = PictureLoader::probe(source);
    if (status != PictureLoader::Ok) {
        *error = tr("%1：%2").arg(QDir::toNativeSeparators(source),
                                 PictureLoader::statusText(status));
        return QString();
    }
    const QDir project(projectFolder);
    if (projectFolder.isEmpty() || !project.exists() || !project.mkpath(ImagesFolder)) {
        *error = tr("无法在工程文件夹 %1 中建立 images 文件夹")
                     .arg(QDir::toNativeSeparators(projectFolder));
        return QString();
    }
    const QDir images(project.filePath(ImagesFolder));
    const QFileInfo info(source);
    if (info.canonicalPath() == images.canonicalPath())
        return ImagesFolder + QLatin1Char('/') + info.fileName();

    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 1; n <= MaxNameTries; ++n) {
        const QString name = n == 1 ? info.fileName()
                                    : QStringLiteral("%1-%2%3").arg(base, QString::number(n), suffix);
        const QString target = images.filePath(name);
        if (QFileInfo::exists(target)) {
            if (QFileInfo(target).isFile() && sameContent(source, target))
                return ImagesFolder + QLatin1Char('/') + name;
            continue;
        }
        if (!QFile::copy(source, target)) {
            *error = tr("无法把 %1 复制到 %2")
                         .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target));
            return QString();
        }
        return ImagesFolder + QLatin1Char('/') + name;
    }
    *error = tr("images 文件夹中没有空闲的文件名");
    return QString();
}

QList<GraphicsImageItem *> PictureFiles::pictureShapes()
{
    QList<GraphicsImageItem *> shapes;
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    for (DrawScene *scene : scenes) {
        const QList<QGraphicsItem *> items = scene->userItems();
        for (QGraphicsItem *item : items) {
            auto *image = dynamic_cast<GraphicsImageItem *>(item);
            if (image && !image->picture().isEmpty())
                shapes.append(image);
        }
    }
    return shapes;
}

bool PictureFiles::copyForSaveAs(const QString &fromFolder, const QString &toFolder,
                                 QStringList *clashes, QString *error)
{
    const QDir from(fromFolder);
    const QDir to(toFolder);
    if (fromFolder.isEmpty() || !from.exists()
        || from.canonicalPath() == QDir(toFolder).canonicalPath())
        return true;

    // Planned in full before anything is written: a clash found halfway
    // would leave half the pictures copied.
    QStringList planned;
    QSet<QString> seen;
    const QStringList pictures = namedPictures();
    for (const QString &picture : pictures) {
        const QString relative = insidePath(picture);
        if (relative.isEmpty() || seen.contains(relative))
            continue;
        seen.insert(relative);
        const QString source = from.filePath(relative);
        if (!QFileInfo(source).isFile())
            continue;
        const QString target = to.filePath(relative);
        if (QFileInfo::exists(target)) {
            if (!QFileInfo(target).isFile() || !sameContent(source, target))
                clashes->append(relative);
            continue;
        }
        planned.append(relative);
    }
    if (!clashes->isEmpty())
        return false;
    for (const QString &relative : qAsConst(planned)) {
        const QString target = to.filePath(relative);
        if (!QDir().mkpath(QFileInfo(target).absolutePath())
            || !QFile::copy(from.filePath(relative), target)) {
            *error = tr("无法把 %1 复制到 %2")
                         .arg(QDir::toNativeSeparators(from.filePath(relative)),
                              QDir::toNativeSeparators(target));
            return false;
        }
    }
    return true;
}
