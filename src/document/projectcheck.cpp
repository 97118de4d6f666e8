#include "projectcheck.h"

#include "bindingcheck.h"
#include "drawmanager.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/binding.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "projectsearch.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitem.h"
#include "shapes/shapekind.h"

#include <QHash>
#include <QSet>
#include <QStandardItemModel>

namespace {

// Half a pixel: shapes dragged to an edge land on fractional positions.
constexpr double EdgeTolerance = 0.5;

class Collector
{
public:
    void add(Finding::Severity severity, Finding::Code code, const QString &message,
             const ProjectPlace &place)
    {
        Finding finding;
        finding.severity = severity;
        finding.code = code;
        finding.message = message;
        finding.place = place;
        findings.append(finding);
    }

    QVector<Finding> findings;
};

QString cellText(const QStandardItemModel *model, int row, int column)
{
    const QStandardItem *item = model->item(row, column);
    return item ? item->text() : QString();
}

// The outline a shape covers on its screen, pen not included. Members of a
// group count through the group.
QRectF shapeArea(const QGraphicsItem *item)
{
    if (item->type() == ShapeItemType || item->type() == WidgetItemType) {
        auto *shape = static_cast<const GraphicsItem *>(item);
        return shape->mapRectToScene(shape->localRect());
    }
    QRectF area;
    bool first = true;
    const QList<QGraphicsItem *> children = item->childItems();
    for (const QGraphicsItem *child : children) {
        if (child->type() <= QGraphicsItem::UserType)
            continue;
        const QRectF part = shapeArea(child);
        area = first ? part : area.united(part);
        first = false;
    }
    return area;
}

// Shapes drawn through points may be flat (a horizontal line); a box with
// no width or no height shows nothing.
bool isPointShape(const GraphicsItem *shape)
{
    const QString element = shape->elementName();
    return element == QLatin1String("line") || element == QLatin1String("polyline")
           || element == QLatin1String("polygon") || element == QLatin1String("bezier");
}

// Registers one value of the format takes in a word area.
int wordsOf(int format)
{
    switch (format) {
    case Config::Int32:
    case Config::Uint32:
    case Config::Float:
        return 2;
    case Config::Double:
        return 4;
    default:
        return 1;
    }
}

void checkProject(Collector &out)
{
    const Config *config = Config::instance();
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    bool hasBase = false;
    for (const DrawScene *scene : scenes)
        hasBase = hasBase || scene->type() == BaseScreen;
    if (!hasBase)
        out.add(Finding::Error, Finding::NoBaseScreen,
                ProjectCheck::tr("项目没有基本画面，面板启动时无画面可显示"), ProjectPlace());
    if (!config->currentHardDevice())
        out.add(Finding::Error, Finding::BadHardware,
                ProjectCheck::tr("硬件型号编号 %1 不在硬件表中（0..%2）")
                    .arg(config->hard)
                    .arg(BuiltinTables::instance()->hardDevices().size() - 1),
                ProjectPlace());

    for (int i = 0; i < config->languages.size(); ++i) {
        if (!config->languages.at(i).name.trimmed().isEmpty())
            continue;
        ProjectPlace place;
        place.kind = ProjectPlace::Language;
        place.index = i;
        out.add(Finding::Error, Finding::LanguageWithoutName, ProjectCheck::tr("语言没有名称"),
                place);
    }
}

void checkDevices(Collector &out, const QVector<int> &tagsPerDevice)
{
    const Config *config = Config::instance();
    const HardDevice *hardware = config->currentHardDevice();
    QHash<QString, int> firstOfName;
    for (int i = 0; i < config->devices.size(); ++i) {
        const DevicePara &device = config->devices.at(i);
        ProjectPlace place;
        place.kind = ProjectPlace::Device;
        place.index = i;
        place.name = device.name;
        // Tags and scripts reach a device by its name.
        if (device.name.trimmed().isEmpty()) {
            out.add(Finding::Error, Finding::DeviceEmptyName, ProjectCheck::tr("设备没有名称"),
                    place);
        } else if (firstOfName.contains(device.name)) {
            out.add(Finding::Error, Finding::DeviceDuplicateName,
                    ProjectCheck::tr("设备名称“%1”与第 %2 个设备重复")
                        .arg(device.name)
                        .arg(firstOfName.value(device.name) + 1),
                    place);
        } else {
            firstOfName.insert(device.name, i);
        }
        if (hardware && device.port >= hardware->serials)
            out.add(Finding::Error, Finding::DevicePortBeyondHardware,
                    ProjectCheck::tr("端口 COM%1 超出硬件型号 %2 的串口数（%3 个）")
                        .arg(device.port + 1)
                        .arg(hardware->name)
                        .arg(hardware->serials),
                    place);
        // A protocol without register areas (the free port) is driven by
        // scripts; no address tag can name such a device.
        const bool addressable
            = !BuiltinTables::instance()->areaNames(device.protocol, -1).isEmpty();
        if (addressable && tagsPerDevice.value(i + 1) == 0)
            out.add(Finding::Warning, Finding::DeviceUnused,
                    ProjectCheck::tr("没有地址标签使用此设备"), place);
    }
}

// A picture the panel could not show: a file missing, or one it cannot
// read. Each file is looked at once, however many shapes show it.
void checkPicture(Collector &out, const QString &picture, const ProjectPlace &place,
                  QHash<QString, PictureLoader::Status> *looked)
{
    if (picture.isEmpty())
        return;
    const QString file = PictureLoader::resolve(Config::instance()->pictureFolder(), picture);
    auto found = looked->constFind(file);
    if (found == looked->constEnd())
        found = looked->insert(file, PictureLoader::probe(file));
    if (*found == PictureLoader::Ok)
        return;
    out.add(Finding::Warning,
            *found == PictureLoader::Missing ? Finding::PictureMissing : Finding::PictureUnreadable,
            ProjectCheck::tr("图片文件“%1”：%2")
                .arg(ProjectCheck::printable(picture), PictureLoader::statusText(*found)),
            place);
}

// The pictures the picture bindings of a shape show by state.
void checkBindingPictures(Collector &out, QGraphicsItem *item, const ProjectPlace &place,
                          QHash<QString, PictureLoader::Status> *looked)
{
    // Once per file: states often repeat a picture.
    QSet<QString> named;
    const QVector<Binding> bindings = shapeBindings(item);
    for (const Binding &binding : bindings) {
        if (binding.kind != Binding::Picture)
            continue;
        for (const Binding::PictureFile &picture : binding.pictures) {
            if (!named.contains(picture.file))
                checkPicture(out, picture.file, place, looked);
            named.insert(picture.file);
        }
    }
}

void checkScreens(Collector &out)
{
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    const BindingCheck bindings;
    QHash<QString, PictureLoader::Status> pictures;
    QHash<QString, int> firstScreen;
    for (int s = 0; s < scenes.size(); ++s) {
        DrawScene *scene = scenes.at(s);
        ProjectPlace screenPlace;
        screenPlace.kind = ProjectPlace::Screen;
        screenPlace.screen = scene->objectName();
        screenPlace.screenIndex = s;
        // Screens are switched to and opened by name.
        if (screenPlace.screen.trimmed().isEmpty())
            out.add(Finding::Error, Finding::ScreenEmptyName, ProjectCheck::tr("画面没有名称"),
                    screenPlace);
        else if (firstScreen.contains(screenPlace.screen))
            out.add(Finding::Error, Finding::ScreenDuplicateName,
                    ProjectCheck::tr("画面名称“%1”重复").arg(screenPlace.screen), screenPlace);
        else
            firstScreen.insert(screenPlace.screen, s);

        const QRectF screen = scene->sceneRect();
        if (screen.width() < EdgeTolerance || screen.height() < EdgeTolerance)
            out.add(Finding::Error, Finding::ScreenZeroSize,
                    ProjectCheck::tr("画面宽 %1、高 %2：面板上显示不出来")
                        .arg(screen.width())
                        .arg(screen.height()),
                    screenPlace);
        const QRectF inner = screen.adjusted(-EdgeTolerance, -EdgeTolerance, EdgeTolerance,
                                             EdgeTolerance);
        const QList<QGraphicsItem *> items = scene->userItems();
        QSet<QString> names;
        for (int i = 0; i < items.size(); ++i) {
            QGraphicsItem *item = items.at(i);
            ProjectPlace place = screenPlace;
            place.kind = ProjectPlace::Shape;
            place.shape = ProjectSearch::shapeName(item);
            place.index = i;

            // Only shapes and widgets carry a name of their own in the file.
            const bool named = item->type() == ShapeItemType || item->type() == WidgetItemType
                               || item->type() == GroupItemType;
            if (named && place.shape.trimmed().isEmpty()) {
                out.add(Finding::Warning, Finding::ShapeEmptyName,
                        ProjectCheck::tr("图形没有名称，脚本和查找无法指向它"), place);
            } else if (!place.shape.isEmpty()) {
                if (names.contains(place.shape))
                    out.add(Finding::Error, Finding::ShapeDuplicateName,
                            ProjectCheck::tr("图形名称“%1”在此画面中重复").arg(place.shape),
                            place);
                names.insert(place.shape);
            }

            // A group member is judged through its group.
            if (!item->parentItem()) {
                const QRectF area = shapeArea(item);
                if (area.left() > screen.right() || area.right() < screen.left()
                    || area.top() > screen.bottom() || area.bottom() < screen.top())
                    out.add(Finding::Error, Finding::ShapeOutsideScreen,
                            ProjectCheck::tr("图形完全在画面之外"), place);
                else if (area.left() < inner.left() || area.right() > inner.right()
                         || area.top() < inner.top() || area.bottom() > inner.bottom())
                    out.add(Finding::Error, Finding::ShapePartlyOutsideScreen,
                            ProjectCheck::tr("图形部分超出画面"), place);
            }

            bindings.checkShape(item, place, &out.findings);
            checkBindingPictures(out, item, place, &pictures);

            if (item->type() != ShapeItemType && item->type() != WidgetItemType)
                continue;
            auto *shape = static_cast<GraphicsItem *>(item);
            const QRectF local = shape->localRect();
            const bool flatWidth = local.width() < EdgeTolerance;
            const bool flatHeight = local.height() < EdgeTolerance;
            if (isPointShape(shape) ? (flatWidth && flatHeight) : (flatWidth || flatHeight))
                out.add(Finding::Warning, Finding::ShapeZeroSize,
                        ProjectCheck::tr("图形大小为零，面板上看不到"), place);
            if (item->type() == WidgetItemType
                && ProjectSearch::shapeText(item).trimmed().isEmpty())
                out.add(Finding::Warning, Finding::WidgetWithoutText,
                        ProjectCheck::tr("控件没有文字"), place);
            if (auto *image = qobject_cast<const GraphicsImageItem *>(shape))
                checkPicture(out, image->picture(), place, &pictures);
        }
    }
}

// Also counts the tags of every device number into tagsPerDevice.
void checkAddressTags(Collector &out, QVector<int> &tagsPerDevice)
{
    const Config *config = Config::instance();
    const QStandardItemModel *tags = config->addressTagModel();

    // The panel's own registers lie above the user areas on purpose; a tag
    // naming one of them is no fault.
    QSet<QString> systemAddresses;
    const QStandardItemModel *system = config->systemRegisterModel();
    for (int row = 0; row < system->rowCount(); ++row)
        systemAddresses.insert(cellText(system, row, Config::AddressColumn).simplified());

    QHash<QString, int> firstOfName;
    for (int row = 0; row < tags->rowCount(); ++row) {
        ProjectPlace place;
        place.kind = ProjectPlace::AddressTag;
        place.index = row;
        place.name = cellText(tags, row, Config::NameColumn);

        if (place.name.trimmed().isEmpty()) {
            out.add(Finding::Error, Finding::AddressEmptyName,
                    ProjectCheck::tr("地址标签没有名称"), place);
        } else if (firstOfName.contains(place.name)) {
            out.add(Finding::Error, Finding::AddressDuplicateName,
                    ProjectCheck::tr("地址标签名称“%1”与第 %2 行重复")
                        .arg(place.name)
                        .arg(firstOfName.value(place.name) + 1),
                    place);
        } else {
            firstOfName.insert(place.name, row);
        }

        // Without a device the address has no format to be judged by: a
        // device of no name (itself a finding) would judge it by its own.
        if (cellText(tags, row, Config::DeviceColumn).trimmed().isEmpty()) {
            out.add(Finding::Error, Finding::AddressNoDevice,
                    ProjectCheck::tr("地址标签没有指定设备"), place);
            continue;
        }

        AddressPara para;
        const int result = config->tagAt(false, row, para);
        if (result != Config::TagBadDevice && result != Config::TagNoRow
            && para.device < tagsPerDevice.size())
            ++tagsPerDevice[para.device];

        const QString address = cellText(tags, row, Config::AddressColumn);
        switch (result) {
        case Config::TagBadDevice:
            out.add(Finding::Error, Finding::AddressBadDevice,
                    ProjectCheck::tr("设备“%1”不存在")
                        .arg(cellText(tags, row, Config::DeviceColumn)),
                    place);
            continue;
        case Config::TagBadType:
            out.add(Finding::Error, Finding::AddressBadType,
                    ProjectCheck::tr("数据类型“%1”无效").arg(cellText(tags, row, Config::TypeColumn)),
                    place);
            continue;
        case Config::TagBadAddress:
            out.add(Finding::Error, Finding::AddressBadAddress,
                    ProjectCheck::tr("地址“%1”无效").arg(address), place);
            continue;
        case Config::TagBadLength:
            out.add(Finding::Error, Finding::AddressBadLength,
                    ProjectCheck::tr("长度“%1”无效").arg(cellText(tags, row, Config::LengthColumn)),
                    place);
            continue;
        default:
            break;
        }

        const int protocol = config->deviceProtocol(para.device);
        const BuiltinTables *tables = BuiltinTables::instance();
        const RegisterArea *area
            = tables->findArea(protocol, tables->areaName(protocol, para.area));
        // Areas listed with no range (0..0) are not bounded by the table.
        if (!area || area->max <= area->min)
            continue;
        if (para.device == 0 && systemAddresses.contains(address.simplified()))
            continue;
        const bool bitAddress = protocol == 0 && para.format == Config::Bool;
        const int last = para.address + (area->isBitArea() ? 0 : wordsOf(para.format) - 1);
        if (para.address < area->min || para.address > area->max) {
            out.add(Finding::Error, Finding::AddressOutOfRange,
                    ProjectCheck::tr("地址“%1”超出区域 %2 的范围 %3..%4")
                        .arg(address, area->name)
                        .arg(area->min)
                        .arg(area->max),
                    place);
        } else if (last > area->max) {
            // The first word fits; it is the type's further words that do not.
            out.add(Finding::Error, Finding::AddressOutOfRange,
                    ProjectCheck::tr("地址“%1”的类型 %2 占 %3 个字（%4..%5），超出区域 %6 的末地址 %7")
                        .arg(address, cellText(tags, row, Config::TypeColumn))
                        .arg(last - para.address + 1)
                        .arg(para.address)
                        .arg(last)
                        .arg(area->name)
                        .arg(area->max),
                    place);
        } else if (bitAddress && para.bit > 15) {
            out.add(Finding::Error, Finding::AddressOutOfRange,
                    ProjectCheck::tr("地址“%1”的位号超出 0..15").arg(address), place);
        }
    }
}

void checkTextTags(Collector &out)
{
    const Config *config = Config::instance();
    const TextLib *library = const_cast<Config *>(config)->textLib();
    const int languages = config->languages.size();
    QHash<QString, int> firstOfName;
    for (int i = 0; i < library->count(); ++i) {
        ProjectPlace place;
        place.kind = ProjectPlace::TextTag;
        place.index = i;
        place.name = library->names().at(i);
        if (place.name.trimmed().isEmpty()) {
            out.add(Finding::Error, Finding::TextTagEmptyName, ProjectCheck::tr("文本标签没有名称"),
                    place);
        } else if (firstOfName.contains(place.name)) {
            out.add(Finding::Error, Finding::TextTagDuplicateName,
                    ProjectCheck::tr("文本标签名称“%1”与第 %2 个标签重复")
                        .arg(place.name)
                        .arg(firstOfName.value(place.name) + 1),
                    place);
        } else {
            firstOfName.insert(place.name, i);
        }

        const TextLib::States &states = library->statesAt(i);
        for (int s = 0; s < states.size(); ++s) {
            QStringList missing;
            for (int k = 0; k < languages; ++k) {
                if (states.at(s).value(k).trimmed().isEmpty()) {
                    const QString name = config->languages.at(k).name;
                    missing.append(name.trimmed().isEmpty() ? ProjectCheck::tr("语言 %1").arg(k + 1)
                                                            : name);
                }
            }
            if (!missing.isEmpty())
                out.add(Finding::Warning, Finding::TextTagEmptyText,
                        ProjectCheck::tr("状态 %1 的 %2 文本为空")
                            .arg(s + 1)
                            .arg(missing.join(ProjectCheck::tr("、"))),
                        place);
        }
    }
}

} // namespace

