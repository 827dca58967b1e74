#include "app/saving/ResultFolder.h"

#include "app/Commands.h"
#include "app/DialogService.h"
#include "export/ResultSheets.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

TResultFolder::TResultFolder(const TCommands& commands, QObject* parent)
    : QObject(parent), FPath(QLatin1String(Sheet::Folder))
{
    setObjectName(QStringLiteral("ResultFolder"));
    connect(commands.OpenResultFolder, &QAction::triggered, this, &TResultFolder::OpenCommandExecute);
}

void TResultFolder::SetPath(const QString& folder)
{
    FPath = folder.isEmpty() ? QLatin1String(Sheet::Folder) : folder;
}

void TResultFolder::OpenCommandExecute()
{
    // Nothing is created here: a folder appears with the first save.
    const QFileInfo folder(FPath);
    if (!folder.isDir()) {
        ShowMessage(tr("結果フォルダーはまだありません。最初に保存したときに作られます。\n") +
                    QDir::toNativeSeparators(folder.absoluteFilePath()));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder.absoluteFilePath())))
        ShowMessage(tr("結果フォルダーを開けませんでした。\n") +
                    QDir::toNativeSeparators(folder.absoluteFilePath()));
}
