#ifndef TENARAI_HISTORY_HISTORY_H
#define TENARAI_HISTORY_HISTORY_H

#include "history/Record.h"

#include <QFuture>
#include <QObject>
#include <QThreadPool>
#include <memory>

/**
 * @brief The practice record at work: its database used on a worker thread of its own, so that
 * nothing the record does ever waits the user-interface thread, a save least of all. A record
 * that cannot be kept is reported by Failed and the practice goes on.
 */
class THistory final : public QObject
{
    Q_OBJECT
public:
    // $XDG_DATA_HOME/tenarai/history.sqlite, or ~/.local/share/tenarai/ when that is not set.
    static QString DefaultPath();

    explicit THistory(QString path = DefaultPath(), QObject* parent = nullptr);
    // Waits for the work asked for, a record at close among it.
    ~THistory() override;

    void Record(const TPracticeRecord& practice);
    QFuture<THistorySummary> Summary(QDate today);
    QFuture<QList<TDrawingRecord>> Drawings(qint64 practice);
    // Empty on success, else the reason.
    QFuture<QString> ExportCsv(const QString& file);
    // The practices added from a folder of sheets; those already recorded are left out.
    QFuture<int> Import(const QString& folder);
    void WaitForWork();

signals:
    void Recorded(const TPracticeRecord& practice);
    void Failed(const QString& reason);
    // The file was damaged: it was kept under this name, and a new record begun.
    void MovedAside(const QString& path);

private:
    struct TState;
    std::shared_ptr<TState> FState;
    QThreadPool FPool;
};

#endif
