#include "app/Settings.h"

#include <QDir>

std::unique_ptr<QSettings> OpenSettings()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return std::make_unique<QSettings>(config + QStringLiteral("/io.github.tenarai/Tenarai.conf"),
                                       QSettings::IniFormat);
}
