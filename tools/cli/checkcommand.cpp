#include "checkcommand.h"

#include "clihelp.h"
#include "cliproject.h"
#include "document/projectcheck.h"
#include "document/projectfile.h"
#include "model/config.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class CheckCommand
{
    Q_DECLARE_TR_FUNCTIONS(CheckCommand)

public:
    int run(const QStringList &arguments);

private:
    bool load(const QString &file, const QString &password);
    static QJsonObject placeObject(const ProjectPlace &place);
};

QString placeKindKey(ProjectPlace::Kind kind)
{
    switch (kind) {
    case ProjectPlace::Project:
        return QStringLiteral("project");
    case ProjectPlace::Language:
        return QStringLiteral("language");
    case ProjectPlace::Screen:
        return QStringLiteral("screen");
    case ProjectPlace::Shape:
        return QStringLiteral("shape");
    case ProjectPlace::AddressTag:
        return QStringLiteral("addressTag");
    case ProjectPlace::TextTag:
        return QStringLiteral("textTag");
    case ProjectPlace::Device:
        return QStringLiteral("device");
    }
    return QString();
}

int CheckCommand::run(const QStringList &arguments)
{
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QString());
    QCommandLineParser parser;
    parser.addOption(helpOption);
    parser.addOptions(CliHelp::options(QStringLiteral("check")));
    const QString jsonOption = QStringLiteral("json");

    if (!parser.parse(arguments))
        return CliProject::failWith(CliProject::parseError(parser));
    if (parser.isSet(helpOption)) {
        CliProject::writeOut(CliHelp::commandHelp(QStringLiteral("check")));
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < 2)
        return CliProject::failWith(tr("缺少项目文件"));
    if (positional.size() > 2)
        return CliProject::failWith(tr("多余的参数：%1").arg(positional.mid(2).join(QLatin1Char(' '))));

    QString password;
    if (!CliProject::password(parser, &password))
        return 1;
    if (!load(positional.at(1), password))
        return 1;
    const QVector<Finding> findings = ProjectCheck::run();

    if (parser.isSet(jsonOption)) {
        QJsonArray list;
        for (const Finding &finding : findings) {
            list.append(QJsonObject {
                {QStringLiteral("severity"), finding.severity == Finding::Error
                                                 ? QStringLiteral("error")
                                                 : QStringLiteral("warning")},
                {QStringLiteral("code"), ProjectCheck::codeName(finding.code)},
                {QStringLiteral("message"), finding.message},
                {QStringLiteral("placeText"), ProjectCheck::placeText(finding.place)},
                {QStringLiteral("place"), placeObject(finding.place)},
            });
        }
        CliProject::writeOut(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)));
    } else {
        QString text;
        for (const Finding &finding : findings) {
            text += QStringLiteral("%1: %2: %3\n")
                        .arg(ProjectCheck::severityText(finding.severity),
                             ProjectCheck::placeText(finding.place),
                             ProjectCheck::printable(finding.message));
        }
        text += ProjectCheck::summary(findings) + QLatin1Char('\n');
        CliProject::writeOut(text);
    }
    return ProjectCheck::errorCount(findings) > 0 ? 2 : 0;
}

QJsonObject CheckCommand::placeObject(const ProjectPlace &place)
{
    QJsonObject object {{QStringLiteral("kind"), placeKindKey(place.kind)}};
    switch (place.kind) {
    case ProjectPlace::Project:
        break;
    case ProjectPlace::Shape:
        object.insert(QStringLiteral("shape"), place.shape);
        object.insert(QStringLiteral("shapeIndex"), place.index);
        Q_FALLTHROUGH();
    case ProjectPlace::Screen:
        object.insert(QStringLiteral("screen"), place.screen);
        object.insert(QStringLiteral("screenIndex"), place.screenIndex);
        break;
    case ProjectPlace::AddressTag:
        object.insert(QStringLiteral("row"), place.index);
        object.insert(QStringLiteral("name"), place.name);
        break;
    case ProjectPlace::Language:
    case ProjectPlace::TextTag:
    case ProjectPlace::Device:
        object.insert(QStringLiteral("index"), place.index);
        if (place.kind != ProjectPlace::Language)
            object.insert(QStringLiteral("name"), place.name);
        break;
    }
    return object;
}

bool CheckCommand::load(const QString &file, const QString &password)
{
    if (!CliProject::load(file, password))
        return false;
    // The check reads the panel's own registers, which the editor loads
    // once a project is open.
    Config::instance()->loadSystemRegisters();
    return true;
}

} // namespace

int runCheckCommand(const QStringList &arguments)
{
    return CheckCommand().run(arguments);
}
