#ifndef TENARAI_APP_RECORDKEEPER_H
#define TENARAI_APP_RECORDKEEPER_H

#include "history/Record.h"
#include "practice/FinishedDrawing.h"

#include <QDateTime>
#include <QObject>
#include <functional>

class QWidget;
class THistory;
class TPlanRunner;
class TPracticeView;
class TRecordWindow;
class TReferencePane;
struct TCommands;

/**
 * @brief The record of every practice: once a practice's sheets are on disk it is recorded,
 * drawing by drawing, on the record's worker; a reset, or a practice never saved, is not. The
 * "練習の記録" command (H) opens its window. When the record cannot be kept the user is told
 * once, and the practice goes on.
 */
class TRecordKeeper final : public QObject
{
    Q_OBJECT
public:
    TRecordKeeper(TPracticeView& practice, const TCommands& commands, const TPlanRunner& plan,
                  const TReferencePane& references, std::function<QDateTime()> now, QWidget* window);
    ~TRecordKeeper() override;

    // A drawing joined the practice; `finishedNow` false for one recovered from the journal.
    void DrawingAdded(const TFinishedDrawing& drawing, bool finishedNow);
    void PracticeCleared();
    // The sheets are written: `files` in order, saved at local time `when`.
    void PracticeSaved(const QStringList& files, const QDateTime& when);
    THistory& History() const { return *FHistory; }
    TRecordWindow* Window() const { return FWindow; }
    void ShowWindow();

signals:
    void PracticeOpened(const QList<struct TReviewPair>& pairs);

private:
    void Tell(const QString& message);

    TPracticeView& FPractice;
    const TPlanRunner& FPlan;
    const TReferencePane& FReferences;
    std::function<QDateTime()> FNow;
    QWidget* FMainWindow;
    std::unique_ptr<THistory> FHistory;
    TRecordWindow* FWindow = nullptr;
    QList<TDrawingRecord> FDrawings; // of the practice under way
    QDateTime FStarted;
    qint64 FTotalMs = 0; // the total clock at the last drawing
    bool FTold = false;
};

#endif
