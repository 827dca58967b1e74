#include "app/ThumbnailList.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QTimer>
#include <utility>

namespace {
constexpr int kImageRole = Qt::UserRole + 1;

class TEntryDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), TThumbnailListView::EntryHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect row = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(row, selected ? option.palette.highlight() : option.palette.base());

        const int side = TThumbnailListView::EntryHeight;
        const QRect imageRect(row.left(), row.top(), qMin(side, row.width()), side);
        p->setRenderHint(QPainter::SmoothPixmapTransform, true);
        p->drawImage(imageRect, index.data(kImageRole).value<QImage>());

        // The row is narrower than the image and a text beside it, so the time sits on a pale
        // band across the image's foot, where the drawing is seldom busy.
        QFont font = option.font;
        font.setPixelSize(TThumbnailListView::TextSize);
        p->setFont(font);
        const int band = QFontMetrics(font).height() + 4;
        const QRect textRect(imageRect.left(), imageRect.bottom() - band + 1, imageRect.width(), band);
        p->fillRect(textRect, QColor(255, 255, 255, 200));
        p->setPen(Qt::black);
        p->drawText(textRect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());

        // The accessory mark at the right edge.
        const int right = row.right() - 6;
        const int midY = row.center().y();
        QPainterPath chevron;
        chevron.moveTo(right - 5, midY - 6);
        chevron.lineTo(right, midY);
        chevron.lineTo(right - 5, midY + 6);
        p->setRenderHint(QPainter::Antialiasing, true);
        p->setPen(QPen(selected ? option.palette.highlightedText().color() : QColor(120, 120, 120), 2));
        p->drawPath(chevron);
        p->restore();
    }
};
} // namespace

TThumbnailListView::TThumbnailListView(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new TEntryDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
}

void TThumbnailListView::AddEntry(const QImage& image, const QString& text)
{
    auto* item = new QListWidgetItem(text, this);
    item->setData(kImageRole, image);
    setCurrentRow(count() - 1);
    // Scrolling lays out every entry: once for all the entries added in one go (thousands when
    // a practice is recovered), on the next turn of the event loop.
    if (std::exchange(FScrollDue, true))
        return;
    QTimer::singleShot(0, this, [this] {
        FScrollDue = false;
        if (count() > 0)
            scrollToItem(this->item(count() - 1));
    });
}
