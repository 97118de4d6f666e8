// marovin-cli: looks into, draws and rewrites project files without the
// editor's window, for scripts and build machines. Loads through the same
// code as the editor, so what it reports is what the editor would open.

#include "checkcommand.h"
#include "clihelp.h"
#include "clilanguage.h"
#include "clipictures.h"
#include "cliproject.h"
#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "document/projectscript.h"
#include "editor/drawscene.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "runtimefolder.h"
#include "services/interfacefont.h"
#include "shapes/graphicsitem.h"
#include "simulatecommand.h"
#include "simulatedrender.h"
#include "tagscommand.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QStandardItemModel>
#include <QTextCodec>

#include <csignal>
#include <cmath>
#include <cstdio>

namespace {

// The commands of the tool. Each command loads one project into the
// process-wide Config and DrawManager, so a CliTool runs one command once.
class CliTool
{
    Q_DECLARE_TR_FUNCTIONS(CliTool)

public:
    // Returns the process exit code: 0 on success, 1 after a message on
    // stderr.
    int run(const QStringList &arguments);

private:
    enum Form { KeepForm, PlainForm, EncodedForm };

    bool load(const QString &file, const QString &password);
    int info(const QString &file) const;
    int render(const QString &directory, const QString &screen) const;
    // Draws scene into the PNG file path; false with *reason on failure.
    static bool renderScreen(DrawScene *scene, const QString &path, QString *reason);
    int convert(const QString &output, Form form) const;

    // Form of the file as it was on disk, which is what convert keeps by
    // default even when the file's own encryption switch disagrees.
    bool m_encoded = false;
};


// The longest side of a screen picture, far beyond any panel: the raster
// painter's coordinates end at 32767, and 16384 x 16384 is already a
// gigabyte of pixels.
constexpr double MaxPictureSide = 16384;

QString screenTypeKey(int type)
{
    switch (type) {
    case BaseScreen:
        return QStringLiteral("base");
    case WindowScreen:
        return QStringLiteral("window");
    case TemplateScreen:
        return QStringLiteral("template");
    default:
        return QStringLiteral("unknown");
    }
}

int CliTool::run(const QStringList &arguments)
{
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QString());
    QCommandLineParser parser;
    parser.addOptions({helpOption, versionOption});
    parser.addOptions(CliHelp::options(QStringList {QStringLiteral("info"), QStringLiteral("render"),
                                                    QStringLiteral("convert")}));

