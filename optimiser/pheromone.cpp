#include "pheromone.h"

#include <algorithm>
#include <bit>
#include <functional>

void PheromoneTable::Fill(float tao0, const DistanceTable& distance) {
    tao0_ = tao0;
    distance_ = &distance;
    for (int at = 0; at < CityCount * CityCount; ++at) {
        const std::int32_t d = distance[at / CityCount][at % CityCount];
        inverseSquare_[at] = d == 0 ? 0 : 1.0 / double(d * d);
    }
    value_.fill(tao0);
    changing_.fill(0);
    levelCount_ = 0;
    // A row's own entry never changes; weighed as changing, it reads level 0,
    // always a finite value.
    levelOf_.fill(0);
    level_[0] = tao0;
    for (int from = 0; from < CityCount; ++from) {
        Order(from);
    }
    rowsToOrder_ = 0;
}

void PheromoneTable::Set(int from, int to, float value) {
    if (value == Entry(from, to)) {
        return;
    }
    const int at = from * CityCount + to;
    if ((changing_[from] & CityBit(to)) != 0) {
        --levelEntries_[levelOf_[at]];
    } else {
        changing_[from] |= CityBit(to);
        place_[from][to] = NotSettled;
    }
    levelOf_[at] = static_cast<std::int16_t>(LevelOf(value));
    ++levelEntries_[levelOf_[at]];
}

// The level that holds `value`, a free one (with no entries) taking it when
// none does.
int PheromoneTable::LevelOf(float value) {
    int free = levelCount_;
    for (int level = levelCount_ - 1; level >= 0; --level) {
        if (levelEntries_[level] == 0) {
            free = level;
        } else if (level_[level] == value) {
            return level;
        }
    }
    if (free == levelCount_) {
        ++levelCount_;
    }
    level_[free] = value;
    levelEntries_[free] = 0;
    return free;
}

// An entry stops changing once the decay leaves it as it is:
// - An entry equal to tao0 stays tao0. In double, (1 - rho) * tao0 + rho * tao0
//   is tao0 to within a few units of 2^-52 relative, far inside the 2^-25
//   relative half-spacing of floats around tao0, so it rounds back to tao0.
// - The decay is a fixed function of the entry while rho stays the same, so an
//   entry it leaves unchanged once (with a small rho, a fixed point a few ulps
//   above tao0) stays unchanged at every later step.
void PheromoneTable::Decay(float rho) {
    const double keep = 1.0 - rho;
    const double toward = double{rho} * tao0_;
    bool settles[CityCount * CityCount];
    bool anySettles = false;
    for (int level = 0; level < levelCount_; ++level) {
        const auto decayed = static_cast<float>(keep * double{level_[level]} + toward);
        settles[level] = decayed == level_[level] || decayed == tao0_;
        anySettles |= settles[level] && levelEntries_[level] != 0;
        level_[level] = decayed;
    }
    if (anySettles) {
        Settle(settles);
    }
    while (levelCount_ > 0 && levelEntries_[levelCount_ - 1] == 0) {
        --levelCount_;
    }
}

// The entries of the settling levels take their values; a row is ordered
// again when one of them settles at another value than it was ordered with.
void PheromoneTable::Settle(const bool* settles) {
    for (int from = 0; from < CityCount; ++from) {
        for (CitySet cities = changing_[from]; cities != 0; cities &= cities - 1) {
            const int to = std::countr_zero(cities);
            const int at = from * CityCount + to;
            const int level = levelOf_[at];
            if (!settles[level]) {
                continue;
            }
            --levelEntries_[level];
            value_[at] = level_[level];
            changing_[from] &= ~CityBit(to);
            if (value_[at] != orderedValue_[at]) {
                rowsToOrder_ |= CityBit(from);
            }
            place_[from][to] = settledPlace_[at];
        }
    }
    for (; rowsToOrder_ != 0; rowsToOrder_ &= rowsToOrder_ - 1) {
        Order(std::countr_zero(rowsToOrder_));
    }
}

// Orders the row's cities by the weight of their settled values. A changing
// entry is ordered as if at tao0, where it most often settles, so that it
// seldom needs another ordering; until then it is weighed apart.
void PheromoneTable::Order(int from) {
    std::array<std::uint64_t, CityCount> key;
    for (int to = 0; to < CityCount; ++to) {
        const int at = from * CityCount + to;
        orderedValue_[at] = (changing_[from] & CityBit(to)) != 0 ? tao0_ : value_[at];
        key[to] = MoveKey(WeightOf(orderedValue_[at], from, to), to);
    }
    // The keys are distinct and order as the rule does; the row's own city,
    // of weight 0, comes last, at Nowhere.
    std::sort(key.begin(), key.end(), std::greater<>());
    for (int place = 0; place < CityCount; ++place) {
        const int to = CityOfKey(key[place]);
        order_[from][place] = static_cast<std::int8_t>(to);
        settledPlace_[from * CityCount + to] = static_cast<std::uint8_t>(place);
        placeKey_[from][place] = key[place];
        place_[from][to] = (changing_[from] & CityBit(to)) != 0 || to == from
                               ? NotSettled
                               : static_cast<std::uint8_t>(place);
    }
}
