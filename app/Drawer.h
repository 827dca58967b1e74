#ifndef TENARAI_APP_DRAWER_H
#define TENARAI_APP_DRAWER_H

#include <QElapsedTimer>
#include <QList>
#include <QPointF>
#include <QWidget>

class QVariantAnimation;

/**
 * @brief A side drawer that slides in from the window's left edge over the content.
 *
 * Closed, it keeps a strip along the left edge that takes presses; dragging from there pulls it
 * out. Open, the rest of the window is shaded and belongs to it: a click there closes it, a drag
 * pushes it back. On release a fast fling decides by its direction, a slow one by how much shows.
 */
class TDrawer final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PanelWidth = 185;
    static constexpr int EdgeStrip = 20;
    static constexpr int ClickSlop = 5;       // less movement than this is a click
    static constexpr double FlingSpeed = 300; // units per second
    static constexpr int SpeedWindowMs = 250; // the speed is measured over the last quarter second
    static constexpr double OpenShare = 0.7;  // a slow release opens when this much shows
    static constexpr int SlideMs = 250;
    static constexpr double ShadeOpacity = 0.3;

    explicit TDrawer(QWidget* window);

    // Where the drawer's content goes.
    QWidget* Panel() const { return FPanel; }
    // Puts the content in the panel, against its right edge where the drawer opens from.
    void SetContent(QWidget* content, int width);
    // How much of the panel shows, 0 (closed) to PanelWidth (open).
    qreal Offset() const { return FOffset; }
    bool IsOpen() const { return FOffset >= PanelWidth && !Moving(); }
    bool IsClosed() const { return FOffset <= 0 && !Moving(); }

    void Open();
    void Close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Moving() const;
    void SetOffset(qreal offset);
    void SlideTo(qreal target, int milliseconds);
    void UpdateGeometry();

    QWidget* FPanel;
    QVariantAnimation* FAnimation;
    qreal FOffset = 0;
    bool FTracking = false;
    bool FDragged = false;
    QPointF FPressPos;
    qreal FPressOffset = 0;
    QElapsedTimer FClock;
    QList<QPair<qint64, qreal>> FSamples; // (time, x) of the recent pointer positions
};

#endif
