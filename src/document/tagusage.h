#pragma once

#include "model/binding.h"
#include "model/projectplace.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class DrawManager;

// Which shapes name which address tags, text tags and screens through their
// bindings: what a rename must reach, what a removal must warn of and what
// "where used" lists. A snapshot: taken in one pass over every screen (group
// members included, each at its own place), it does not follow later
// edits.
class TagUsage
{
public:
    // One binding naming something: the shape holding it (kind Shape, its
    // index in the screen's userItems(), as check and find count), which of
    // the shape's bindings it is and the binding's kind.
    struct Use
    {
        ProjectPlace place;
        int binding = 0;
        Binding::Kind kind = Binding::Value;
        // Set for a binding the shape keeps unread (a kind this version does
        // not know): its kind as the file names it. Such bindings count
        // after the shape's others, in file order.
        QString keptKind;

        // The kind as the file names it, and for people.
        QString kindKey() const;
        QString kindText() const;
    };

    TagUsage() = default;
    explicit TagUsage(const DrawManager *screens);

    // The uses of an address tag (a binding's source), of a text tag (a text
    // state binding's text tag) and of a screen (an action that switches to,
    // opens or closes it), in screen and shape order.
    QVector<Use> addressTagUses(const QString &name) const { return m_addressTags.value(name); }
    QVector<Use> textTagUses(const QString &name) const { return m_textTags.value(name); }
    QVector<Use> screenUses(const QString &name) const { return m_screens.value(name); }
    // The bindings whose source is an address entered directly.
    const QVector<Use> &directUses() const { return m_direct; }
    // Every name a binding gives as its address tag or text tag, whether the
    // library holds it or not, in no particular order.
    QStringList addressTagNames() const { return m_addressTags.keys(); }
    QStringList textTagNames() const { return m_textTags.keys(); }

    // How many shapes use the tag: a shape with several bindings naming it
    // counts once.
    int addressTagShapes(const QString &name) const { return shapeCount(m_addressTags.value(name)); }
    int textTagShapes(const QString &name) const { return shapeCount(m_textTags.value(name)); }
    // How many distinct shapes the uses of all these names come from.
    int addressTagShapes(const QStringList &names) const;
    int textTagShapes(const QStringList &names) const;

    bool usesAddressTag(const QString &name) const { return m_addressTags.contains(name); }
    bool usesTextTag(const QString &name) const { return m_textTags.contains(name); }

    // The places of uses, each shape once, in order.
    static QVector<ProjectPlace> places(const QVector<Use> &uses);
    static int shapeCount(const QVector<Use> &uses);
    // Whether a binding's screen field means anything: actions that name a
    // screen.
    static bool namesScreen(const Binding &binding);

private:
    // The uses of the bindings the shape keeps unread.
    void addKept(const KeptContent &kept, ProjectPlace place, int first);
    static int distinctShapes(const QHash<QString, QVector<Use>> &map, const QStringList &names);

    QHash<QString, QVector<Use>> m_addressTags;
    QHash<QString, QVector<Use>> m_textTags;
    QHash<QString, QVector<Use>> m_screens;
    QVector<Use> m_direct;
};
