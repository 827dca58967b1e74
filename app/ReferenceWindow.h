#ifndef TENARAI_APP_REFERENCEWINDOW_H
#define TENARAI_APP_REFERENCEWINDOW_H

#include <QImage>
#include <QWidget>

class QAction;
class QMenu;

/**
 * @brief The "参考画像" window: the current reference scaled to fit with its aspect kept, in
 * grey or mirrored as its own menu says. Its place and size, and the menu's choices, are
 * remembered; the first time it opens beside the main window, never over it.
 */
class TReferenceWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit TReferenceWindow(QWidget* mainWindow);
    ~TReferenceWindow() override;

    void ShowImage(const QImage& image);
    // A text shown instead of the image while it is not empty ("休憩").
    void SetNotice(const QString& text);
    const QString& Notice() const { return FNotice; }
    bool Grey() const;
    bool Mirror() const;
    // What is on screen, as shown (for tests).
    const QImage& View() const { return FView; }
    // The size to decode references at: the window's in device pixels.
    QSize DecodeBox() const;

signals:
    void SkipRequested();
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ViewChanged();
    void SetOnTop(bool on);

    QImage FImage;
    QImage FView;
    QString FNotice;
    QMenu* FMenu;
    QAction* FGrey;
    QAction* FMirror;
    QAction* FOnTop;
};

#endif
