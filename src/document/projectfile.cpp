#include "projectfile.h"

#include "drawmanager.h"
#include "projectdocument.h"
#include "projectcheck.h"
#include "projectscript.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "model/nestinglimit.h"
#include "services/fileerrortext.h"
#include "services/safefile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QVarLengthArray>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace {

// The reader's error with the place it was found, for the user.
QString readerError(const QXmlStreamReader &reader)
{
    return QCoreApplication::translate("ProjectFile", "%1（第 %2 行，第 %3 列）")
        .arg(reader.errorString())
        .arg(reader.lineNumber())
        .arg(reader.columnNumber());
}

// Bytes up to the first zero byte: the part the text checks look at.
// Where c first stands in bytes, or -1. With memchr: QByteArray::indexOf
// goes a byte at a time, and every load looks through the whole file twice.
int firstIndexOf(const QByteArray &bytes, char c)
{
    const void *found = std::memchr(bytes.constData(), c, size_t(bytes.size()));
    return found ? int(static_cast<const char *>(found) - bytes.constData()) : -1;
}

QByteArray beforeZero(const QByteArray &bytes)
{
    const int zero = firstIndexOf(bytes, '\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

const char Utf8Bom[] = "\xEF\xBB\xBF";

// Where the markup of plain XML begins in head: after a byte order mark
// and blank lines, as an editor may save it, with or without a
// declaration. -1 for anything else: the envelope never holds a "<".
int plainTextStart(const QByteArray &head)
{
    int start = head.startsWith(Utf8Bom) ? 3 : 0;
    while (start < head.size() && std::isspace(static_cast<unsigned char>(head.at(start))))
        ++start;
    return start < head.size() && head.at(start) == '<' ? start : -1;
}

// Letter case exchanged on the Latin-1 text of bytes, as UTF-8.
QByteArray swapLatin1LetterCase(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes);
    for (QChar &c : text) {
        if (c.isUpper())
            c = c.toLower();
        else if (c.isLower())
            c = c.toUpper();
    }
    return text.toUtf8();
}

QObject *createForm(const ProjectFile::LoadHooks &hooks, DrawManager *manager, int type)
{
    if (hooks.createScreen)
        return hooks.createScreen(manager, type);
    return manager->createForm(type, nullptr);
}

// Reading asks nobody: a project with a password opens only for a caller
// that says how the password is checked.
bool checkPassword(const ProjectFile::LoadHooks &hooks, const QString &password, QString *error)
{
    if (password.isEmpty())
        return true;
    if (!hooks.checkPassword) {
        *error = QCoreApplication::translate("ProjectFile", "工程受项目密码保护，但没有给出项目密码");
        return false;
    }
    if (hooks.checkPassword(password))
        return true;
    *error = QCoreApplication::translate("ProjectFile", "项目密码验证失败");
    return false;
}

// Reads the "Form" element the reader is on: one screen per "Window".
// What it holds besides, a "Window" of a kind no screen is made for among
// it, is kept in its place. Returns the first screen made, or null.
DrawScene *readForm(QXmlStreamReader *reader, DrawManager *manager,
                   const ProjectFile::LoadHooks &hooks)
{
    KeptContent *kept = manager->keptFormContent();
    kept->keepAttributes(*reader, {});
    const int levels = NestingLimit::MaxDepth;
    DrawScene *first = nullptr;
    int windows = 0;
    while (reader->readNextStartElement()) {
        if (reader->name() != QLatin1String("Window")) {
            kept->keepElement(reader, windows, levels);
            continue;
        }
        const int type = reader->attributes().value(QLatin1String("type")).toInt();
        QObject *form = createForm(hooks, manager, type);
        if (auto *script = qobject_cast<ProjectScript *>(form)) {
            manager->loadScript(reader, script);
            ++windows;
            continue;
        }
        // Anything else but a screen (nothing for a kind of a newer
        // version) has no scene to read the shapes into: the whole window
        // is kept as it came.
        auto *scene = qobject_cast<DrawScene *>(form);
        if (!scene) {
            kept->keepElement(reader, windows, levels);
            continue;
        }
        ++windows;
        if (!first)
            first = scene;
        // The screen just made must be the one read into, whoever made it.
        manager->setCurrentScene(scene);
        manager->loadScreen(reader);
    }
    return first;
}

} // namespace

