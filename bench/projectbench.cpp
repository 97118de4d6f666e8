// projectbench: how loading and saving a large project compares with the
// least any XML project file of the same size costs, and how much memory it
// takes. Builds the project in memory, saves it plain and encoded, then
// times each step several times and prints the medians.

#include "benchtiming.h"
#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "shapes/graphicsitem.h"
#include "support/projectgenerator.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using benchtiming::Timing;
using benchtiming::print;
using benchtiming::timePair;

namespace {

// The project is the shared generator's benchmark project; --bindings
// gives that share of its shapes bindings as well.
const ProjectGenerator::Options BenchProject = ProjectGenerator::benchmarkOptions();
const int ScreenCount = BenchProject.screens;
const int ShapesPerScreen = BenchProject.shapesPerScreen;
const int AddressTagCount = BenchProject.addressTags;
const int TextTagCount = BenchProject.textTags;
// Peak memory of either phase stays below this.
const int PeakLimitMb = 160;

// One recorded XML token, replayed through a bare writer as the least that
// producing the same document costs.
struct XmlToken
{
    enum Kind { Start, End, Characters } kind;
    QString name;
    QXmlStreamAttributes attributes;
};

// Peak resident set size of this process since it started or since the
// last resetPeakMemory(), in kB; 0 when /proc has none.
qint64 peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Starts the peak count again from the current size (Linux 4.0 and later);
// false when the kernel refuses.
bool resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Median of repeat runs of step, in milliseconds; before runs outside the
// timing ahead of each one. One more run goes first, untimed, so that every
// step and every baseline is measured with the allocator and the page cache
// already warm, not with the process's first touch of that much memory.
double medianMs(int repeat, const std::function<void()> &step,
                const std::function<void()> &before = nullptr)
{
    if (before)
        before();
    step();
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        if (before)
            before();
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void resetProject()
{
    DrawManager::instance()->clear();
    Config::instance()->reset();
    DrawScene::resetScreenCounters();
    // Widget shapes hand their proxies to the event loop to delete.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Each load then starts from what an editor that has just closed a
    // project holds, not from the previous load's free lists.
    malloc_trim(0);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool ok = file.write(bytes) == bytes.size();
    file.close();
    return ok;
}

std::vector<XmlToken> recordTokens(const QByteArray &xml)
{
    std::vector<XmlToken> tokens;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            tokens.push_back({XmlToken::Start, reader.name().toString(), reader.attributes()});
            break;
        case QXmlStreamReader::EndElement:
            tokens.push_back({XmlToken::End, QString(), {}});
            break;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace())
                tokens.push_back({XmlToken::Characters, reader.text().toString(), {}});
            break;
        default:
            break;
        }
    }
    return tokens;
}

// The document written again by a bare writer, as the project writer sets
// it up (indented, with the same prolog).
QByteArray replayTokens(const std::vector<XmlToken> &tokens)
{
    QByteArray out;
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(true);
    writer.writeStartDocument(QStringLiteral("1.0"));
    writer.writeDTD(QStringLiteral("<!DOCTYPE Marovin>"));
    for (const XmlToken &token : tokens) {
        switch (token.kind) {
        case XmlToken::Start:
            writer.writeStartElement(token.name);
            writer.writeAttributes(token.attributes);
            break;
        case XmlToken::End:
            writer.writeEndElement();
            break;
        case XmlToken::Characters:
            writer.writeCharacters(token.name);
            break;
        }
    }
    writer.writeEndDocument();
    return out;
}