    if (!parser.parse(arguments))
        return CliProject::failWith(CliProject::parseError(parser));
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(helpOption)) {
        const QString command = CliHelp::commandHelp(positional.value(0));
        CliProject::writeOut(command.isEmpty() ? CliHelp::overview() : command);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        CliProject::writeOut(QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                            QCoreApplication::applicationVersion()));
        return 0;
    }

    if (positional.isEmpty())
        return CliProject::failWith(
            tr("缺少命令（%1），用 --help 查看用法").arg(CliHelp::commandList()));
    const QString command = positional.first();
    const QStringList commands
        = {QStringLiteral("info"), QStringLiteral("render"), QStringLiteral("convert")};
    if (!commands.contains(command))
        return CliProject::failWith(
            tr("未知命令：%1（可用的命令：%2）").arg(command, CliHelp::commandList()));
    if (positional.size() < 2)
        return CliProject::failWith(tr("缺少项目文件"));
    if (positional.size() > 2)
        return CliProject::failWith(tr("多余的参数：%1").arg(positional.mid(2).join(QLatin1Char(' '))));

    const QString outputOption = QStringLiteral("o");
    const QString screenOption = QStringLiteral("screen");
    const QString encryptOption = QStringLiteral("encrypt");
    const QString plainOption = QStringLiteral("plain");
    // Options that do not belong to the command are refused rather than
    // ignored, so a mistyped script fails instead of doing something else.
    const bool wantsOutput = command != QLatin1String("info");
    if (wantsOutput && parser.value(outputOption).isEmpty())
        return CliProject::failWith(tr("%1 需要 -o").arg(command));
    if (!wantsOutput && parser.isSet(outputOption))
        return CliProject::failWith(tr("%1 不接受 -o").arg(command));
    if (parser.isSet(screenOption) && command != QLatin1String("render"))
        return CliProject::failWith(tr("--screen 只用于 render"));
    // An empty value would otherwise mean "no choice" and draw every screen.
    if (parser.isSet(screenOption) && parser.value(screenOption).isEmpty())
        return CliProject::failWith(tr("--screen 需要画面名称"));
    const QString setOption = QStringLiteral("set");
    const QString languageOption = QStringLiteral("lang");
    const bool simulated = parser.isSet(setOption) || parser.isSet(languageOption);
    if (simulated && command != QLatin1String("render"))
        return CliProject::failWith(tr("--set 和 --lang 只用于 render"));
    int language = -1;
    if (parser.isSet(languageOption)) {
        bool ok = false;
        language = parser.value(languageOption).toInt(&ok);
        if (!ok || language < 0)
            return CliProject::failWith(
                tr("--lang 需要语言序号（从 0 数起）：%1").arg(parser.value(languageOption)));
    }
    const bool encrypt = parser.isSet(encryptOption);
    const bool plain = parser.isSet(plainOption);
    if ((encrypt || plain) && command != QLatin1String("convert"))
        return CliProject::failWith(tr("--encrypt 和 --plain 只用于 convert"));
    if (encrypt && plain)
        return CliProject::failWith(tr("--encrypt 和 --plain 不能同时使用"));

    // A project written over a file of another kind (a tag list named by
    // mistake) would replace it; the editor opens only .mvprg files anyway.
    if (command == QLatin1String("convert")
        && !parser.value(outputOption).endsWith(QLatin1String(".mvprg"), Qt::CaseInsensitive))
        return CliProject::failWith(
            tr("项目只能另存为 .mvprg 文件：%1").arg(parser.value(outputOption)));

    const QString file = positional.at(1);
    QString password;
    if (!CliProject::password(parser, &password))
        return 1;
    if (!load(file, password))
        return 1;

    if (command == QLatin1String("info"))
        return info(file);
    if (command == QLatin1String("render") && simulated) {
        SimulatedRender request;
        request.directory = parser.value(outputOption);
        request.screen = parser.value(screenOption);
        request.sets = parser.values(setOption);
        request.language = language;
        return renderSimulated(request);
    }
    if (command == QLatin1String("render"))
        return render(parser.value(outputOption), parser.value(screenOption));
    return convert(parser.value(outputOption),
                   encrypt ? EncodedForm : (plain ? PlainForm : KeepForm));
}

bool CliTool::load(const QString &file, const QString &password)
{
    QFile peek(file);
    if (peek.open(QIODevice::ReadOnly))
        m_encoded = !ProjectFile::isPlainText(peek.readAll());

    ProjectFile::LoadResult result;
    if (!CliProject::load(file, password, &result))
        return false;
    // Kept and written back by convert, but missing from what info and
    // render report: worth a word, not a failure.
    if (!result.unknownElements.isEmpty())
        CliProject::tellUser(tr("警告：%1 含有本版本不认识的元素：%2")
                     .arg(file, result.unknownElements.join(QStringLiteral(", "))));
    if (!result.unknownAttributes.isEmpty())
        CliProject::tellUser(tr("警告：%1 含有本版本不认识的属性：%2")
                     .arg(file, result.unknownAttributes.join(QStringLiteral(", "))));
    if (!result.clampedNumbers.isEmpty())
        CliProject::tellUser(
            tr("警告：%1 含有超出范围或不是数字的数值，已改为最接近的有效值或默认值：\n%2")
                .arg(file, QStringLiteral("  ")
                               + ProjectFile::firstLines(result.clampedPlaces)
                                     .join(QStringLiteral("\n  "))));
    return true;
}

