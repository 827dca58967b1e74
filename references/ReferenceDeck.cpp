#include "references/ReferenceDeck.h"

#include <algorithm>

TReferenceDeck::TReferenceDeck(quint32 seed) : FRandom(seed)
{}

void TReferenceDeck::Add(const QStringList& images)
{
    FAll.append(images);
    FUnshown.insert(FUnshown.end(), images.begin(), images.end());
}

void TReferenceDeck::Remove(const QString& image)
{
    FAll.removeAll(image);
    FUnshown.erase(std::remove(FUnshown.begin(), FUnshown.end(), image), FUnshown.end());
    if (FUpcoming == image)
        FUpcoming.reset();
}

std::optional<QString> TReferenceDeck::Draw()
{
    // A round ends when every image has been shown: images added during it joined its unshown part.
    const bool newRound = FUnshown.empty();
    if (newRound)
        FUnshown.assign(FAll.begin(), FAll.end());
    if (FUnshown.empty())
        return std::nullopt;
    size_t pick = FRandom.bounded(quint32(FUnshown.size()));
    if (newRound && FUnshown.size() > 1 && FUnshown[pick] == FLast)
        pick = (pick + 1 + FRandom.bounded(quint32(FUnshown.size() - 1))) % FUnshown.size();
    std::swap(FUnshown[pick], FUnshown.back());
    QString image = std::move(FUnshown.back());
    FUnshown.pop_back();
    return image;
}

std::optional<QString> TReferenceDeck::Upcoming()
{
    if (!FUpcoming)
        FUpcoming = Draw();
    return FUpcoming;
}

std::optional<QString> TReferenceDeck::Next()
{
    std::optional<QString> image = FUpcoming ? std::exchange(FUpcoming, std::nullopt) : Draw();
    if (image)
        FLast = *image;
    return image;
}