// Reads every token and touches every attribute, as a loader must.
qint64 bareReadPass(const QByteArray &xml)
{
    qint64 seen = 0;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement) {
            const QXmlStreamAttributes attributes = reader.attributes();
            for (const QXmlStreamAttribute &attribute : attributes)
                seen += attribute.value().size();
        }
    }
    return seen;
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Row
{
    QString name;
    Timing timing;
    double limit;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times loading and saving a project of %1 screens x %2 shapes, %3 address "
                       "tags and %4 text tags against a bare XML read and write of the same "
                       "bytes.")
            .arg(ScreenCount)
            .arg(ShapesPerScreen)
            .arg(AddressTagCount)
            .arg(TextTagCount));
    parser.addHelpOption();
    const QCommandLineOption repeatOption(QStringLiteral("repeat"),
                                          QStringLiteral("Rounds per measurement (default 9)."),
                                          QStringLiteral("n"), QStringLiteral("9"));
    const QCommandLineOption keepOption(QStringLiteral("keep"),
                                        QStringLiteral("Leaves the project files in dir."),
                                        QStringLiteral("dir"));
    const QCommandLineOption bindingsOption(
        QStringLiteral("bindings"),
        QStringLiteral("Percent of the shapes that hold bindings (default 0)."),
        QStringLiteral("percent"), QStringLiteral("0"));
    parser.addOptions({repeatOption, keepOption, bindingsOption});
    parser.process(app);
    const int repeat = std::max(1, parser.value(repeatOption).toInt());
    ProjectGenerator::Options project = BenchProject;
    project.bindingPercent = qBound(0, parser.value(bindingsOption).toInt(), 100);

    QTemporaryDir temporary;
    const QString folder = parser.isSet(keepOption) ? parser.value(keepOption) : temporary.path();
    const QString plainPath = folder + QStringLiteral("/bench.mvprg");
    const QString encodedPath = folder + QStringLiteral("/bench-encoded.mvprg");
    const QString barePath = folder + QStringLiteral("/bare.bin");

    // Phase 1: the project in memory, saved in both forms.
    QElapsedTimer buildTimer;
    buildTimer.start();
    ProjectGenerator(1).build(project);
    const double buildMs = double(buildTimer.elapsed());
    int expectedItems = 0;
    int bindingCount = 0;
    for (DrawScene *scene : DrawManager::instance()->scenes()) {
        const QList<QGraphicsItem *> items = scene->userItems();
        expectedItems += items.size();
        for (QGraphicsItem *item : items)
            bindingCount += shapeBindings(item).size();
    }

    Config *config = Config::instance();
    QString error;
    bool saved = true;
    config->encryption = 0;
    saved = ProjectFile::write(plainPath, &error);
    config->encryption = 1;
    saved = ProjectFile::write(encodedPath, &error) && saved;
    // What an editor holding this project needs to save it in both forms,
    // taken before the benchmark holds copies of the files for its
    // baselines: those are no part of what the editor needs.
    const qint64 savePeakKb = peakMemoryKb();
    const QByteArray plainBytes = fileContents(plainPath);
    QByteArray encodedBytes = fileContents(encodedPath);
    // The least that writing the same document costs: the XML writer over
    // the same tokens, then the bytes to disk.
    std::vector<XmlToken> tokens = recordTokens(plainBytes);
    auto timeSave = [&](int encryption, const QString &path, const QByteArray &bytes) {
        config->encryption = quint8(encryption);
        return timePair(
            repeat, [&] { saved = ProjectFile::write(path, &error) && saved; },
            [&] {
                replayTokens(tokens);
                writeBytes(barePath, bytes);
            });
    };
    const Timing savePlain = timeSave(0, plainPath, plainBytes);
    const Timing saveEncoded = timeSave(1, encodedPath, encodedBytes);
    std::vector<XmlToken>().swap(tokens);
    if (!saved) {
        print(QStringLiteral("save failed: %1").arg(error));
        return 1;
    }

    double tidyPass = 0;
    {
        const QString plainText = QString::fromUtf8(plainBytes);
        tidyPass = medianMs(repeat, [&] { ProjectFile::tidyProjectXml(plainText); });
    }
    const double decodePass
        = medianMs(repeat, [&] { ProjectFile::decodeProjectText(encodedBytes); });
    const int encodedSize = encodedBytes.size();
    encodedBytes.clear();

    // Phase 2: loading into an empty project, with the peak counted again
    // from what is left once the generated project is gone.
    resetProject();
    const bool peakReset = resetPeakMemory();

    const auto readFile = fileContents;
    int loadedScreens = 0;
    int loadedItems = 0;
    int loadedTags = 0;
    bool allLoaded = true;
    auto loadOnce = [&](const QString &path) {
        allLoaded = ProjectFile::load(path).status == ProjectFile::Loaded && allLoaded;
        const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
        loadedScreens = scenes.size();
        loadedItems = 0;
        for (DrawScene *scene : scenes)
            loadedItems += scene->userItems().size();
        loadedTags = Config::instance()->addressTagModel()->rowCount();
    };
    const Timing loadPlain = timePair(
        repeat, [&] { loadOnce(plainPath); }, [&] { bareReadPass(readFile(plainPath)); },
        resetProject);
    // The encoded baseline reads the larger file but parses the XML it
    // holds: decoding counts against the load.
    const Timing loadEncoded = timePair(
        repeat, [&] { loadOnce(encodedPath); },
        [&] {
            readFile(encodedPath);
            bareReadPass(plainBytes);
        },
        resetProject);
    const qint64 loadPeakKb = peakMemoryKb();

    const bool complete = allLoaded && loadedScreens == ScreenCount && loadedItems == expectedItems
        && loadedTags == AddressTagCount;

    print(QStringLiteral("project: %1 screens x %2 shapes (%3 items with groups, %4 bindings), "
                         "%5 address tags, %6 text tags; built in %7 ms")
              .arg(ScreenCount)
              .arg(ShapesPerScreen)
              .arg(expectedItems)
              .arg(bindingCount)
              .arg(AddressTagCount)
              .arg(TextTagCount)
              .arg(buildMs, 0, 'f', 0));
    print(QStringLiteral("file size: plain %1 MB, encoded %2 MB; medians of %3 rounds, each "
                         "step timed alternately with its baseline")
              .arg(plainBytes.size() / 1048576.0, 0, 'f', 1)
              .arg(encodedSize / 1048576.0, 0, 'f', 1)
              .arg(repeat));
    print(QStringLiteral("within the project passes: attribute sorting %1 ms, envelope decoding "
                         "%2 ms")
              .arg(tidyPass, 0, 'f', 1)
              .arg(decodePass, 0, 'f', 1));

    const QList<Row> rows = {
        {QStringLiteral("load plain"), loadPlain, 3},
        {QStringLiteral("load encoded"), loadEncoded, 3},
        {QStringLiteral("save plain"), savePlain, 1.6},
        {QStringLiteral("save encoded"), saveEncoded, 1.6},
    };
    print(QStringLiteral("%1 %2 %3 %4 %5")
              .arg(QStringLiteral("step"), -14)
              .arg(QStringLiteral("ms"), 10)
              .arg(QStringLiteral("baseline ms"), 12)
              .arg(QStringLiteral("ratio"), 8)
              .arg(QStringLiteral("target"), 8));
    QStringList missed;
    for (const Row &row : rows) {
        const double ratio = row.timing.ratio;
        if (ratio > row.limit)
            missed.append(QStringLiteral("%1: ratio %2 > %3").arg(row.name).arg(ratio, 0, 'f', 2).arg(row.limit));
        print(QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(row.name, -14)
                  .arg(row.timing.measured, 10, 'f', 1)
                  .arg(row.timing.baseline, 12, 'f', 1)
                  .arg(ratio, 8, 'f', 2)
                  .arg(QStringLiteral("<= %1").arg(row.limit), 8));
    }
    const auto checkPeak = [&missed](const QString &what, qint64 kb) {
        if (kb >= PeakLimitMb * 1024)
            missed.append(QStringLiteral("peak memory %1: %2 MB >= %3 MB")
                              .arg(what)
                              .arg(kb / 1024.0, 0, 'f', 1)
                              .arg(PeakLimitMb));
    };
    checkPeak(QStringLiteral("building and saving"), savePeakKb);
    checkPeak(QStringLiteral("loading"), loadPeakKb);
    print(QStringLiteral("peak memory (VmHWM), target < %4 MB: building and saving %1 MB, "
                         "loading %2 MB%3")
              .arg(savePeakKb / 1024.0, 0, 'f', 1)
              .arg(loadPeakKb / 1024.0, 0, 'f', 1)
              .arg(peakReset ? QString() : QStringLiteral(" (peak not reset: whole run)"))
              .arg(PeakLimitMb));
    print(complete ? QStringLiteral("reloaded project complete")
                   : QStringLiteral("reloaded project INCOMPLETE: %1 screens, %2 items, %3 tags")
                         .arg(loadedScreens)
                         .arg(loadedItems)
                         .arg(loadedTags));
    print(missed.isEmpty() ? QStringLiteral("all targets met") : QStringLiteral("targets missed"));
    // A missed target fails the run as an incomplete reload does, so that a
    // script cannot pass it unseen.
    for (const QString &miss : qAsConst(missed))
        print(QStringLiteral("missed: %1").arg(miss));

    resetProject();
    return complete && missed.isEmpty() ? 0 : 1;
}
