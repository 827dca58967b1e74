#ifndef TENARAI_APP_RECORD_RECORDKEEPER_H
#define TENARAI_APP_RECORD_RECORDKEEPER_H

#include "history/Record.h"
#include "review/Pairs.h"

#include <QDateTime>
#include <QObject>
#include <functional>

class QWidget;
class THistory;
class TPractice;
class TRecordWindow;
struct TCommands;
struct TSavedSheets;

/**
 * @brief The record of every practice: once a practice's sheets are on disk it is recorded,
 * drawing by drawing, on the record's worker, from the practice's own drawings and what the
 * save wrote; a reset, or a practice never saved, is not. The
 * "練習の記録" command (H) opens its window. When the record cannot be kept the user is told
 * once, and the practice goes on.
 */
class TRecordKeeper final : public QObject
{
    Q_OBJECT
public:
    TRecordKeeper(const TPractice& practice, const TCommands& commands, std::function<QDateTime()> now,
                  QWidget* window);
    ~TRecordKeeper() override;

    // The record of the practice whose sheets `sheets` are.
    static TPracticeRecord RecordOf(const TPractice& practice, const TSavedSheets& sheets);
    THistory& History() const { return *FHistory; }
    TRecordWindow* Window() const { return FWindow; }
    void ShowWindow();

signals:
    void PracticeOpened(const QList<struct TReviewPair>& pairs);

private:
    void Tell(const QString& message);

    std::function<QDateTime()> FNow;
    QWidget* FMainWindow;
    std::unique_ptr<THistory> FHistory;
    TRecordWindow* FWindow = nullptr;
    bool FTold = false;
};

#endif
