#include "app/record/Calendar.h"

#include "app/Language.h"

#include <QMouseEvent>
#include <QLocale>
#include <QPainter>
#include <array>

namespace {
constexpr int kSquare = 11;
constexpr int kStep = 13;
constexpr int kTop = 16; // the months' names
constexpr int kLegend = 22;
// Drawings from which a day takes each shade, lightest first.
constexpr std::array<int, 4> kLevels{1, 5, 10, 20};
const std::array<QColor, 5> kShades{QColor(0xeb, 0xed, 0xf0), QColor(0xb7, 0xd3, 0xf0),
                                    QColor(0x74, 0xa9, 0xe0), QColor(0x3a, 0x78, 0xc4),
                                    QColor(0x14, 0x46, 0x8c)};

// "3月" in Japanese, "Mar" in English: a date's form rather than a text to translate.
QString MonthName(int month)
{
    return CurrentLanguage() == TLanguage::English ? QLocale(QLocale::English).monthName(month, QLocale::ShortFormat)
                                                   : QStringLiteral("%1月").arg(month);
}
} // namespace

TCalendarView::TCalendarView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Calendar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TCalendarView::SetDays(QDate today, const QList<QPair<QDate, int>>& days)
{
    FToday = today;
    FDays.clear();
    for (const auto& [day, drawings] : days)
        FDays.insert(day, drawings);
    update();
}

QDate TCalendarView::First() const
{
    // Whole weeks from Monday, the last of them this one.
    const QDate yearAgo = FToday.addYears(-1).addDays(1);
    return yearAgo.addDays(1 - yearAgo.dayOfWeek());
}

QSize TCalendarView::sizeHint() const
{
    return QSize(54 * kStep + 8, kTop + 7 * kStep + kLegend);
}

QRect TCalendarView::SquareOf(QDate day) const
{
    const qint64 index = First().daysTo(day);
    return QRect(4 + int(index / 7) * kStep, kTop + int(index % 7) * kStep, kSquare, kSquare);
}

QColor TCalendarView::ShadeOf(QDate day) const
{
    const int drawings = FDays.value(day);
    int level = 0;
    while (level < int(kLevels.size()) && drawings >= kLevels[level])
        ++level;
    return kShades[level];
}

void TCalendarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(palette().windowText().color());
    for (QDate day = First(); day <= FToday; day = day.addDays(1)) {
        const QRect square = SquareOf(day);
        if (day.day() == 1)
            painter.drawText(QPoint(square.left(), kTop - 4), MonthName(day.month()));
        painter.fillRect(square, ShadeOf(day));
    }
    // The legend: how many drawings each shade stands for.
    int x = 4;
    const int y = kTop + 7 * kStep + 6;
    for (int level = 0; level < int(kShades.size()); ++level) {
        painter.fillRect(QRect(x, y, kSquare, kSquare), kShades[level]);
        const QString text = level == 0 ? tr("0枚")
                             : level == int(kLevels.size())
                                 ? tr("%1枚以上").arg(kLevels[level - 1])
                                 : tr("%1–%2枚").arg(kLevels[level - 1]).arg(kLevels[level] - 1);
        painter.drawText(QPoint(x + kSquare + 3, y + kSquare - 1), text);
        x += kSquare + 3 + painter.fontMetrics().horizontalAdvance(text) + 10;
    }
}

void TCalendarView::mousePressEvent(QMouseEvent* event)
{
    for (QDate day = First(); day <= FToday; day = day.addDays(1))
        if (SquareOf(day).contains(event->position().toPoint())) {
            if (FDays.contains(day))
                emit DayClicked(day);
            return;
        }
}