QVector<Finding> ProjectCheck::run()
{
    Collector out;
    checkProject(out);

    // Devices are judged with what the tags say of them, but listed first.
    Collector tagFindings;
    QVector<int> tagsPerDevice(Config::instance()->devices.size() + 1, 0);
    checkAddressTags(tagFindings, tagsPerDevice);
    checkDevices(out, tagsPerDevice);
    checkScreens(out);
    out.findings += tagFindings.findings;
    out.findings += unusedAddressTags();
    checkTextTags(out);
    out.findings += unusedTextTags();
    // The file is not what the editor shows: saving writes the kept values.
    for (const ClampedNumber &clamped : Config::instance()->clampedNumbers())
        out.add(Finding::Warning, Finding::ValueOutOfRange,
                (clamped.notANumber ? tr("%1@%2 的值 %3 不是数字，已改为默认值 %4")
                                    : tr("%1@%2 的值 %3 超出范围，已改为 %4"))
                    .arg(clamped.element, clamped.attribute, clamped.read, clamped.kept),
                clamped.place);
    return out.findings;
}

int ProjectCheck::errorCount(const QVector<Finding> &findings)
{
    int count = 0;
    for (const Finding &finding : findings)
        count += finding.severity == Finding::Error ? 1 : 0;
    return count;
}

