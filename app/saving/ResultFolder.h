#ifndef TENARAI_APP_SAVING_RESULTFOLDER_H
#define TENARAI_APP_SAVING_RESULTFOLDER_H

#include <QObject>
#include <QString>

struct TCommands;

/**
 * @brief Where the sheets go ("result" below the working folder unless set), and the menu's
 * "結果フォルダーを開く", which shows it in the file manager.
 */
class TResultFolder final : public QObject
{
    Q_OBJECT
public:
    TResultFolder(const TCommands& commands, QObject* parent);

    const QString& Path() const { return FPath; }
    // An empty path is the default.
    void SetPath(const QString& folder);

private:
    void OpenCommandExecute();

    QString FPath;
};

#endif
