#ifndef TENARAI_DIALOGS_PLATFORMSERVICES_H
#define TENARAI_DIALOGS_PLATFORMSERVICES_H

#include <QHash>
#include <QString>
#include <memory>

class QObject;
class TNativeActivityDialog;
class TNativeProgressDialog;

// The base of every platform service.
class IInterface
{
public:
    virtual ~IInterface() = default;
};

// Makes the native dialogs behind dialog components; the component owns what it gets.
class INativeDialogFactory : public IInterface
{
public:
    static constexpr auto Identifier = "{10598EF4-3AAD-4D3A-A2FF-3DF3446D815F}";

    virtual std::unique_ptr<TNativeProgressDialog> CreateProgressDialog(QObject* owner) = 0;
    virtual std::unique_ptr<TNativeActivityDialog> CreateActivityDialog(QObject* owner) = 0;
};

// Services a platform offers, looked up by interface identifier. The program registers none.
class TPlatformServices final
{
public:
    static TPlatformServices& Current();

    void AddPlatformService(const QString& identifier, std::shared_ptr<IInterface> service);
    void RemovePlatformService(const QString& identifier);
    // False, and no service, when nothing is registered under the identifier.
    bool SupportsPlatformService(const QString& identifier, std::shared_ptr<IInterface>& service) const;

private:
    QHash<QString, std::shared_ptr<IInterface>> FServices;
};

#endif
