#include "history/Database.h"

#include "raster/Error.h"

#include <QCoreApplication>
#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
// Each migration takes the schema one version up, from the version before it.
const QList<QStringList>& Migrations()
{
    static const QList<QStringList> steps{
        {
            QStringLiteral(
                "CREATE TABLE practice(id INTEGER PRIMARY KEY, started_utc TEXT, saved_utc TEXT NOT NULL,"
                " utc_offset_min INTEGER NOT NULL, drawings INTEGER NOT NULL, total_ms INTEGER,"
                " plan TEXT NOT NULL, reference_folder TEXT NOT NULL, result_folder TEXT NOT NULL,"
                " stamp TEXT NOT NULL, local_day TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE drawing(practice_id INTEGER NOT NULL REFERENCES practice(id),"
                           " number INTEGER NOT NULL, draw_ms INTEGER, limit_ms INTEGER, reference TEXT,"
                           " sheet INTEGER NOT NULL, cell INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX drawing_of_practice ON drawing(practice_id, number)"),
            QStringLiteral("CREATE INDEX practice_by_day ON practice(local_day)"),
            QStringLiteral("CREATE INDEX practice_by_sheets ON practice(stamp, result_folder)"),
        },
    };
    return steps;
}

QString Utc(const QDateTime& time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

// An empty text is stored as one, never as NULL (as a null QString would be).
QString Text(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QVariant Nullable(const std::optional<qint64>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::LongLong));
}

std::optional<qint64> OptionalInt(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional<qint64>(value.toLongLong());
}

// A damaged or foreign file, as SQLite reports it: SQLITE_CORRUPT or SQLITE_NOTADB.
bool Damaged(const QSqlError& error)
{
    return error.nativeErrorCode() == QLatin1String("11") || error.nativeErrorCode() == QLatin1String("26");
}

class EDamaged final : public EError
{
public:
    using EError::EError;
};

[[noreturn]] void Fail(const QSqlError& error)
{
    if (Damaged(error))
        throw EDamaged(error.databaseText());
    throw EError(error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

void Exec(QSqlQuery& query)
{
    if (!query.exec())
        Fail(query.lastError());
}

void Exec(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        Fail(query.lastError());
}

// A transaction that is rolled back unless committed.
class TTransaction final
{
public:
    explicit TTransaction(QSqlDatabase& db) : FDb(db)
    {
        if (!FDb.transaction())
            Fail(FDb.lastError());
    }
    ~TTransaction()
    {
        if (!FDone)
            FDb.rollback();
    }
    void Commit()
    {
        if (!FDb.commit())
            Fail(FDb.lastError());
        FDone = true;
    }

private:
    QSqlDatabase& FDb;
    bool FDone = false;
};

QString CsvField(const QString& text)
{
    static const QString special = QStringLiteral("\",\r\n");
    for (QChar c : text)
        if (special.contains(c)) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    return text;
}

QAtomicInteger<int> gConnections;
} // namespace

THistoryDatabase::THistoryDatabase(QString path)
    : FPath(std::move(path)),
      FConnection(QStringLiteral("history-%1").arg(gConnections.fetchAndAddRelaxed(1)))
{}

THistoryDatabase::~THistoryDatabase()
{
    if (QSqlDatabase::contains(FConnection)) {
        QSqlDatabase::database(FConnection, false).close();
        QSqlDatabase::removeDatabase(FConnection);
    }
}

QSqlDatabase THistoryDatabase::Open()
{
    if (FOpen)
        return QSqlDatabase::database(FConnection, false);
    for (int attempt = 0;; ++attempt) {
        try {
            if (!QDir().mkpath(QFileInfo(FPath).absolutePath()))
                throw EError(QCoreApplication::translate("THistoryDatabase", "フォルダーを作れません: %1")
                                 .arg(QDir::toNativeSeparators(QFileInfo(FPath).absolutePath())));
            QSqlDatabase db = QSqlDatabase::contains(FConnection)
                                  ? QSqlDatabase::database(FConnection, false)
                                  : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnection);
            db.setDatabaseName(FPath);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
            if (!db.open())
                Fail(db.lastError());
            Exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
            Exec(db, QStringLiteral("PRAGMA synchronous=NORMAL"));
            Exec(db, QStringLiteral("PRAGMA foreign_keys=ON"));
            Migrate(db);
            FOpen = true;
            return db;
        } catch (const EDamaged&) {
            if (attempt > 0)
                throw;
            MoveAside();
        }
    }
}

