#pragma once

#include "model/addresspara.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QScopedPointer>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

class Binding;
class BindingSource;
class Config;

// The registers of a simulated panel and of its devices: what bindings show
// and what operator input, scenarios and generators write.
//
// There is one store per device (0 the panel, i >= 1 device i) and register
// area of its protocol, sized by the built-in protocol table (never by a
// number from a project file); a store takes memory only once something is
// written to it, so a device with six 65536-register areas costs nothing
// until it is used. Two word areas of one device with the same access class
// and base offset are one store, so "LW_Bit 100_3" is bit 3 of "LW 100".
// The panel's word stores also hold its system registers, which lie beyond
// the area's own range.
//
// How a value lies in the registers:
// - Int16 and Uint16 take one word; Int32, Uint32 and Float two; Double
//   four. The low word comes first: Int32 0x00010002 at LW 10 is LW 10 = 2,
//   LW 11 = 1. Float and Double are their IEEE bits in that order.
// - String takes AddressPara::length bytes, two to a word, the first byte in
//   the low byte of the first word, padded with zero bytes. Text is UTF-8,
//   cut before a character that would not fit whole; reading stops at the
//   first zero byte.
// - Bool is one bit of a bit area; on the panel (whose Bool addresses name
//   a bit, "LW_Bit 100_3") bit para.bit of the word; on another device's
//   word area the word read as 0 or not.
// - On a bit area a word format spans consecutive bits, sixteen to a word,
//   the lowest numbered bit in the lowest bit.
//
// The panel's date and time registers (the "System Datatime" rows of its
// system register table) read the clock and refuse writes; weekday 0 is
// Sunday.
class RegisterMemory : public QObject
{
    Q_OBJECT

public:
    // The stores of Config::instance() as it is now: devices added later
    // have none.
    explicit RegisterMemory(QObject *parent = nullptr);
    ~RegisterMemory() override;

    // A binding's source: its tag (the address library by name, then the
    // system registers by the name the list shows), or its own device,
    // address and format.
    bool resolve(const Binding &binding, AddressPara *para, QString *error = nullptr) const;
    // What a user or a scenario types: an address tag or system register
    // name; else an address on the panel ("LW 100", "LW_Bit 100_3") or
    // "DEVICE:ADDRESS" on a device named so; then an optional "(FORMAT)",
    // for String with its length in bytes ("(String 20)"). Without a
    // format a word is Int16 and a bit Bool.
    bool resolveName(const QString &text, AddressPara *para, QString *error = nullptr) const;

    // The value by para's format: bool, qint64, double or QString; invalid
    // outside every store.
    QVariant read(const AddressPara &para) const;
    // The value as a number: a Bool 0 or 1, a String 0.
    double number(const AddressPara &para) const;
    // Writes value converted to para's format: a number (or a text that
    // reads as one) rounded to a whole number for the integer formats; a
    // value the format cannot hold is refused, as is any write outside the
    // stores. Emits changed() after a write, also one that changed nothing.
    bool write(const AddressPara &para, const QVariant &value, QString *error = nullptr);

    // What the date and time registers read; the host clock by default.
    void setClock(std::function<QDateTime()> clock);

    // Grows with every write.
    quint64 revision() const { return m_revision; }

signals:
    void changed();

private:
    struct Store;
    struct Span
    {
        enum Mode { Words, BitOfArea, BitOfWord, WordAsBool };
        Store *store = nullptr;
        int index = 0; // of the first register within the store
        int words = 0; // on a bit area sixteen bits each
        Mode mode = Words;
        int bit = 0; // of the word, for BitOfWord
    };

    void buildStores();
    void addSystemRegisters();
    // Where para's value lies; false with the reason when it lies outside.
    bool locate(const AddressPara &para, Span *span, QString *error) const;
    void loadWords(const Span &span, quint16 *words) const;
    void storeWords(const Span &span, const quint16 *words);
    // The clock's value for a date and time register, or -1.
    int clockField(const Store *store, int index) const;
    const BindingSource &source() const;

    QPointer<Config> m_config;
    QVector<Store *> m_stores; // owned
    // Per device, per area of its protocol: the store, or null.
    QVector<QVector<Store *>> m_areas;
    std::function<QDateTime()> m_clock;
    quint64 m_revision = 0;
    // Decodes tags; made again after the tag lists changed.
    mutable QScopedPointer<BindingSource> m_source;
    mutable bool m_sourceStale = true;
};
