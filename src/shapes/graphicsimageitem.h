#pragma once

#include "graphicsrectitem.h"
#include "pictureloader.h"

#include <QDateTime>

// A box that shows a picture (PNG, JPEG or SVG) stretched to fill it. The
// picture is a file named by its path relative to the project's folder
// (Config::pictureFolder()), normally "images/NAME.ext"; without one the
// box is invisible but can be selected, moved and resized. A picture that
// cannot be drawn shows as a crossed box with the file's name, so that it
// reads as a fault and not as a picture.
//
// The picture fills the box rather than keeping its proportions: the box
// is what the user draws, aligns and sizes on a screen laid out to the
// pixel, and a picture that stopped short of it would leave bands that
// still select and click as the shape.
class GraphicsImageItem : public GraphicsRectItem
{
    Q_OBJECT
    Q_PROPERTY(QString picture READ picture WRITE setPicture)

public:
    // rect is in parent coordinates.
    explicit GraphicsImageItem(const QRect &rect, QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QGraphicsItem *clone() override;
    bool readXml(QXmlStreamReader *reader) override;
    bool writeXml(QXmlStreamWriter *writer) override;

    QString picture() const { return m_picture; }
    void setPicture(const QString &picture);
    // The picture's file as it resolves now; empty without a picture.
    QString pictureFile() const;

    // The attributes an image element carries through the generic writer
    // (none are registered); "picture" is written apart, and only when set.
    static QStringList storedProperties();

private:
    // The picture drawn for target device pixels, read again only when the
    // file, its modification or the needed detail changed.
    const PictureLoader::Result &pictureFor(const QSize &target);
    // A load shared by every image shape of the process.
    static PictureLoader::Result sharedLoad(const QString &file, const QDateTime &modified,
                                            qint64 size, const QSize &target);
    void drawPlaceholder(QPainter *painter, const QRectF &box) const;

    QString m_picture;
    struct Cache
    {
        QString file;
        QDateTime modified;
        qint64 size = -1;
        QSize target;
        PictureLoader::Result result;
    } m_cache;
};
