#include "app/MainUnit.h"

#include "app/CanvasView.h"
#include "app/Commands.h"
#include "app/Controls.h"
#include "app/CountdownBar.h"
#include "app/DialogService.h"
#include "app/Drawer.h"
#include "app/ErrorReport.h"
#include "app/Rooms.h"
#include "app/Thread.h"
#include "app/ThumbnailList.h"
#include "dialogs/ActivityDialog.h"
#include "export/ResultSheets.h"
#include "journal/Journal.h"
#include "practice/Clock.h"
#include "practice/ElapsedTime.h"
#include "practice/Thumbnail.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

namespace {
constexpr int kClientWidth = 668;
constexpr int kClientHeight = 727;
constexpr int kCountInterval = 30; // ms: fast enough that the milliseconds look alive
constexpr int kNextRightGap = 82;  // Next keeps its left edge this far from the right edge
const auto kZeroTime = QStringLiteral("00:00.000");
} // namespace

TMainForm::TMainForm(TTimeSources time, QWidget* parent)
    : QWidget(parent), FTime(std::move(time)), Clocks(FTime.Clock ? *FTime.Clock : TSteadyClock::Shared())
{
    if (!FTime.Now)
        FTime.Now = [] { return QDateTime::currentDateTime(); };
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("名前は決まっていません"));
    resize(kClientWidth, kClientHeight);
    CreateComponents();
    CreateRooms();
    FormCreate();
}

TMainForm::~TMainForm() = default;

bool TMainForm::ClocksRunning() const
{
    return CountTimer->isActive();
}

bool TMainForm::DrawingInProgress() const
{
    return CountTimer->isActive() || Clocks.HoldsUnfinishedDrawing();
}

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

    CountTimer = new QTimer(this);
    CountTimer->setObjectName(QStringLiteral("CountTimer"));
    CountTimer->setInterval(kCountInterval);
    CountTimer->setTimerType(Qt::PreciseTimer);

    ThumbnailMultiView = new TDrawer(this);
    ThumbnailMultiView->setObjectName(QStringLiteral("ThumbnailMultiView"));
    ThumbnailListView = new TThumbnailListView(ThumbnailMultiView->Panel());
    ThumbnailListView->setObjectName(QStringLiteral("ThumbnailListView"));
    ThumbnailMultiView->SetContent(ThumbnailListView, 152);

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
    connect(CountTimer, &QTimer::timeout, this, &TMainForm::CountTimerTimer);
    connect(Next, &QPushButton::clicked, this, &TMainForm::NextClick);
    connect(UsePenButton, &QPushButton::clicked, this, &TMainForm::UsePenButtonClick);
    connect(UseEraserButton, &QPushButton::clicked, this, &TMainForm::UseEraserButtonClick);
    connect(Finish, &QPushButton::clicked, this, &TMainForm::FinishClick);
    connect(StartButton, &QPushButton::clicked, this, &TMainForm::StartButtonClick);
}

void TMainForm::CreateRooms()
{
    Commands = std::make_unique<TCommands>(this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { Commands->Menu->popup(mapToGlobal(at)); });
    connect(Commands->Undo, &QAction::triggered, this, [this] { HistoryStepped(Sheet.Undo()); });
    connect(Commands->Redo, &QAction::triggered, this, [this] { HistoryStepped(Sheet.Redo()); });
    connect(Commands->Pen, &QAction::triggered, this, &TMainForm::UsePenButtonClick);
    connect(Commands->Eraser, &QAction::triggered, this, &TMainForm::UseEraserButtonClick);
    connect(Commands->Next, &QAction::triggered, this, &TMainForm::NextClick);
    connect(Commands->Save, &QAction::triggered, this, &TMainForm::FinishClick);
    connect(Commands->Reset, &QAction::triggered, this, &TMainForm::StartButtonClick);
    connect(Commands->About, &QAction::triggered, this, &ShowAboutBox);

    Rooms = std::make_unique<TRooms>(*this, *PaintImage, *Commands, FTime.Now, this);
    connect(Rooms->Journal, &TJournalKeeper::RestoreRequested, this, &TMainForm::RestorePractice);
    connect(Rooms->Plan, &TPlanRunner::TimeUp, this, &TMainForm::TimeUp);
    Rooms->Follow(this);
}

QMenu* TMainForm::ProgramMenu() const
{
    return Commands->Menu;
}

void TMainForm::SetClocksRunning(bool running)
{
    running ? CountTimer->start() : CountTimer->stop();
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
    PlaceCountdown();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Layout1 && event->type() == QEvent::Resize)
        FitPaintImage();
    return QWidget::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    if (Rooms->Saving->IsRunning())
        return event->ignore(); // asked again while the save runs
    try {
        FormCloseQuery(canClose);
    } catch (const std::exception& error) {
        // The sheets could not be written: the window stays, with every drawing.
        event->ignore();
        ShowException(error);
        return;
    }
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
                      SaveResultFromFile();
                      Rooms->Journal->Discard();
                  });
    canClose = ModalResult;
}

void TMainForm::PaintImageMouseDown(Qt::MouseButton, TShiftState shift, float x, float y)
{
    if (!Sheet.MouseDown(shift, QPointF(x, y)))
        return;
    const bool running = CountTimer->isActive();
    Clocks.Press(running);
    if (!running)
        CountTimer->start();
}

void TMainForm::PaintImageMouseMove(TShiftState shift, float x, float y)
{
    const TTool tool = UsePenButton->isEnabled() ? TTool::Eraser : TTool::Pen;
    const QRect touched = Sheet.MouseMove(shift, QPointF(x, y), tool);
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
    DrawTimeText->setText(Clocks.DrawTimeText());
    TotalDrawTimeText->setText(Clocks.TotalDrawTimeText());
    Rooms->Plan->Tick();
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
    UsePenButton->setEnabled(!pen);
    UseEraserButton->setEnabled(pen);
    PaintImage->SetTool(pen ? TTool::Pen : TTool::Eraser);
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
        PlaceCountdown();
    }
}

