#ifndef TENARAI_APP_STUDY_REFERENCEWINDOW_H
#define TENARAI_APP_STUDY_REFERENCEWINDOW_H

#include "references/ReferenceImage.h"

#include <QFutureWatcher>
#include <QHash>
#include <QImage>
#include <QTimer>
#include <QWidget>

class QAction;
class QActionGroup;
class QMenu;

/**
 * @brief The "参考画像" window: the current reference scaled to fit with its aspect kept, seen
 * through the study aids of its own menu: grey, mirrored, flipped, reduced to two or three
 * tones, blurred (computed off the user-interface thread, kept for an image already shown), a
 * grid over it, and drawing from memory (the reference hidden a while after it is shown, "見る"
 * shows it again). The wheel zooms around the pointer, dragging pans, double-click fits again.
 * Its place and size, and the menu's choices, are remembered; the first time it opens beside
 * the main window, never over it.
 */
class TReferenceWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit TReferenceWindow(QWidget* mainWindow);
    ~TReferenceWindow() override;

    void ShowImage(const QImage& image);
    // A text shown instead of the image while it is not empty ("休憩").
    void SetNotice(const QString& text);
    const QString& Notice() const { return FNotice; }
    bool Grey() const;
    bool Mirror() const;
    TReferenceView ViewSettings() const;
    // The grid's divisions over the image: 0 for none, 3 or 4.
    void SetGrid(int divisions);
    int Grid() const { return FGrid; }
    // Shows a reference hidden for drawing from memory again, for the same time.
    void LookAgain();
    bool Hidden() const { return FHidden; }
    double Zoom() const { return FZoom; }
    // What is on screen, as shown (for tests).
    const QImage& View() const { return FView; }
    // The size to decode references at: the window's in device pixels.
    QSize DecodeBox() const;

signals:
    void SkipRequested();
    void Resized();
    void GridChosen(int divisions);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ViewChanged();
    void SetOnTop(bool on);
    QRectF ImageRect() const;
    QActionGroup* Choices(QMenu* menu, const char* key, const QList<QPair<QString, int>>& entries);
    void StartMemoryTimer();

    QImage FImage;
    QImage FView;
    QString FNotice;
    QMenu* FMenu;
    QAction* FGrey;
    QAction* FMirror;
    QAction* FFlip;
    QAction* FBlur;
    QAction* FOnTop;
    QActionGroup* FTones;
    QActionGroup* FGrids;
    QActionGroup* FMemory;
    int FGrid = 0;
    bool FHidden = false;
    QTimer FMemoryTimer;
    double FZoom = 1;
    QPointF FPan; // of the zoomed image's centre from the window's, in window units
    QPointF FDragFrom;
    QHash<quint32, QImage> FViews; // the current image's views already computed, by settings
    QFutureWatcher<QImage> FComputing;
    quint32 FComputingKey = 0;
};

#endif
