#include "app/reviewer/ReviewWindow.h"

#include "app/reviewer/PairView.h"
#include "app/Settings.h"
#include "app/WindowPlace.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStackedLayout>
#include <QtConcurrent>

namespace {
constexpr int kIconSide = 150; // each half of a grid entry
constexpr int kGap = 6;

// A grid entry's picture: the drawing, and beside it the reference (grey while it is read).
QImage EntryImage(const TReviewPair& pair)
{
    const int width = pair.HasReference ? 2 * kIconSide + kGap : kIconSide;
    QImage image(width, kIconSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(0, 0, kIconSide, kIconSide), pair.Drawing);
    if (pair.HasReference) {
        const QRect cell(kIconSide + kGap, 0, kIconSide, kIconSide);
        painter.fillRect(cell, pair.Reference.isNull() ? QColor(0xc8, 0xc8, 0xc8) : QColor(Qt::white));
        if (!pair.Reference.isNull())
            painter.drawImage(cell, pair.Reference);
    }
    return image;
}
} // namespace

TReviewWindow::TReviewWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), FPages(new QStackedLayout(this)), FGrid(new QListWidget(this)),
      FLargePage(new QWidget(this)), FLarge(new TPairView(FLargePage)),
      FOverlayButton(new QPushButton(tr("重ねる"), FLargePage)),
      FOpacity(new QSlider(Qt::Horizontal, FLargePage)),
      FFitButton(new QPushButton(tr("合わせる"), FLargePage)), FStatus(new QLabel(FLargePage))
{
    setObjectName(QStringLiteral("ReviewWindow"));
    setWindowTitle(tr("振り返り"));
    FGrid->setObjectName(QStringLiteral("ReviewGrid"));
    FGrid->setViewMode(QListView::IconMode);
    FGrid->setIconSize(QSize(2 * kIconSide + kGap, kIconSide));
    FGrid->setGridSize(QSize(2 * kIconSide + kGap + 12, kIconSide + 34));
    FGrid->setResizeMode(QListView::Adjust);
    FGrid->setMovement(QListView::Static);
    FGrid->setUniformItemSizes(true);
    connect(FGrid, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenPair(FGrid->row(item)); });
    connect(FGrid, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenPair(FGrid->row(item)); });

    FOverlayButton->setObjectName(QStringLiteral("OverlayButton"));
    FOverlayButton->setCheckable(true);
    FOverlayButton->setShortcut(QKeySequence(Qt::Key_O));
    connect(FOverlayButton, &QPushButton::toggled, FLarge, &TPairView::SetOverlay);
    FOpacity->setObjectName(QStringLiteral("ReferenceOpacity"));
    FOpacity->setRange(0, 100);
    FOpacity->setValue(60);
    FOpacity->setToolTip(tr("参考画像の濃さ"));
    connect(FOpacity, &QSlider::valueChanged, this, [this](int value) { FLarge->SetOpacity(value / 100.0); });
    FFitButton->setObjectName(QStringLiteral("FitButton"));
    FFitButton->setShortcut(QKeySequence(Qt::Key_F));
    connect(FFitButton, &QPushButton::clicked, this, &TReviewWindow::FitCommandExecute);
    connect(&FFitting, &QFutureWatcher<TFitResult>::finished, this, &TReviewWindow::FitDone);
    FStatus->setObjectName(QStringLiteral("FitStatus"));
    auto* controls = new QHBoxLayout;
    controls->addWidget(FOverlayButton);
    controls->addWidget(new QLabel(tr("参考画像の濃さ"), FLargePage));
    controls->addWidget(FOpacity, 1);
    controls->addWidget(FFitButton);
    controls->addWidget(FStatus, 1);
    auto* page = new QVBoxLayout(FLargePage);
    page->addWidget(FLarge, 1);
    page->addLayout(controls);
    FPages->addWidget(FGrid);
    FPages->addWidget(FLargePage);

    if (!restoreGeometry(OpenSettings()->value(QLatin1String(Settings::ReviewGeometry)).toByteArray()))
        setGeometry(PlaceBeside(mainWindow, 1.0));
}

TReviewWindow::~TReviewWindow()
{
    FFitting.waitForFinished();
}

void TReviewWindow::AddPair(const TReviewPair& pair)
{
    FPairs.append(pair);
    auto* item = new QListWidgetItem(FGrid);
    item->setText(pair.Caption);
    UpdateEntry(FPairs.size() - 1);
    if (!FGrid->currentItem())
        FGrid->setCurrentRow(0);
}

void TReviewWindow::SetReference(int index, const QImage& reference)
{
    if (index < 0 || index >= FPairs.size())
        return;
    FPairs[index].Reference = reference;
    UpdateEntry(index);
    if (index == FOpen)
        FLarge->SetPair(FPairs[index]);
}

void TReviewWindow::UpdateEntry(int index)
{
    // Selected, the entry keeps its true colours: the frame and the caption show the selection.
    QIcon icon;
    const QPixmap picture = QPixmap::fromImage(EntryImage(FPairs[index]));
    icon.addPixmap(picture, QIcon::Normal);
    icon.addPixmap(picture, QIcon::Selected);
    FGrid->item(index)->setIcon(icon);
}

void TReviewWindow::Clear()
{
    FPairs.clear();
    FGrid->clear();
    OpenPair(-1);
}

void TReviewWindow::OpenPair(int index)
{
    FOpen = index >= 0 && index < FPairs.size() ? index : -1;
    FStatusText.clear();
    FStatus->clear();
    if (FOpen < 0) {
        FPages->setCurrentWidget(FGrid);
        FGrid->setFocus();
        return;
    }
    FLarge->SetPair(FPairs[FOpen]);
    FFitButton->setEnabled(FPairs[FOpen].HasReference);
    FOverlayButton->setEnabled(FPairs[FOpen].HasReference);
    FPages->setCurrentWidget(FLargePage);
    FLarge->setFocus();
}

bool TReviewWindow::PairOpen() const
{
    return FOpen >= 0;
}

const QString& TReviewWindow::FitMessage() const
{
    return FStatusText;
}

void TReviewWindow::FitCommandExecute()
{
    if (FOpen < 0 || FFitting.isRunning() || FPairs[FOpen].Reference.isNull())
        return;
    const TReviewPair pair = FPairs[FOpen];
    FStatusText = tr("合わせています…");
    FStatus->setText(FStatusText);
    FFitting.setFuture(QtConcurrent::run([pair] { return FitDrawing(pair.Drawing, pair.Reference); }));
}

void TReviewWindow::FitDone()
{
    const TFitResult fit = FFitting.result();
    if (fit.Found) {
        FLarge->SetFrame(fit.Frame);
        FOverlayButton->setChecked(true);
        FStatusText.clear();
    } else {
        FStatusText = tr("合わせられませんでした");
    }
    FStatus->setText(FStatusText);
}

void TReviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (PairOpen())
            OpenPair(-1);
        else
            hide();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !PairOpen()) {
        OpenPair(FGrid->currentRow());
        return;
    }
    QWidget::keyPressEvent(event);
}

void TReviewWindow::hideEvent(QHideEvent* event)
{
    OpenSettings()->setValue(QLatin1String(Settings::ReviewGeometry), saveGeometry());
    QWidget::hideEvent(event);
}
