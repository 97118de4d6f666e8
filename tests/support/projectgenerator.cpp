#include "support/projectgenerator.h"

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/screentype.h"
#include "model/binding.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "model/taglib/textlib.h"
#include "shapes/graphicsbezier.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicslineitem.h"
#include "shapes/graphicspolyline.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicstextitem.h"
#include "shapes/graphicswidgetitem.h"

#include <QFont>
#include <QStandardItemModel>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

// The shape kinds in the order the fixed layout takes them.
enum GeneratedKind {
    RectShape,
    RoundrectShape,
    EllipseShape,
    LineShape,
    PolygonShape,
    PolylineShape,
    BezierShape,
    TextShape,
    ImageShape,
    WidgetShape,
    GeneratedKindCount
};

const int WidgetKinds[] = {LabelKind,    PushButtonKind, ComboBoxKind, RadioButtonKind,
                           CheckBoxKind, LineEditKind,   TextEditKind, SpinBoxKind};

// Characters a name or a text may hold: ASCII, Chinese, blanks and every
// character the XML writer has to escape.
const QString Alphabet = QStringLiteral(
    "abcXYZ019_-.,;:!?()[]{}/\\ \t<>&\"'=#%温度画面按钮标签文本设备ÄéßΩ€😀");

} // namespace

ProjectGenerator::Options ProjectGenerator::benchmarkOptions()
{
    Options options;
    options.screens = 50;
    options.shapesPerScreen = 500;
    options.addressTags = 10000;
    options.textTags = 1000;
    options.fixedLayout = true;
    options.groupsPerScreen = 10;
    options.groupSize = 5;
    return options;
}

ProjectGenerator::ProjectGenerator(quint32 seed)
    : m_random(seed)
    , m_bindingRandom(seed ^ 0xb1d1b1d1u)
    , m_seed(seed)
{ }

int ProjectGenerator::between(int low, int high)
{
    return low + int(m_random.bounded(quint32(high - low + 1)));
}

double ProjectGenerator::hundredths(double low, double high)
{
    return between(int(low * 100), int(high * 100)) / 100.0;
}

bool ProjectGenerator::chance(int percent)
{
    return between(0, 99) < percent;
}

QColor ProjectGenerator::colour()
{
    // One draw per statement: the order in which arguments are evaluated is
    // the compiler's, and a seed must give the same project everywhere.
    const int red = between(0, 255);
    const int green = between(0, 255);
    const int blue = between(0, 255);
    const int alpha = chance(20) ? between(0, 254) : 255;
    return QColor(red, green, blue, alpha);
}

QString ProjectGenerator::text(int maxLength)
{
    QString result;
    // Characters outside the BMP count two code units; keep them whole.
    const int length = between(0, maxLength);
    while (result.size() < length) {
        if (CoverXmlInvalidCharacters && chance(3)) {
            result.append(chance(50) ? QChar(0x01) : QChar(0x0b));
            continue;
        }
        const int at = between(0, Alphabet.size() - 1);
        if (Alphabet.at(at).isHighSurrogate())
            result.append(Alphabet.midRef(at, 2));
        else if (!Alphabet.at(at).isLowSurrogate())
            result.append(Alphabet.at(at));
    }
    return result;
}

void ProjectGenerator::build(const Options &options)
{
    m_fixedLayout = options.fixedLayout;
    buildConfig(options);
    GraphicsItem::seedRandom(options.fixedLayout ? 1 : m_seed);
    for (int s = 0; s < options.screens; ++s)
        buildScreen(options, s);
    Config::instance()->encryption = options.encoded ? 1 : 0;
}

