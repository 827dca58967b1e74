#ifndef TENARAI_APP_REVIEWER_REVIEWWINDOW_H
#define TENARAI_APP_REVIEWER_REVIEWWINDOW_H

#include "review/Fit.h"
#include "review/Pairs.h"

#include <QFutureWatcher>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QStackedLayout;
class TPairView;

/**
 * @brief The "振り返り" window: the practice's drawings in order, each beside its reference,
 * and one pair large, side by side or laid over ("重ねる"), with the automatic fit
 * ("合わせる"). Enter or a click opens the selected pair large; Escape goes back to the grid,
 * then closes the window. Its place and size are remembered; it first opens beside the main
 * window, never over it.
 */
class TReviewWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit TReviewWindow(QWidget* mainWindow);
    ~TReviewWindow() override;

    void AddPair(const TReviewPair& pair);
    // The reference of pair `index` has been read.
    void SetReference(int index, const QImage& reference);
    void Clear();
    int Count() const { return FPairs.size(); }
    // Pair `index` large; -1 back to the grid.
    void OpenPair(int index);
    bool PairOpen() const;
    TPairView* LargeView() const { return FLarge; }
    QListWidget* Grid() const { return FGrid; }
    const QString& FitMessage() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateEntry(int index);
    void FitCommandExecute();
    void FitDone();

    QList<TReviewPair> FPairs;
    QStackedLayout* FPages;
    QListWidget* FGrid;
    QWidget* FLargePage;
    TPairView* FLarge;
    QPushButton* FOverlayButton;
    QSlider* FOpacity;
    QPushButton* FFitButton;
    QLabel* FStatus;
    QString FStatusText;
    int FOpen = -1;
    QFutureWatcher<TFitResult> FFitting;
};

#endif