bool ProjectFile::write(const QString &path, QString *error, QString *reason)
{
    QString cause;
    if (SafeFile::write(path, projectBytes(), &cause))
        return true;
    if (error)
        *error = QCoreApplication::translate("ProjectFile", "写入文件失败 %1。\n%2.")
                     .arg(path, cause);
    if (reason)
        *reason = cause;
    return false;
}

QByteArray ProjectFile::projectBytes(const ProjectDocument *document)
{
    if (!document)
        document = ProjectDocument::current();
    Config *config = document->config();
    // Room for what the previous save wrote and a little more: a project
    // changes little between saves, a growing string of many megabytes is
    // copied each time it grows, and room never used is memory held at the
    // save's peak.
    static int previousSize = 0;
    QString text;
    text.reserve(previousSize + previousSize / 64);
    QXmlStreamWriter writer(&text);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(4);
    // Writing into a string leaves the encoding out of the declaration.
    writer.writeStartDocument(QStringLiteral("1.0"));
    writer.writeDTD(QStringLiteral("<!DOCTYPE Marovin>"));
    writer.writeStartElement(QStringLiteral("Project"));
    const KeptContent *kept = config->keptProjectContent();
    kept->writeAttributes(&writer);
    kept->writeElements(&writer, 0);
    config->writeXml(&writer);
    kept->writeElements(&writer, 1);
    document->screens()->saveScreens(&writer);
    kept->writeElementsFrom(&writer, 2);
    writer.writeEndElement();
    writer.writeEndDocument();
    previousSize = text.size();
    QByteArray bytes = tidyProjectXml(text);
    // Gone before the envelope is made: a large project's text is the
    // largest thing a save holds.
    text = QString();
    return encodeProjectText(bytes, config->encryption);
}

namespace {

ProjectFile::LoadResult adopted(ProjectFile::LoadResult result)
{
    if (result.document)
        ProjectDocument::adopt(std::move(result.document));
    return result;
}

} // namespace

ProjectFile::LoadResult ProjectFile::load(const QString &path, const LoadHooks &hooks)
{
    return adopted(read(path, hooks));
}

ProjectFile::LoadResult ProjectFile::loadBytes(const QByteArray &fileBytes, const LoadHooks &hooks)
{
    return adopted(readBytes(fileBytes, hooks));
}

ProjectFile::LoadResult ProjectFile::read(const QString &path, const LoadHooks &hooks)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LoadResult result;
        result.status = OpenFailed;
        result.error = FileErrorText::reason(file);
        return result;
    }
    return readBytes(file.readAll(), hooks);
}

