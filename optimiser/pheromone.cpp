#include "pheromone.h"

#include <algorithm>
#include <bit>

void PheromoneTable::Fill(float tao0, const DistanceTable& distance) {
    tao0_ = tao0;
    distance_ = &distance;
    entry_.fill(tao0);
    isChanging_.fill(0);
    changingCount_ = 0;
    for (int from = 0; from < CityCount; ++from) {
        Order(from);
    }
    rowsToOrder_ = 0;
}

void PheromoneTable::Set(int from, int to, float value) {
    const int at = from * CityCount + to;
    if (value == entry_[at]) {
        return;
    }
    entry_[at] = value;
    if ((isChanging_[from] & CityBit(to)) == 0) {
        isChanging_[from] |= CityBit(to);
        changing_[changingCount_++] = static_cast<std::int16_t>(at);
    }
}

// Only the listed entries need work; every other one is settled:
// - An entry equal to tao0 stays tao0. In double, (1 - rho) * tao0 + rho * tao0
//   is tao0 to within a few units of 2^-52 relative, far inside the 2^-25
//   relative half-spacing of floats around tao0, so it rounds back to tao0.
// - The decay is a fixed function of the entry while rho stays the same, so an
//   entry it leaves unchanged once (with a small rho, a fixed point a few ulps
//   above tao0) stays unchanged at every later step.
void PheromoneTable::Decay(float rho) {
    const double keep = 1.0 - rho;
    const double toward = double{rho} * tao0_;
    int kept = 0;
    for (int i = 0; i < changingCount_; ++i) {
        const int at = changing_[i];
        const auto decayed = static_cast<float>(keep * double{entry_[at]} + toward);
        const bool settles = decayed == entry_[at] || decayed == tao0_;
        entry_[at] = decayed;
        if (!settles) {
            changing_[kept++] = changing_[i];
            continue;
        }
        const int from = at / CityCount;
        isChanging_[from] &= ~CityBit(at % CityCount);
        if (decayed != orderedValue_[at]) {
            rowsToOrder_ |= CityBit(from);
        }
    }
    changingCount_ = kept;
    for (; rowsToOrder_ != 0; rowsToOrder_ &= rowsToOrder_ - 1) {
        Order(std::countr_zero(rowsToOrder_));
    }
}

// Orders the row's cities by the weight of their settled values. A changing
// entry is ordered as if at tao0, where it most often settles, so that it
// seldom needs another ordering; until then it is weighed apart.
void PheromoneTable::Order(int from) {
    auto& order = order_[from];
    auto* next = order.begin();
    for (int to = 0; to < CityCount; ++to) {
        if (to == from) {
            continue;
        }
        const int at = from * CityCount + to;
        orderedValue_[at] = (isChanging_[from] & CityBit(to)) != 0 ? tao0_ : entry_[at];
        orderWeight_[at] = Weight(orderedValue_[at], (*distance_)[from][to]);
        *next++ = static_cast<std::int8_t>(to);
    }
    const float* weight = &orderWeight_[from * CityCount];
    std::ranges::sort(order, [weight](int a, int b) {
        return weight[a] > weight[b] || (weight[a] == weight[b] && a < b);
    });

    auto& ranks = rankBits_[from];
    for (auto& nibble : ranks) {
        nibble.fill(0);
    }
    for (int place = 0; place < CityCount - 1; ++place) {
        const int city = order[place];
        for (unsigned bits = 0; bits < 16; ++bits) {
            if (bits >> (city % 4) & 1) {
                ranks[city / 4][bits] |= std::uint64_t{1} << place;
            }
        }
    }
}

// The first of `cities` in the row's order, found without a loop over the
// order: a loop's exit would be mispredicted at random. Each nibble of the set
// looks up the places of its cities, and the lowest place wins.
int PheromoneTable::HeaviestSettled(int from, CitySet cities) const {
    const auto& ranks = rankBits_[from];
    std::uint64_t places = 0;
    for (int n = 0; n < CityCount / 4; ++n) {
        places |= ranks[n][cities >> (4 * n) & 15];
    }
    return order_[from][std::countr_zero(places)];
}
