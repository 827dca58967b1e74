#ifndef TENARAI_APP_MAINUNIT_H
#define TENARAI_APP_MAINUNIT_H

#include "practice/Clock.h"
#include "practice/DrawingSheet.h"
#include "practice/FinishedDrawing.h"
#include "practice/Plan.h"
#include "practice/PracticeClocks.h"
#include "raster/Bitmap.h"

#include <QDateTime>
#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QSoundEffect;
class TCountdownBar;
class TReferenceSession;
class TReferenceWindow;
struct TCommands;
class QPushButton;
class QTimer;
class TCanvasView;
class TCustomActivityDialog;
class TDrawer;
class TJournal;
struct TRecoveredPractice;
class TThread;
class TThumbnailListView;

/**
 * @brief The one window: it holds the controls, the practice and every handler, and wires each
 * user event to the unit that does the work.
 */
class TMainForm final : public QWidget
{
    Q_OBJECT
public:
    // Where the window takes its time from; tests put in their own.
    struct TTimeSources
    {
        const TClock* Clock;            // the practice clocks; monotonic
        std::function<QDateTime()> Now; // the stamp of saved sheets; local time
    };

    explicit TMainForm(TTimeSources time = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // What tests and the window's own parts read of the practice.
    const QList<TFinishedDrawing>& Thumbnails() const { return ThumbImages; }
    const TBitmap& CanvasBitmap() const { return Sheet.Bitmap(); }
    bool ClocksRunning() const;
    // A drawing is under way: the clocks run, or a recovered unfinished drawing waits on the canvas.
    bool DrawingInProgress() const;
    const TThread* LastSaveThread() const { return SaveProcessingThread.get(); }
    TJournal& PracticeJournal() const { return *Journal; }

    // Offers each practice that an earlier program left unsaved, oldest first, until one is taken.
    void RecoverPractice();
    // Brings the journal up to date, the drawing in progress included, and waits until it is on
    // disk: the session is ending, or the program is told to stop.
    void FlushJournal();

    // The plan of time limits. It starts with the next drawing when one is under way; a
    // remembered plan is the one the next start takes.
    void SetPlan(const TPlan& plan, bool remember = true);
    const TPlan& Plan() const { return FPlan; }
    QMenu* ProgramMenu() const;

    // Shows references from the folder and its sub-folders in their own window; a remembered
    // folder is reopened at the next start.
    void OpenReferences(const QString& folder, bool remember = true);
    void CloseReferences();
    // Reopens the remembered folder when it is still there.
    void ReopenReferences();
    TReferenceWindow* ReferenceWindow() const { return FReferenceWindow; }
    // Where sheets go: "result" below the working folder unless set.
    void SetResultFolder(const QString& folder);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateComponents();
    void FormCreate();
    void FormCloseQuery(bool& canClose);

    void PaintImageMouseDown(Qt::MouseButton button, TShiftState shift, float x, float y);
    void PaintImageMouseMove(TShiftState shift, float x, float y);
    void PaintImageMouseUp(Qt::MouseButton button, TShiftState shift, float x, float y);
    void PaintImageResized();
    void CountTimerTimer();
    void NextClick();
    void UsePenButtonClick();
    void UseEraserButtonClick();
    void FinishClick();
    void StartButtonClick();
    void ActivityDialogHide();
    void SnapshotTimerTimer();
    void JournalWriteFailed(const QString& reason);
    void UndoCommandExecute();
    void RedoCommandExecute();
    void PlanCommandExecute(QAction* entry);
    void TimeUpSoundCommandExecute(bool on);
    void OpenReferencesCommandExecute();
    void OpenResultFolderCommandExecute();
    void AboutCommandExecute();
    void NextReference();

    void ChangeTool(bool pen);
    void FitPaintImage();
    void ResetPractice();
    void FinishDrawing();
    bool SaveResultFromFile();
    void RestorePractice(const TRecoveredPractice& practice);
    void TimeUp();
    void UpdatePlanLimit();
    void UpdateCountdown();
    void PlaceCountdown();
    void UpdateHistoryCommands();

    // Controls, owned by the window through their parents.
    QWidget* Layout1 = nullptr;
    TCanvasView* PaintImage = nullptr;
    QLabel* Text2 = nullptr;
    QLabel* DrawTimeText = nullptr;
    QLabel* NextCountTextLabel = nullptr;
    QLabel* NextCountText = nullptr;
    QLabel* Text1 = nullptr;
    QLabel* TotalDrawTimeText = nullptr;
    QPushButton* UsePenButton = nullptr;
    QPushButton* UseEraserButton = nullptr;
    QPushButton* Next = nullptr;
    QPushButton* Finish = nullptr;
    QPushButton* StartButton = nullptr;
    QTimer* CountTimer = nullptr;
    QTimer* SnapshotTimer = nullptr;
    TDrawer* ThumbnailMultiView = nullptr;
    TThumbnailListView* ThumbnailListView = nullptr;
    TCustomActivityDialog* ActivityDialog = nullptr;
    TCountdownBar* CountdownBar = nullptr;
    std::unique_ptr<TCommands> Commands;
    QSoundEffect* TimeUpSound = nullptr; // made when a plan first needs it
    TReferenceWindow* FReferenceWindow = nullptr;
    QString FResultFolder = QStringLiteral("result");
    std::unique_ptr<TReferenceSession> References;

    // The practice.
    TSteadyClock FSteadyClock;
    TTimeSources FTime;
    TDrawingSheet Sheet; // the drawing with the pointer state FDownPos and FPress
    QList<TFinishedDrawing> ThumbImages;
    TPracticeClocks Clocks; // StartDrawTime, InitialDrawTime and IsFirstStart
    std::unique_ptr<TThread> SaveProcessingThread;
    bool FFitting = false;

    // The crash journal of this practice.
    std::unique_ptr<TJournal> Journal;
    bool FCanvasChanged = false; // since the last snapshot
    bool FJournalWarned = false; // the user is told once that the journal cannot be written

    // The plan, and the drawing (by number in the practice) with which it started.
    TPlan FPlan;
    qsizetype FPlanStart = 0;
};

#endif
