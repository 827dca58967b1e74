#include "references/ReferenceDeck.h"

TReferenceDeck::TReferenceDeck(quint32 seed) : FRandom(seed)
{}

void TReferenceDeck::Add(const QStringList& images)
{
    for (const QString& image : images) {
        FAll << image;
        // The round goes on with the new images among its unshown ones (a random insertion is
        // a shuffle), never in front of an image already announced as upcoming: it may be
        // decoding ahead.
        const quint32 first = FAnnounced && !FRound.isEmpty() ? 1 : 0;
        FRound.insert(qsizetype(first + FRandom.bounded(quint32(FRound.size()) + 1 - first)), image);
    }
}

void TReferenceDeck::Remove(const QString& image)
{
    FAll.removeAll(image);
    FRound.removeAll(image);
}

// A round ends when every image has been shown: images added during it joined its unshown part.
void TReferenceDeck::StartRoundIfDone()
{
    if (!FRound.isEmpty() || FAll.isEmpty())
        return;
    FRound = FAll;
    // Fisher–Yates.
    for (qsizetype i = FRound.size() - 1; i > 0; --i)
        FRound.swapItemsAt(i, qsizetype(FRandom.bounded(quint32(i + 1))));
    if (FRound.size() > 1 && FRound.first() == FLast)
        FRound.swapItemsAt(0, 1 + qsizetype(FRandom.bounded(quint32(FRound.size() - 1))));
}

std::optional<QString> TReferenceDeck::Upcoming()
{
    StartRoundIfDone();
    if (FRound.isEmpty())
        return std::nullopt;
    FAnnounced = true;
    return FRound.first();
}

std::optional<QString> TReferenceDeck::Next()
{
    StartRoundIfDone();
    if (FRound.isEmpty())
        return std::nullopt;
    FLast = FRound.takeFirst();
    FAnnounced = false;
    return FLast;
}