void ProjectGenerator::buildConfig(const Options &options)
{
    Config *config = Config::instance();
    if (options.fixedLayout) {
        config->name = QStringLiteral("bench");
        config->screenWidth = 800;
        config->screenHeight = 480;
        LanguagePara english;
        english.name = QStringLiteral("English");
        english.font = QFont(QStringLiteral("Arial"), 12);
        config->languages.append(english);
        for (int i = 0; i < 2; ++i) {
            DevicePara device;
            device.name = i == 0 ? QStringLiteral("PLC") : QStringLiteral("Meter");
            device.port = quint8(i);
            device.baud = 115200;
            config->devices.append(device);
        }
        addAddressTags(options.addressTags);
        addTextTags(options.textTags, 2);
        return;
    }

    config->name = text(12);
    config->path = text(20);
    config->version = QStringLiteral("%1.%2.%3").arg(between(0, 9)).arg(between(0, 9)).arg(
        between(0, 999));
    config->projectPw = chance(20) ? text(8) : QString();
    config->macroPw = chance(20) ? text(8) : QString();
    const int models = BuiltinTables::instance()->hardDevices().size();
    config->hard = quint8(between(0, std::max(0, models - 1)));
    config->orientation = quint8(between(0, 1));
    config->addressHex = quint8(between(0, 1));
    config->screenWidth = between(200, 1024);
    config->screenHeight = between(200, 768);

    static const char *const families[] = {"Arial", "宋体", "DejaVu Sans", "Noto Sans CJK SC"};
    const int languageCount = between(1, 3);
    for (int i = 0; i < languageCount; ++i) {
        LanguagePara language;
        language.name = text(10);
        language.mark = text(10);
        language.font = QFont(QString::fromUtf8(families[between(0, 3)]));
        language.font.setPointSize(between(6, 30));
        language.font.setBold(chance(30));
        language.font.setItalic(chance(30));
        language.font.setUnderline(chance(10));
        config->languages.append(language);
    }

    const int protocols = std::max(1, BuiltinTables::instance()->protocolNames().size());
    static const int bauds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    const int deviceCount = between(0, 3);
    for (int i = 0; i < deviceCount; ++i) {
        DevicePara device;
        device.name = text(10);
        device.protocol = quint8(between(0, protocols - 1));
        device.deviceId = quint8(between(1, 255));
        device.port = quint8(between(0, 3));
        device.rsType = quint8(between(0, 1));
        device.dataBits = quint8(between(7, 8));
        device.stopBits = quint8(between(1, 2));
        device.parity = quint8(between(0, 2));
        device.retryNum = quint8(between(0, 5));
        device.baud = bauds[between(0, 7)];
        device.overtime = between(100, 5000);
        device.comDelay = between(0, 1000);
        device.resDelay = between(0, 1000);
        config->devices.append(device);
    }
    addAddressTags(options.addressTags);
    addTextTags(options.textTags, languageCount);
}

void ProjectGenerator::addTextTags(int count, int languages)
{
    TextLib *library = Config::instance()->textLib();
    for (int i = 0; i < count; ++i) {
        const bool fixed = m_fixedLayout;
        const QString name = fixed ? QStringLiteral("文本_%1").arg(i) : text(10);
        const int states = fixed ? 2 : between(1, 3);
        TextLib::States texts;
        for (int state = 0; state < states; ++state) {
            TextLib::State values;
            for (int lan = 0; lan < languages; ++lan) {
                if (fixed)
                    values.append(lan == 0 ? QStringLiteral("状态 %1 文本 %2").arg(state).arg(i)
                                           : QStringLiteral("state %1 text %2").arg(state).arg(i));
                else
                    values.append(text(16));
            }
            texts.append(values);
        }
        library->add(name, texts);
    }
}

void ProjectGenerator::addAddressTags(int count)
{
    Config *config = Config::instance();
    QStandardItemModel *model = config->addressTagModel();
    static const char *const types[] = {"Int16", "Uint16", "Int32", "Float", "Bool"};
    const QStringList devices = config->deviceNames();
    for (int i = 0; i < count; ++i) {
        const bool local = i % 2 == 0;
        const bool fixed = m_fixedLayout;
        const QString device = fixed ? (local ? QStringLiteral("本地") : QStringLiteral("PLC"))
                                     : devices.value(between(0, devices.size() - 1));
        model->appendRow(
            {new QStandardItem(fixed ? QStringLiteral("tag_%1").arg(i) : text(10)),
             new QStandardItem(device),
             new QStandardItem(QStringLiteral("LW %1").arg(fixed ? i : between(0, 9999))),
             new QStandardItem(QLatin1String(types[fixed ? i % 5 : between(0, 4)])),
             new QStandardItem(QString::number(fixed ? 1 : between(1, 4))),
             new QStandardItem(fixed ? QStringLiteral("remark %1").arg(i) : text(12))});
    }
}

