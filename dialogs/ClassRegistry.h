#ifndef TENARAI_DIALOGS_CLASSREGISTRY_H
#define TENARAI_DIALOGS_CLASSREGISTRY_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// Component classes that can be made from their names, owned by the given owner.
class TClassRegistry final
{
public:
    using TFactory = std::function<QObject*(QObject* owner)>;

    // The registry, with the dialog classes registered when it is first used.
    static TClassRegistry& Instance();

    template <typename T> void RegisterClass(const QString& name)
    {
        Register(name, [](QObject* owner) -> QObject* { return new T(owner); });
    }
    void Register(const QString& name, TFactory factory);
    QStringList Names() const { return FOrder; }
    // A new instance owned by `owner`, or null for an unknown name.
    QObject* Create(const QString& name, QObject* owner) const;

private:
    QHash<QString, TFactory> FFactories;
    QStringList FOrder;
};

#endif
