#ifndef TENARAI_APP_MAINUNIT_H
#define TENARAI_APP_MAINUNIT_H

#include "app/Rooms.h"
#include "practice/DrawingSheet.h"
#include "practice/Practice.h"
#include "practice/PracticeTimer.h"

#include <QDateTime>
#include <QWidget>

class QLabel;
class QMenu;
class QPushButton;
class TBottomBand;
class TCustomActivityDialog;
class TDrawer;
class TThumbnailListView;
struct TCommands;
struct TSaveOutcome;

// The one window: the top band's controls, the canvas and the practice with the handlers the
// program began with, and the wiring of the rooms that keep each further feature.
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
    // What tests read of the practice.
    const TPractice& Practice() const { return *FPractice; }
    const QList<TFinishedDrawing>& Thumbnails() const { return FPractice->Drawings(); }
    const TBitmap& CanvasBitmap() const { return Sheet.Bitmap(); }
    bool ClocksRunning() const { return Timer->Running(); }
    bool DrawingInProgress() const { return Timer->DrawingInProgress(); }
    bool IsSaving() const { return FPractice->IsSaving(); }
    int SavesStarted() const { return Rooms->Saving->Started(); }
    bool LastSaveFailed() const { return FLastSaveFailed; }
    QMenu* ProgramMenu() const;
    // The rooms' doors that the program's start and the tests use.
    TJournal& PracticeJournal() const { return Rooms->Journal->Journal(); }
    void RecoverPractice() { Rooms->Journal->Recover(); }
    bool IsRecovering() const { return Rooms->Journal->IsRecovering(); }
    void FlushJournal() { Rooms->Journal->Flush(); }
    void SetPlan(const TPlan& plan, bool remember = true) { Rooms->Plan->SetPlan(plan, remember); }
    const TPlan& Plan() const { return Rooms->Plan->Plan(); }
    void OpenReferences(const QString& dir, bool remember = true) { Rooms->References->Open(dir, remember); }
    void ReopenReferences() { Rooms->References->Reopen(); }
    TReferenceWindow* ReferenceWindow() const { return Rooms->References->Window(); }
    void SetResultFolder(const QString& folder) { Rooms->Results->SetPath(folder); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void CreateRooms();
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
    void HistoryStepped(const QRect& changed); // undo or redo changed these pixels
    void ChangeTool(bool pen);
    void FitPaintImage();
    void ResetPractice();
    void FinishDrawing();
    // To the practice, the drawer and the count; a drawing without its thumbnail is a recovered one.
    void AddDrawing(const TFinishedDrawing& drawing, const QImage& thumbnail, const QImage& listImage = {});
    void SaveResultFromFile(); // starts writing the sheets; SaveEnded follows
    void SaveEnded(const TSaveOutcome& outcome);
    void SavingChanged(bool saving);
    void RestorePractice(const TRecoveredPractice& practice);
    void TimeUp();
    void PlaceBottomBand();
    void UpdateHistoryCommands();

    // Controls, owned by the window through their parents; the rooms too.
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
    TDrawer* ThumbnailMultiView = nullptr;
    TThumbnailListView* ThumbnailListView = nullptr;
    TCustomActivityDialog* ActivityDialog = nullptr;
    TBottomBand* BottomBand = nullptr;
    std::unique_ptr<TCommands> Commands;
    std::unique_ptr<TRooms> Rooms; // made after the controls and the commands they use

    // The practice.
    TTimeSources FTime;
    TDrawingSheet Sheet; // the drawing with the pointer state FDownPos and FPress
    TPractice* FPractice;  // ThumbImages: the finished drawings, and what the practice runs with
    TPracticeTimer* Timer; // Clocks (StartDrawTime, InitialDrawTime, IsFirstStart) and CountTimer
    TTool FTool = TTool::Pen;
    bool FFitting = false;
    bool FSaveStopped = false;   // the activity dialog went away during the save: no second hide
    bool FSaveAgain = false;     // "結果を保存" came during a save: it runs after it
    bool FCloseAfterSave = false; // a close request came during a save
    bool FQuitting = false;       // the quit flow's sheets are written: the window closes
    bool FLastSaveFailed = false;
};

#endif