GraphicsItem *ProjectGenerator::makeShape(DrawScene *scene, int kindIndex, const QRectF &box)
{
    GraphicsItem *shape = nullptr;
    GraphicsPolygonItem *points = nullptr;
    switch (kindIndex % GeneratedKindCount) {
    case RectShape:
        shape = new GraphicsRectItem(QRect(0, 0, 1, 1));
        break;
    case RoundrectShape:
        shape = new GraphicsRoundrectItem(QRect(0, 0, 1, 1));
        break;
    case EllipseShape:
        shape = new GraphicsEllipseItem(QRect(0, 0, 1, 1));
        break;
    case LineShape:
        shape = points = new GraphicsLineItem;
        break;
    case PolygonShape:
        shape = points = new GraphicsPolygonItem;
        break;
    case PolylineShape:
        shape = points = new GraphicsPolyline;
        break;
    case BezierShape:
        shape = points = new GraphicsBezier;
        break;
    case TextShape: {
        auto *text = new GraphicsTextItem(QRect(0, 0, 1, 1));
        text->setText(QStringLiteral("文本 %1").arg(kindIndex));
        shape = text;
        break;
    }
    case ImageShape:
        shape = new GraphicsImageItem(QRect(0, 0, 1, 1));
        break;
    default: {
        auto *widget = new GraphicsWidgetItem(WidgetKinds[(kindIndex / GeneratedKindCount) % 8],
                                              QRect(0, 0, 1, 1));
        // About half the widgets keep their initial caption, as older files
        // do; the box decides, so that no random number is drawn for it.
        if (qint64(box.left() + box.top()) % 2)
            widget->setText(QStringLiteral("控件 & <%1>").arg(kindIndex));
        shape = widget;
        break;
    }
    }

    if (points) {
        // Drawn point by point, as the drawing tool does.
        points->setPos(box.topLeft());
        scene->addItem(points);
        const QPointF a = box.topLeft();
        const QPointF b = box.bottomRight();
        const QPointF c(box.right(), box.top());
        const QPointF d(box.left(), box.bottom());
        QList<QPointF> corners = kindIndex % GeneratedKindCount == LineShape
            ? QList<QPointF> {a, b}
            : QList<QPointF> {a, c, b, d};
        if (!m_fixedLayout && corners.size() > 2) {
            corners.clear();
            for (int n = between(3, 7); n > 0; --n) {
                const double x = hundredths(box.left(), box.right());
                corners.append(QPointF(x, hundredths(box.top(), box.bottom())));
            }
        }
        if (!m_fixedLayout)
            centreOnGrid(&corners);
        for (const QPointF &corner : corners)
            points->appendPoint(corner);
        points->finishPoints(corners.last());
        points->normalizeGeometry();
    } else {
        scene->addItem(shape);
        shape->setProperty("width", box.width());
        shape->setProperty("height", box.height());
        shape->setProperty("pos", box.topLeft());
    }
    return shape;
}

void ProjectGenerator::centreOnGrid(QList<QPointF> *points)
{
    // The shape is centred on its points when it is finished; a centre off
    // the file's 0.01 grid would be rounded by the first save, and the
    // project in memory would not be the one the file holds. Moving the
    // points of the largest coordinate one step further puts it on the grid.
    double left = points->first().x();
    double right = left;
    double top = points->first().y();
    double bottom = top;
    for (const QPointF &p : qAsConst(*points)) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    const bool oddX = qRound((left + right) * 100) % 2 != 0;
    const bool oddY = qRound((top + bottom) * 100) % 2 != 0;
    for (QPointF &p : *points) {
        if (oddX && p.x() == right)
            p.rx() = (qRound(p.x() * 100) + 1) / 100.0;
        if (oddY && p.y() == bottom)
            p.ry() = (qRound(p.y() * 100) + 1) / 100.0;
    }
}

