#include "practice/Plan.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
constexpr qint64 kSecond = 1000;
constexpr qint64 kLongest = 99 * 60 * kSecond;

// A number's digits without leading zeros, so that their count tells its size.
QString Significant(const QString& digits)
{
    qsizetype zeros = 0;
    while (zeros + 1 < digits.size() && digits[zeros] == QLatin1Char('0'))
        ++zeros;
    return digits.mid(zeros);
}

// Whole minutes and seconds; nothing when the text is not a duration of that form.
std::optional<qint64> ParseDuration(const QString& text, QString* fault)
{
    static const QRegularExpression form(QStringLiteral("^(?:(\\d+)\\s*[mM])?\\s*(?:(\\d+)\\s*[sS])?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (text.isEmpty() || !match.hasMatch()) {
        static const QRegularExpression bare(QStringLiteral("^\\d+$"));
        *fault = bare.match(text).hasMatch() ? QCoreApplication::translate("TPlan", "時間には単位（s または m）を付けてください")
                                             : QCoreApplication::translate("TPlan", "読めない時間です（例: 30s、2m、1m30s）");
        return std::nullopt;
    }
    // Large numbers of digits must not overflow before the range check.
    const QString minuteDigits = Significant(match.captured(1));
    const QString secondDigits = Significant(match.captured(2));
    const qint64 minutes = minuteDigits.left(6).toLongLong();
    const qint64 seconds = secondDigits.left(6).toLongLong();
    const qint64 ms = (minutes * 60 + seconds) * kSecond;
    if (ms < kSecond || ms > kLongest || minuteDigits.size() > 6 || secondDigits.size() > 6) {
        *fault = QCoreApplication::translate("TPlan", "時間は1秒から99分までです");
        return std::nullopt;
    }
    return ms;
}
} // namespace

std::optional<TPlan> TPlan::Parse(const QString& text, QString* error)
{
    QString fault;
    const auto fail = [&](const QString& item, const QString& why) -> std::optional<TPlan> {
        if (error)
            *error = QCoreApplication::translate("TPlan", "「%1」: %2").arg(item, why);
        return std::nullopt;
    };
    if (text.trimmed().isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("TPlan", "プランが空です（例: 10x30s, 5x1m）");
        return std::nullopt;
    }
    static const QRegularExpression itemForm(QStringLiteral("^(?:(\\d*)\\s*[xX×]\\s*)?(.*)$"));
    static const QRegularExpression breakForm(QStringLiteral("^(?:休憩|[rR][eE][sS][tT])\\s*(.*)$"));
    const QStringList parts = text.split(QLatin1Char(','));
    QList<TItem> items;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString item = parts[i].trimmed();
        if (item.isEmpty()) {
            if (error)
                *error = QCoreApplication::translate("TPlan", "%1番目の項目が空です").arg(i + 1);
            return std::nullopt;
        }
        const QRegularExpressionMatch rest = breakForm.match(item);
        if (rest.hasMatch()) {
            if (i == 0)
                return fail(item, QCoreApplication::translate("TPlan", "最初の項目を休憩にはできません"));
            if (i + 1 == parts.size())
                return fail(item, QCoreApplication::translate("TPlan", "最後の項目を休憩にはできません"));
            if (items.last().Break)
                return fail(item, QCoreApplication::translate("TPlan", "休憩が続いています"));
            const std::optional<qint64> length = ParseDuration(rest.captured(1).trimmed(), &fault);
            if (!length)
                return fail(item, fault);
            items.append({1, *length, true});
            continue;
        }
        const QRegularExpressionMatch match = itemForm.match(item);
        const bool hasX = !match.captured(0).isEmpty() && match.capturedStart(2) > 0;
        const QString countText = match.captured(1);
        const QString durationText = match.captured(2).trimmed();
        if (hasX && countText.isEmpty())
            return fail(item, QCoreApplication::translate("TPlan", "枚数がありません"));
        if (hasX && breakForm.match(durationText).hasMatch())
            return fail(item, QCoreApplication::translate("TPlan", "休憩には枚数を付けられません"));
        if (hasX && durationText.isEmpty())
            return fail(item, QCoreApplication::translate("TPlan", "時間がありません"));
        int count = 0;
        if (hasX) {
            const QString digits = Significant(countText);
            count = digits.size() > 6 ? 1000000 : digits.toInt();
            if (count < 1 || count > 9999)
                return fail(item, QCoreApplication::translate("TPlan", "枚数は1から9999までです"));
        } else if (i + 1 < parts.size()) {
            return fail(item, QCoreApplication::translate("TPlan", "枚数を省けるのは最後の項目だけです"));
        }
        const std::optional<qint64> limit = ParseDuration(durationText, &fault);
        if (!limit)
            return fail(item, fault);
        items.append({count, *limit, false});
    }
    return TPlan(items);
}

QString TPlan::Text() const
{
    QStringList parts;
    for (const TItem& item : FItems) {
        const qint64 s = item.LimitMs / kSecond;
        QString duration;
        if (s / 60)
            duration += QString::number(s / 60) + QLatin1Char('m');
        if (s % 60)
            duration += QString::number(s % 60) + QLatin1Char('s');
        if (item.Break)
            parts << QStringLiteral("休憩") + duration; // the plan's own syntax, as --plan reads it
        else
            parts << (item.Count ? QString::number(item.Count) + QLatin1Char('x') : QString()) + duration;
    }
    return parts.join(QLatin1Char(','));
}

TPlan::TPlace TPlan::PlaceOf(int drawing) const
{
    int first = 0;
    for (const TItem& item : FItems) {
        if (item.Break)
            continue;
        if (item.Count == 0)
            return {item.LimitMs, drawing - first + 1, 0, false};
        if (drawing < first + item.Count)
            return {item.LimitMs, drawing - first + 1, item.Count, false};
        first += item.Count;
    }
    return {0, 0, 0, !FItems.isEmpty()};
}

qint64 TPlan::BreakAfter(int drawing) const
{
    int last = -1; // the last drawing of the items so far
    for (qsizetype i = 0; i < FItems.size(); ++i) {
        const TItem& item = FItems[i];
        if (item.Break)
            continue;
        if (item.Count == 0)
            return 0;
        last += item.Count;
        if (drawing == last)
            return i + 1 < FItems.size() && FItems[i + 1].Break ? FItems[i + 1].LimitMs : 0;
        if (drawing < last)
            return 0;
    }
    return 0;
}

QString LimitText(qint64 ms)
{
    const qint64 s = ms / kSecond;
    if (s < 60)
        return QCoreApplication::translate("TPlan", "%1秒").arg(s);
    if (s % 60 == 0)
        return QCoreApplication::translate("TPlan", "%1分").arg(s / 60);
    return QCoreApplication::translate("TPlan", "%1分%2秒").arg(s / 60).arg(s % 60);
}
