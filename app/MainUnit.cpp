#include "app/MainUnit.h"

#include "app/CanvasView.h"
#include "app/Commands.h"
#include "app/CountdownBar.h"
#include "app/DialogService.h"
#include "app/Drawer.h"
#include "app/ErrorReport.h"
#include "app/PlanDialog.h"
#include "app/ReferenceWindow.h"
#include "app/Settings.h"
#include "app/Thread.h"
#include "app/ThumbnailList.h"
#include "dialogs/ActivityDialog.h"
#include "dialogs/ClassRegistry.h"
#include "export/ResultSheets.h"
#include "journal/Journal.h"
#include "practice/ElapsedTime.h"
#include "practice/Thumbnail.h"
#include "references/ReferenceSession.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSoundEffect>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {
constexpr int kClientWidth = 668;
constexpr int kClientHeight = 727;
constexpr int kTextSize = 22;
constexpr int kCountInterval = 30; // ms: fast enough that the milliseconds look alive
constexpr int kNextRightGap = 82;  // Next keeps its left edge this far from the right edge
// The drawing in progress goes to the journal at most this often: often enough that a crash
// costs seconds of work, seldom enough that a stroke never waits for the disk.
constexpr int kSnapshotInterval = 5000;
const auto kZeroTime = QStringLiteral("00:00.000");

QLabel* MakeText(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(kTextSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

// Shows the busy cursor for as long as it lives.
class TBusyCursor final
{
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};
} // namespace

TMainForm::TMainForm(TTimeSources time, QWidget* parent)
    : QWidget(parent), FTime(std::move(time)), Clocks(FTime.Clock ? *FTime.Clock : FSteadyClock),
      Journal(std::make_unique<TJournal>(Journal::DefaultRoot()))
{
    if (!FTime.Now)
        FTime.Now = [] { return QDateTime::currentDateTime(); };
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("名前は決まっていません"));
    resize(kClientWidth, kClientHeight);
    CreateComponents();
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

    SnapshotTimer = new QTimer(this);
    SnapshotTimer->setObjectName(QStringLiteral("SnapshotTimer"));
    SnapshotTimer->setInterval(kSnapshotInterval);
    SnapshotTimer->start();

    CountdownBar = new TCountdownBar(this);
    CountdownBar->setObjectName(QStringLiteral("CountdownBar"));
    CountdownBar->hide();

    ThumbnailMultiView = new TDrawer(this);
    ThumbnailMultiView->setObjectName(QStringLiteral("ThumbnailMultiView"));
    ThumbnailListView = new TThumbnailListView(ThumbnailMultiView->Panel());
    ThumbnailListView->setObjectName(QStringLiteral("ThumbnailListView"));
    auto* drawerLayout = new QHBoxLayout(ThumbnailMultiView->Panel());
    drawerLayout->setContentsMargins(TDrawer::PanelWidth - 152, 0, 0, 0);
    drawerLayout->addWidget(ThumbnailListView);

    ActivityDialog = dynamic_cast<TCustomActivityDialog*>(
        TClassRegistry::Instance().Create(QStringLiteral("TActivityDialog"), this));
    Q_ASSERT(ActivityDialog);
    ActivityDialog->setObjectName(QStringLiteral("ActivityDialog"));
    ActivityDialog->SetMessage(QStringLiteral("処理中です。しばらくお待ち下さい。"));
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
    connect(SnapshotTimer, &QTimer::timeout, this, &TMainForm::SnapshotTimerTimer);
    connect(Journal.get(), &TJournal::WriteFailed, this, &TMainForm::JournalWriteFailed);
    connect(Next, &QPushButton::clicked, this, &TMainForm::NextClick);
    connect(UsePenButton, &QPushButton::clicked, this, &TMainForm::UsePenButtonClick);
    connect(UseEraserButton, &QPushButton::clicked, this, &TMainForm::UseEraserButtonClick);
    connect(Finish, &QPushButton::clicked, this, &TMainForm::FinishClick);
    connect(StartButton, &QPushButton::clicked, this, &TMainForm::StartButtonClick);

    Commands = std::make_unique<TCommands>(this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { Commands->Menu->popup(mapToGlobal(at)); });
    connect(Commands->Undo, &QAction::triggered, this, &TMainForm::UndoCommandExecute);
    connect(Commands->Redo, &QAction::triggered, this, &TMainForm::RedoCommandExecute);
    connect(Commands->Pen, &QAction::triggered, this, &TMainForm::UsePenButtonClick);
    connect(Commands->Eraser, &QAction::triggered, this, &TMainForm::UseEraserButtonClick);
    connect(Commands->Next, &QAction::triggered, this, &TMainForm::NextClick);
    connect(Commands->Save, &QAction::triggered, this, &TMainForm::FinishClick);
    connect(Commands->Reset, &QAction::triggered, this, &TMainForm::StartButtonClick);
    connect(Commands->Plans, &QActionGroup::triggered, this, &TMainForm::PlanCommandExecute);
    connect(Commands->OpenReferences, &QAction::triggered, this, &TMainForm::OpenReferencesCommandExecute);
    connect(Commands->SkipReference, &QAction::triggered, this, &TMainForm::NextReference);
    connect(Commands->CloseReferences, &QAction::triggered, this, &TMainForm::CloseReferences);
    connect(Commands->OpenResultFolder, &QAction::triggered, this,
            &TMainForm::OpenResultFolderCommandExecute);
    connect(Commands->About, &QAction::triggered, this, &TMainForm::AboutCommandExecute);
    Commands->SkipReference->setEnabled(false);
    Commands->CloseReferences->setEnabled(false);
    setAcceptDrops(true);
    const std::unique_ptr<QSettings> settings = OpenSettings();
    Commands->TimeUpSound->setChecked(settings->value(QLatin1String(Settings::TimeUpSound), true).toBool());
    connect(Commands->TimeUpSound, &QAction::toggled, this, &TMainForm::TimeUpSoundCommandExecute);
    SetPlan(TPlan::Parse(settings->value(QLatin1String(Settings::Plan)).toString()).value_or(TPlan()), false);
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
                      Journal->Discard();
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
    if (!touched.isEmpty() && !Commands->Undo->isEnabled())
        UpdateHistoryCommands();
    FCanvasChanged = FCanvasChanged || !touched.isEmpty();
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
    UpdateCountdown();
    if (Clocks.LimitReached())
        TimeUp();
}