void TMainForm::ResetPractice()
{
    ThumbImages.clear();
    Rooms->Journal->Discard();
    Sheet.Clear();
    PaintImage->update();
    PaintImage->setFocusPolicy(Qt::ClickFocus);
    CountTimer->stop();
    DrawTimeText->setText(kZeroTime);
    TotalDrawTimeText->setText(kZeroTime);
    Clocks.Reset();
    ThumbnailListView->clear();
    NextCountText->setText(QString::number(ThumbImages.size()));
    Sheet.MouseUp();
    UpdateHistoryCommands();
    ChangeTool(true);
    Rooms->Plan->Restart();
    emit PracticeCleared();
}

void TMainForm::FinishDrawing()
{
    const QString stamp = DrawTimeText->text();
    const TBitmap thumbnail = MakeThumbnail(Sheet.Bitmap(), stamp);
    const qint64 total = CountTimer->isActive() ? Clocks.TotalDrawTimeMs() : Clocks.StoppedTotalMs();
    const TFinishedDrawing drawing =
        TFinishedDrawing::Pack(thumbnail, stamp, total, Rooms->References->CurrentLink());
    AddDrawing(drawing, thumbnail.Image());
    Rooms->Journal->Append(drawing);
    Sheet.Clear();
    PaintImage->update();
    Clocks.Stop(CountTimer->isActive());
    CountTimer->stop();
    UpdateHistoryCommands();
    ChangeTool(true);
    Rooms->Plan->DrawingFinished();
}

void TMainForm::AddDrawing(const TFinishedDrawing& drawing, const QImage& thumbnail, const QImage& listImage)
{
    ThumbImages.append(drawing);
    ThumbnailListView->AddEntry(
        !listImage.isNull() ? listImage : ListImageOf(thumbnail.isNull() ? drawing.Image() : thumbnail),
        drawing.Stamp());
    NextCountText->setText(QString::number(ThumbImages.size()));
    emit DrawingAdded(drawing, !thumbnail.isNull());
}

bool TMainForm::SaveResultFromFile()
{
    const QDateTime now = FTime.Now();
    emit PracticeSaved(Rooms->Saving->Save(ThumbImages, now, Rooms->Results->Path()), now);
    return true;
}
void TMainForm::FinishClick()
{
    if (DrawingInProgress())
        FinishDrawing();
    if (ThumbImages.isEmpty()) {
        ShowMessage(QStringLiteral("まだ開始していないか0枚です"));
        return;
    }
    bool started = false;
    if (!ActivityDialog->IsShown()) {
        SaveProcessingThread = TThread::CreateAnonymousThread([this] {
            std::exception_ptr error;
            try {
                TThread::Synchronize([this] { ActivityDialog->Show(); });
                QThread::msleep(100);
                TThread::Synchronize([this] {
                    if (SaveResultFromFile()) {
                        ResetPractice();
                        ActivityDialog->Hide();
                    }
                });
            } catch (...) {
                error = std::current_exception();
            }
            if (!TThread::CheckTerminated())
                TThread::Synchronize([this] { ActivityDialog->Hide(); });
            if (error)
                std::rethrow_exception(error);
        });
        SaveProcessingThread->FreeOnTerminate = false;
        SaveProcessingThread->Start();
        started = true;
    }
    if (SaveProcessingThread && !SaveProcessingThread->Finished()) {
        const TBusyCursor busy;
        SaveProcessingThread->WaitFor();
    }
    // A failed save keeps every drawing; say so, and why, so the user can mend it and save again.
    if (started && SaveProcessingThread->FatalException()) {
        QString message = QStringLiteral("保存に失敗しました");
        const QString reason = ErrorMessage(SaveProcessingThread->FatalException());
        if (!reason.isEmpty())
            message += QLatin1Char('\n') + reason;
        ShowMessage(message);
    }
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
    if (SaveProcessingThread)
        SaveProcessingThread->Terminate();
}

void TMainForm::RestorePractice(const TRecoveredPractice& practice)
{
    ResetPractice();
    for (qsizetype i = 0; i < practice.Drawings.size(); ++i)
        AddDrawing(practice.Drawings[i], {}, practice.ListImages.value(i));
    // The clocks stand still, as right after "Next"; an unfinished drawing keeps its time, and
    // the next press carries on from it.
    const qint64 drawMs = practice.Canvas.isNull() ? -1 : practice.CanvasDrawMs;
    if (!ThumbImages.isEmpty() || drawMs >= 0) {
        DrawTimeText->setText(drawMs >= 0 ? ElapsedTimeText(drawMs) : ThumbImages.last().Stamp());
        TotalDrawTimeText->setText(ElapsedTimeText(practice.TotalMs));
        Clocks.Restore(practice.TotalMs, drawMs);
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

void TMainForm::PlaceCountdown()
{
    Rooms->Plan->PlaceBar(size(), QRect(PaintImage->mapTo(this, QPoint(0, 0)), PaintImage->size()));
    ThumbnailMultiView->raise();
}

void TMainForm::UpdateHistoryCommands()
{
    Commands->Undo->setEnabled(Sheet.History().CanUndo() || Sheet.Pressed());
    Commands->Redo->setEnabled(Sheet.History().CanRedo());
}

void TMainForm::HistoryStepped(const QRect& changed)
{
    PaintImage->UpdatePixels(changed);
    Rooms->Journal->CanvasChanged();
    UpdateHistoryCommands();
}
