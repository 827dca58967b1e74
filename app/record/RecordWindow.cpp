#include "app/record/RecordWindow.h"

#include "app/record/Calendar.h"
#include "app/DialogService.h"
#include "app/Settings.h"
#include "app/WindowPlace.h"
#include "history/History.h"
#include "practice/ElapsedTime.h"
#include "review/Pairs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QtConcurrent>

namespace {
QString TimeText(const std::optional<qint64>& ms)
{
    return ms ? TotalsText({0, *ms}).section(QStringLiteral(" · "), 1) : QStringLiteral("—");
}
} // namespace

TRecordWindow::TRecordWindow(QWidget* mainWindow, THistory& history, std::function<QDateTime()> now)
    : QWidget(mainWindow, Qt::Window), FHistory(history), FNow(std::move(now)),
      FCalendar(new TCalendarView(this)), FList(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("RecordWindow"));
    setWindowTitle(tr("練習の記録"));
    auto* layout = new QVBoxLayout(this);
    auto* totals = new QHBoxLayout;
    const char* names[] = {"TodayTotals", "WeekTotals", "MonthTotals", "AllTotals"};
    for (int i = 0; i < 4; ++i) {
        FTotals[i] = new QLabel(this);
        FTotals[i]->setObjectName(QLatin1String(names[i]));
        totals->addWidget(FTotals[i]);
    }
    layout->addLayout(totals);
    layout->addWidget(FCalendar);
    FList->setObjectName(QStringLiteral("PracticeList"));
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true);
    FList->setHeaderLabels({tr("日時"), tr("枚数"), tr("時間"),
                            tr("プラン"), tr("参考画像フォルダー")});
    FList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(FList, 1);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const char* name, void (TRecordWindow::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    button(tr("結果フォルダーを開く"), "OpenPracticeFolder", &TRecordWindow::OpenResultFolder);
    button(tr("CSV に書き出す…"), "ExportHistory", &TRecordWindow::ExportCommandExecute);
    button(tr("既存の結果を読み込む…"), "ImportHistory", &TRecordWindow::ImportCommandExecute);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(FList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OpenPractice(FList->indexOfTopLevelItem(item)); });
    connect(FCalendar, &TCalendarView::DayClicked, this, [this](QDate day) {
        for (int row = 0; row < FSummary.Practices.size(); ++row)
            if (FSummary.Practices[row].LocalDay() == day) {
                FList->setCurrentItem(FList->topLevelItem(row));
                FList->scrollToItem(FList->currentItem());
                return;
            }
    });
    connect(&FLoading, &QFutureWatcher<THistorySummary>::finished, this, [this] { Fill(FLoading.result()); });
    if (!restoreGeometry(OpenSettings()->value(QLatin1String(Settings::RecordGeometry)).toByteArray()))
        setGeometry(PlaceBeside(mainWindow, 1.0));
}

TRecordWindow::~TRecordWindow()
{
    FLoading.waitForFinished();
}

void TRecordWindow::Reload()
{
    FLoading.setFuture(FHistory.Summary(FNow().date()));
}

void TRecordWindow::Fill(const THistorySummary& summary)
{
    FSummary = summary;
    const TTotals* totals[] = {&summary.Today, &summary.Week, &summary.Month, &summary.All};
    const QString names[] = {tr("今日"), tr("今週"), tr("今月"),
                             tr("すべて")};
    for (int i = 0; i < 4; ++i)
        FTotals[i]->setText(names[i] + QLatin1Char(' ') + TotalsText(*totals[i]));
    FCalendar->SetDays(FNow().date(), summary.Days);
    FList->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(summary.Practices.size());
    for (const TPracticeRecord& p : summary.Practices) {
        const QDateTime local = p.SavedUtc.addSecs(qint64(p.UtcOffsetMin) * 60);
        items.append(new QTreeWidgetItem({local.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                                          QString::number(p.Drawings), TimeText(p.TotalMs), p.Plan,
                                          QDir::toNativeSeparators(p.ReferenceFolder)}));
    }
    FList->addTopLevelItems(items);
    if (!items.isEmpty())
        FList->setCurrentItem(items.first());
    FList->setFocus(); // Enter opens the newest practice
    emit Loaded();
}

void TRecordWindow::OpenPractice(int row)
{
    if (row < 0 || row >= FSummary.Practices.size())
        return;
    const TPracticeRecord practice = FSummary.Practices[row];
    auto* watcher = new QFutureWatcher<QList<TReviewPair>>(this);
    connect(watcher, &QFutureWatcher<QList<TReviewPair>>::finished, this, [this, watcher] {
        emit PracticeOpened(watcher->result());
        watcher->deleteLater();
    });
    // The drawings' rows come from the record's worker, the sheets are read on another.
    watcher->setFuture(
        FHistory.Drawings(practice.Id)
            .then(QtFuture::Launch::Async, [practice](const QList<TDrawingRecord>& rows) {
                QList<TSheetDrawing> drawings;
                for (const TDrawingRecord& row : rows)
                    drawings.append(
                        {QStringLiteral("%1 · %2")
                             .arg(row.Number)
                             .arg(row.DrawMs ? ElapsedTimeText(*row.DrawMs) : QStringLiteral("—")),
                         row.Sheet, row.Cell, row.Reference.value_or(QString()), row.Reference.has_value()});
                return PairsFromSheets(practice.ResultFolder, practice.Stamp, drawings);
            }));
}

void TRecordWindow::OpenResultFolder()
{
    const int row = FList->indexOfTopLevelItem(FList->currentItem());
    if (row < 0)
        return;
    const QString folder = FSummary.Practices[row].ResultFolder;
    if (!QFileInfo(folder).isDir() || !QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        ShowMessage(tr("結果フォルダーを開けませんでした。\n") +
                    QDir::toNativeSeparators(folder));
}

void TRecordWindow::ExportCommandExecute()
{
    const QString file = QFileDialog::getSaveFileName(
        this, tr("CSV に書き出す"), QDir::home().filePath(QStringLiteral("tenarai-history.csv")),
        QStringLiteral("CSV (*.csv)"));
    if (file.isEmpty())
        return;
    auto* watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [watcher] {
        if (!watcher->result().isEmpty())
            ShowMessage(tr("練習の記録を書き出せませんでした。\n") + watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(FHistory.ExportCsv(file));
}

void TRecordWindow::ImportCommandExecute()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("既存の結果を読み込む"));
    if (folder.isEmpty())
        return;
    auto* watcher = new QFutureWatcher<int>(this);
    connect(watcher, &QFutureWatcher<int>::finished, this, [this, watcher] {
        const int added = watcher->result();
        watcher->deleteLater();
        ShowMessage(added < 0 ? tr("既存の結果を読み込めませんでした。")
                              : tr("%n回の練習を記録に加えました。", nullptr, added));
        Reload();
    });
    watcher->setFuture(FHistory.Import(folder));
}

void TRecordWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TRecordWindow::hideEvent(QHideEvent* event)
{
    OpenSettings()->setValue(QLatin1String(Settings::RecordGeometry), saveGeometry());
    QWidget::hideEvent(event);
}
