#include "registermemory.h"

#include "model/binding.h"
#include "model/bindingsource.h"
#include "model/config.h"

struct RegisterMemory::Store
{
};

RegisterMemory::RegisterMemory(QObject *parent)
    : QObject(parent)
    , m_config(Config::instance())
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

RegisterMemory::~RegisterMemory()
{
    qDeleteAll(m_stores);
}

bool RegisterMemory::resolve(const Binding &, AddressPara *, QString *) const
{
    return false;
}

bool RegisterMemory::resolveName(const QString &, AddressPara *, QString *) const
{
    return false;
}

QVariant RegisterMemory::read(const AddressPara &) const
{
    return QVariant();
}

double RegisterMemory::number(const AddressPara &) const
{
    return 0;
}

bool RegisterMemory::write(const AddressPara &, const QVariant &, QString *)
{
    return false;
}

void RegisterMemory::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}
