#include "bindingcheck.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/binding.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapekind.h"

#include <QStandardItemModel>

namespace {

quint32 registerKey(int area, int address)
{
    return quint32(area) << 16 | quint32(address & 0xffff);
}

bool isWholeNumber(int format)
{
    return format != Config::Float && format != Config::Double && format != Config::String;
}

bool writesValue(const Binding &binding, int widgetKind)
{
    if (binding.kind == Binding::Action)
        return binding.action < Binding::SwitchScreen;
    if (binding.kind != Binding::Value)
        return false;
    switch (widgetKind) {
    case LineEditKind:
    case SpinBoxKind:
    case ComboBoxKind:
    case CheckBoxKind:
    case RadioButtonKind:
        return true;
    default:
        return false;
    }
}

QString formatKey(int format)
{
    AddressPara para;
    para.format = quint8(format);
    return Config::dataFormatText(para);
}

void add(QVector<Finding> *findings, Finding::Severity severity, Finding::Code code,
         const QString &message, const ProjectPlace &place)
{
    Finding finding;
    finding.severity = severity;
    finding.code = code;
    finding.message = message;
    finding.place = place;
    findings->append(finding);
}

} // namespace

BindingCheck::BindingCheck()
    : m_source(Config::instance())
{
    const Config *config = Config::instance();
    TextLib *library = const_cast<Config *>(config)->textLib();
    for (const QString &name : library->names())
        m_textTags.insert(name);
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    for (auto scene = scenes.crbegin(); scene != scenes.crend(); ++scene)
        m_screens.insert((*scene)->objectName(), (*scene)->type());

    const HardDevice *hardware = config->currentHardDevice();
    const QVector<BuiltinTables::Register> *registers = BuiltinTables::instance()->systemRegisters(
        BuiltinTables::systemRegisterFile(hardware ? hardware->model : 0));
    if (!registers)
        return;
    for (const BuiltinTables::Register &reg : *registers) {
        if (!reg.readOnly)
            continue;
        AddressPara para;
        if (!config->parseDataFormat(reg.type, para) || !config->parseAddress(reg.address, para))
            continue;
        // A text register spans its length in bytes, two to a word.
        const int words = para.format == Config::Bool ? 1 : qMax(1, reg.length.toInt() / 2);
        for (int i = 0; i < words && para.address + i <= 0xffff; ++i)
            m_readOnlyRegisters.insert(registerKey(para.area, para.address + i));
    }
}

void BindingCheck::checkShape(QGraphicsItem *item, const ProjectPlace &place,
                              QVector<Finding> *findings) const
{
    const QVector<Binding> bindings = shapeBindings(item);
    if (bindings.isEmpty())
        return;
    const int widgetKind = item->type() == WidgetItemType
        ? static_cast<const GraphicsWidgetItem *>(item)->widgetKind()
        : -1;
    for (const Binding &binding : bindings)
        checkBinding(binding, widgetKind, place, findings);
}

BindingCheck::Source BindingCheck::sourceOf(int device, int area, int address, int format) const
{
    Source source;
    source.decoded = true;
    source.format = format;
    const Config *config = Config::instance();
    const int protocol = config->deviceProtocol(device);
    const BuiltinTables *tables = BuiltinTables::instance();
    const RegisterArea *found = tables->findArea(protocol, tables->areaName(protocol, area));
    source.readOnly = (found && found->readOnly)
        || (device == 0 && m_readOnlyRegisters.contains(registerKey(area, address)));
    return source;
}

BindingCheck::Source BindingCheck::source(const Binding &binding, const ProjectPlace &place,
                                          QVector<Finding> *findings) const
{
    const QString kind = Binding::kindName(binding.kind);
    AddressPara para;
    QString message;
    switch (m_source.decode(binding, &para)) {
    case BindingSource::Ok:
        return sourceOf(para.device, para.area, para.address, para.format);
    case BindingSource::BadTagRow:
        // A faulty row is the address tag's own finding.
        return Source();
    case BindingSource::MissingTag:
        add(findings, Finding::Error, Finding::BindingMissingTag,
            tr("%1绑定的地址标签“%2”不存在").arg(kind, ProjectCheck::printable(binding.tag)),
            place);
        return Source();
    case BindingSource::NoSource:
        message = tr("%1绑定没有数据来源").arg(kind);
        break;
    case BindingSource::BadDevice:
        message = tr("%1绑定的设备“%2”不存在").arg(kind, ProjectCheck::printable(binding.device));
        break;
    case BindingSource::BadFormat:
        message = tr("%1绑定的数据类型“%2”无效").arg(kind, ProjectCheck::printable(binding.format));
        break;
    case BindingSource::BadAddress:
        message = tr("%1绑定的地址“%2”无效").arg(kind, ProjectCheck::printable(binding.address));
        break;
    }
    add(findings, Finding::Error, Finding::BindingBadAddress, message, place);
    return Source();
}

