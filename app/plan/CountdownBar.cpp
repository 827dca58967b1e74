#include "app/plan/CountdownBar.h"

#include <QPainter>
#include <QTimer>

TCountdownBar::TCountdownBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TCountdownBar::SetState(const QString& text, qint64 left, qint64 limit)
{
    left = qBound<qint64>(0, left, limit);
    if (text == FText && left == FLeft && limit == FLimit)
        return;
    FText = text;
    FLeft = left;
    FLimit = limit;
    update();
}

void TCountdownBar::Blink()
{
    constexpr int blinkMs = 250; // seen from the corner of the eye, gone before it distracts
    FBlinking = true;
    update();
    QTimer::singleShot(blinkMs, this, [this] {
        FBlinking = false;
        update();
    });
}

void TCountdownBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), FBlinking ? QColor(0xff, 0xd8, 0x40) : QColor(0xe4, 0xe4, 0xe4));
    if (FLimit > 0) {
        const int filled = int(double(width()) * Fraction());
        p.fillRect(QRect(0, 0, filled, height()),
                   Warning() ? QColor(0xd8, 0x30, 0x30) : QColor(0x6a, 0x8c, 0xb8));
    }
    QFont font = p.font();
    font.setPixelSize(qMax(9, height() - 5));
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(rect().adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, FText);
}
