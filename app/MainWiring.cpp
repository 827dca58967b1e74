#include "app/BottomBand.h"
#include "app/Commands.h"
#include "app/Controls.h"
#include "app/Drawer.h"
#include "app/Language.h"
#include "app/MainUnit.h"
#include "app/ThumbnailList.h"
#include "app/canvas/CanvasView.h"
#include "dialogs/ActivityDialog.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

// The window's making: its controls in their places, its commands and rooms, and what connects
// them. The handlers are in MainUnit.cpp.

void TMainForm::CreateComponents()
{
    // Created in stacking order: a later sibling lies above an earlier one.
    Layout1 = new QWidget(this);
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setGeometry(0, 0, TopBand::ClientWidth - 1, TopBand::ClientHeight + 2);
    Layout1->installEventFilter(this);

    PaintImage = new TCanvasView(Layout1);
    PaintImage->setObjectName(QStringLiteral("PaintImage"));
    PaintImage->SetBitmap(&Sheet.Bitmap());

    // The values stand beside their captions; they are Layout1's children at their window
    // positions, since a child widget is clipped to its parent.
    Text2 = MakeText(Layout1, "Text2", tr("総経過時間"), {80, 24, 121, 25});
    DrawTimeText = MakeText(Layout1, "DrawTimeText", QStringLiteral("0:00:00"), {200, 0, 145, 25});
    NextCountTextLabel =
        MakeText(Layout1, "NextCountTextLabel", tr("描いた枚数"), {408, 0, 121, 25});
    NextCountText = MakeText(Layout1, "NextCountText", QStringLiteral("0"), {408, 24, 121, 25});
    Text1 = MakeText(Layout1, "Text1", tr("経過時間"), {80, 0, 121, 25});
    TotalDrawTimeText = MakeText(Layout1, "TotalDrawTimeText", QStringLiteral("0:00:00"), {200, 24, 145, 25});
    UsePenButton = MakeButton(Layout1, "UsePenButton", tr("ペン"), {528, 0, 57, 49});
    UseEraserButton = MakeButton(Layout1, "UseEraserButton", tr("消しゴム"), {584, 0, 57, 49});

    Next = MakeButton(this, "Next", tr("Next"),
                      {TopBand::ClientWidth - TopBand::NextRightGap, 0, 80, 49});
    Finish = MakeButton(this, "Finish", tr("結果を保存"), {0, 0, 80, 49});
    StartButton = MakeButton(this, "StartButton", tr("リセット"), {344, 0, 65, 49});

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
    for (auto [button, action] :
         {std::pair{Next, Commands->Next}, std::pair{Finish, Commands->Save},
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
    connect(Commands->Language, &QAction::triggered, this, [] {
        ChooseLanguage(CurrentLanguage() == TLanguage::English ? TLanguage::Japanese : TLanguage::English);
    });

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
