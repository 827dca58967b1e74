#ifndef TENARAI_APP_RECORD_CALENDAR_H
#define TENARAI_APP_RECORD_CALENDAR_H

#include <QDate>
#include <QHash>
#include <QWidget>

/**
 * @brief The last twelve months, a square per day in columns of weeks, each shaded by the
 * drawings of that day, with a legend. A day with practice can be clicked. A missed day is only
 * a lighter square: nothing is said of it.
 */
class TCalendarView final : public QWidget
{
    Q_OBJECT
public:
    explicit TCalendarView(QWidget* parent);

    void SetDays(QDate today, const QList<QPair<QDate, int>>& days);
    // The colour of a day's square, as it is painted.
    QColor ShadeOf(QDate day) const;
    QSize sizeHint() const override;

signals:
    void DayClicked(QDate day);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect SquareOf(QDate day) const;
    QDate First() const;

    QDate FToday = QDate::currentDate();
    QHash<QDate, int> FDays;
};

#endif
