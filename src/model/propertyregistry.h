#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

class QObject;

// Which properties each shape class (and the screen, `DrawScene`) shows and
// stores, grouped for the property browser, with their display names.
//
// Group keys begin with a digit that gives their order: "1Base", "2Border",
// "3Brush", "4Text". Classes are keyed by their meta-object class name.
class PropertyRegistry
{
    Q_DECLARE_TR_FUNCTIONS(PropertyRegistry)

public:
    void clear();

    // Replaces the contents with the editor's class table, display names in
    // the current translation.
    void fill();

    // Appends `property` to `group` of `className`. Registration order is
    // the order within a group.
    void add(const QString &className, const QString &group, const QString &property,
             const QString &displayName);

    // Changes with every clear() and add(), so callers may cache what they
    // derive from the registry.
    int revision() const { return m_revision; }

    bool contains(const QString &className) const { return m_groups.contains(className); }
    QStringList classNames() const { return m_groups.keys(); }

    // Group key -> ordered property names; empty for an unknown class.
    QMap<QString, QStringList> groups(const QString &className) const;

    // All property names of the class, groups in key order, with "pos" moved
    // to the end: a position is applied after the size it depends on.
    // Empty for an unknown class.
    QStringList propertyNames(const QString &className) const;

    // The display name of a registered property, or the empty text.
    QString displayName(const QString &className, const QString &property) const;
    // Property name -> display name for one class.
    QHash<QString, QString> displayNames(const QString &className) const;

private:
    void touch();

    QHash<QString, QMap<QString, QStringList>> m_groups;
    int m_revision = 0;
    QHash<QString, QHash<QString, QString>> m_displayNames;
};

// The registered property names of the object's class (see
// PropertyRegistry::propertyNames), taken from BuiltinTables' registry.
QStringList propertyNamesOf(const QObject *object);
// The display name of property for the object's class, taken from BuiltinTables'
// registry; empty when the class does not list it.
QString propertyDisplayNameOf(const QObject *object, const QString &property);
