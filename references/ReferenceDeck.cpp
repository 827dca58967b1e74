#include "references/ReferenceDeck.h"

TReferenceDeck::TReferenceDeck(quint32 seed) : FRandom(seed)
{}

void TReferenceDeck::Add(const QStringList& images)
{
    for (const QString& image : images) {
        FAll << image;
        // Never in front of the image already upcoming: it may be decoding ahead.
        if (!FRound.isEmpty())
            FRound.insert(1 + qsizetype(FRandom.bounded(quint32(FRound.size()))), image);
    }
}

void TReferenceDeck::Remove(const QString& image)
{
    FAll.removeAll(image);
    FRound.removeAll(image);
}

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
    return FRound.first();
}

std::optional<QString> TReferenceDeck::Next()
{
    StartRoundIfDone();
    if (FRound.isEmpty())
        return std::nullopt;
    FLast = FRound.takeFirst();
    return FLast;
}