void THistoryDatabase::Migrate(QSqlDatabase& db)
{
    QSqlQuery version(db);
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
        Fail(version.lastError());
    const int from = version.value(0).toInt();
    version.finish();
    if (from > SchemaVersion)
        throw EError(QCoreApplication::translate("THistoryDatabase", "新しい版の Tenarai で作られた記録です（版 %1）").arg(from));
    for (int step = from; step < SchemaVersion; ++step) {
        TTransaction transaction(db);
        for (const QString& statement : Migrations()[step])
            Exec(db, statement);
        Exec(db, QStringLiteral("PRAGMA user_version=%1").arg(step + 1));
        transaction.Commit();
    }
}

void THistoryDatabase::MoveAside()
{
    if (QSqlDatabase::contains(FConnection)) {
        QSqlDatabase::database(FConnection, false).close();
        QSqlDatabase::removeDatabase(FConnection);
    }
    const QString aside = FPath + QStringLiteral(".damaged-") +
                          QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmss"));
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (QFile::exists(FPath + suffix) && !QFile::rename(FPath + suffix, aside + suffix))
            throw EError(QCoreApplication::translate("THistoryDatabase", "壊れた記録を移せません: %1")
                             .arg(QDir::toNativeSeparators(FPath + suffix)));
    FMovedAside = aside;
}

void THistoryDatabase::Record(TPracticeRecord& practice)
{
    QSqlDatabase db = Open();
    TTransaction transaction(db);
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO practice(started_utc, saved_utc, utc_offset_min, drawings, "
                                  "total_ms, plan, reference_folder,"
                                  " result_folder, stamp, local_day) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    insert.addBindValue(practice.StartedUtc.isValid() ? QVariant(Utc(practice.StartedUtc))
                                                      : QVariant(QMetaType(QMetaType::QString)));
    insert.addBindValue(Utc(practice.SavedUtc));
    insert.addBindValue(practice.UtcOffsetMin);
    insert.addBindValue(practice.Drawings);
    insert.addBindValue(Nullable(practice.TotalMs));
    insert.addBindValue(Text(practice.Plan));
    insert.addBindValue(Text(practice.ReferenceFolder));
    insert.addBindValue(Text(practice.ResultFolder));
    insert.addBindValue(Text(practice.Stamp));
    insert.addBindValue(practice.LocalDay().toString(Qt::ISODate));
    Exec(insert);
    practice.Id = insert.lastInsertId().toLongLong();
    QSqlQuery row(db);
    row.prepare(
        QStringLiteral("INSERT INTO drawing(practice_id, number, draw_ms, limit_ms, reference, sheet, cell)"
                       " VALUES(?, ?, ?, ?, ?, ?, ?)"));
    for (const TDrawingRecord& drawing : practice.DrawingRows) {
        row.addBindValue(practice.Id);
        row.addBindValue(drawing.Number);
        row.addBindValue(Nullable(drawing.DrawMs));
        row.addBindValue(Nullable(drawing.LimitMs));
        row.addBindValue(drawing.Reference ? QVariant(*drawing.Reference)
                                           : QVariant(QMetaType(QMetaType::QString)));
        row.addBindValue(drawing.Sheet);
        row.addBindValue(drawing.Cell);
        Exec(row);
    }
    transaction.Commit();
}

