#ifndef TENARAI_REFERENCES_REFERENCESESSION_H
#define TENARAI_REFERENCES_REFERENCESESSION_H

#include "references/ReferenceDeck.h"
#include "references/ReferenceScan.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QSize>

/**
 * @brief The references of one folder: scanned in the background, dealt from a shuffled deck,
 * each decoded on a worker at the size it will be shown, and the next one decoded ahead so that
 * moving on shows it at once. The user-interface thread never waits for a file.
 */
class TReferenceSession final : public QObject
{
    Q_OBJECT
public:
    explicit TReferenceSession(QString folder, quint32 seed = QRandomGenerator::global()->generate(),
                               QObject* parent = nullptr);
    ~TReferenceSession() override;

    const QString& Folder() const { return FFolder; }
    // The image on show, by path; empty until the first is shown.
    const QString& Current() const { return FCurrent; }
    // The image on show as a sheet cell would take it: fitted into 512 × 512, never enlarged,
    // before any study aid; null until the first is shown.
    const QImage& CurrentCell() const { return FCurrentCell; }
    // Moves on to the next reference; Shown follows as soon as it is decoded.
    void Next();
    // The size references are decoded at: the view's size in device pixels.
    void SetBox(QSize box);
    // Whether moving on decodes the next reference ahead (the benchmark turns it off).
    void SetReadAhead(bool on) { FReadAhead = on; }

signals:
    void Shown(const QString& path, const QImage& image);
    // The scan ended without a single readable image.
    void NothingToShow(const QString& folder);
    // Image files were passed over because they could not be read: how many so far, once the
    // scan has ended and again whenever another one fails later.
    void Skipped(int images);

private:
    struct TDecoded
    {
        QString Path;
        QImage Image;
        QImage Cell;
    };
    void ImagesFound(const QStringList& images);
    void ScanFinished(int images, int unreadable);
    void Decoded();
    void DecodeAhead();
    QFuture<TDecoded> Decode(const QString& path) const;

    QString FFolder;
    TReferenceDeck FDeck;
    TReferenceScan FScan;
    QString FCurrent;
    QImage FCurrentCell;
    QSize FBox{1024, 1024};
    bool FReadAhead = true;
    int FSkipped = 0;          // images that could not be read
    bool FScanned = false;     // the scan has ended
    bool FWaiting = false;     // an image is due and none is on its way (the deck was empty)
    bool FOnItsWay = false;    // an image is decoding to be shown
    bool FNextPending = false; // Next was asked while an image was on its way
    QFutureWatcher<TDecoded> FShowing;
    QFuture<TDecoded> FAhead;
    QString FAheadPath;
    QSize FAheadBox;
};

#endif
