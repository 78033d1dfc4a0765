#include "show/picture_deck.h"

#include <algorithm>

PictureDeck::PictureDeck(size_t count, uint32_t seed)
    : removed_(count, false), left_(count), random_(seed) {}

void PictureDeck::newRound() {
    round_.clear();
    for (size_t picture = 0; picture < removed_.size(); ++picture) {
        if (!removed_[picture]) {
            round_.push_back(picture);
        }
    }
    std::shuffle(round_.begin(), round_.end(), random_);
}

std::optional<size_t> PictureDeck::next(const std::vector<size_t>& avoid) {
    auto avoided = [&](size_t picture) {
        return std::find(avoid.begin(), avoid.end(), picture) != avoid.end();
    };
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (size_t i = round_.size(); i-- > 0;) {
            if (!avoided(round_[i])) {
                const size_t picture = round_[i];
                round_.erase(round_.begin() + static_cast<std::ptrdiff_t>(i));
                return picture;
            }
        }
        // What is left of the round is on the screens or in the hand already.
        newRound();
    }
    return std::nullopt;
}

void PictureDeck::remove(size_t picture) {
    if (picture >= removed_.size() || removed_[picture]) {
        return;
    }
    removed_[picture] = true;
    --left_;
    round_.erase(std::remove(round_.begin(), round_.end(), picture), round_.end());
}

std::vector<size_t> dealHand(PictureDeck& deck, size_t monitors, const std::vector<size_t>& shown,
                             const std::function<bool(size_t picture, size_t monitor)>& show) {
    std::vector<size_t> hand;
    while (hand.size() < monitors && deck.left() > 0) {
        const size_t monitor = hand.size();
        // From the strictest choice to none at all.
        std::vector<size_t> avoid = hand;
        avoid.insert(avoid.end(), shown.begin(), shown.end());
        std::optional<size_t> picture = deck.next(avoid);
        if (!picture && monitor < shown.size()) {
            avoid.resize(hand.size());
            avoid.push_back(shown[monitor]);
            picture = deck.next(avoid);
        }
        if (!picture) {
            picture = deck.next(hand);
        }
        if (!picture) {
            picture = deck.next({});
        }
        if (!picture) {
            break;
        }
        if (show(*picture, monitor)) {
            hand.push_back(*picture);
        } else {
            deck.remove(*picture);
        }
    }
    return hand;
}