void BindingCheck::checkScreen(const Binding &binding, const ProjectPlace &place,
                               QVector<Finding> *findings) const
{
    // Closing names no screen when it closes the window it is on; the
    // other two have nowhere to go without one.
    if (binding.screen.isEmpty()) {
        if (binding.action != Binding::CloseWindow)
            add(findings, Finding::Error, Finding::BindingMissingScreen,
                tr("画面动作没有指定画面"), place);
        return;
    }
    const auto type = m_screens.constFind(binding.screen);
    const QString name = ProjectCheck::printable(binding.screen);
    if (type == m_screens.constEnd()) {
        add(findings, Finding::Error, Finding::BindingMissingScreen,
            tr("动作指向的画面“%1”不存在").arg(name), place);
        return;
    }
    // The panel switches only among base screens and opens only windows
    // over them; the other way round it shows nothing.
    if (binding.action == Binding::SwitchScreen && *type != BaseScreen)
        add(findings, Finding::Error, Finding::BindingWrongScreenType,
            tr("切换画面只能切换到基本画面，“%1”不是基本画面").arg(name), place);
    else if (binding.action != Binding::SwitchScreen && *type != WindowScreen)
        add(findings, Finding::Error, Finding::BindingWrongScreenType,
            tr("打开和关闭窗口只能用于窗口画面，“%1”不是窗口画面").arg(name), place);
}

void BindingCheck::checkBinding(const Binding &binding, int widgetKind, const ProjectPlace &place,
                                QVector<Finding> *findings) const
{
    if (binding.kind == Binding::Action && binding.action >= Binding::SwitchScreen) {
        checkScreen(binding, place, findings);
        return;
    }
    // Limits the wrong way round let no value through: an entry that can
    // never be written, a step that never moves, a range never met.
    const bool stepped = binding.kind == Binding::Action
        && (binding.action == Binding::AddStep || binding.action == Binding::SubtractStep);
    if ((binding.kind == Binding::Value || stepped) && binding.minimum > binding.maximum)
        add(findings, Finding::Error, Finding::BindingReversedLimits,
            tr("%1绑定的最小值 %2 大于最大值 %3")
                .arg(Binding::kindName(binding.kind))
                .arg(binding.minimum)
                .arg(binding.maximum),
            place);
    else if (binding.kind == Binding::Visible && binding.condition == Binding::InRange
             && binding.value > binding.value2)
        add(findings, Finding::Error, Finding::BindingReversedLimits,
            tr("可见绑定的范围 %1 到 %2 是反的，任何值都不在其中")
                .arg(binding.value)
                .arg(binding.value2),
            place);
    if (binding.kind == Binding::TextState) {
        if (binding.textTag.isEmpty())
            add(findings, Finding::Error, Finding::BindingMissingTextTag,
                tr("文字状态绑定没有指定文本标签"), place);
        else if (!m_textTags.contains(binding.textTag))
            add(findings, Finding::Error, Finding::BindingMissingTextTag,
                tr("文字状态绑定的文本标签“%1”不存在")
                    .arg(ProjectCheck::printable(binding.textTag)),
                place);
    }

    const Source source = this->source(binding, place, findings);
    if (!source.decoded)
        return;
    const QString name = ProjectCheck::printable(binding.sourceText());
    const QString format = formatKey(source.format);
    const bool isBit = source.format == Config::Bool;
    const bool isString = source.format == Config::String;

    QString notBit;
    QString badFormat;
    switch (binding.kind) {
    case Binding::Value:
        if ((widgetKind == CheckBoxKind || widgetKind == RadioButtonKind) && !isBit)
            notBit = tr("复选框和单选按钮显示并写入一个位，需要 Bool 类型的数据来源；“%1”的类型是 %2");
        else if ((isBit || isString)
                 && (binding.decimals > 0 || binding.scale != 1 || binding.offset != 0))
            badFormat = tr("%2 类型的“%1”不能按小数位、比例或偏移显示");
        else if (widgetKind == ComboBoxKind && isString)
            badFormat = tr("下拉框的数值是选项序号，%2 类型的“%1”给不出序号");
        break;
    case Binding::TextState:
    case Binding::Picture:
        if (!isWholeNumber(source.format))
            badFormat = tr("按整数值选择状态，%2 类型的“%1”给不出整数");
        break;
    case Binding::Visible:
        if (binding.condition == Binding::BitSet || binding.condition == Binding::BitClear) {
            if (!isBit)
                notBit = tr("按位的可见条件需要 Bool 类型的数据来源；“%1”的类型是 %2");
        } else if (isString) {
            badFormat = tr("比较数值，%2 类型的“%1”给不出数值");
        }
        break;
    case Binding::Colours:
        if (isString)
            badFormat = tr("比较数值，%2 类型的“%1”给不出数值");
        break;
    case Binding::Action:
        if (binding.action <= Binding::Momentary) {
            if (!isBit)
                notBit = tr("置位、复位、取反和点动动作需要 Bool 类型的数据来源；“%1”的类型是 %2");
        } else if (isString) {
            badFormat = tr("写入和加减动作写的是数值，%2 类型的“%1”存不下");
        } else if (isBit && binding.action != Binding::WriteValue) {
            badFormat = tr("加减动作不能用于 %2 类型的“%1”，它只有 0 和 1");
        }
        break;
    }
    const QString kind = Binding::kindName(binding.kind);
    if (!notBit.isEmpty())
        add(findings, Finding::Error, Finding::BindingNotBit,
            tr("%1绑定：%2").arg(kind, notBit.arg(name, format)), place);
    if (!badFormat.isEmpty())
        add(findings, Finding::Error, Finding::BindingBadFormat,
            tr("%1绑定：%2").arg(kind, badFormat.arg(name, format)), place);
    if (source.readOnly && writesValue(binding, widgetKind))
        add(findings, Finding::Warning, Finding::BindingWritesReadOnly,
            tr("%1绑定写入只读的“%2”，面板不会接受写入的值").arg(kind, name), place);
}