void ProjectGenerator::varyShape(GraphicsItem *shape)
{
    const bool pointShape = dynamic_cast<GraphicsPolygonItem *>(shape) != nullptr;
    shape->setObjectName(text(12));
    shape->setProperty("opacity", hundredths(0.01, 1));
    shape->setProperty("zValue", hundredths(0, 500));
    shape->setProperty("fixe", chance(30));
    // Widget shapes cannot be turned: the rotation tool leaves them alone
    // and their element has no rotation.
    if (shape->type() != WidgetItemType)
        shape->setProperty("rotation", chance(50) ? 0.0 : hundredths(0, 359.99));
    shape->setProperty("penSize", between(0, 10));
    shape->setProperty("penStyle", between(0, 5));
    shape->setProperty("penColor", colour());
    const int lastStyle = pointShape && !CoverPointShapeGradients
        ? int(GraphicsItem::DiagCrossPattern)
        : int(GraphicsItem::ConicalGradient2Pattern);
    shape->setProperty("brushStyle", between(0, lastStyle));
    shape->setProperty("brushColor", colour());
    shape->setProperty("radiusX", hundredths(0, 50));
    shape->setProperty("radiusY", hundredths(0, 50));
    shape->setProperty("startAngle", between(0, 359));
    shape->setProperty("spanAngle", between(0, 360));
    shape->setProperty("eshape", between(0, 2));
    if (auto *textShape = dynamic_cast<GraphicsTextItem *>(shape)) {
        if (!dynamic_cast<GraphicsWidgetItem *>(shape)) {
            textShape->setText(text(30));
            textShape->setProperty("alignHor", between(0, 2));
            textShape->setProperty("alignVer", between(0, 2));
            QFont font(chance(50) ? QStringLiteral("Arial") : QStringLiteral("宋体"));
            font.setPointSize(between(6, 40));
            font.setBold(chance(30));
            font.setItalic(chance(30));
            textShape->setFont(font);
        }
    }
}

void ProjectGenerator::buildScreen(const Options &options, int index)
{
    const int type = options.fixedLayout || index == 0 ? BaseScreen : between(1, 3);
    DrawScene *scene = DrawManager::instance()->createScreen(type);
    QList<GraphicsItem *> shapes;
    if (options.fixedLayout) {
        scene->setBrushColor(QColor::fromHsv((index * 29) % 360, 40, 250));
        // 25 columns of 32 x 24 cells fill an 800 pixel wide screen.
        for (int i = 0; i < options.shapesPerScreen; ++i) {
            const QRectF box((i % 25) * 32 + 2, (i / 25) * 24 + 2, 28, 20);
            GraphicsItem *shape = makeShape(scene, i, box);
            shape->setObjectName(QStringLiteral("shape_%1").arg(i));
            shape->setZValue(i);
            shape->setPenColor(QColor::fromHsv((i * 37) % 360, 200, 120));
            shape->setBrushColor(QColor::fromHsv((i * 53) % 360, 160, 230));
            shapes.append(shape);
        }
    } else {
        scene->setObjectName(text(12));
        scene->setPenColor(colour());
        scene->setBrushColor(colour());
        scene->setBrushStyle(GraphicsItem::BrushStyle(between(0, 34)));
        const double width = scene->width();
        const double height = scene->height();
        for (int i = 0; i < options.shapesPerScreen; ++i) {
            // Clear of the edges by more than the widest pen, so that no
            // position is held back by the screen's edge.
            const double margin = 12;
            const double w = hundredths(2, width / 3);
            const double h = hundredths(2, height / 3);
            const double x = hundredths(margin, width - w - margin);
            QRectF box(x, hundredths(margin, height - h - margin), w, h);
            if (CoverEdgePositions && chance(10))
                box.moveLeft(chance(50) ? width - w / 2 : -w / 2);
            const int kind = between(0, GeneratedKindCount - 1);
            GraphicsItem *shape
                = makeShape(scene, kind + GeneratedKindCount * between(0, 7), box);
            varyShape(shape);
            shapes.append(shape);
        }
    }
    groupShapes(options, scene, shapes);
    addBindings(options, scene);
}

void ProjectGenerator::groupShapes(const Options &options, DrawScene *scene,
                                   QList<GraphicsItem *> shapes)
{
    if (options.fixedLayout) {
        // Groups of consecutive shapes spread over the screen, two of them
        // bound again into an outer group.
        QList<GraphicsItemGroup *> groups;
        for (int g = 0; g < options.groupsPerScreen; ++g) {
            QList<QGraphicsItem *> members;
            for (int m = 0; m < options.groupSize; ++m)
                members.append(shapes.at((g * 47 + m) % shapes.size()));
            groups.append(scene->createGroup(members));
        }
        if (groups.size() >= 2)
            scene->createGroup({groups.at(0), groups.at(1)});
        return;
    }

    // Any top-level items, shapes or groups made before: later groups nest
    // earlier ones.
    QList<QGraphicsItem *> topLevel;
    for (GraphicsItem *shape : qAsConst(shapes))
        topLevel.append(shape);
    for (int g = 0; g < options.groupsPerScreen && topLevel.size() >= 2; ++g) {
        QList<QGraphicsItem *> members;
        const int size = between(2, std::min(options.groupSize, int(topLevel.size())));
        while (members.size() < size)
            members.append(topLevel.takeAt(between(0, topLevel.size() - 1)));
        GraphicsItemGroup *group = scene->createGroup(members);
        group->setObjectName(text(12));
        group->setProperty("zValue", hundredths(0, 500));
        group->setProperty("fixe", chance(50));
        if (CoverRotatedGroups && chance(30))
            group->setProperty("rotation", hundredths(0, 359.99));
        topLevel.append(group);
    }
}

