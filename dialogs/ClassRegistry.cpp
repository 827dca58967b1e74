#include "dialogs/ClassRegistry.h"

#include "dialogs/ActivityDialog.h"

TClassRegistry& TClassRegistry::Instance()
{
    static TClassRegistry registry = [] {
        TClassRegistry r;
        r.RegisterClass<TCustomActivityDialog>(QStringLiteral("TCustomActivityDialog"));
        r.RegisterClass<TActivityDialog>(QStringLiteral("TActivityDialog"));
        r.RegisterClass<TCustomProgressDialog>(QStringLiteral("TCustomProgressDialog"));
        r.RegisterClass<TProgressDialog>(QStringLiteral("TProgressDialog"));
        return r;
    }();
    return registry;
}

void TClassRegistry::Register(const QString& name, TFactory factory)
{
    if (!FFactories.contains(name))
        FOrder << name;
    FFactories.insert(name, std::move(factory));
}

QObject* TClassRegistry::Create(const QString& name, QObject* owner) const
{
    const auto it = FFactories.constFind(name);
    return it == FFactories.cend() ? nullptr : (*it)(owner);
}
