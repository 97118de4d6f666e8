#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRandomGenerator>
#include <QString>

class Binding;
class DrawScene;
class GraphicsItem;
class QRectF;

// Builds a whole project into the process-wide Config and DrawManager (which
// the caller has emptied first), the same project for the same options and
// seed. The benchmark uses its fixed layout at full size; the property tests
// use small projects with every attribute drawn at random within its range.
class ProjectGenerator
{
public:
    // Ways of building that once broke a round trip. One that is off still
    // does; switching it on is all it takes to cover it.
    //   shapes pushed against a screen edge, whose clamped positions can
    //   come out as tiny numbers in exponent notation
    static constexpr bool CoverEdgePositions = true;
    //   groups with a rotation of their own
    static constexpr bool CoverRotatedGroups = true;
    //   gradient fills on polygons, polylines and Bezier curves
    static constexpr bool CoverPointShapeGradients = true;
    //   characters XML cannot hold (U+0001, vertical tab) in texts and names
    static constexpr bool CoverXmlInvalidCharacters = true;

    struct Options
    {
        int screens = 3;
        int shapesPerScreen = 20;
        int addressTags = 10;
        int textTags = 5;
        // Fixed layout: shapes in a grid, kinds in turn, colours by index,
        // groups of five consecutive shapes with two bound again. Otherwise
        // everything is random.
        bool fixedLayout = false;
        int groupsPerScreen = 3;
        int groupSize = 5;
        // Form of the file the project saves to (Config::encryption).
        bool encoded = false;
        // Share of shapes and groups, in percent, given one to three
        // bindings of random kinds with every parameter random. Drawn from
        // a stream of its own: a project built without them is the same
        // for its seed as before bindings existed.
        int bindingPercent = 0;
    };

    // The benchmark's project: 50 screens of 500 shapes, 10,000 address
    // tags and 1,000 text tags.
    static Options benchmarkOptions();

    explicit ProjectGenerator(quint32 seed);

    void build(const Options &options);

private:
    void buildConfig(const Options &options);
    void addTextTags(int count, int languages);
    void addAddressTags(int count);
    void buildScreen(const Options &options, int index);
    GraphicsItem *makeShape(DrawScene *scene, int kindIndex, const QRectF &box);
    void varyShape(GraphicsItem *shape);
    void centreOnGrid(QList<QPointF> *points);
    void groupShapes(const Options &options, DrawScene *scene, QList<GraphicsItem *> shapes);
    void addBindings(const Options &options, DrawScene *scene);
    Binding randomBinding(const QStringList &screens);
    double anyNumber();

    // Random pieces.
    int between(int low, int high); // both included
    double hundredths(double low, double high); // on a 0.01 grid
    bool chance(int percent);
    QColor colour();
    QString text(int maxLength);

    QRandomGenerator m_random;
    QRandomGenerator m_bindingRandom;
    quint32 m_seed;
    bool m_fixedLayout = false;
};
