#include "app/study/ReferenceWindow.h"

#include "app/Settings.h"
#include "references/GridPainter.h"
#include "app/WindowPlace.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QtConcurrent>

namespace {
constexpr double kMostZoom = 8;

quint32 KeyOf(const TReferenceView& v)
{
    return quint32(v.Grey) | quint32(v.Mirror) << 1 | quint32(v.Flip) << 2 | quint32(v.Blur) << 3 |
           quint32(v.Tones) << 4;
}

} // namespace

TReferenceWindow::TReferenceWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), FMenu(new QMenu(this)),
      FGrey(FMenu->addAction(tr("白黒"))), FMirror(FMenu->addAction(tr("左右反転"))),
      FFlip(FMenu->addAction(tr("上下反転"))), FBlur(nullptr), FOnTop(nullptr)
{
    setObjectName(QStringLiteral("ReferenceWindow"));
    setWindowTitle(tr("参考画像"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The keys belong to the main window: opening references must not take them away.
    setAttribute(Qt::WA_ShowWithoutActivating);
    FTones = Choices(
        FMenu->addMenu(tr("階調")), Settings::ReferenceTones,
        {{tr("そのまま"), 0}, {tr("2階調"), 2}, {tr("3階調"), 3}});
    FBlur = FMenu->addAction(tr("ぼかし"));
    FGrids = Choices(FMenu->addMenu(tr("グリッド")), nullptr,
                     {{tr("なし"), 0}, {QStringLiteral("3×3"), 3}, {QStringLiteral("4×4"), 4}});
    FMemory = Choices(FMenu->addMenu(tr("記憶で描く")), Settings::ReferenceMemory,
                      {{tr("なし"), 0},
                       {tr("5秒"), 5},
                       {tr("10秒"), 10},
                       {tr("30秒"), 30}});
    FOnTop = FMenu->addAction(tr("常に手前に表示"));
    FGrey->setObjectName(QStringLiteral("GreyCommand"));
    FMirror->setObjectName(QStringLiteral("MirrorCommand"));
    FFlip->setObjectName(QStringLiteral("FlipCommand"));
    FBlur->setObjectName(QStringLiteral("BlurCommand"));
    FOnTop->setObjectName(QStringLiteral("OnTopCommand"));
    FMenu->addSeparator();
    QAction* skip = FMenu->addAction(tr("スキップ"));
    skip->setObjectName(QStringLiteral("SkipCommand"));
    connect(skip, &QAction::triggered, this, &TReferenceWindow::SkipRequested);

    const std::unique_ptr<QSettings> settings = OpenSettings();
    for (auto [action, key] :
         {std::pair{FGrey, Settings::ReferenceGrey}, std::pair{FMirror, Settings::ReferenceMirror},
          std::pair{FFlip, Settings::ReferenceFlip}, std::pair{FBlur, Settings::ReferenceBlur},
          std::pair{FOnTop, Settings::ReferenceOnTop}}) {
        action->setCheckable(true);
        action->setChecked(settings->value(QLatin1String(key), false).toBool());
        connect(action, &QAction::toggled, this,
                [key = key](bool on) { OpenSettings()->setValue(QLatin1String(key), on); });
    }
    for (QAction* view : {FGrey, FMirror, FFlip, FBlur})
        connect(view, &QAction::toggled, this, &TReferenceWindow::ViewChanged);
    connect(FTones, &QActionGroup::triggered, this, &TReferenceWindow::ViewChanged);
    connect(FGrids, &QActionGroup::triggered, this,
            [this](QAction* entry) { emit GridChosen(entry->data().toInt()); });
    connect(FMemory, &QActionGroup::triggered, this, [this] {
        FHidden = false;
        StartMemoryTimer();
        update();
    });
    connect(FOnTop, &QAction::toggled, this, &TReferenceWindow::SetOnTop);
    if (FOnTop->isChecked())
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    FMemoryTimer.setSingleShot(true);
    connect(&FMemoryTimer, &QTimer::timeout, this, [this] {
        FHidden = true;
        update();
    });
    connect(&FComputing, &QFutureWatcher<QImage>::finished, this, [this] {
        FViews.insert(FComputingKey, FComputing.result());
        ViewChanged();
    });

    if (!restoreGeometry(settings->value(QLatin1String(Settings::ReferenceGeometry)).toByteArray()))
        setGeometry(PlaceBeside(mainWindow, 0.75));
}

TReferenceWindow::~TReferenceWindow()
{
    FComputing.waitForFinished();
}

QActionGroup* TReferenceWindow::Choices(QMenu* menu, const char* key,
                                        const QList<QPair<QString, int>>& entries)
{
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    const int chosen = key ? OpenSettings()->value(QLatin1String(key), 0).toInt() : 0;
    for (const auto& [text, value] : entries) {
        QAction* entry = menu->addAction(text);
        entry->setCheckable(true);
        entry->setData(value);
        entry->setChecked(value == chosen);
        group->addAction(entry);
    }
    if (key)
        connect(group, &QActionGroup::triggered, this,
                [key](QAction* entry) { OpenSettings()->setValue(QLatin1String(key), entry->data()); });
    return group;
}

QSize TReferenceWindow::DecodeBox() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

bool TReferenceWindow::Grey() const
{
    return FGrey->isChecked();
}

bool TReferenceWindow::Mirror() const
{
    return FMirror->isChecked();
}

TReferenceView TReferenceWindow::ViewSettings() const
{
    return {FGrey->isChecked(), FMirror->isChecked(), FFlip->isChecked(),
            FTones->checkedAction()->data().toInt(), FBlur->isChecked()};
}

void TReferenceWindow::SetGrid(int divisions)
{
    FGrid = divisions;
    for (QAction* entry : FGrids->actions())
        entry->setChecked(entry->data().toInt() == divisions);
    update();
}

void TReferenceWindow::ShowImage(const QImage& image)
{
    FImage = image;
    FViews.clear();
    FZoom = 1;
    FPan = {};
    FHidden = false;
    StartMemoryTimer();
    ViewChanged();
}

void TReferenceWindow::StartMemoryTimer()
{
    const int seconds = FMemory->checkedAction()->data().toInt();
    if (seconds > 0 && !FImage.isNull())
        FMemoryTimer.start(seconds * 1000);
    else
        FMemoryTimer.stop();
}

void TReferenceWindow::LookAgain()
{
    if (!FHidden)
        return;
    FHidden = false;
    StartMemoryTimer();
    update();
}

void TReferenceWindow::SetNotice(const QString& text)
{
    FNotice = text;
    update();
}

void TReferenceWindow::ViewChanged()
{
    const TReferenceView view = ViewSettings();
    const quint32 key = KeyOf(view);
    if (FImage.isNull()) {
        FView = {};
    } else if (const auto known = FViews.constFind(key); known != FViews.cend()) {
        FView = *known;
    } else if (!view.Blur && !view.Tones) {
        FView = ViewOfReference(FImage, view); // grey and turns are quick
        FViews.insert(key, FView);
    } else if (!FComputing.isRunning()) {
        FComputingKey = key;
        FComputing.setFuture(
            QtConcurrent::run([image = FImage, view] { return ViewOfReference(image, view); }));
    }
    update();
}

void TReferenceWindow::SetOnTop(bool on)
{
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show(); // changing the flags hides a window
}

QRectF TReferenceWindow::ImageRect() const
{
    if (FView.isNull())
        return {};
    const QSizeF fitted = QSizeF(FView.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio) * FZoom;
    const QPointF centre = QPointF(width() / 2.0, height() / 2.0) + FPan;
    return QRectF(centre - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

void TReferenceWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x30, 0x30, 0x30));
    const QString notice = !FNotice.isEmpty() ? FNotice
                           : FHidden          ? tr("記憶で描いてください")
                                              : QString();
    if (!notice.isEmpty()) {
        QFont font = painter.font();
        font.setPixelSize(qBound(14, height() / 12, 48));
        painter.setFont(font);
        painter.setPen(QColor(0xf0, 0xf0, 0xf0));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, notice);
        return;
    }
    if (FView.isNull())
        return;
    const QRectF target = ImageRect();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, FView);
    PaintStudyGrid(painter, target, FGrid);
}

