#include "references/ReferenceSession.h"

#include "references/ReferenceImage.h"

#include <QtConcurrent/QtConcurrentRun>

TReferenceSession::TReferenceSession(QString folder, quint32 seed, QObject* parent)
    : QObject(parent), FFolder(std::move(folder)), FDeck(seed)
{
    connect(&FScan, &TReferenceScan::Found, this, &TReferenceSession::ImagesFound);
    connect(&FScan, &TReferenceScan::Finished, this, &TReferenceSession::ScanFinished);
    connect(&FShowing, &QFutureWatcher<TDecoded>::finished, this, &TReferenceSession::Decoded);
    FWaiting = true; // the first image found is shown
    FScan.Start(FFolder);
}

TReferenceSession::~TReferenceSession()
{
    FScan.Stop();
    FShowing.waitForFinished();
    FAhead.waitForFinished();
}

void TReferenceSession::SetBox(QSize box)
{
    if (!box.isEmpty())
        FBox = box;
}

QFuture<TReferenceSession::TDecoded> TReferenceSession::Decode(const QString& path) const
{
    return QtConcurrent::run([path, box = FBox] {
        TDecoded decoded{path, ReadReference(path, box), {}};
        // The cell copy comes from the shown image when that is large enough, else from the file.
        const QSize cellBox(Reference::CellSide, Reference::CellSide);
        const QImage& image = decoded.Image;
        if (image.width() >= cellBox.width() || image.height() >= cellBox.height())
            decoded.Cell = image.width() <= cellBox.width() && image.height() <= cellBox.height()
                               ? image
                               : image.scaled(cellBox, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        else if (!image.isNull())
            decoded.Cell = ReadReference(path, cellBox);
        return decoded;
    });
}

void TReferenceSession::ImagesFound(const QStringList& images)
{
    FDeck.Add(images);
    if (FWaiting && !FOnItsWay)
        Next();
    else if (!FAhead.isValid() && !FOnItsWay)
        DecodeAhead(); // the second image found
}

void TReferenceSession::ScanFinished(int images, int unreadable)
{
    FScanned = true;
    FSkipped += unreadable;
    if (images == 0 && FDeck.IsEmpty()) {
        emit NothingToShow(FFolder);
        return;
    }
    if (FSkipped > 0)
        emit Skipped(FSkipped);
}

void TReferenceSession::Next()
{
    if (FOnItsWay) {
        FNextPending = true; // the one on its way is shown first, then this Next follows
        return;
    }
    FWaiting = true;
    const std::optional<QString> path = FDeck.Next();
    if (!path)
        return;
    // The image decoded ahead serves when it is the one due, decoded for this size; if it is
    // still decoding it is shown when done.
    const bool ahead = FAhead.isValid() && FAheadPath == *path && FAheadBox == FBox;
    FOnItsWay = true;
    FShowing.setFuture(ahead ? FAhead : Decode(*path));
    FAhead = {};
}

void TReferenceSession::Decoded()
{
    if (!std::exchange(FOnItsWay, false) || FShowing.future().resultCount() == 0)
        return;
    const TDecoded decoded = FShowing.result();
    if (decoded.Image.isNull()) {
        // Unreadable after all: it leaves the deck, and the next one is tried.
        FDeck.Remove(decoded.Path);
        ++FSkipped;
        if (FScanned)
            emit Skipped(FSkipped);
        if (FDeck.IsEmpty() && !FScan.IsRunning())
            emit NothingToShow(FFolder);
        Next();
        return;
    }
    FWaiting = false;
    FCurrent = decoded.Path;
    FCurrentCell = decoded.Cell.isNull() ? decoded.Image : decoded.Cell;
    emit Shown(decoded.Path, decoded.Image);
    if (std::exchange(FNextPending, false)) {
        Next();
        return;
    }
    DecodeAhead();
}

void TReferenceSession::DecodeAhead()
{
    if (!FReadAhead)
        return;
    const std::optional<QString> upcoming = FDeck.Upcoming();
    if (!upcoming || FDeck.Size() < 2)
        return;
    FAheadPath = *upcoming;
    FAheadBox = FBox;
    FAhead = Decode(*upcoming);
}