void TMainForm::NextClick()
{
    FinishDrawing();
    NextReference();
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
    Journal->Discard();
    FCanvasChanged = false;
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
    FPlanStart = 0;
    UpdatePlanLimit();
}

void TMainForm::FinishDrawing()
{
    const QString stamp = DrawTimeText->text();
    const TBitmap thumbnail = MakeThumbnail(Sheet.Bitmap(), stamp);
    const qint64 total = CountTimer->isActive() ? Clocks.TotalDrawTimeMs() : Clocks.StoppedTotalMs();
    TReferenceLink reference;
    if (References && !References->Current().isEmpty())
        reference = {References->Current(), FReferenceWindow->Grey(), FReferenceWindow->Mirror()};
    const TFinishedDrawing drawing = TFinishedDrawing::Pack(thumbnail, stamp, total, reference);
    ThumbImages.append(drawing);
    Journal->Append(drawing);
    Journal->DropSnapshot();
    FCanvasChanged = false;
    Sheet.Clear();
    PaintImage->update();
    ThumbnailListView->AddEntry(ListImageOf(thumbnail.Image()), DrawTimeText->text());
    Clocks.Stop(CountTimer->isActive());
    CountTimer->stop();
    NextCountText->setText(QString::number(ThumbImages.size()));
    UpdateHistoryCommands();
    ChangeTool(true);
    UpdatePlanLimit();
}

