#include "app/Drawer.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>
#include <cmath>

TDrawer::TDrawer(QWidget* window)
    : QWidget(window), FPanel(new QWidget(this)), FAnimation(new QVariantAnimation(this))
{
    FPanel->setAutoFillBackground(true);
    FPanel->setBackgroundRole(QPalette::Window);
    FAnimation->setEasingCurve(QEasingCurve::OutCubic);
    connect(FAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& v) { SetOffset(v.toReal()); });
    connect(FAnimation, &QVariantAnimation::finished, this, &TDrawer::UpdateGeometry);
    FClock.start();
    window->installEventFilter(this);
    UpdateGeometry();
}

void TDrawer::SetContent(QWidget* content, int width)
{
    auto* layout = new QHBoxLayout(FPanel);
    layout->setContentsMargins(PanelWidth - width, 0, 0, 0);
    layout->addWidget(content);
}

bool TDrawer::Moving() const
{
    return FTracking || FAnimation->state() == QAbstractAnimation::Running;
}

void TDrawer::Open()
{
    SlideTo(PanelWidth, SlideMs);
}

void TDrawer::Close()
{
    SlideTo(0, SlideMs);
}

bool TDrawer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        UpdateGeometry();
    return QWidget::eventFilter(watched, event);
}

void TDrawer::UpdateGeometry()
{
    const QWidget* window = parentWidget();
    const int height = window->height();
    // Closed and at rest, only the edge strip is ours; otherwise the whole window is.
    if (FOffset <= 0 && !Moving())
        setGeometry(0, 0, EdgeStrip, height);
    else
        setGeometry(0, 0, window->width(), height);
    FPanel->setGeometry(int(std::lround(FOffset)) - PanelWidth, 0, PanelWidth, height);
    FPanel->setVisible(FOffset > 0);
    raise();
    update();
}

void TDrawer::SetOffset(qreal offset)
{
    FOffset = qBound<qreal>(0, offset, PanelWidth);
    UpdateGeometry();
}

void TDrawer::SlideTo(qreal target, int milliseconds)
{
    FAnimation->stop();
    if (qFuzzyCompare(FOffset + 1, target + 1)) {
        SetOffset(target);
        return;
    }
    FAnimation->setDuration(qMax(1, milliseconds));
    FAnimation->setStartValue(FOffset);
    FAnimation->setEndValue(target);
    FAnimation->start();
    UpdateGeometry();
}

void TDrawer::paintEvent(QPaintEvent*)
{
    if (FOffset <= 0)
        return;
    QPainter painter(this);
    QColor shade(Qt::black);
    shade.setAlphaF(float(ShadeOpacity * FOffset / PanelWidth));
    painter.fillRect(QRect(int(std::lround(FOffset)), 0, width(), height()), shade);
}

void TDrawer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FAnimation->stop();
    FTracking = true;
    FDragged = false;
    FPressPos = event->position();
    FPressOffset = FOffset;
    FSamples = {{FClock.elapsed(), FPressPos.x()}};
    UpdateGeometry();
}

void TDrawer::mouseMoveEvent(QMouseEvent* event)
{
    if (!FTracking)
        return;
    const QPointF p = event->position();
    const qint64 now = FClock.elapsed();
    FSamples.append({now, p.x()});
    while (FSamples.size() > 2 && now - FSamples.first().first > SpeedWindowMs)
        FSamples.removeFirst();
    if (!FDragged && (p - FPressPos).manhattanLength() >= ClickSlop)
        FDragged = true;
    if (FDragged)
        SetOffset(FPressOffset + (p.x() - FPressPos.x()));
}

void TDrawer::mouseReleaseEvent(QMouseEvent* event)
{
    if (!FTracking || event->button() != Qt::LeftButton)
        return;
    FTracking = false;
    const QPointF p = event->position();
    if (!FDragged) {
        // A click: on the shade it closes the drawer; in the closed strip it does nothing.
        const bool onShade = FPressOffset > 0 && p.x() >= FOffset;
        SlideTo(onShade ? 0 : FPressOffset, SlideMs);
        return;
    }
    const qint64 now = FClock.elapsed();
    FSamples.append({now, p.x()});
    while (FSamples.size() > 2 && now - FSamples.first().first > SpeedWindowMs)
        FSamples.removeFirst();
    const qint64 span = FSamples.last().first - FSamples.first().first;
    const double speed = span > 0 ? (FSamples.last().second - FSamples.first().second) * 1000.0 / span : 0.0;

    qreal target;
    if (std::abs(speed) >= FlingSpeed)
        target = speed > 0 ? PanelWidth : 0;
    else
        target = FOffset >= OpenShare * PanelWidth ? PanelWidth : 0;
    const double remaining = std::abs(target - FOffset);
    // A fast release finishes at its own speed; a slow one takes its share of the full slide.
    const int ms = std::abs(speed) >= FlingSpeed
                       ? int(qMin<double>(SlideMs, remaining * 1000.0 / std::abs(speed)))
                       : int(SlideMs * remaining / PanelWidth);
    SlideTo(target, ms);
}
