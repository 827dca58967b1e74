#ifndef TENARAI_REFERENCES_REFERENCEDECK_H
#define TENARAI_REFERENCES_REFERENCEDECK_H

#include <QRandomGenerator>
#include <QStringList>
#include <optional>

/**
 * @brief The order in which references are shown: a shuffled deck. Every image is shown once
 * before any is shown again; each new round is shuffled afresh and never starts with the image
 * that ended the round before. Images found while a round is under way join its unshown part.
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
    void StartRoundIfDone();

    QStringList FAll;
    QStringList FRound;      // this round's unshown images, the next one first
    QString FLast;           // the image shown last
    bool FAnnounced = false; // Upcoming has named FRound's first image
    QRandomGenerator FRandom;
};

#endif
