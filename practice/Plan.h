#ifndef TENARAI_PRACTICE_PLAN_H
#define TENARAI_PRACTICE_PLAN_H

#include <QList>
#include <QString>
#include <optional>

/**
 * @brief A practice plan: drawings with a time limit each, item after item, such as ten of 30
 * seconds, then five of a minute, with breaks between them. An item with no count (only the
 * last may leave it out) holds for the rest of the practice. An empty plan sets no limit.
 *
 * Its text form is "[COUNTx]DURATION" items separated by commas, a duration being whole minutes
 * and seconds ("30s", "2m", "1m30s") from 1 second to 99 minutes, and "休憩DURATION" (or
 * "restDURATION") a break, never counted as a drawing: "10x30s,休憩2m,5x1m,2x5m". A break
 * stands between drawings: not first, not last, not beside another break.
 */
class TPlan final
{
public:
    struct TItem
    {
        int Count = 0; // 0: for the rest of the practice; 1 for a break
        qint64 LimitMs = 0;
        bool Break = false; // a break of LimitMs, after the drawings before it
        bool operator==(const TItem&) const = default;
    };

    // Where drawing n (from 0) of the plan falls.
    struct TPlace
    {
        qint64 LimitMs = 0; // 0: no limit
        int Number = 0;     // the drawing's number within its item, from 1
        int Count = 0;      // the item's count; 0 when it holds for the rest
        bool Ended = false; // past the plan's last drawing
    };

    TPlan() = default;
    explicit TPlan(QList<TItem> items) : FItems(std::move(items)) {}

    /**
     * @brief Reads the text form; on a fault returns nothing and puts a Japanese message that
     * names the faulty item into `error`.
     */
    static std::optional<TPlan> Parse(const QString& text, QString* error = nullptr);

    bool IsEmpty() const { return FItems.isEmpty(); }
    const QList<TItem>& Items() const { return FItems; }
    // The text form, as Parse reads it back.
    QString Text() const;
    TPlace PlaceOf(int drawing) const;
    // The break that follows drawing n (from 0) of the plan, in milliseconds; 0 for none.
    qint64 BreakAfter(int drawing) const;

    bool operator==(const TPlan&) const = default;

private:
    QList<TItem> FItems;
};

// A limit as the user reads it: "30秒", "2分", "1分30秒".
QString LimitText(qint64 ms);

#endif