bool TMainForm::SaveResultFromFile()
{
    SaveResultSheets(ThumbImages, FTime.Now(), {}, FResultFolder);
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

void TMainForm::SnapshotTimerTimer()
{
    if (!FCanvasChanged)
        return;
    FCanvasChanged = false;
    // The clocks run while the canvas changes, so their readings are the drawing's.
    Journal->Snapshot(Sheet.Bitmap().Image(), Clocks.DrawTimeMs(), Clocks.TotalDrawTimeMs());
}

void TMainForm::FlushJournal()
{
    SnapshotTimerTimer();
    Journal->WaitForWrites();
}

void TMainForm::JournalWriteFailed(const QString& reason)
{
    // The practice goes on in memory; later writes retry quietly, so one box is enough.
    if (FJournalWarned)
        return;
    FJournalWarned = true;
    ShowMessage(
        QStringLiteral(
            "練習の一時保存ができません。このまま続けられますが、異常終了すると描いた絵は失われます。\n") +
        reason);
}

void TMainForm::RecoverPractice()
{
    for (TStaleJournal& stale : FindStaleJournals(Journal::DefaultRoot())) {
        const TRecoveredPractice practice = stale.Read();
        if (practice.IsEmpty()) {
            stale.Remove();
            continue;
        }
        bool restore = false;
        MessageDialog(QStringLiteral("前回の練習が保存されないまま残っています（%1枚）。復元しますか？")
                          .arg(practice.Drawings.size()),
                      TMsgDlgType::mtConfirmation, mbYes | mbNo, mbYes, 0,
                      [&](TModalResult answer) { restore = answer == mrYes; });
        if (!restore) {
            stale.Remove();
            continue;
        }
        RestorePractice(practice);
        Journal->Adopt(std::move(stale), practice);
        if (practice.Skipped > 0)
            ShowMessage(QStringLiteral("読み込めなかった絵が%1枚ありました。").arg(practice.Skipped));
        // One practice at a time: the others stay and are offered at the next start.
        return;
    }
}

void TMainForm::RestorePractice(const TRecoveredPractice& practice)
{
    ResetPractice();
    for (const TFinishedDrawing& drawing : practice.Drawings) {
        ThumbImages.append(drawing);
        ThumbnailListView->AddEntry(ListImageOf(drawing.Image()), drawing.Stamp());
    }
    NextCountText->setText(QString::number(ThumbImages.size()));
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
    UpdatePlanLimit();
}

void TMainForm::TimeUp()
{
    FinishDrawing();
    NextReference();
    PaintImage->Flash();
    if (TimeUpSound && Commands->TimeUpSound->isChecked())
        TimeUpSound->play();
}

void TMainForm::SetPlan(const TPlan& plan, bool remember)
{
    FPlan = plan;
    // A drawing under way keeps the limit it started with.
    FPlanStart = ThumbImages.size() + (DrawingInProgress() ? 1 : 0);
    Commands->PlanEntry(plan)->setChecked(true);
    if (remember)
        OpenSettings()->setValue(QLatin1String(Settings::Plan), plan.Text());
    if (!plan.IsEmpty() && !TimeUpSound) {
        // Loaded ahead, so the first time-up sounds at once. With no sound device it stays silent.
        TimeUpSound = new QSoundEffect(this);
        TimeUpSound->setSource(QUrl(QStringLiteral("qrc:/sounds/timeup.wav")));
    }
    CountdownBar->setVisible(!plan.IsEmpty());
    UpdatePlanLimit();
    PlaceCountdown();
}

void TMainForm::UpdatePlanLimit()
{
    if (!DrawingInProgress()) {
        const qsizetype drawing = ThumbImages.size() - FPlanStart;
        Clocks.SetLimit(drawing >= 0 ? FPlan.PlaceOf(int(drawing)).LimitMs : 0);
    }
    UpdateCountdown();
}

void TMainForm::UpdateCountdown()
{
    if (FPlan.IsEmpty())
        return;
    const qint64 limit = Clocks.LimitMs();
    const qint64 spent = CountTimer->isActive() ? Clocks.DrawTimeMs() : 0;
    const qsizetype drawing = ThumbImages.size() - FPlanStart;
    QString text = limit > 0 ? LimitText(limit) : QString();
    if (drawing >= 0) {
        const TPlan::TPlace place = FPlan.PlaceOf(int(drawing));
        if (place.Ended)
            text = QStringLiteral("プラン終了");
        else if (place.Count > 0)
            text = QStringLiteral("%1/%2 · %3").arg(place.Number).arg(place.Count).arg(text);
        else
            text = QStringLiteral("%1 · %2").arg(place.Number).arg(text);
    }
    CountdownBar->SetState(text, limit - spent, limit);
}

void TMainForm::PlaceCountdown()
{
    // In the free band at the window's bottom edge: below the canvas when the window is tall,
    // beside it when it is wide, over the canvas's foot when there is no band at all; never
    // over the top band's controls.
    constexpr int topBand = 49;
    const int h = TCountdownBar::BarHeight;
    const QRect canvas(PaintImage->mapTo(this, QPoint(0, 0)), PaintImage->size());
    const int y = qMax(topBand, height() - h);
    const int right = width() - (canvas.right() + 1);
    if (height() - (canvas.bottom() + 1) >= h || right < 80)
        CountdownBar->setGeometry(0, y, width(), h);
    else
        CountdownBar->setGeometry(canvas.right() + 1, y, right, h);
    CountdownBar->raise();
    ThumbnailMultiView->raise();
}

void TMainForm::UpdateHistoryCommands()
{
    Commands->Undo->setEnabled(Sheet.History().CanUndo() || Sheet.Pressed());
    Commands->Redo->setEnabled(Sheet.History().CanRedo());
}

void TMainForm::UndoCommandExecute()
{
    PaintImage->UpdatePixels(Sheet.Undo());
    FCanvasChanged = true;
    UpdateHistoryCommands();
}

void TMainForm::RedoCommandExecute()
{
    PaintImage->UpdatePixels(Sheet.Redo());
    FCanvasChanged = true;
    UpdateHistoryCommands();
}

void TMainForm::PlanCommandExecute(QAction* entry)
{
    if (entry != Commands->CustomPlan) {
        SetPlan(TPlan::Parse(entry->data().toString()).value_or(TPlan()));
        return;
    }
    TPlanDialog dialog(FPlan, this);
    if (dialog.exec() == QDialog::Accepted && dialog.Plan())
        SetPlan(*dialog.Plan());
    else
        Commands->PlanEntry(FPlan)->setChecked(true);
}

void TMainForm::TimeUpSoundCommandExecute(bool on)
{
    OpenSettings()->setValue(QLatin1String(Settings::TimeUpSound), on);
}

void TMainForm::SetResultFolder(const QString& folder)
{
    FResultFolder = folder.isEmpty() ? QLatin1String(Sheet::Folder) : folder;
}

void TMainForm::OpenResultFolderCommandExecute()
{
    // Nothing is created here: a folder appears with the first save.
    const QFileInfo folder(FResultFolder);
    if (!folder.isDir()) {
        ShowMessage(QStringLiteral("結果フォルダーはまだありません。最初に保存したときに作られます。\n") +
                    QDir::toNativeSeparators(folder.absoluteFilePath()));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder.absoluteFilePath())))
        ShowMessage(QStringLiteral("結果フォルダーを開けませんでした。\n") +
                    QDir::toNativeSeparators(folder.absoluteFilePath()));
}

