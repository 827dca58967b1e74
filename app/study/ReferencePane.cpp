#include "app/study/ReferencePane.h"

#include "app/Commands.h"
#include "app/DialogService.h"
#include "app/study/ReferenceWindow.h"
#include "app/Settings.h"
#include "references/ReferenceImage.h"
#include "references/ReferenceSession.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QWidget>

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

TReferencePane::TReferencePane(const TCommands& commands, QWidget* mainWindow)
    : QObject(mainWindow), FCommands(commands), FMainWindow(mainWindow)
{
    setObjectName(QStringLiteral("ReferencePane"));
    connect(commands.OpenReferences, &QAction::triggered, this, &TReferencePane::OpenCommandExecute);
    connect(commands.SkipReference, &QAction::triggered, this, &TReferencePane::Next);
    connect(commands.CloseReferences, &QAction::triggered, this, &TReferencePane::Close);
    connect(commands.LookAgain, &QAction::triggered, this, [this] {
        if (FWindow)
            FWindow->LookAgain();
    });
    commands.SkipReference->setEnabled(false);
    commands.CloseReferences->setEnabled(false);
    mainWindow->setAcceptDrops(true);
    mainWindow->installEventFilter(this);
}

TReferencePane::~TReferencePane() = default;

void TReferencePane::OpenCommandExecute()
{
    const QString folder = QFileDialog::getExistingDirectory(
        FMainWindow, tr("参考画像フォルダーを開く"),
        FSession ? FSession->Folder()
                 : OpenSettings()->value(QLatin1String(Settings::ReferenceFolder)).toString());
    if (!folder.isEmpty())
        Open(folder);
}

void TReferencePane::Open(const QString& folder, bool remember)
{
    if (!QFileInfo(folder).isDir()) {
        ShowMessage(tr("参考画像のフォルダーが見つかりません。\n") +
                    QDir::toNativeSeparators(folder));
        return;
    }
    if (!FWindow) {
        FWindow = new TReferenceWindow(FMainWindow);
        // The keys work while either window is active.
        FWindow->addActions(FMainWindow->actions());
        connect(FWindow, &TReferenceWindow::SkipRequested, this, &TReferencePane::Next);
        connect(FWindow, &TReferenceWindow::GridChosen, this, &TReferencePane::GridChosen);
        FWindow->SetGrid(FGrid);
        connect(FWindow, &TReferenceWindow::Resized, this, [this] {
            if (FSession)
                FSession->SetBox(FWindow->DecodeBox());
        });
    }
    if (FSession)
        FSession.release()->deleteLater();
    FSession = std::make_unique<TReferenceSession>(folder);
    FSession->SetBox(FWindow->DecodeBox());
    connect(FSession.get(), &TReferenceSession::Shown, FWindow,
            [this](const QString&, const QImage& image) { FWindow->ShowImage(image); });
    connect(FSession.get(), &TReferenceSession::Skipped, this, &TReferencePane::ShowSkipped);
    connect(FSession.get(), &TReferenceSession::NothingToShow, this, [this](const QString& empty) {
        Close();
        ShowMessage(tr("このフォルダーには読める画像がありません。\n") +
                    QDir::toNativeSeparators(empty));
    });
    FWindow->ShowImage({});
    if (FSkippedNote)
        FSkippedNote->hide();
    SetResting(FResting);
    FWindow->show();
    FMainWindow->activateWindow();
    FCommands.SkipReference->setEnabled(true);
    FCommands.CloseReferences->setEnabled(true);
    if (remember)
        OpenSettings()->setValue(QLatin1String(Settings::ReferenceFolder), folder);
    emit FolderChanged(Folder());
}

void TReferencePane::ShowSkipped(int images)
{
    if (!FSkippedNote) {
        FSkippedNote = new QLabel(FWindow);
        FSkippedNote->setObjectName(QStringLiteral("SkippedNote"));
        FSkippedNote->setAutoFillBackground(true);
        FSkippedNote->setAttribute(Qt::WA_TransparentForMouseEvents);
        FSkippedNote->setMargin(6);
        FNoteTimer.setSingleShot(true);
        connect(&FNoteTimer, &QTimer::timeout, FSkippedNote, &QWidget::hide);
    }
    FSkippedNote->setText(tr("読めない画像を%n枚飛ばしました", nullptr, images));
    FSkippedNote->adjustSize();
    FSkippedNote->move(0, FWindow->height() - FSkippedNote->height());
    FSkippedNote->show();
    FSkippedNote->raise();
    FNoteTimer.start(10'000);
}

void TReferencePane::Close()
{
    // Closing may come from the session's own signal: it is deleted once that has returned.
    if (FSession)
        FSession.release()->deleteLater();
    if (FWindow)
        FWindow->hide();
    FCommands.SkipReference->setEnabled(false);
    FCommands.CloseReferences->setEnabled(false);
    emit FolderChanged({});
    OpenSettings()->remove(QLatin1String(Settings::ReferenceFolder));
}

void TReferencePane::Reopen()
{
    const QString folder = OpenSettings()->value(QLatin1String(Settings::ReferenceFolder)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        Open(folder, false);
}

void TReferencePane::Next()
{
    if (FSession)
        FSession->Next();
}

void TReferencePane::SetGrid(int divisions)
{
    FGrid = divisions;
    if (FWindow)
        FWindow->SetGrid(divisions);
}

void TReferencePane::SetResting(bool resting)
{
    FResting = resting;
    if (FWindow)
        FWindow->SetNotice(resting ? tr("休憩") : QString());
}

QString TReferencePane::Folder() const
{
    return FSession ? FSession->Folder() : QString();
}

TReferenceLink TReferencePane::CurrentLink() const
{
    if (!FSession || FSession->Current().isEmpty())
        return {};
    const TReferenceView view = FWindow->ViewSettings();
    TReferenceLink link{FSession->Current(), view.Grey, view.Mirror, view.Flip, view.Tones, view.Blur, {}};
    // The picture as it was seen goes with the drawing; drawings made from one picture in one
    // view share one copy.
    if (FKept.Path != link.Path || !(FKeptView == view) ||
        FKeptCell.cacheKey() != FSession->CurrentCell().cacheKey()) {
        FKept = link;
        FKeptView = view;
        FKeptCell = FSession->CurrentCell();
        FKept.Shown = ReferenceLink::EncodeShown(ViewOfReference(FKeptCell, view), view.Tones != 0);
    }
    link.Shown = FKept.Shown;
    return link;
}

bool TReferencePane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FMainWindow && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString folder = DroppedFolder(drop->mimeData());
        if (folder.isEmpty())
            return false;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop)
            Open(folder);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
