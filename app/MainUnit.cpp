#include "app/MainUnit.h"

#include "app/BottomBand.h"
#include "app/Commands.h"
#include "app/Controls.h"
#include "app/DialogService.h"
#include "app/Drawer.h"
#include "app/ErrorReport.h"
#include "app/ThumbnailList.h"
#include "app/canvas/CanvasView.h"
#include "dialogs/ActivityDialog.h"
#include "journal/Journal.h"
#include "practice/Clock.h"
#include "practice/ElapsedTime.h"
#include "practice/Thumbnail.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {
constexpr int kClientWidth = 668;
constexpr int kClientHeight = 727;
constexpr int kNextRightGap = 82;  // Next keeps its left edge this far from the right edge
const auto kZeroTime = QStringLiteral("00:00.000");
} // namespace

TMainForm::TMainForm(TTimeSources time, QWidget* parent)
    : QWidget(parent), FTime(std::move(time))
{
    if (!FTime.Now)
        FTime.Now = [] { return QDateTime::currentDateTime(); };
    FPractice = new TPractice(FTime.Now, this);
    Timer = new TPracticeTimer(FTime.Clock ? *FTime.Clock : TSteadyClock::Shared(), this);
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("名前は決まっていません"));
    resize(kClientWidth, kClientHeight);
    CreateComponents();
    CreateRooms();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateComponents()
{
    // Created in stacking order: a later sibling lies above an earlier one.
    Layout1 = new QWidget(this);
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setGeometry(0, 0, kClientWidth - 1, kClientHeight + 2);
    Layout1->installEventFilter(this);

    PaintImage = new TCanvasView(Layout1);
    PaintImage->setObjectName(QStringLiteral("PaintImage"));
    PaintImage->SetBitmap(&Sheet.Bitmap());

    // The values stand beside their captions; they are Layout1's children at their window
    // positions, since a child widget is clipped to its parent.
    Text2 = MakeText(Layout1, "Text2", QStringLiteral("総経過時間"), {80, 24, 121, 25});
    DrawTimeText = MakeText(Layout1, "DrawTimeText", QStringLiteral("0:00:00"), {200, 0, 145, 25});
    NextCountTextLabel =
        MakeText(Layout1, "NextCountTextLabel", QStringLiteral("描いた枚数"), {408, 0, 121, 25});
    NextCountText = MakeText(Layout1, "NextCountText", QStringLiteral("0"), {408, 24, 121, 25});
    Text1 = MakeText(Layout1, "Text1", QStringLiteral("経過時間"), {80, 0, 121, 25});
    TotalDrawTimeText = MakeText(Layout1, "TotalDrawTimeText", QStringLiteral("0:00:00"), {200, 24, 145, 25});
    UsePenButton = MakeButton(Layout1, "UsePenButton", QStringLiteral("ペン"), {528, 0, 57, 49});
    UseEraserButton = MakeButton(Layout1, "UseEraserButton", QStringLiteral("消しゴム"), {584, 0, 57, 49});

    Next = MakeButton(this, "Next", QStringLiteral("Next"), {kClientWidth - kNextRightGap, 0, 80, 49});
    Finish = MakeButton(this, "Finish", QStringLiteral("結果を保存"), {0, 0, 80, 49});
    StartButton = MakeButton(this, "StartButton", QStringLiteral("リセット"), {344, 0, 65, 49});

    ThumbnailMultiView = new TDrawer(this);
    ThumbnailMultiView->setObjectName(QStringLiteral("ThumbnailMultiView"));
    ThumbnailListView = new TThumbnailListView(ThumbnailMultiView->Panel());
    ThumbnailListView->setObjectName(QStringLiteral("ThumbnailListView"));
    ThumbnailMultiView->SetContent(ThumbnailListView, 152);

    BottomBand = new TBottomBand(this);
    ActivityDialog = MakeActivityDialog(this);
    ActivityDialog->SetOnHide([this](QObject*) { ActivityDialogHide(); });

    setTabOrder(Next, StartButton);
    setTabOrder(StartButton, Finish);
    setTabOrder(Finish, UseEraserButton);
    setTabOrder(UseEraserButton, UsePenButton);

    connect(PaintImage, &TCanvasView::MouseDown, this, &TMainForm::PaintImageMouseDown);
    connect(PaintImage, &TCanvasView::MouseMove, this, &TMainForm::PaintImageMouseMove);
    connect(PaintImage, &TCanvasView::MouseUp, this, &TMainForm::PaintImageMouseUp);
    connect(PaintImage, &TCanvasView::Resized, this, &TMainForm::PaintImageResized);
    connect(Timer, &TPracticeTimer::Ticked, this, &TMainForm::CountTimerTimer);
    connect(FPractice, &TPractice::SavingChanged, this, &TMainForm::SavingChanged);
}

