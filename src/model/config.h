#pragma once

#include "addresspara.h"
#include "clampednumber.h"
#include "devicepara.h"
#include "harddevice.h"
#include "languagepara.h"
#include "model/taglib/textlib.h"
#include "model/taglib/textlibkept.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class QStandardItemModel;
class QXmlStreamReader;
class QXmlStreamWriter;

// Everything about the open project that is not a screen or a script: its
// settings, languages, devices, both tag libraries and what its file held
// that this version does not know, with the lookups that read that data
// against the built-in tables (BuiltinTables): device names, addresses and
// tag rows. Creating one reads no table.
//
// Each open project has its own Config, owned by its document; instance()
// is the current project's. A reader fills a Config of its own and the
// application makes it current only once the read has succeeded, so a
// failed read never reaches the project being edited. The screen size
// survives a reset().
class Config : public QObject
{
    Q_OBJECT

public:
    enum DataFormat { Int16, Uint16, Int32, Uint32, Float, Double, Bool, String };
    Q_ENUM(DataFormat)
    enum PortType { RS485, RS232 };
    Q_ENUM(PortType)
    enum ComParity { None, Even, Odd };
    Q_ENUM(ComParity)

    // Columns of the system register model and the address tag model.
    enum TagColumn {
        NameColumn,
        DeviceColumn,
        AddressColumn,
        TypeColumn,
        LengthColumn,
        MarkColumn,
        TagColumnCount
    };

    // Results of tagAt().
    enum TagResult {
        TagOk = 0,
        TagNoRow = -1,
        TagBadDevice = 1,
        TagBadType = 2,
        TagBadAddress = 3,
        TagBadLength = 4
    };

    // The current project's; made on first use when none is current yet.
    static Config *instance();
    // Makes config the one instance() gives and returns the one it gave so
    // far (null before the first). Null leaves none current, and the next
    // instance() makes one.
    static Config *setCurrent(Config *config);
    explicit Config(QObject *parent = nullptr);
    ~Config() override;

    QString name;
    QString path;
    QString version;
    QString projectPw; // as typed; empty means no password
    QString macroPw; // as typed; empty means no password
    quint8 hard = 0; // index into BuiltinTables::hardDevices(); may be out of range
    quint8 orientation = 0; // 0 horizontal, 1 vertical
    quint8 addressHex = 0; // 1: addressText() writes hexadecimal numbers
    quint8 encryption = 0; // 1: the project file is saved in the encoded envelope
    qint32 screenWidth = -1;
    qint32 screenHeight = -1;

    // The project's languages and devices, held by value. Device number i
    // (counting from 1) is devices[i - 1].
    QList<LanguagePara> languages;
    QList<DevicePara> devices;

    // Replaces the languages. Languages beyond the new count are kept for
    // the session as hidden languages, so that raising the count again
    // brings them back with their texts; while any are hidden, the file
    // leaves out every text above the language count.
    void setLanguages(const QList<LanguagePara> &shown);
    // The languages a lower count hides, in order after the last shown one.
    const QList<LanguagePara> &hiddenLanguages() const { return m_hiddenLanguages; }
    // How many texts of the text tags the file leaves out: those above the
    // language count while languages are hidden, counted as for a count of
    // shownCount languages (empty texts carry nothing and are not counted).
    int textsLeftOut(int shownCount) const;

    // Restores the state of a new project (see the class comment for what is
    // kept).
    void reset();

    // The project's own data as one change leaves it, to put back on undo:
    // the Config element as written, with what the element may leave out,
    // the hidden languages and every text of the text tags.
    struct State {
        QByteArray xml;
        QList<LanguagePara> hiddenLanguages;
        TextLib textLib;
        bool operator==(const State &other) const;
        bool operator!=(const State &other) const { return !(*this == other); }
    };
    State state() const;
    // Puts back what state() took, byte for byte as the file goes; where
    // the project is saved (its file, name and folder), the root's kept
    // content and the clamped numbers of the read are left as they are.
    void restore(const State &state);

    // Writes the `Config` element. Always true.
    bool writeXml(QXmlStreamWriter *writer);
    // Reads the `Config` element; called with the reader on its start.
    // Stops at the end of the element or at an XML error. Missing
    // attributes read as empty text or 0. Attributes and elements it does
    // not know, at any level, are kept and written back in their places.
    // Always true.
    bool readXml(QXmlStreamReader *reader);

    // What the project file's root element held besides `Config` and
    // `Form`, for the project file to fill and write; emptied by reset().
    KeptContent *keptProjectContent() { return &m_keptProject; }
    // What this project holds that this version does not know: the names
    // of kept elements, and of kept attributes as "element@attribute",
    // each once. The project root's are included.
    QStringList unknownElementNames() const;
    QStringList unknownAttributeNames() const;
    // Numbers the file held that their fields cannot hold, in the order
    // read, each with the value kept instead; emptied by reset(). Readers
    // of any part of the project add to it through noteClamped().
    const QVector<ClampedNumber> &clampedNumbers() const { return m_clamped; }
    void noteClamped(const ClampedNumber &clamped) { m_clamped.append(clamped); }
    // Sets the kept value of the last one noted.
    void noteKeptValue(const QString &kept) { m_clamped.last().kept = kept; }
    // Gives place to those noted from position `from` on that have none yet:
    // a shape's reader knows its element, not where the shape stands.
    void placeClamped(int from, const ProjectPlace &place);
    // The role under which the name cell of an address tag row holds the
    // KeptContent of its element.
    static constexpr int KeptContentRole = Qt::UserRole + 0x4b50;