int CliTool::info(const QString &file) const
{
    Config *config = Config::instance();

    QJsonObject hardware;
    hardware.insert(QStringLiteral("index"), int(config->hard));
    const HardDevice *model = config->currentHardDevice();
    hardware.insert(QStringLiteral("name"), model ? QJsonValue(model->name) : QJsonValue());

    QJsonObject project;
    project.insert(QStringLiteral("name"), config->name);
    project.insert(QStringLiteral("version"), config->version);
    project.insert(QStringLiteral("hardware"), hardware);
    project.insert(QStringLiteral("orientation"), int(config->orientation));
    project.insert(QStringLiteral("screenWidth"), config->screenWidth);
    project.insert(QStringLiteral("screenHeight"), config->screenHeight);
    project.insert(QStringLiteral("addressHex"), int(config->addressHex));
    project.insert(QStringLiteral("encryption"), int(config->encryption));
    project.insert(QStringLiteral("projectPassword"), !config->projectPw.isEmpty());
    project.insert(QStringLiteral("macroPassword"), !config->macroPw.isEmpty());

    QJsonArray languages;
    for (const LanguagePara &language : qAsConst(config->languages)) {
        languages.append(QJsonObject {{QStringLiteral("name"), language.name},
                                      {QStringLiteral("mark"), language.mark},
                                      {QStringLiteral("font"), language.font.toString()}});
    }

    const QStringList protocols = BuiltinTables::instance()->protocolNames();
    QJsonArray devices;
    for (const DevicePara &device : qAsConst(config->devices)) {
        devices.append(QJsonObject {
            {QStringLiteral("name"), device.name},
            {QStringLiteral("protocol"), int(device.protocol)},
            {QStringLiteral("protocolName"), protocols.value(device.protocol)},
            {QStringLiteral("deviceId"), int(device.deviceId)},
            {QStringLiteral("port"), int(device.port)},
            {QStringLiteral("rsType"), int(device.rsType)},
            {QStringLiteral("dataBits"), int(device.dataBits)},
            {QStringLiteral("stopBits"), int(device.stopBits)},
            {QStringLiteral("parity"), int(device.parity)},
            {QStringLiteral("retryNum"), int(device.retryNum)},
            {QStringLiteral("baud"), device.baud},
            {QStringLiteral("overtime"), device.overtime},
            {QStringLiteral("comDelay"), device.comDelay},
            {QStringLiteral("resDelay"), device.resDelay},
        });
    }

    QJsonArray screens;
    int bindingsTotal = 0;
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    for (DrawScene *scene : scenes) {
        const QList<QGraphicsItem *> all = scene->userItems();
        int topLevel = 0;
        int groups = 0;
        // Those of groups and of their members alike.
        int bindings = 0;
        for (QGraphicsItem *item : all) {
            if (!item->parentItem())
                ++topLevel;
            if (item->type() == GroupItemType)
                ++groups;
            bindings += shapeBindings(item).size();
        }
        bindingsTotal += bindings;
        screens.append(QJsonObject {
            {QStringLiteral("name"), scene->objectName()},
            {QStringLiteral("type"), scene->type()},
            {QStringLiteral("typeName"), screenTypeKey(scene->type())},
            {QStringLiteral("width"), scene->width()},
            {QStringLiteral("height"), scene->height()},
            {QStringLiteral("shapes"), topLevel},
            {QStringLiteral("shapesTotal"), all.size()},
            {QStringLiteral("groups"), groups},
            {QStringLiteral("bindings"), bindings},
        });
    }

    // A line break at the end closes the last line rather than starting one.
    QJsonArray scripts;
    const QList<ProjectScript *> projectScripts = DrawManager::instance()->scripts();
    for (const ProjectScript *script : projectScripts) {
        const QString text = script->text();
        const int breaks = text.count(QLatin1Char('\n'));
        const int lines = text.isEmpty() ? 0 : breaks + (text.endsWith(QLatin1Char('\n')) ? 0 : 1);
        scripts.append(QJsonObject {{QStringLiteral("name"), script->name()},
                                    {QStringLiteral("lines"), lines},
                                    {QStringLiteral("bytes"), text.toUtf8().size()}});
    }

    const QJsonObject tags {{QStringLiteral("address"), config->addressTagModel()->rowCount()},
                            {QStringLiteral("text"), config->textLib()->count()}};

    const QJsonObject root {
        {QStringLiteral("file"), QFileInfo(file).absoluteFilePath()},
        {QStringLiteral("storedForm"),
         m_encoded ? QStringLiteral("encoded") : QStringLiteral("plain")},
        {QStringLiteral("project"), project},
        {QStringLiteral("languages"), languages},
        {QStringLiteral("devices"), devices},
        {QStringLiteral("screens"), screens},
        {QStringLiteral("tags"), tags},
        {QStringLiteral("bindings"), bindingsTotal},
        {QStringLiteral("scripts"), scripts},
    };
    const QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}