void TMainForm::CreateRooms()
{
    Commands = std::make_unique<TCommands>(this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { Commands->Menu->popup(mapToGlobal(at)); });
    // Each command is one action: its key, its menu entry and its button all trigger it.
    for (auto [button, action] : {std::pair{Next, Commands->Next}, std::pair{Finish, Commands->Save},
                                  std::pair{StartButton, Commands->Reset}, std::pair{UsePenButton, Commands->Pen},
                                  std::pair{UseEraserButton, Commands->Eraser}})
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(Commands->Undo, &QAction::triggered, this, [this] { HistoryStepped(Sheet.Undo()); });
    connect(Commands->Redo, &QAction::triggered, this, [this] { HistoryStepped(Sheet.Redo()); });
    connect(Commands->Pen, &QAction::triggered, this, &TMainForm::UsePenButtonClick);
    connect(Commands->Eraser, &QAction::triggered, this, &TMainForm::UseEraserButtonClick);
    connect(Commands->Next, &QAction::triggered, this, &TMainForm::NextClick);
    connect(Commands->Save, &QAction::triggered, this, &TMainForm::FinishClick);
    connect(Commands->Reset, &QAction::triggered, this, &TMainForm::StartButtonClick);
    connect(Commands->About, &QAction::triggered, this, &ShowAboutBox);

    Rooms = std::make_unique<TRooms>(TRooms::TPlaces{*FPractice, *Timer, Sheet.Bitmap(), *PaintImage,
                                                     *BottomBand, *Commands, FTime.Now, this});
    connect(Rooms->Journal, &TJournalKeeper::RestoreRequested, this, &TMainForm::RestorePractice);
    connect(Rooms->Plan, &TPlanRunner::TimeUp, this, &TMainForm::TimeUp);
    connect(Rooms->Plan, &TPlanRunner::PlanChanged, FPractice, &TPractice::SetPlanText);
    connect(Rooms->References, &TReferencePane::FolderChanged, FPractice, &TPractice::SetReferenceFolder);
    connect(Rooms->Saving, &TSaveProgress::Finished, this, &TMainForm::SaveEnded);
    FPractice->SetPlanText(Rooms->Plan->Plan().Text());
    FPractice->SetReferenceFolder(Rooms->References->Folder());
}

QMenu* TMainForm::ProgramMenu() const
{
    return Commands->Menu;
}

void TMainForm::FormCreate()
{
    Sheet.Bitmap().SetSize(0, 0);
    FitPaintImage();
    ResetPractice();
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Layout1 keeps its distances to all four edges; Next keeps its distance to the right one.
    Layout1->setGeometry(0, 0, width() - 1, height() + 2);
    Next->move(width() - kNextRightGap, 0);
    PlaceBottomBand();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Layout1 && event->type() == QEvent::Resize)
        FitPaintImage();
    return QWidget::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (FPractice->IsSaving()) {
        // Asked again once the save is over.
        FCloseAfterSave = true;
        return event->ignore();
    }
    bool canClose = FQuitting;
    if (!FQuitting)
        FormCloseQuery(canClose);
    event->setAccepted(canClose);
}

void TMainForm::FormCloseQuery(bool& canClose)
{
    bool ModalResult = false;
    MessageDialog(QStringLiteral("終了してもよろしいですか？"), TMsgDlgType::mtConfirmation, mbYes | mbNo,
                  mbNo, 0, [&](TModalResult answer) {
                      if (answer != mrYes) {
                          ModalResult = false;
                          return;
                      }
                      ModalResult = true;
                      if (DrawingInProgress())
                          FinishDrawing();
                  });
    // The sheets are written while the window paints; it closes when they are on disk.
    if (ModalResult && !FPractice->IsEmpty()) {
        FQuitting = true;
        ModalResult = false;
        SaveResultFromFile();
    }
    canClose = ModalResult;
}

void TMainForm::PaintImageMouseDown(Qt::MouseButton, TShiftState shift, float x, float y)
{
    // The practice being saved takes no new drawing until its sheets are written.
    if (FPractice->IsSaving() || !Sheet.MouseDown(shift, QPointF(x, y)))
        return;
    Timer->Press();
}