THistorySummary THistoryDatabase::Summary(QDate today)
{
    QSqlDatabase db = Open();
    THistorySummary summary;
    const auto totalsSince = [&](const QDate& first) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT COALESCE(SUM(drawings), 0), COALESCE(SUM(total_ms), 0) FROM "
                                     "practice WHERE local_day >= ?"));
        query.addBindValue(first.toString(Qt::ISODate));
        Exec(query);
        query.next();
        return TTotals{query.value(0).toLongLong(), query.value(1).toLongLong()};
    };
    summary.Today = totalsSince(today);
    summary.Week = totalsSince(today.addDays(1 - today.dayOfWeek()));
    summary.Month = totalsSince(QDate(today.year(), today.month(), 1));
    summary.All = totalsSince(QDate(1, 1, 1));

    QSqlQuery days(db);
    days.prepare(QStringLiteral("SELECT local_day, SUM(drawings) FROM practice WHERE local_day > ? GROUP BY "
                                "local_day ORDER BY local_day"));
    days.addBindValue(today.addYears(-1).toString(Qt::ISODate));
    Exec(days);
    while (days.next())
        summary.Days.append(
            {QDate::fromString(days.value(0).toString(), Qt::ISODate), days.value(1).toInt()});

    QSqlQuery list(db);
    list.setForwardOnly(true);
    if (!list.exec(QStringLiteral(
            "SELECT id, started_utc, saved_utc, utc_offset_min, drawings, total_ms, plan,"
            " reference_folder, result_folder, stamp FROM practice ORDER BY saved_utc DESC, id DESC")))
        Fail(list.lastError());
    while (list.next()) {
        TPracticeRecord p;
        p.Id = list.value(0).toLongLong();
        p.StartedUtc = QDateTime::fromString(list.value(1).toString(), Qt::ISODateWithMs);
        p.SavedUtc = QDateTime::fromString(list.value(2).toString(), Qt::ISODateWithMs);
        p.UtcOffsetMin = list.value(3).toInt();
        p.Drawings = list.value(4).toInt();
        p.TotalMs = OptionalInt(list.value(5));
        p.Plan = list.value(6).toString();
        p.ReferenceFolder = list.value(7).toString();
        p.ResultFolder = list.value(8).toString();
        p.Stamp = list.value(9).toString();
        summary.Practices.append(std::move(p));
    }
    return summary;
}

QList<TDrawingRecord> THistoryDatabase::DrawingsOf(qint64 practice)
{
    QSqlDatabase db = Open();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT number, draw_ms, limit_ms, reference, sheet, cell FROM drawing"
                                 " WHERE practice_id = ? ORDER BY number"));
    query.addBindValue(practice);
    Exec(query);
    QList<TDrawingRecord> drawings;
    while (query.next())
        drawings.append(
            {query.value(0).toInt(), OptionalInt(query.value(1)), OptionalInt(query.value(2)),
             query.value(3).isNull() ? std::nullopt : std::optional<QString>(query.value(3).toString()),
             query.value(4).toInt(), query.value(5).toInt()});
    return drawings;
}

bool THistoryDatabase::Has(const QString& stamp, const QString& resultFolder)
{
    QSqlDatabase db = Open();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT 1 FROM practice WHERE stamp = ? AND result_folder = ? LIMIT 1"));
    query.addBindValue(stamp);
    query.addBindValue(resultFolder);
    Exec(query);
    return query.next();
}

void THistoryDatabase::ExportCsv(const QString& file)
{
    QSqlDatabase db = Open();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT p.id, p.started_utc, p.saved_utc, p.utc_offset_min, p.drawings, p.total_ms, p.plan,"
            " p.reference_folder, p.result_folder, p.stamp, d.number, d.draw_ms, d.limit_ms, d.reference,"
            " d.sheet, d.cell FROM practice p JOIN drawing d ON d.practice_id = p.id ORDER BY p.id, "
            "d.number")))
        Fail(query.lastError());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw EError(QCoreApplication::translate("THistoryDatabase", "書き出せません: %1（%2）")
                         .arg(QDir::toNativeSeparators(file), out.errorString()));
    out.write("practice_id,started_utc,saved_utc,utc_offset_min,drawings,total_ms,plan,reference_folder,"
              "result_folder,stamp,number,draw_ms,limit_ms,reference,sheet,cell\r\n");
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < 16; ++i)
            fields << CsvField(query.value(i).isNull() ? QString() : query.value(i).toString());
        out.write(fields.join(QLatin1Char(',')).toUtf8() + "\r\n");
    }
    if (!out.commit())
        throw EError(QCoreApplication::translate("THistoryDatabase", "書き出せません: %1（%2）")
                         .arg(QDir::toNativeSeparators(file), out.errorString()));
}