void TMainForm::AboutCommandExecute()
{
    ShowMessage(QStringLiteral("Tenarai %1\n時間を計ってクロッキーを練習するプログラム\nライセンス: MIT\n%2")
                    .arg(QStringLiteral(TENARAI_VERSION), QStringLiteral(TENARAI_ID)));
}

void TMainForm::OpenReferencesCommandExecute()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("参考画像フォルダーを開く"),
        References ? References->Folder()
                   : OpenSettings()->value(QLatin1String(Settings::ReferenceFolder)).toString());
    if (!folder.isEmpty())
        OpenReferences(folder);
}

void TMainForm::OpenReferences(const QString& folder, bool remember)
{
    if (!QFileInfo(folder).isDir()) {
        ShowMessage(QStringLiteral("参考画像のフォルダーが見つかりません。\n") +
                    QDir::toNativeSeparators(folder));
        return;
    }
    if (!FReferenceWindow) {
        FReferenceWindow = new TReferenceWindow(this);
        // The keys work while either window is active.
        FReferenceWindow->addActions(actions());
        connect(FReferenceWindow, &TReferenceWindow::SkipRequested, this, &TMainForm::NextReference);
        connect(FReferenceWindow, &TReferenceWindow::Resized, this, [this] {
            if (References)
                References->SetBox(FReferenceWindow->DecodeBox());
        });
    }
    if (References)
        References.release()->deleteLater();
    References = std::make_unique<TReferenceSession>(folder);
    References->SetBox(FReferenceWindow->DecodeBox());
    connect(References.get(), &TReferenceSession::Shown, FReferenceWindow,
            [this](const QString&, const QImage& image) { FReferenceWindow->ShowImage(image); });
    connect(References.get(), &TReferenceSession::NothingToShow, this, [this](const QString& empty) {
        CloseReferences();
        ShowMessage(QStringLiteral("このフォルダーには読める画像がありません。\n") +
                    QDir::toNativeSeparators(empty));
    });
    FReferenceWindow->ShowImage({});
    FReferenceWindow->show();
    activateWindow();
    Commands->SkipReference->setEnabled(true);
    Commands->CloseReferences->setEnabled(true);
    if (remember)
        OpenSettings()->setValue(QLatin1String(Settings::ReferenceFolder), folder);
}

void TMainForm::CloseReferences()
{
    // Closing may come from the session's own signal: it is deleted once that has returned.
    if (References)
        References.release()->deleteLater();
    if (FReferenceWindow)
        FReferenceWindow->hide();
    Commands->SkipReference->setEnabled(false);
    Commands->CloseReferences->setEnabled(false);
    OpenSettings()->remove(QLatin1String(Settings::ReferenceFolder));
}

void TMainForm::ReopenReferences()
{
    const QString folder = OpenSettings()->value(QLatin1String(Settings::ReferenceFolder)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        OpenReferences(folder, false);
}

void TMainForm::NextReference()
{
    if (References)
        References->Next();
}

namespace {
// The folder a drag brings, if it brings exactly one local folder.
QString DroppedFolder(const QMimeData* data)
{
    if (!data || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return QFileInfo(path).isDir() ? path : QString();
}
} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QString folder = DroppedFolder(event->mimeData());
    if (folder.isEmpty())
        return;
    event->acceptProposedAction();
    OpenReferences(folder);
}
