#ifndef TENARAI_REFERENCES_REFERENCEDECK_H
#define TENARAI_REFERENCES_REFERENCEDECK_H

#include <QRandomGenerator>
#include <QStringList>
#include <optional>
#include <vector>

/**
 * @brief The order in which references are shown: a shuffled deck. Every image is shown once
 * before any is shown again; each new round is shuffled afresh and never starts with the image
 * that ended the round before. Images found while a round is under way join its unshown part.
 *
 * The next image is drawn uniformly from the round's unshown ones when it is asked for, which
 * is a shuffle, so adding an image costs the same however many there are.
 */
class TReferenceDeck final
{
public:
    explicit TReferenceDeck(quint32 seed = QRandomGenerator::global()->generate());

    void Add(const QStringList& images);
    // An image that turned out unreadable leaves the deck.
    void Remove(const QString& image);
    // The next image, which then counts as shown; nothing when the deck is empty.
    std::optional<QString> Next();
    // The image Next will give, for decoding it ahead; nothing when the deck is empty.
    std::optional<QString> Upcoming();
    qsizetype Size() const { return FAll.size(); }
    bool IsEmpty() const { return FAll.isEmpty(); }

private:
    // Takes the next image out of the round's unshown ones, starting a new round when needed.
    std::optional<QString> Draw();

    QStringList FAll;
    std::vector<QString> FUnshown;    // this round's, in no order
    std::optional<QString> FUpcoming; // drawn already and announced: it may be decoding ahead
    QString FLast;                    // the image shown last
    QRandomGenerator FRandom;
};

#endif
