#ifndef TENARAI_APP_BOTTOMBAND_H
#define TENARAI_APP_BOTTOMBAND_H

#include <QList>
#include <QObject>
#include <QPair>
#include <QRect>
#include <memory>

class QHBoxLayout;
class QWidget;

/**
 * @brief What the window says at its foot, in one row laid out together: the save's progress,
 * notes, the countdown bar (which takes the room left) and the mirror mark. Each item is the
 * window's child, shown and hidden by its room; the band lays out the ones shown in the free
 * band at the window's bottom edge, never over the top band's controls.
 */
class TBottomBand final : public QObject
{
    Q_OBJECT
public:
    static constexpr int Height = 18;
    // Where an item stands, left to right; the countdown takes the room left over.
    enum class TSlot
    {
        Progress,
        Note,
        Countdown,
        Mark
    };

    explicit TBottomBand(QWidget* window);
    ~TBottomBand() override;

    void Add(QWidget* item, TSlot slot);
    // The band's place, given the canvas's place in the window: below the canvas when the
    // window is tall, beside it when it is wide, over the canvas's foot when there is no band.
    void Place(QSize window, QRect canvas);
    QRect Geometry() const { return FRect; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Relayout();

    std::unique_ptr<QHBoxLayout> FLayout; // of window children, laid into FRect
    QList<QPair<TSlot, QWidget*>> FItems;
    QRect FRect;
    bool FLaying = false;
};

#endif
