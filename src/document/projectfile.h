#pragma once

#include "projectdocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DrawManager;
class DrawScene;
class QObject;
class QXmlStreamReader;

// Reading and writing the project file: a whole project (its Config and the
// screens held by its DrawManager) as one XML document, plain or in the
// encoded envelope. Knows nothing of message boxes: failures come back as
// text for the caller to show.
class ProjectFile
{
public:
    // What loading asks of its caller. createScreen may be left empty:
    // screens and scripts are then created by the document's
    // DrawManager::createForm (a null result keeps the window's element as
    // it came). checkPassword is asked for the project password whenever
    // the project has one, and must say whether the user knows it; without
    // it such a project is refused (PasswordRefused). Reading itself never
    // asks the user anything.
    struct LoadHooks {
        std::function<QObject *(DrawManager *screens, int type)> createScreen;
        std::function<bool(const QString &password)> checkPassword;
    };

    enum LoadStatus {
        Loaded,          // read to the end
        Damaged,         // a project, but cut short or malformed: what was read stays
        NotAProject,     // no Project root (or not XML at all once decoded)
        OpenFailed,      // the file could not be opened
        PasswordRefused  // the project password was not given or not checked
    };

    struct LoadResult {
        LoadStatus status = OpenFailed;
        // For OpenFailed, NotAProject, Damaged and PasswordRefused: a
        // user-readable reason (the file's error string, the XML error with
        // its line and column, or why the password did not open it).
        QString error;
        qint64 line = 0;
        qint64 column = 0;
        // What was read, whole (Loaded) or in part (Damaged); null for the
        // other outcomes.
        std::unique_ptr<ProjectDocument> document;
        // The first screen read (document's), or null.
        DrawScene *firstScreen = nullptr;
        // Elements anywhere in the file that this version does not know
        // (most likely shapes or settings of a newer version), each name
        // once. They are kept
        // and saved back unchanged; the caller should still say so, as
        // they are neither shown nor edited. Does not make a load fail.
        QStringList unknownElements;
        // Attributes this version does not know, as "element@attribute"
        // (element without its running number: "dev@speed"), each once.
        // Kept and saved back like the elements.
        QStringList unknownAttributes;
        // Numbers their fields cannot hold, each with the nearest value
        // kept instead ("dev@baud 99999999999999 → 2147483647"), in file
        // order. Saving writes the kept values. Does not make a load fail.
        QStringList clampedNumbers;
        // The same, each led by its place as the check names it ("设备 1
        // P：dev@baud …").
        QStringList clampedPlaces;
    };

    // The first limit of lines and, when there are more, one line saying
    // how many more there are and that the check lists them all: a warning
    // of hundreds of lines would run off the screen.
    static QStringList firstLines(const QStringList &lines, int limit = 10);


    // Writes the current project to path through a temporary file that
    // replaces path only once everything is written; on any failure path is
    // left as it was, false is returned and error (when given) says why,
    // naming path; reason (when given) is the cause alone, for a caller
    // that names the file itself.
    static bool write(const QString &path, QString *error = nullptr, QString *reason = nullptr);

    // The file bytes write() would store for document (null: the current
    // project).
    static QByteArray projectBytes(const ProjectDocument *document = nullptr);

    // Reads path into a new document, complete with its system registers,
    // and leaves the current project alone.
    static LoadResult read(const QString &path, const LoadHooks &hooks = LoadHooks());
    // The same from bytes already in memory (as stored in a file).
    static LoadResult readBytes(QByteArray fileBytes, const LoadHooks &hooks = LoadHooks());
    // read() and readBytes(), then the document read, if any, becomes the
    // current project in place of the one open (which is deleted). A read
    // that yields no document leaves the current project as it was.
    static LoadResult load(const QString &path, const LoadHooks &hooks = LoadHooks());
    static LoadResult loadBytes(const QByteArray &fileBytes, const LoadHooks &hooks = LoadHooks());

    // XML as UTF-8 -> file bytes: wrapped in the envelope when encrypted.
    static QByteArray encodeProjectText(const QByteArray &bytes, bool encrypted);
    // File bytes -> XML bytes. Plain files pass through, less a UTF-8 byte
    // order mark; a declaration after blank lines is blanked out, as the
    // XML reader takes it only at the very start.
    static QByteArray decodeProjectText(const QByteArray &bytes);
    // Whether bytes are plain XML rather than the envelope: markup after
    // at most a byte order mark and white space.
    static bool isPlainText(const QByteArray &bytes);
    // Exchanges upper- and lower-case letters; its own inverse on ASCII.
    static QByteArray swapLetterCase(const QByteArray &bytes);
    // Sorts the attributes of every indented start tag; the result is the
    // text as UTF-8.
    static QByteArray tidyProjectXml(const QString &text);

private:
    // The envelope's text decoded over its own bytes (after a copy when
    // they are shared), up to its first zero byte.
    static QByteArray decodeEnvelope(QByteArray text);
};
