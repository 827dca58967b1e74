#ifndef TENARAI_APP_SAVEPROGRESS_H
#define TENARAI_APP_SAVEPROGRESS_H

#include "practice/FinishedDrawing.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

class QLabel;
class QWidget;

/**
 * @brief A save under way: it runs on a worker while the window goes on painting, and the
 * bottom band says how far it has come ("保存中 12/65"). Input waits until the save is over,
 * as it always has; a failure is raised again here, on the window's thread.
 */
class TSaveProgress final : public QObject
{
    Q_OBJECT
public:
    // Told from any thread how many drawings of how many are laid out.
    using TReport = std::function<void(int done, int total)>;
    using TSave = std::function<QStringList(const TReport& report)>;

    explicit TSaveProgress(QWidget* window);

    // Writes the practice's sheets into the folder, as SaveResultSheets does, and returns them.
    QStringList Save(const QList<TFinishedDrawing>& drawings, const QDateTime& now, const QString& folder);
    // Runs a save to its end and returns what it returns.
    QStringList Run(const TSave& save);
    bool IsRunning() const { return FRunning; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(int done, int total);
    void Place();

    QWidget* FWindow;
    QLabel* FLabel;
    bool FRunning = false;
};

#endif
