#pragma once

#include "projectcheck.h"

#include "model/bindingsource.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

class Binding;
class QGraphicsItem;

// The part of the project check that reads the bindings of shapes: what
// they name must exist, and the source must be able to give (and take)
// what the shape does with it. Made once per check run: it looks the
// project's tags, screens and panel registers up once, not per binding.
//
// What a source can give is decided by its data format alone:
// - a bit source is one of format Bool (a bit area such as "M 20" or a
//   Modbus 0x/1x coil, or a word's bit such as "LW_Bit 100_3"); set,
//   reset, toggle and momentary actions, visibility by a bit and the
//   value of a check box or radio button need one;
// - a String gives no number: no value formatting by decimals, scale or
//   offset, no state, colour range, picture index, comparison or
//   arithmetic;
// - a Bool gives only 0 and 1: no decimals, scale or offset, no add or
//   subtract step;
// - a Float or Double gives no whole state number for a text state or
//   a picture.
// A source that does not decode (a missing tag, a bad direct address) is
// reported once and judged no further; a tag row that is itself faulty is
// left to the address tag findings.
class BindingCheck
{
    Q_DECLARE_TR_FUNCTIONS(BindingCheck)

public:
    BindingCheck();

    // The findings of the bindings of item (a single shape or a group, not
    // its members), each at place.
    void checkShape(QGraphicsItem *item, const ProjectPlace &place,
                    QVector<Finding> *findings) const;

private:
    struct Source
    {
        bool decoded = false;
        int format = 0; // Config::DataFormat
        bool readOnly = false;
    };

    void checkBinding(const Binding &binding, int widgetKind, const ProjectPlace &place,
                      QVector<Finding> *findings) const;
    // Decodes binding's source; adds the finding of one that does not.
    Source source(const Binding &binding, const ProjectPlace &place,
                  QVector<Finding> *findings) const;
    Source sourceOf(int device, int area, int address, int format) const;
    // A screen action's finding: no screen, a missing one, or one of the
    // wrong type (a switch goes to a base screen, windows open and close).
    void checkScreen(const Binding &binding, const ProjectPlace &place,
                     QVector<Finding> *findings) const;

    BindingSource m_source;
    QSet<QString> m_textTags;
    QHash<QString, int> m_screens; // screen type of the first screen of each name
    // Panel registers (area << 16 | address) the panel only reports.
    QSet<quint32> m_readOnlyRegisters;
};