void TReferenceWindow::wheelEvent(QWheelEvent* event)
{
    // Around the pointer: the point under it stays under it.
    const double zoom = qBound(1.0, FZoom * std::pow(1.2, event->angleDelta().y() / 120.0), kMostZoom);
    const QPointF centre = QPointF(width() / 2.0, height() / 2.0) + FPan;
    FPan += (event->position() - centre) * (1 - zoom / FZoom);
    FZoom = zoom;
    if (FZoom == 1)
        FPan = {};
    update();
}

void TReferenceWindow::mousePressEvent(QMouseEvent* event)
{
    FDragFrom = event->position();
}

void TReferenceWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || FZoom == 1)
        return;
    FPan += event->position() - FDragFrom;
    FDragFrom = event->position();
    update();
}

void TReferenceWindow::mouseDoubleClickEvent(QMouseEvent*)
{
    FZoom = 1;
    FPan = {};
    update();
}

void TReferenceWindow::contextMenuEvent(QContextMenuEvent* event)
{
    FMenu->popup(event->globalPos());
}

void TReferenceWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}

void TReferenceWindow::hideEvent(QHideEvent* event)
{
    OpenSettings()->setValue(QLatin1String(Settings::ReferenceGeometry), saveGeometry());
    QWidget::hideEvent(event);
}