ProjectFile::LoadResult ProjectFile::readBytes(QByteArray fileBytes, const LoadHooks &hooks)
{
    LoadResult result;

    // As a file read in text mode: a file saved with Windows line ends
    // reads like one saved here.
    QByteArray bytes = std::move(fileBytes);
    if (firstIndexOf(bytes, '\r') >= 0)
        bytes.replace('\r', QByteArray());
    // Read through a device: the reader then decodes a few kilobytes at a
    // time instead of the whole file into one UTF-16 copy twice its size.
    // The envelope is decoded over the file's own bytes, which the file
    // read has just touched, when no one else holds them.
    QByteArray xml = isPlainText(bytes) ? decodeProjectText(bytes) : decodeEnvelope(std::move(bytes));
    bytes = QByteArray();
    QBuffer device(&xml);
    device.open(QIODevice::ReadOnly);
    QXmlStreamReader reader(&device);

    // Nothing is created before the root has proved this is a project.
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("Project")) {
        result.status = NotAProject;
        result.line = reader.lineNumber();
        result.column = reader.columnNumber();
        if (reader.hasError())
            result.error = readerError(reader);
        else
            result.error = QCoreApplication::translate("ProjectFile", "不是工程文件：根元素是 %1")
                               .arg(reader.name().toString());
        return result;
    }

    // The children of Project: Config and Form are read, anything else is
    // kept in its place among them (slot 0 before Config, 1 before Form, 2
    // after it).
    auto document = std::make_unique<ProjectDocument>();
    Config *config = document->config();
    DrawManager *manager = document->screens();
    KeptContent *kept = config->keptProjectContent();
    kept->keepAttributes(reader, {});
    DrawScene *first = nullptr;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("Config")) {
            kept->placePending(0);
            {
                const ProjectDocument::ReadScope scope(document.get());
                config->readXml(&reader);
            }
            // Asked with the project being edited current: a prompt runs
            // the event loop, and whatever runs meanwhile must not meet a
            // project half read.
            if (!checkPassword(hooks, config->projectPw, &result.error)) {
                result.status = PasswordRefused;
                return result;
            }
        } else if (reader.name() == QLatin1String("Form")) {
            kept->placePending(1);
            const ProjectDocument::ReadScope scope(document.get());
            DrawScene *scene = readForm(&reader, manager, hooks);
            if (!first)
                first = scene;
        } else {
            kept->keepPending(&reader, NestingLimit::MaxDepth);
        }
    }
    kept->placePending(KeptContent::AfterAll);

    if (first)
        manager->setCurrentScene(first);
    {
        const ProjectDocument::ReadScope scope(document.get());
        config->loadSystemRegisters();
    }
    result.firstScreen = first;
    result.unknownElements = config->unknownElementNames();
    appendNew(&result.unknownElements, manager->unknownElementNames());
    result.unknownAttributes = config->unknownAttributeNames();
    appendNew(&result.unknownAttributes, manager->unknownAttributeNames());
    for (const ClampedNumber &clamped : config->clampedNumbers()) {
        result.clampedNumbers.append(clamped.text());
        result.clampedPlaces.append(QCoreApplication::translate("ProjectFile", "%1：%2")
                                        .arg(ProjectCheck::placeText(clamped.place),
                                             clamped.text()));
    }
    if (reader.hasError()) {
        result.status = Damaged;
        result.error = readerError(reader);
        result.line = reader.lineNumber();
        result.column = reader.columnNumber();
    } else {
        result.status = Loaded;
    }
    result.document = std::move(document);
    return result;
}

QStringList ProjectFile::firstLines(const QStringList &lines, int limit)
{
    if (lines.size() <= limit)
        return lines;
    QStringList shown = lines.mid(0, limit);
    shown.append(QCoreApplication::translate("ProjectFile", "……另有 %n 处；完整列表请运行检查。",
                                             nullptr, lines.size() - limit));
    return shown;
}

QByteArray ProjectFile::encodeProjectText(const QByteArray &bytes, bool encrypted)
{
    if (!encrypted)
        return bytes;
    // Base64 with the letters of the alphabet exchanged: the same bytes as
    // swapLetterCase(bytes.toBase64()), in one pass over a large text.
    static const char alphabet[]
        = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/";
    const int n = bytes.size();
    QByteArray out(((n + 2) / 3) * 4, Qt::Uninitialized);
    const auto *in = reinterpret_cast<const uchar *>(bytes.constData());
    char *o = out.data();
    int i = 0;
    for (; i + 2 < n; i += 3) {
        const uint chunk = (uint(in[i]) << 16) | (uint(in[i + 1]) << 8) | in[i + 2];
        *o++ = alphabet[(chunk >> 18) & 63];
        *o++ = alphabet[(chunk >> 12) & 63];
        *o++ = alphabet[(chunk >> 6) & 63];
        *o++ = alphabet[chunk & 63];
    }
    if (i < n) {
        const bool two = i + 1 < n;
        const uint chunk = (uint(in[i]) << 16) | (two ? uint(in[i + 1]) << 8 : 0);
        *o++ = alphabet[(chunk >> 18) & 63];
        *o++ = alphabet[(chunk >> 12) & 63];
        *o++ = two ? alphabet[(chunk >> 6) & 63] : '=';
        *o++ = '=';
    }
    return out;
}

bool ProjectFile::isPlainText(const QByteArray &bytes)
{
    return plainTextStart(beforeZero(bytes)) >= 0;
}