    // Splits a project file path into `path` and `name` (a trailing
    // ".mvprg" removed, in any letter case) and remembers the path itself.
    void setProjectFile(const QString &filePath);
    QString projectName() const { return name; }
    QString projectPath() const { return path; }
    // The file last given to setProjectFile() while `path` and `name` still
    // are what it set; otherwise `path` + "/" + `name` + ".mvprg".
    QString projectFile() const;
    // The folder the pictures of image shapes resolve against: the one
    // given here, else projectPath(). A project read without opening it as
    // the editor's project (the command-line tool) gives its file's own
    // folder, since `path` is only what the file says.
    void setPictureFolder(const QString &folder) { m_pictureFolder = folder; }
    QString pictureFolder() const { return m_pictureFolder.isEmpty() ? path : m_pictureFolder; }
    // Creates location (one level) when missing, then location/project with
    // its "images" and "fonts" folders. True when all of them exist
    // afterwards. `name` and `path` are left to the caller.
    bool createProjectDirs(const QString &location, const QString &project);

    // The panel's own name as tag cells store it, whatever the interface
    // language: "本地". Cells written by older English sessions say "Local"
    // and still read as the panel (isLocalDeviceName()).
    static QString localDeviceName();
    // True for every spelling that names the panel itself: "本地", and
    // "local" in any letter case (the English word and the system
    // register key).
    static bool isLocalDeviceName(const QString &text);
    // The panel's name in the interface language ("本地", English "Local")
    // followed by the device names; the position is the device number.
    // For showing; cells take storedDeviceName().
    QStringList deviceNames() const;
    // Sets para.device to the panel for any local spelling, else to the
    // position of text among the device names; false when text is neither
    // (exact match).
    bool findDevice(const QString &text, AddressPara &para) const;
    // The deviceNames() entry of para.device, or the empty text.
    QString deviceName(const AddressPara &para) const;
    // The name a tag cell stores for para.device: localDeviceName() for the
    // panel, else the device's name; empty when out of range.
    QString storedDeviceName(const AddressPara &para) const;
    // Renames every address tag's device cell that says `from` to `to`.
    // Returns how many cells changed.
    int renameTagDevice(const QString &from, const QString &to);
    // The name column of the system register model (system) or of the
    // address tag model.
    QStringList tagNames(bool system) const;

    // Protocol index of device number `device`: the hardware model's family
    // for the panel itself (0 when `hard` is out of range), the device's
    // protocol for 1 .. devices.size(), else 0.
    int deviceProtocol(int device) const;
    // Parses "AREA NUMBER" (panel Bool addresses "AREA NUMBER_BIT") for the
    // protocol of para.device and para.format into para.area, para.address
    // and para.bit. A trailing upper-case "H" marks a hexadecimal number.
    // An area that holds only bits (or only words) refuses the other kind of
    // format. On failure para may be partly changed.
    bool parseAddress(const QString &text, AddressPara &para) const;
    // The address text of para; empty for protocols without register areas.
    QString addressText(const AddressPara &para) const;
    // "device : address ( format )".
    QString addressSummary(const AddressPara &para) const;
    // The DataFormat key of para.format, or the empty text.
    static QString dataFormatText(const AddressPara &para);
    // Sets para.format from a DataFormat key (white space ignored).
    bool parseDataFormat(const QString &text, AddressPara &para) const;
    // Decodes one row of the system register model (system) or of the
    // address tag model into para; returns a TagResult.
    int tagAt(bool system, int row, AddressPara &para) const;
    // The same for a row of model, an address tag model or a copy of one.
    int tagAt(const QStandardItemModel *model, int row, AddressPara &para) const;

    // Refills the system register model from the table of the current
    // hardware model's family, as BuiltinTables keeps it; texts are
    // translated in the interface language in force now. A table that
    // cannot be opened leaves the model as it was. The file name argument
    // exists for tests.
    void loadSystemRegisters();
    void loadSystemRegisters(const QString &fileName);

    // The current hardware model, or null when `hard` is out of range.
    const HardDevice *currentHardDevice() const;

    // Both models are owned by Config and live as long as it does.
    QStandardItemModel *systemRegisterModel() const { return m_systemRegisters; }
    QStandardItemModel *addressTagModel() const { return m_addressTags; }

    // Owned by Config.
    TextLib *textLib() { return &m_textLib; }

private:
    // What setProjectFile() was given, and the path and name it derived:
    // a file opened under any other name is saved back to that same file.
    QString m_projectFile;
    QString m_projectFilePath;
    QString m_projectFileName;
    QString m_pictureFolder;

    // Follows BuiltinTables::retranslated(): the headers, and the panel's
    // registers already listed.
    void followLanguage();
    void unknownNames(QStringList *elements, QStringList *attributes) const;
    void setTagHeaders(QStandardItemModel *model);
    QStandardItemModel *tagModel(bool system) const
    {
        return system ? m_systemRegisters : m_addressTags;
    }

    TextLib m_textLib;
    QList<LanguagePara> m_hiddenLanguages;
    QStandardItemModel *m_systemRegisters = nullptr; // child of this
    QStandardItemModel *m_addressTags = nullptr; // child of this

    // What the file held that this version does not read. m_kept: the
    // attributes of `Config` and its other children, in the slot of the
    // known child they stood before (Language 0, Device 1, TextLib 2,
    // AddressLib 3). The rest by the element that held it; a list element
    // (`Language`, `Device`, `AddressLib`) keeps a child that is not one of
    // its records in the slot of the record it stood before.
    QVector<ClampedNumber> m_clamped;
    KeptContent m_keptProject;
    KeptContent m_kept;
    KeptContent m_keptLanguages;
    // By position: language i stays language i (its texts are text i of
    // every tag) whatever its settings dialog makes of the list.
    QVector<KeptContent> m_keptLanguageItems;
    KeptContent m_keptDevices;
    KeptContent m_keptAddressLib;
    TextLibKept m_keptTextLib;
};
