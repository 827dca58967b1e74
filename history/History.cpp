#include "history/History.h"

#include "history/Database.h"
#include "history/Import.h"
#include "raster/Error.h"

#include <QDir>
#include <QMetaObject>
#include <QPointer>
#include <QPromise>

namespace {
// Runs the work on the pool's thread and no other: a future waited for never runs it in the
// waiting thread, as QtConcurrent may, since the connection belongs to the pool's thread.
template <class TResult, class TWork> QFuture<TResult> OnPool(QThreadPool& pool, TWork work)
{
    auto promise = std::make_shared<QPromise<TResult>>();
    QFuture<TResult> future = promise->future();
    promise->start();
    pool.start([promise, work = std::move(work)] {
        promise->addResult(work());
        promise->finish();
    });
    return future;
}
} // namespace

struct THistory::TState
{
    explicit TState(QString path) : Database(std::move(path)) {}
    THistoryDatabase Database; // used on the pool's one thread only
};

QString THistory::DefaultPath()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/tenarai/history.sqlite");
}

THistory::THistory(QString path, QObject* parent)
    : QObject(parent), FState(std::make_shared<TState>(std::move(path)))
{
    FPool.setMaxThreadCount(1);
    // A connection belongs to the thread that opened it: the pool keeps its one thread.
    FPool.setExpiryTimeout(-1);
}

THistory::~THistory()
{
    WaitForWork();
    // The connection goes with the thread that used it.
    auto last = std::make_shared<std::shared_ptr<TState>>(std::move(FState));
    OnPool<bool>(FPool, [last] {
        last->reset();
        return true;
    }).waitForFinished();
    FPool.waitForDone();
}

void THistory::WaitForWork()
{
    // Not QThreadPool::waitForDone: that ends the pool's thread, and the connection with it.
    // The one thread takes the work in order, so what comes last is done last.
    OnPool<bool>(FPool, [] { return true; }).waitForFinished();
}

void THistory::Record(const TPracticeRecord& practice)
{
    const QPointer<THistory> self(this);
    FPool.start([state = FState, practice, self] {
        QString failure;
        TPracticeRecord recorded = practice;
        const QString asideBefore = state->Database.MovedAside();
        try {
            state->Database.Record(recorded);
        } catch (const EError& error) {
            failure = error.Message();
        }
        const QString aside =
            state->Database.MovedAside() != asideBefore ? state->Database.MovedAside() : QString();
        QMetaObject::invokeMethod(self.data(), [self, recorded, failure, aside] {
            if (!self)
                return;
            if (!aside.isEmpty())
                emit self->MovedAside(aside);
            if (failure.isEmpty())
                emit self->Recorded(recorded);
            else
                emit self->Failed(failure);
        });
    });
}

QFuture<THistorySummary> THistory::Summary(QDate today)
{
    return OnPool<THistorySummary>(FPool, [state = FState, today] {
        try {
            return state->Database.Summary(today);
        } catch (const EError&) {
            return THistorySummary();
        }
    });
}

QFuture<QList<TDrawingRecord>> THistory::Drawings(qint64 practice)
{
    return OnPool<QList<TDrawingRecord>>(FPool, [state = FState, practice] {
        try {
            return state->Database.DrawingsOf(practice);
        } catch (const EError&) {
            return QList<TDrawingRecord>();
        }
    });
}

QFuture<QString> THistory::ExportCsv(const QString& file)
{
    return OnPool<QString>(FPool, [state = FState, file] {
        try {
            state->Database.ExportCsv(file);
            return QString();
        } catch (const EError& error) {
            return error.Message();
        }
    });
}

QFuture<int> THistory::Import(const QString& folder)
{
    return OnPool<int>(FPool, [state = FState, folder] {
        int added = 0;
        try {
            for (TPracticeRecord practice : PracticesInFolder(folder))
                if (!state->Database.Has(practice.Stamp, practice.ResultFolder)) {
                    state->Database.Record(practice);
                    ++added;
                }
        } catch (const EError& error) {
            return -1;
        }
        return added;
    });
}