int ProjectCheck::warningCount(const QVector<Finding> &findings)
{
    return findings.size() - errorCount(findings);
}

QString ProjectCheck::severityText(Finding::Severity severity)
{
    return severity == Finding::Error ? tr("错误") : tr("警告");
}

QString ProjectCheck::codeName(Finding::Code code)
{
    static const char *const names[] = {
        "noBaseScreen",        "badHardware",         "languageWithoutName",
        "deviceDuplicateName", "devicePortBeyondHardware", "deviceUnused",
        "screenDuplicateName", "shapeDuplicateName",  "shapeOutsideScreen",
        "shapePartlyOutsideScreen", "shapeZeroSize",  "widgetWithoutText",
        "addressEmptyName",    "addressDuplicateName", "addressBadDevice",
        "addressBadType",      "addressBadAddress",   "addressBadLength",
        "addressOutOfRange",   "textTagEmptyName",    "textTagDuplicateName",
        "textTagEmptyText",    "deviceEmptyName",     "screenEmptyName",
        "screenZeroSize",      "shapeEmptyName",      "valueOutOfRange",
        "addressNoDevice",     "pictureMissing",      "pictureUnreadable",
        "bindingMissingTag",   "bindingBadAddress",   "bindingMissingTextTag",
        "bindingMissingScreen", "bindingNotBit",      "bindingBadFormat",
        "bindingWritesReadOnly", "addressTagUnused",  "textTagUnused",
        "bindingWrongScreenType", "bindingReversedLimits",
    };
    static_assert(sizeof(names) / sizeof(names[0]) == Finding::BindingReversedLimits + 1,
                  "one name per code");
    return QString::fromLatin1(names[code]);
}

