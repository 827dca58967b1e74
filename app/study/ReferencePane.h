#ifndef TENARAI_APP_STUDY_REFERENCEPANE_H
#define TENARAI_APP_STUDY_REFERENCEPANE_H

#include "practice/FinishedDrawing.h"
#include "references/ReferenceImage.h"

#include <QImage>

#include <QObject>
#include <QTimer>
#include <memory>

class QLabel;
class QWidget;
class TReferenceSession;
class TReferenceWindow;
struct TCommands;

/**
 * @brief The reference images: the session of one folder, the "参考画像" window that shows it,
 * the folder opened from the menu, by a drop on the main window or remembered from the last
 * run, and the skip and close commands.
 */
class TReferencePane final : public QObject
{
    Q_OBJECT
public:
    TReferencePane(const TCommands& commands, QWidget* mainWindow);
    ~TReferencePane() override;

    // Shows references from the folder and its sub-folders; a remembered folder is reopened at
    // the next start.
    void Open(const QString& folder, bool remember = true);
    void Close();
    // Reopens the remembered folder when it is still there.
    void Reopen();
    // Moves on to the next reference, when references are open.
    void Next();
    // The grid over the reference's image area.
    void SetGrid(int divisions);
    // Shows a text instead of the reference while the plan has a break; the image comes back after.
    void SetResting(bool resting);
    // The reference on show as the drawing made now was made from it; empty when none is.
    TReferenceLink CurrentLink() const;
    TReferenceWindow* Window() const { return FWindow; }
    // The folder references come from; empty when none are open.
    QString Folder() const;
    bool IsOpen() const { return FSession != nullptr; }

signals:
    // References were opened from a folder, or closed (an empty folder).
    void FolderChanged(const QString& folder);
    // The grid was chosen in the reference window's menu.
    void GridChosen(int divisions);

protected:
    // Takes a folder dropped on the main window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenCommandExecute();
    // Says once, at the window's foot for a while, how many images could not be read.
    void ShowSkipped(int images);

    const TCommands& FCommands;
    QWidget* FMainWindow;
    TReferenceWindow* FWindow = nullptr; // made when references are first opened
    std::unique_ptr<TReferenceSession> FSession;
    // The kept copy of the picture last linked, made again only when the picture or view changes.
    mutable TReferenceLink FKept;
    mutable TReferenceView FKeptView;
    mutable QImage FKeptCell;
    QLabel* FSkippedNote = nullptr;
    QTimer FNoteTimer;
    bool FResting = false;
    int FGrid = 0;
};

#endif
