#ifndef TENARAI_HISTORY_DATABASE_H
#define TENARAI_HISTORY_DATABASE_H

#include "history/Record.h"

#include <QSqlDatabase>
#include <QString>

/**
 * @brief The practice record: an SQLite file through Qt SQL, in WAL mode, its schema version in
 * `PRAGMA user_version`, stepped up one migration at a time. One object owns one connection
 * and is used on one thread. A file that is no database, or a damaged one, is moved aside as
 * "<file>.damaged-<UTC time>" and a new record started; nothing is ever deleted. Every fault
 * raises EError with the reason in Japanese.
 */
class THistoryDatabase final
{
public:
    static constexpr int SchemaVersion = 1;
    // Another program holding the file is waited for this long before a write gives up.
    static constexpr int BusyTimeoutMs = 3000;

    explicit THistoryDatabase(QString path);
    ~THistoryDatabase();
    THistoryDatabase(const THistoryDatabase&) = delete;
    THistoryDatabase& operator=(const THistoryDatabase&) = delete;

    // Records the practice and its drawings in one transaction; gives it its id.
    void Record(TPracticeRecord& practice);
    THistorySummary Summary(QDate today);
    QList<TDrawingRecord> DrawingsOf(qint64 practice);
    // Whether a practice of these sheets is recorded.
    bool Has(const QString& stamp, const QString& resultFolder);
    // Writes one row per drawing with its practice's columns (UTF-8, RFC 4180).
    void ExportCsv(const QString& file);
    // Where a damaged file was moved, if one was.
    const QString& MovedAside() const { return FMovedAside; }

private:
    QSqlDatabase Open();
    void Migrate(QSqlDatabase& db);
    void MoveAside();

    QString FPath;
    QString FConnection;
    bool FOpen = false;
    QString FMovedAside;
};

#endif
