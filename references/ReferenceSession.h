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

private:
    struct TDecoded
    {
        QString Path;
        QImage Image;
    };
    void ImagesFound(const QStringList& images);
    void ScanFinished(int images);
    void Decoded();
    void DecodeAhead();
    QFuture<TDecoded> Decode(const QString& path) const;

    QString FFolder;
    TReferenceDeck FDeck;
    TReferenceScan FScan;
    QString FCurrent;
    QSize FBox{1024, 1024};
    bool FReadAhead = true;
    bool FWaiting = false;     // an image is due and none is on its way (the deck was empty)
    bool FOnItsWay = false;    // an image is decoding to be shown
    bool FNextPending = false; // Next was asked while an image was on its way
    QFutureWatcher<TDecoded> FShowing;
    QFuture<TDecoded> FAhead;
    QString FAheadPath;
    QSize FAheadBox;
};

#endif