int CliTool::render(const QString &directory, const QString &screen) const
{
    QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    if (!screen.isEmpty()) {
        QList<DrawScene *> chosen;
        for (DrawScene *scene : qAsConst(scenes)) {
            if (scene->objectName() == screen)
                chosen.append(scene);
        }
        if (chosen.isEmpty())
            return CliProject::failWith(tr("没有名为 %1 的画面").arg(screen));
        scenes = chosen;
    }
    if (!QDir().mkpath(directory))
        return CliProject::failWith(tr("无法创建文件夹 %1").arg(directory));

    QStringList screenNames;
    for (const DrawScene *scene : qAsConst(scenes))
        screenNames << scene->objectName();
    const QStringList fileNames = CliPictures::fileNames(screenNames);

    // One screen that cannot be drawn or written must not cost the others
    // their pictures: each failure is named and the run goes on.
    const QDir out(directory);
    bool failed = false;
    for (int i = 0; i < scenes.size(); ++i) {
        DrawScene *scene = scenes.at(i);
        const QString path = out.filePath(fileNames.at(i));
        QString reason;
        if (!renderScreen(scene, path, &reason)) {
            CliProject::tellUser(reason);
            failed = true;
        }
    }
    return failed ? 1 : 0;
}

bool CliTool::renderScreen(DrawScene *scene, const QString &path, QString *reason)
{
    const QRectF area = scene->sceneRect();
    // Written this way round so that NaN counts as no area.
    if (!(area.width() > 0 && area.height() > 0)) {
        *reason = tr("画面 %1 没有面积").arg(scene->objectName());
        return false;
    }
    // A file may give a screen any size; a picture must stay within what
    // the painter draws on and what memory holds, and the sides must be
    // converted to int only once they fit.
    const QString tooLarge
        = QStringLiteral("%1: %2").arg(scene->objectName(), tr("画面太大，无法输出图片"));
    if (area.width() > MaxPictureSide || area.height() > MaxPictureSide) {
        *reason = tooLarge;
        return false;
    }
    const QSize size(int(std::ceil(area.width())), int(std::ceil(area.height())));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        *reason = tooLarge;
        return false;
    }
    image.fill(Qt::transparent);
    scene->clearSelection();
    scene->setGridVisible(false);
    scene->realizeWidgets();
    {
        QPainter painter(&image);
        // The hints a screen view paints with.
        painter.setRenderHint(QPainter::TextAntialiasing);
        scene->render(&painter, QRectF(QPointF(0, 0), area.size()), area, Qt::IgnoreAspectRatio);
    }
    scene->setGridVisible(true);

    return CliPictures::write(image, path, reason);
}

int CliTool::convert(const QString &output, Form form) const
{
    Config *config = Config::instance();
    switch (form) {
    case KeepForm:
        config->encryption = m_encoded ? 1 : 0;
        break;
    case PlainForm:
        config->encryption = 0;
        break;
    case EncodedForm:
        config->encryption = 1;
        break;
    }
    QString reason;
    if (!ProjectFile::write(output, nullptr, &reason))
        return CliProject::failWith(tr("无法写入 %1：%2").arg(output, reason));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit the default is to end the process mid-write,
    // with no message and no exit code of ours; ignored, the write fails and
    // the old file is kept as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    // A reader that stops early (`| head`) would otherwise end us mid-write,
    // without our exit code and with our runtime folder left behind; with
    // the signal ignored the write fails and is reported like any other.
    std::signal(SIGPIPE, SIG_IGN);

    // Widget shapes need a GUI application, but nothing here is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Outlives the application, whose last act may still use it.
    const RuntimeFolder runtimeFolder;
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marovin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MAROVIN_VERSION));
    // Shapes without a font of their own paint in the application font:
    // the pictures must show what the editor shows.
    app.setFont(InterfaceFont::font());
    // Project files are UTF-8 whatever the locale of the shell.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    installCliLanguage();

    const QStringList arguments = QCoreApplication::arguments();
    const QString command = arguments.value(1);
    const int code = command == QLatin1String("check") ? runCheckCommand(arguments)
        : command == QLatin1String("tags")             ? TagsCommand().run(arguments)
        : command == QLatin1String("simulate")         ? runSimulateCommand(arguments)
        : command == QLatin1String("help")             ? CliHelp::run(arguments)
                                                       : CliTool().run(arguments);
    // Screens own widgets, which must go before the application object;
    // widget shapes leave their proxies to deferred deletion.
    DrawManager::instance()->clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A script reads what we printed: output that never arrived (a full
    // disk, a closed pipe) must not pass for success.
    if (!CliProject::outputDelivered())
        return CliProject::failWith(CliProject::tr("无法写入标准输出"));
    return code;
}