void TMainForm::PaintImageMouseMove(TShiftState shift, float x, float y)
{
    if (FPractice->IsSaving())
        return;
    const QRect touched = Sheet.MouseMove(shift, QPointF(x, y), FTool);
    if (touched.isEmpty())
        return;
    if (!Commands->Undo->isEnabled())
        UpdateHistoryCommands();
    Rooms->Journal->CanvasChanged();
    PaintImage->UpdatePixels(touched);
}

void TMainForm::PaintImageMouseUp(Qt::MouseButton, TShiftState, float, float)
{
    Sheet.MouseUp();
    UpdateHistoryCommands();
}

void TMainForm::PaintImageResized()
{
    FitPaintImage();
}

void TMainForm::CountTimerTimer()
{
    DrawTimeText->setText(Timer->Clocks().DrawTimeText());
    TotalDrawTimeText->setText(Timer->Clocks().TotalDrawTimeText());
}

void TMainForm::NextClick()
{
    FinishDrawing();
    Rooms->References->Next();
}

void TMainForm::UsePenButtonClick()
{
    ChangeTool(true);
}

void TMainForm::UseEraserButtonClick()
{
    ChangeTool(false);
}

void TMainForm::ChangeTool(bool pen)
{
    FTool = pen ? TTool::Pen : TTool::Eraser;
    UsePenButton->setEnabled(!pen);
    UseEraserButton->setEnabled(pen);
    PaintImage->SetTool(FTool);
    (pen ? Commands->Pen : Commands->Eraser)->setChecked(true);
}

void TMainForm::FitPaintImage()
{
    // Sizing the canvas reports a resize, which asks for a fit again: one run is enough.
    if (FFitting)
        return;
    const QScopedValueRollback fitting(FFitting, true);
    const float side = FitSide(QSizeF(Layout1->size()));
    const int whole = int(side);
    PaintImage->setGeometry((Layout1->width() - whole) / 2, (Layout1->height() - whole) / 2, whole, whole);
    Sheet.Refit(QSizeF(side, side));
    PaintImage->update();
    if (Commands) {
        UpdateHistoryCommands();
        PlaceBottomBand();
    }
}

void TMainForm::ResetPractice()
{
    Sheet.Clear();
    PaintImage->update();
    PaintImage->setFocusPolicy(Qt::ClickFocus);
    Timer->Reset();
    DrawTimeText->setText(kZeroTime);
    TotalDrawTimeText->setText(kZeroTime);
    ThumbnailListView->clear();
    Sheet.MouseUp();
    // The rooms follow: the journal is discarded, the plan starts again, the review empties.
    FPractice->Clear();
    NextCountText->setText(QString::number(FPractice->Count()));
    UpdateHistoryCommands();
    ChangeTool(true);
}

void TMainForm::FinishDrawing()
{
    // The stamp is the clock's text as the last tick left it; the times are the clocks' own.
    const QString stamp = DrawTimeText->text();
    const TPracticeClocks& clocks = Timer->Clocks();
    const bool running = Timer->Running();
    const qint64 drawMs = clocks.FinishingDrawMs(running);
    const qint64 total = running ? clocks.TotalDrawTimeMs() : clocks.StoppedTotalMs();
    const qint64 limit = Timer->DrawingInProgress() ? clocks.LimitMs() : 0; // the one it ran under
    Timer->Stop();
    const TBitmap thumbnail = MakeThumbnail(Sheet.Bitmap(), stamp);
    Sheet.Clear();
    PaintImage->update();
    UpdateHistoryCommands();
    ChangeTool(true);
    // The journal keeps it, the plan moves on and the review shows it.
    AddDrawing(TFinishedDrawing::Pack(thumbnail, stamp, total, Rooms->References->CurrentLink(), {drawMs, limit}),
               thumbnail.Image());
}

void TMainForm::AddDrawing(const TFinishedDrawing& drawing, const QImage& thumbnail, const QImage& listImage)
{
    ThumbnailListView->AddEntry(
        !listImage.isNull() ? listImage : ListImageOf(thumbnail.isNull() ? drawing.Image() : thumbnail),
        drawing.Stamp());
    NextCountText->setText(QString::number(FPractice->Count() + 1));
    FPractice->Add(drawing, !thumbnail.isNull());
}

void TMainForm::SaveResultFromFile()
{
    FSaveStopped = false;
    FPractice->BeginSave();
    Rooms->Saving->Start(FPractice->Drawings(), FTime.Now, Rooms->Results->Path());
}

