#ifndef TENARAI_APP_THUMBNAILLIST_H
#define TENARAI_APP_THUMBNAILLIST_H

#include <QListWidget>

// The drawer's list of finished drawings: one 128-unit row each, its image at the left and its
// time over the image's foot; for viewing only.
class TThumbnailListView final : public QListWidget
{
    Q_OBJECT
public:
    static constexpr int EntryHeight = 128;
    static constexpr int TextSize = 11;

    explicit TThumbnailListView(QWidget* parent);

    // Appends an entry, selects it and scrolls it into view.
    void AddEntry(const QImage& image, const QString& text);

private:
    bool FScrollDue = false;
};

#endif