QByteArray ProjectFile::decodeProjectText(const QByteArray &bytes)
{
    const QByteArray head = beforeZero(bytes);
    int start = plainTextStart(head);
    if (start >= 0) {
        const int bom = head.startsWith(Utf8Bom) ? 3 : 0;
        QByteArray plain = bytes.mid(bom);
        start -= bom;
        // A declaration must open the document: after blank lines it is
        // blanked out instead, so that every line and column keeps its
        // number in error messages.
        if (start > 0 && plain.mid(start, 5) == "<?xml") {
            const int end = plain.indexOf("?>", start);
            if (end > 0)
                plain.replace(start, end + 2 - start, QByteArray(end + 2 - start, ' '));
        }
        return plain;
    }
    return decodeEnvelope(head);
}

QByteArray ProjectFile::decodeEnvelope(QByteArray text)
{
    const int zero = firstIndexOf(text, '\0');
    if (zero >= 0)
        text.truncate(zero);
    // The same bytes as QByteArray::fromBase64(swapLetterCase(bytes)), in
    // one pass: letters count with their case exchanged, and whatever is
    // not in the alphabet (line breaks, padding, any byte above 127, which
    // swapLetterCase never turns into one) is skipped.
    // Written over the text itself: each byte out takes more than one
    // digit in, so the output never overtakes what is still to be read.
    char *const start = text.data();
    char *o = start;
    uint buffer = 0;
    int bits = 0;
    // Each byte's digit, -1 for a byte that is skipped: a table rather than
    // a chain of comparisons, since a large project has millions of them.
    static const std::array<signed char, 256> digits = [] {
        std::array<signed char, 256> table {};
        table.fill(-1);
        for (int c = 0; c < 26; ++c) {
            table[size_t('a' + c)] = static_cast<signed char>(c);
            table[size_t('A' + c)] = static_cast<signed char>(c + 26);
        }
        for (int c = 0; c < 10; ++c)
            table[size_t('0' + c)] = static_cast<signed char>(c + 52);
        table[size_t('+')] = 62;
        table[size_t('/')] = 63;
        return table;
    }();
    const auto *in = reinterpret_cast<const unsigned char *>(start);
    const int n = text.size();
    int i = 0;
    while (i < n) {
        // Whole groups of four digits, nearly all of the text, three bytes
        // at a time; a skipped byte or a group out of step goes one by one.
        if (bits == 0 && i + 4 <= n) {
            const int a = digits[in[i]];
            const int b = digits[in[i + 1]];
            const int c = digits[in[i + 2]];
            const int d = digits[in[i + 3]];
            if ((a | b | c | d) >= 0) {
                const uint group = uint(a) << 18 | uint(b) << 12 | uint(c) << 6 | uint(d);
                *o++ = char(group >> 16);
                *o++ = char(group >> 8);
                *o++ = char(group);
                i += 4;
                continue;
            }
        }
        const int digit = digits[in[i++]];
        if (digit < 0)
            continue;
        buffer = (buffer << 6) | uint(digit);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            *o++ = char(buffer >> bits);
            buffer &= (1u << bits) - 1;
        }
    }
    text.truncate(int(o - start));
    return text;
}

