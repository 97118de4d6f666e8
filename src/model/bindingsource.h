#pragma once

#include "addresspara.h"

#include <QHash>
#include <QString>

class Binding;
class Config;

// Decodes where a binding's value comes from: its tag, looked up in the
// address library by name and then in the panel's system registers by the
// name their list shows or the table's key (the English name), or the device, address and format it holds
// itself. Made once for many bindings: it looks every tag name up once,
// so it is made again after the tag lists changed.
class BindingSource
{
public:
    enum Result {
        Ok,
        NoSource, // neither a tag nor an address
        MissingTag, // no tag of that name
        BadTagRow, // the tag's own row does not decode
        BadDevice,
        BadFormat,
        BadAddress
    };

    explicit BindingSource(const Config *config);

    // Decodes binding's source into para. A tag row whose only fault is its
    // length still decodes: only a text needs one.
    Result decode(const Binding &binding, AddressPara *para) const;
    // The tag of that name, as decode() finds a binding's.
    Result decodeTag(const QString &name, AddressPara *para) const;

private:
    const Config *m_config;
    QHash<QString, int> m_tagRows; // first row of each address tag name
    QHash<QString, int> m_systemRows; // system register rows by shown name and by key
};