QString ProjectCheck::placeText(const ProjectPlace &place)
{
    switch (place.kind) {
    case ProjectPlace::Project:
        return tr("项目");
    case ProjectPlace::Language:
        return tr("语言 %1").arg(place.index + 1);
    case ProjectPlace::Screen:
    case ProjectPlace::Shape: {
        const QString screen = place.screen.trimmed().isEmpty()
            ? tr("画面 #%1").arg(place.screenIndex + 1)
            : tr("画面 %1").arg(printable(place.screen));
        if (place.kind == ProjectPlace::Screen)
            return screen;
        const QString shape = place.shape.trimmed().isEmpty()
            ? tr("图形 #%1").arg(place.index + 1)
            : tr("图形 %1").arg(printable(place.shape));
        return tr("%1，%2").arg(screen, shape);
    }
    case ProjectPlace::AddressTag:
        return tr("地址标签第 %1 行 %2").arg(place.index + 1).arg(printable(place.name)).trimmed();
    case ProjectPlace::TextTag:
        return tr("文本标签第 %1 个 %2").arg(place.index + 1).arg(printable(place.name)).trimmed();
    case ProjectPlace::Device:
        return tr("设备 %1 %2").arg(place.index + 1).arg(printable(place.name)).trimmed();
    }
    return QString();
}

QString ProjectCheck::printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\t')
            out += QLatin1String("\\t");
        else if (u == '\r')
            out += QLatin1String("\\r");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        // Line and paragraph separators break a line as well.
        else if (u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\u%1").arg(u, 4, 16);
        else
            out += c;
    }
    return out;
}

QString ProjectCheck::summary(const QVector<Finding> &findings)
{
    // Each count takes its own plural form: one form for the whole line
    // would read "1 errors" in English.
    return tr("%1，%2").arg(tr("%n 个错误", nullptr, errorCount(findings)),
                           tr("%n 个警告", nullptr, warningCount(findings)));
}