QByteArray ProjectFile::swapLetterCase(const QByteArray &bytes)
{
    const QByteArray head = beforeZero(bytes);
    // Base64 text is ASCII: swap it byte by byte. Other bytes take the
    // Latin-1 letter rules below.
    QByteArray result(head.size(), Qt::Uninitialized);
    for (int i = 0; i < head.size(); ++i) {
        const char c = head.at(i);
        if (c & 0x80)
            return swapLatin1LetterCase(head);
        if (c >= 'a' && c <= 'z')
            result[i] = char(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            result[i] = char(c - 'A' + 'a');
        else
            result[i] = c;
    }
    return result;
}

namespace {

// Word characters as the attribute grammar below knows them: letters,
// digits and the underscore.
bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The attributes of a start tag on one line: from the blank after the
// element name up to the last ">" on the line, cut at the first ">" (the
// writer escapes ">" in values, so the first one ends the tag; what follows
// is content that must stay). The element is the first "<" followed by a
// name, a blank, at least one character and a ">". Column 0 holds the
// prolog and the root, which stay as written. False when the line has no
// such tag.
bool startTagAttributes(const QStringRef &line, int *begin, int *end)
{
    const int lastClose = line.lastIndexOf(QLatin1Char('>'));
    if (lastClose < 0)
        return false;
    for (int open = line.indexOf(QLatin1Char('<')); open >= 0 && open < lastClose;
         open = line.indexOf(QLatin1Char('<'), open + 1)) {
        int i = open + 1;
        while (i < line.size() && isWordChar(line.at(i)))
            ++i;
        if (i == open + 1 || i >= line.size() || !line.at(i).isSpace())
            continue;
        // At least one character between the blank and the last ">".
        if (lastClose <= i + 1)
            return false;
        if (open == 0)
            return false;
        *begin = i + 1;
        const int firstClose = line.indexOf(QLatin1Char('>'), *begin);
        *end = firstClose < lastClose ? firstClose : lastClose;
        return true;
    }
    return false;
}

// Characters of an attribute name: word characters and the other name
// characters an element kept from a newer version may use (a prefix's
// colon, a hyphen, a dot).
bool isNameChar(QChar c)
{
    return isWordChar(c) || c == QLatin1Char(':') || c == QLatin1Char('-')
        || c == QLatin1Char('.');
}

// Each name="value" in attrs, in order: a run of name characters directly
// followed by =" and the value up to the next quote. Empty unless attrs is
// nothing but such attributes, blanks and a closing "/": what the scanner
// does not understand it must not rebuild, or it would drop it.
using AttributeTexts = QVarLengthArray<QStringRef, 32>;

AttributeTexts attributeTexts(const QStringRef &attrs)
{
    AttributeTexts found;
    const int n = attrs.size();
    int i = 0;
    while (i < n) {
        const QChar c = attrs.at(i);
        if (c.isSpace() || (c == QLatin1Char('/') && i == n - 1)) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < n && isNameChar(attrs.at(i)))
            ++i;
        const int close = i > start && i + 1 < n && attrs.at(i) == QLatin1Char('=')
                && attrs.at(i + 1) == QLatin1Char('"')
            ? attrs.indexOf(QLatin1Char('"'), i + 2)
            : -1;
        if (close < 0)
            return AttributeTexts();
        found.append(attrs.mid(start, close + 1 - start));
        i = close + 1;
    }
    return found;
}

// Appends text as UTF-8. Project text is nearly all ASCII, copied a byte at
// a time; from the first other character on, the rest goes through Qt's
// converter, so the bytes are exactly those of QString::toUtf8().
void appendUtf8(QByteArray *out, const QStringRef &text)
{
    const QChar *chars = text.unicode();
    const int n = text.size();
    const int at = out->size();
    out->resize(at + n);
    char *o = out->data() + at;
    int i = 0;
    for (; i < n && chars[i].unicode() < 0x80; ++i)
        o[i] = char(chars[i].unicode());
    if (i < n) {
        out->resize(at + i);
        out->append(text.mid(i).toUtf8());
    }
}

} // namespace

QByteArray ProjectFile::tidyProjectXml(const QString &text)
{
    // One pass, line by line: the writer puts every start tag on a line of
    // its own, and a large project has hundreds of thousands of them. The
    // result is UTF-8 straight away, so that saving never holds a second
    // copy of the whole text as UTF-16.
    QByteArray result;
    result.reserve(text.size() + text.size() / 8);
    int lineStart = 0;
    while (lineStart <= text.size()) {
        int lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QStringRef line = text.midRef(lineStart, lineEnd - lineStart);
        int begin = 0;
        int end = 0;
        AttributeTexts found;
        if (startTagAttributes(line, &begin, &end))
            found = attributeTexts(line.mid(begin, end - begin));
        if (found.size() < 2) {
            appendUtf8(&result, line);
        } else {
            // Shapes write their attributes in this order already.
            const auto before = [](const QStringRef &a, const QStringRef &b) {
                return a.compare(b) < 0;
            };
            if (!std::is_sorted(found.begin(), found.end(), before))
                std::sort(found.begin(), found.end(), before);
            appendUtf8(&result, line.left(begin));
            for (int i = 0; i < found.size(); ++i) {
                if (i > 0)
                    result.append(' ');
                appendUtf8(&result, found.at(i));
            }
            if (line.at(end - 1) == QLatin1Char('/'))
                result.append('/');
            appendUtf8(&result, line.mid(end));
        }
        if (lineEnd < text.size())
            result.append('\n');
        lineStart = lineEnd + 1;
    }
    return result;
}
