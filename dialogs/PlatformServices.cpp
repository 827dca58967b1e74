#include "dialogs/PlatformServices.h"

TPlatformServices& TPlatformServices::Current()
{
    static TPlatformServices services;
    return services;
}

void TPlatformServices::AddPlatformService(const QString& identifier, std::shared_ptr<IInterface> service)
{
    FServices.insert(identifier, std::move(service));
}

void TPlatformServices::RemovePlatformService(const QString& identifier)
{
    FServices.remove(identifier);
}

bool TPlatformServices::SupportsPlatformService(const QString& identifier,
                                                std::shared_ptr<IInterface>& service) const
{
    service = FServices.value(identifier);
    return service != nullptr;
}
