#include "app/WindowPlace.h"

#include <QScreen>
#include <QWidget>

namespace {
constexpr int kGap = 8;         // between the main window and the other
constexpr int kNarrowest = 200; // narrower than this a window is not worth showing
} // namespace

QRect PlaceBeside(const QWidget* mainWindow, double widthPerHeight)
{
    const QRect main = mainWindow->frameGeometry();
    const QScreen* screen = mainWindow->screen();
    const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    const int height = qMin(main.height(), free.height());
    const int wanted = qMax(kNarrowest, int(height * widthPerHeight));
    const int right = free.right() - (main.right() + kGap);
    const int left = (main.left() - kGap) - free.left();
    int width = wanted;
    int x = main.right() + 1 + kGap;
    if (right < wanted && left >= wanted) {
        x = main.left() - kGap - wanted;
    } else if (right < wanted) {
        const bool useRight = right >= left;
        width = qMax(kNarrowest, useRight ? right : left);
        x = useRight ? main.right() + 1 + kGap : main.left() - kGap - width;
    }
    return QRect(x, qMax(free.top(), main.top()), width, height);
}