void ProjectGenerator::addBindings(const Options &options, DrawScene *scene)
{
    if (options.bindingPercent <= 0)
        return;
    // Every draw below comes from the bindings' own stream.
    std::swap(m_random, m_bindingRandom);
    QStringList screens;
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    for (const DrawScene *other : scenes)
        screens << other->objectName();
    // Members of groups and the groups themselves alike.
    const QList<QGraphicsItem *> items = scene->userItems();
    for (QGraphicsItem *item : items) {
        if (!chance(options.bindingPercent))
            continue;
        QVector<Binding> bindings;
        for (int n = between(1, 3); n > 0; --n)
            bindings.append(randomBinding(screens));
        setShapeBindings(item, bindings);
    }
    std::swap(m_random, m_bindingRandom);
}

double ProjectGenerator::anyNumber()
{
    switch (between(0, 3)) {
    case 0:
        return between(-100, 100);
    case 1:
        return hundredths(-10000, 10000);
    case 2:
        // Any double at all: tiny, huge, with every digit.
        return (m_random.generateDouble() - 0.5) * std::pow(10.0, between(-12, 15));
    default:
        return 0;
    }
}

Binding ProjectGenerator::randomBinding(const QStringList &screens)
{
    Config *config = Config::instance();
    const QStandardItemModel *tags = config->addressTagModel();
    static const char *const formats[] = {"Int16", "Uint16", "Int32", "Float", "Bool", ""};

    Binding binding;
    binding.kind = Binding::Kind(between(Binding::Value, Binding::Picture));
    if (tags->rowCount() > 0 && chance(60)) {
        const QString name = tags->item(between(0, tags->rowCount() - 1), 0)->text();
        binding.tag = name.isEmpty() ? QStringLiteral("\"温度\" 'tag'") : name;
    } else {
        const QStringList devices = config->deviceNames();
        binding.device = devices.value(between(0, devices.size() - 1));
        binding.address = QStringLiteral("LW %1").arg(between(0, 9999));
        if (chance(20))
            binding.address += QStringLiteral(".%1").arg(between(0, 15));
        binding.format = QLatin1String(formats[between(0, 5)]);
    }
    switch (binding.kind) {
    case Binding::Value:
        binding.digits = between(0, 12);
        binding.decimals = between(0, 6);
        binding.scale = anyNumber();
        binding.offset = anyNumber();
        binding.unit = chance(30) ? QString() : text(6);
        binding.minimum = anyNumber();
        binding.maximum = anyNumber();
        break;
    case Binding::TextState: {
        TextLib *library = config->textLib();
        binding.textTag = library->count() > 0 && chance(70)
            ? library->names().at(between(0, library->count() - 1))
            : text(10);
        binding.fallback = between(0, 8);
        break;
    }
    case Binding::Visible:
        binding.condition = Binding::Condition(between(Binding::BitSet, Binding::InRange));
        binding.value = anyNumber();
        binding.value2 = anyNumber();
        break;
    case Binding::Colours:
        for (int n = between(0, 4); n > 0; --n) {
            Binding::Range range;
            range.from = anyNumber();
            range.to = anyNumber();
            range.fill = chance(80) ? colour() : QColor();
            range.line = chance(80) ? colour() : QColor();
            range.text = chance(80) ? colour() : QColor();
            range.blink = chance(30);
            binding.ranges.append(range);
        }
        break;
    case Binding::Action:
        binding.action
            = Binding::ActionKind(between(Binding::SetBit, Binding::CloseWindow));
        binding.value = anyNumber();
        binding.minimum = anyNumber();
        binding.maximum = anyNumber();
        if (binding.action >= Binding::SwitchScreen)
            binding.screen = chance(80) ? screens.value(between(0, screens.size() - 1))
                                        : text(10);
        break;
    case Binding::Picture:
        for (int n = between(0, 4); n > 0; --n) {
            Binding::PictureFile picture;
            picture.file = QStringLiteral("images/%1.png").arg(text(8));
            binding.pictures.append(picture);
        }
        break;
    }
    return binding;
}
