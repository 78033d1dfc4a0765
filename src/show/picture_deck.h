// Pictures dealt from a folder, one hand at a time (a picture for each monitor): a picture
// comes again only once every picture has been dealt, the pictures of a hand differ while the
// folder has enough, and each monitor gets another picture than the one it shows. Pictures
// that cannot be shown are taken out as they are met.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <vector>

class PictureDeck {
  public:
    PictureDeck(size_t count, uint32_t seed);

    // The next picture of the round that avoid does not hold; when the round holds none, a
    // new round of every picture left, shuffled, begins. Nothing (and nothing dealt) when no
    // picture left is outside avoid.
    std::optional<size_t> next(const std::vector<size_t>& avoid);

    // Takes a picture out for good.
    void remove(size_t picture);

    // How many pictures are left in the deck.
    size_t left() const { return left_; }

  private:
    void newRound();

    std::vector<size_t> round_; // pictures yet to deal this round, dealt from the back
    std::vector<bool> removed_;
    size_t left_;
    std::mt19937 random_;
};

// Deals a picture for each of the monitors, which show the pictures shown (empty at the start):
// different from every picture shown and from each other when the deck has enough; else
// different from the monitor's own and the hand's; else from the hand's; else any. A picture
// for which show(picture, monitor) is false is taken out and another dealt. Ends early,
// shorter, when the deck runs out of pictures.
std::vector<size_t> dealHand(PictureDeck& deck, size_t monitors, const std::vector<size_t>& shown,
                             const std::function<bool(size_t picture, size_t monitor)>& show);
