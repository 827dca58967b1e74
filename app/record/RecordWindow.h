#ifndef TENARAI_APP_RECORD_RECORDWINDOW_H
#define TENARAI_APP_RECORD_RECORDWINDOW_H

#include "history/Record.h"

#include <QFutureWatcher>
#include <QWidget>
#include <functional>

class QLabel;
class QTreeWidget;
class TCalendarView;
class THistory;
struct TReviewPair;

/**
 * @brief The "練習の記録" window: the totals of today, this week, this month and all time, the
 * calendar of the last twelve months, and the practices newest first. A practice opens in the
 * review; its result folder opens in the file manager. It writes the record as CSV and reads
 * in folders of sheets saved before the record existed. Everything it reads comes from the
 * record's worker.
 */
class TRecordWindow final : public QWidget
{
    Q_OBJECT
public:
    TRecordWindow(QWidget* mainWindow, THistory& history, std::function<QDateTime()> now);
    ~TRecordWindow() override;

    // Reads the record again; Loaded follows.
    void Reload();
    const THistorySummary& Summary() const { return FSummary; }
    TCalendarView* Calendar() const { return FCalendar; }
    QTreeWidget* List() const { return FList; }
    // Opens practice `row` of the list in the review.
    void OpenPractice(int row);

signals:
    void Loaded();
    void PracticeOpened(const QList<TReviewPair>& pairs);

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Fill(const THistorySummary& summary);
    void OpenResultFolder();
    void ExportCommandExecute();
    void ImportCommandExecute();

    THistory& FHistory;
    std::function<QDateTime()> FNow;
    THistorySummary FSummary;
    QLabel* FTotals[4];
    TCalendarView* FCalendar;
    QTreeWidget* FList;
    QFutureWatcher<THistorySummary> FLoading;
};

#endif
