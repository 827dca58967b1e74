#include "app/BottomBand.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int kTopBand = 49;   // the height of the buttons along the top
constexpr int kBesideMin = 80; // narrower than this beside the canvas, the band goes below it
} // namespace

TBottomBand::TBottomBand(QWidget* window) : QObject(window), FLayout(std::make_unique<QHBoxLayout>())
{
    setObjectName(QStringLiteral("BottomBand"));
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
}

TBottomBand::~TBottomBand() = default;

void TBottomBand::Add(QWidget* item, TSlot slot)
{
    FItems << qMakePair(slot, item);
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    while (QLayoutItem* old = FLayout->takeAt(0))
        delete old;
    // A spacer before the marks keeps them at the right edge while the countdown is hidden.
    bool spaced = false;
    for (const auto& [at, widget] : std::as_const(FItems)) {
        if (at == TSlot::Mark && !spaced) {
            FLayout->addStretch(0);
            spaced = true;
        }
        FLayout->addWidget(widget, at == TSlot::Countdown ? 1 : 0);
    }
    if (!spaced)
        FLayout->addStretch(0);
    item->setFixedHeight(Height);
    item->installEventFilter(this);
    Relayout();
}

void TBottomBand::Place(QSize window, QRect canvas)
{
    const int y = qMax(kTopBand, window.height() - Height);
    const int right = window.width() - (canvas.right() + 1);
    if (window.height() - (canvas.bottom() + 1) >= Height || right < kBesideMin)
        FRect = QRect(0, y, window.width(), Height);
    else
        FRect = QRect(canvas.right() + 1, y, right, Height);
    Relayout();
}

void TBottomBand::Relayout()
{
    if (FLaying || FRect.isEmpty())
        return;
    const QScopedValueRollback laying(FLaying, true);
    FLayout->invalidate();
    FLayout->setGeometry(FRect);
    for (int i = 0; i < FLayout->count(); ++i)
        if (QWidget* item = FLayout->itemAt(i)->widget(); item && item->isVisible())
            item->raise();
}

bool TBottomBand::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::LayoutRequest:
        Relayout();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
