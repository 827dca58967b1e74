#ifndef TENARAI_APP_SAVING_SAVEPROGRESS_H
#define TENARAI_APP_SAVING_SAVEPROGRESS_H

#include "practice/FinishedDrawing.h"
#include "practice/SheetGeometry.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QThreadPool>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QWidget;
class TBottomBand;
class TBusyCursor;

// How a save ended: its sheets, or the failure that left no file of it.
struct TSaveOutcome
{
    std::optional<TSavedSheets> Sheets;
    std::exception_ptr Error;
};

/**
 * @brief The save of a practice's sheets, as one job on the pool with its own copy of the
 * drawings; the window goes on painting and the bottom band says how far it has come
 * ("保存中 12/65"), under a busy cursor. The job starts 100 ms after it is asked for, the pause
 * in which the activity dialog shows, without holding up the window.
 */
class TSaveProgress final : public QObject
{
    Q_OBJECT
public:
    TSaveProgress(TBottomBand& band, QWidget* window);
    ~TSaveProgress() override;

    // Writes the drawings' sheets into the folder, stamped with `now()` as the job begins.
    void Start(QList<TFinishedDrawing> drawings, std::function<QDateTime()> now, QString folder);
    bool IsRunning() const { return FRunning; }
    int Started() const { return FStarted; }

signals:
    void Finished(const TSaveOutcome& outcome);

private:
    void Show(int done, int total);
    void Done();

    QLabel* FLabel;
    // The job's own thread: the sheets spread their cells over the global pool and wait for them,
    // which a thread of that pool must not do.
    QThreadPool FPool;
    QFutureWatcher<TSavedSheets> FWatcher;
    std::unique_ptr<TBusyCursor> FBusy; // while a save runs
    bool FRunning = false;
    int FStarted = 0;
};

#endif