void TMainForm::FinishClick()
{
    // Pressed during a save, it comes after it, as input always has.
    if (FPractice->IsSaving()) {
        FSaveAgain = true;
        return;
    }
    if (DrawingInProgress())
        FinishDrawing();
    if (FPractice->IsEmpty()) {
        ShowMessage(QStringLiteral("まだ開始していないか0枚です"));
        return;
    }
    if (ActivityDialog->IsShown())
        return;
    ActivityDialog->Show();
    SaveResultFromFile();
}

void TMainForm::SaveEnded(const TSaveOutcome& outcome)
{
    FLastSaveFailed = !outcome.Sheets;
    const bool quitting = std::exchange(FQuitting, false);
    if (outcome.Sheets) {
        FPractice->SheetsSaved(*outcome.Sheets); // the record takes the practice, the journal goes
        if (!quitting) {
            ResetPractice();
            ActivityDialog->Hide();
        }
    }
    if (!quitting && !FSaveStopped)
        ActivityDialog->Hide();
    FPractice->EndSave();
    if (quitting && outcome.Sheets) {
        FQuitting = true;
        close();
        return;
    }
    // A failed save keeps every drawing; say so, and why, so the user can mend it and save again.
    const QString reason = ErrorMessage(outcome.Error);
    if (quitting)
        ShowErrorMessage(reason); // the window stays, with every drawing
    else if (outcome.Error)
        ShowMessage(reason.isEmpty() ? QStringLiteral("保存に失敗しました")
                                     : QStringLiteral("保存に失敗しました\n") + reason);
    if (std::exchange(FCloseAfterSave, false))
        close();
    else if (std::exchange(FSaveAgain, false))
        FinishClick();
}

void TMainForm::SavingChanged(bool saving)
{
    // Nothing changes the practice while its sheets are written.
    for (QAction* command : {Commands->Next, Commands->Reset, Commands->OpenReferences, Commands->CustomPlan})
        command->setEnabled(!saving);
    Commands->Plans->setEnabled(!saving);
    for (QAction* command : {Commands->SkipReference, Commands->CloseReferences})
        command->setEnabled(!saving && Rooms->References->IsOpen());
    UpdateHistoryCommands();
}

void TMainForm::StartButtonClick()
{
    MessageDialog(QStringLiteral("いままでの途中経過は破棄されますがよろしいですか？"),
                  TMsgDlgType::mtConfirmation, mbYes | mbNo, mbNo, 0, [this](TModalResult answer) {
                      if (answer == mrYes)
                          ResetPractice();
                  });
}

void TMainForm::ActivityDialogHide()
{
    if (FPractice->IsSaving())
        FSaveStopped = true;
}

void TMainForm::RestorePractice(const TRecoveredPractice& practice)
{
    ResetPractice();
    for (qsizetype i = 0; i < practice.Drawings.size(); ++i)
        AddDrawing(practice.Drawings[i], {}, practice.ListImages.value(i));
    // The clocks stand still, as right after "Next"; an unfinished drawing keeps its time, and
    // the next press carries on from it.
    const qint64 drawMs = practice.Canvas.isNull() ? -1 : practice.CanvasDrawMs;
    if (!FPractice->IsEmpty() || drawMs >= 0) {
        DrawTimeText->setText(drawMs >= 0 ? ElapsedTimeText(drawMs) : FPractice->Drawings().last().Stamp());
        TotalDrawTimeText->setText(ElapsedTimeText(practice.TotalMs));
        Timer->Restore(practice.TotalMs, drawMs);
    }
    if (!practice.Canvas.isNull()) {
        Sheet.SetCanvas(practice.Canvas);
        Sheet.Refit(QSizeF(PaintImage->size()));
        PaintImage->update();
    }
    Rooms->Plan->Update();
}

void TMainForm::TimeUp()
{
    FinishDrawing();
    Rooms->References->Next();
    PaintImage->Flash();
}

void TMainForm::PlaceBottomBand()
{
    BottomBand->Place(size(), QRect(PaintImage->mapTo(this, QPoint(0, 0)), PaintImage->size()));
    ThumbnailMultiView->raise();
}

void TMainForm::UpdateHistoryCommands()
{
    const bool idle = !FPractice->IsSaving();
    Commands->Undo->setEnabled(idle && (Sheet.History().CanUndo() || Sheet.Pressed()));
    Commands->Redo->setEnabled(idle && Sheet.History().CanRedo());
}

void TMainForm::HistoryStepped(const QRect& changed)
{
    PaintImage->UpdatePixels(changed);
    Rooms->Journal->CanvasChanged();
    UpdateHistoryCommands();
}
