#ifndef TENARAI_HISTORY_RECORD_H
#define TENARAI_HISTORY_RECORD_H

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// One drawing of a recorded practice.
struct TDrawingRecord
{
    int Number = 0;                // from 1
    std::optional<qint64> DrawMs;  // the stamp's time; unknown for imported sheets
    std::optional<qint64> LimitMs; // the plan's limit, when one applied
    std::optional<QString> Reference;
    int Sheet = 1; // 1 for "_1.png"
    int Cell = 0;  // 0 to 63, across then down
};

// One saved practice, as the record keeps it.
struct TPracticeRecord
{
    qint64 Id = 0;        // given by the record
    QDateTime StartedUtc; // invalid when unknown
    QDateTime SavedUtc;
    int UtcOffsetMin = 0; // of the local time the practice was saved in
    int Drawings = 0;
    std::optional<qint64> TotalMs; // unknown for imported sheets
    QString Plan;                  // the text form of --plan; empty for none
    QString ReferenceFolder;
    QString ResultFolder;              // absolute
    QString Stamp;                     // the sheets' yyyyMMdd_HHmmss
    QList<TDrawingRecord> DrawingRows; // may be left empty in lists

    // The local day the practice was saved on.
    QDate LocalDay() const { return SavedUtc.addSecs(qint64(UtcOffsetMin) * 60).date(); }
};

// Drawings and time over a span of days.
struct TTotals
{
    qint64 Drawings = 0;
    qint64 TotalMs = 0;
};

// What the record window shows: the totals, the drawings of each day of the last year, and
// the practices newest first (without their drawings).
struct THistorySummary
{
    TTotals Today, Week, Month, All;
    QList<QPair<QDate, int>> Days; // days with practice in the last twelve months, and their drawings
    QList<TPracticeRecord> Practices;
};

// "12枚 · 8分30秒"
QString TotalsText(const TTotals& totals);

#endif
