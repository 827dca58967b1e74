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
const auto kZeroTime = QStringLiteral("00:00.000");
} // namespace

TMainForm::TMainForm(TTimeSources time, QWidget* parent) : QWidget(parent), FTime(std::move(time))
{
    if (!FTime.Now)
        FTime.Now = [] { return QDateTime::currentDateTime(); };
    FPractice = new TPractice(FTime.Now, this);
    Timer = new TPracticeTimer(FTime.Clock ? *FTime.Clock : TSteadyClock::Shared(), this);
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(tr("名前は決まっていません"));
    resize(TopBand::ClientWidth, TopBand::ClientHeight);
    CreateComponents();
    CreateRooms();
    FormCreate();
}

TMainForm::~TMainForm() = default;

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
    Next->move(width() - TopBand::NextRightGap, 0);
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
    MessageDialog(tr("終了してもよろしいですか？"), TMsgDlgType::mtConfirmation, mbYes | mbNo, mbNo, 0,
                  [&](TModalResult answer) {
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
    AddDrawing(
        TFinishedDrawing::Pack(thumbnail, stamp, total, Rooms->References->CurrentLink(), {drawMs, limit}),
        thumbnail.Image());
}

void TMainForm::AddDrawing(const TFinishedDrawing& drawing, const QImage& thumbnail, const QImage& listImage)
{
    ThumbnailListView->AddEntry(
        !listImage.isNull() ? listImage : ListImageOf(thumbnail.isNull() ? drawing.Image() : thumbnail),
        drawing.Stamp());
    FPractice->Add(drawing, !thumbnail.isNull());
    NextCountText->setText(QString::number(FPractice->Count()));
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
        ShowMessage(tr("まだ開始していないか0枚です"));
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
        ShowMessage(reason.isEmpty() ? tr("保存に失敗しました") : tr("保存に失敗しました\n") + reason);
    if (std::exchange(FCloseAfterSave, false))
        close();
    else if (std::exchange(FSaveAgain, false))
        FinishClick();
}

void TMainForm::StartButtonClick()
{
    MessageDialog(tr("いままでの途中経過は破棄されますがよろしいですか？"), TMsgDlgType::mtConfirmation,
                  mbYes | mbNo, mbNo, 0, [this](TModalResult answer) {
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
