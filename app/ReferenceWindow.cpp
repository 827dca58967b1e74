#include "app/ReferenceWindow.h"

#include "app/Settings.h"
#include "app/WindowPlace.h"
#include "references/ReferenceImage.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

TReferenceWindow::TReferenceWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), FMenu(new QMenu(this)),
      FGrey(FMenu->addAction(QStringLiteral("白黒"))), FMirror(FMenu->addAction(QStringLiteral("左右反転"))),
      FOnTop(FMenu->addAction(QStringLiteral("常に手前に表示")))
{
    setObjectName(QStringLiteral("ReferenceWindow"));
    setWindowTitle(QStringLiteral("参考画像"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The keys belong to the main window: opening references must not take them away.
    setAttribute(Qt::WA_ShowWithoutActivating);
    FGrey->setObjectName(QStringLiteral("GreyCommand"));
    FMirror->setObjectName(QStringLiteral("MirrorCommand"));
    FOnTop->setObjectName(QStringLiteral("OnTopCommand"));
    FMenu->addSeparator();
    QAction* skip = FMenu->addAction(QStringLiteral("スキップ"));
    skip->setObjectName(QStringLiteral("SkipCommand"));
    connect(skip, &QAction::triggered, this, &TReferenceWindow::SkipRequested);

    const std::unique_ptr<QSettings> settings = OpenSettings();
    for (auto [action, key] :
         {std::pair{FGrey, Settings::ReferenceGrey}, std::pair{FMirror, Settings::ReferenceMirror},
          std::pair{FOnTop, Settings::ReferenceOnTop}}) {
        action->setCheckable(true);
        action->setChecked(settings->value(QLatin1String(key), false).toBool());
        connect(action, &QAction::toggled, this,
                [key = key](bool on) { OpenSettings()->setValue(QLatin1String(key), on); });
    }
    connect(FGrey, &QAction::toggled, this, &TReferenceWindow::ViewChanged);
    connect(FMirror, &QAction::toggled, this, &TReferenceWindow::ViewChanged);
    connect(FOnTop, &QAction::toggled, this, &TReferenceWindow::SetOnTop);
    if (FOnTop->isChecked())
        setWindowFlag(Qt::WindowStaysOnTopHint, true);

    if (!restoreGeometry(settings->value(QLatin1String(Settings::ReferenceGeometry)).toByteArray()))
        setGeometry(PlaceBeside(mainWindow, 0.75));
}

TReferenceWindow::~TReferenceWindow() = default;

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

void TReferenceWindow::ShowImage(const QImage& image)
{
    FImage = image;
    ViewChanged();
}

void TReferenceWindow::SetNotice(const QString& text)
{
    FNotice = text;
    update();
}

void TReferenceWindow::ViewChanged()
{
    FView = FImage.isNull() ? QImage() : ViewOfReference(FImage, Grey(), Mirror());
    update();
}

void TReferenceWindow::SetOnTop(bool on)
{
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show(); // changing the flags hides a window
}

void TReferenceWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x30, 0x30, 0x30));
    if (!FNotice.isEmpty()) {
        QFont font = painter.font();
        font.setPixelSize(qBound(14, height() / 12, 48));
        painter.setFont(font);
        painter.setPen(QColor(0xf0, 0xf0, 0xf0));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, FNotice);
        return;
    }
    if (FView.isNull())
        return;
    const QSize fitted = FView.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, FView);
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
