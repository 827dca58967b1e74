#include "app/SaveProgress.h"

#include "app/CountdownBar.h"
#include "export/ResultSheets.h"

#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <exception>
#include <thread>

TSaveProgress::TSaveProgress(QWidget* window) : QObject(window), FWindow(window), FLabel(new QLabel(window))
{
    setObjectName(QStringLiteral("SaveProgress"));
    FLabel->setObjectName(QStringLiteral("SaveProgressText"));
    FLabel->setAlignment(Qt::AlignCenter);
    FLabel->setAutoFillBackground(true);
    FLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = FLabel->font();
    font.setPixelSize(TCountdownBar::BarHeight - 5);
    FLabel->setFont(font);
    FLabel->hide();
    window->installEventFilter(this);
}

QStringList TSaveProgress::Save(const QList<TFinishedDrawing>& drawings, const QDateTime& now,
                                const QString& folder)
{
    return Run([&](const TReport& report) { return SaveResultSheets(drawings, now, {}, folder, report); });
}

QStringList TSaveProgress::Run(const TSave& save)
{
    FRunning = true;
    Show(0, 0);
    QEventLoop loop;
    QStringList written;
    std::exception_ptr failure;
    QPointer<TSaveProgress> self(this);
    const TReport report = [self](int done, int total) {
        QMetaObject::invokeMethod(
            self,
            [self, done, total] {
                if (self && self->FRunning)
                    self->Show(done, total);
            },
            Qt::QueuedConnection);
    };
    std::thread worker([&] {
        try {
            written = save(report);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Painting, timers and the window system go on; keys and clicks wait for the save's end.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    FRunning = false;
    FLabel->hide();
    if (failure)
        std::rethrow_exception(failure);
    return written;
}

void TSaveProgress::Show(int done, int total)
{
    FLabel->setText(total > 0 ? QStringLiteral("保存中 %1/%2").arg(done).arg(total)
                              : QStringLiteral("保存中"));
    Place();
    FLabel->show();
    FLabel->raise();
}

void TSaveProgress::Place()
{
    const int h = TCountdownBar::BarHeight;
    const int w = qMax(FLabel->sizeHint().width() + 12,
                       FLabel->fontMetrics().horizontalAdvance(QStringLiteral("保存中 000/000")) + 12);
    FLabel->setGeometry(0, FWindow->height() - h, w, h);
}

bool TSaveProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FWindow && event->type() == QEvent::Resize && FLabel->isVisible())
        Place();
    return QObject::eventFilter(watched, event);
}
