#include "colony.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <ctime>
#include <string>

#include "colony_state.h"
#include "next_city.h"
#include "random.h"
#include "report.h"

ColonyState Colony;

namespace {

// Each ant needs a start city of its own, and only an ant closing its tour
// ends the construction of an iteration.
constexpr std::int32_t MinRunAnts = 1;
constexpr std::int32_t MaxRunAnts = CityCount;
static_assert(MaxRunAnts <= MaxAnts);

// A rate outside 0..1 lets pheromone turn zero or negative, and the next-city
// rule then picks visited cities.
constexpr float MinEvaporationRate = 0;
constexpr float MaxEvaporationRate = 1;

constexpr float InitialBestLength = 999999.0f;

std::string Shortest(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// Tours are not cleared: placement writes slot 0 of every tour in use and the
// 48 steps every other slot, so no slot is read before it is written.
void ResetAnts(ColonyState& colony, int antCount) {
    for (int k = 0; k < antCount; ++k) {
        colony.Ants[k].Visited.Clear();
    }
    colony.StartTaken.fill(0);
}

// Every ant gets a random start city that no other ant of the iteration has.
void PlaceAnts(ColonyState& colony, int antCount) {
    for (int k = 0; k < antCount; ++k) {
        int c = DrawRandom() % CityCount;
        while (colony.StartTaken[c] != 0) {
            c = DrawRandom() % CityCount;
        }
        colony.StartTaken[c] = 1;
        Ant& ant = colony.Ants[k];
        ant.City = c;
        ant.Visited.Mark(c);
        ant.Tour[0] = static_cast<std::int8_t>(c);
    }
}

// The places in the step's draws that are an exploring ant's second draw,
// given `explores`, the places whose draw would make an ant that draws it
// first explore, and `carry`, 1 when the last place of the previous 64 is an
// exploring ant's first draw (and is set so for the next 64). Within a run of
// places that would explore, the first is an ant's first draw, so the places
// alternate, first and second, to the run's end; the place after the run is a
// second draw when the run is odd in length. Subtracting the run-start bits
// from the run (shifted, with the odd bits set) flips exactly those bits, so
// no ant's place waits on the ant before it.
std::uint64_t SecondDraws(std::uint64_t explores, std::uint64_t& carry) {
    constexpr std::uint64_t odd = 0xaaaaaaaaaaaaaaaau;
    const std::uint64_t first = explores & ~carry;
    const std::uint64_t code = (((first << 1) | odd) - first) ^ odd;
    const std::uint64_t second = code ^ (first | carry);
    carry = (code & first) >> 63;
    return second;
}

// The ants of a step with two or more cities left, in order, each with the
// place of its first draw among the step's draws and whether that draw makes
// it explore (two draws) or exploit (one): visit(ant, place, explores).

// Ant by ant, each place following the previous ant's draws: for a few ants
// this chain costs less than the masks below.
template <class Visit>
void ForEachAntInTurn(int antCount, Visit visit) {
    for (int k = 0, place = 0; k < antCount; ++k) {
        const int explore = PeekExplore(place);
        visit(k, place, explore);
        place += 1 + explore;
    }
}

// All ants at once: their places are those that are not a second draw.
template <class Visit>
void ForEachAntByMask(int antCount, Visit visit) {
    std::uint64_t explores[2], firsts[2], carry = 0;
    PeekExplores(explores);
    for (int w = 0; w < 2; ++w) {
        firsts[w] = ~SecondDraws(explores[w], carry);
    }
    for (int w = 0, k = 0; w < 2; ++w) {
        for (std::uint64_t place = firsts[w]; place != 0 && k < antCount; place &= place - 1, ++k) {
            const int p = std::countr_zero(place);
            visit(k, 64 * w + p, static_cast<int>(explores[w] >> p & 1));
        }
    }
}

void MoveAnt(Ant& ant, int s, int next) {
    ant.City = next;
    ant.Tour[s] = static_cast<std::int8_t>(next);
    ant.Visited.Mark(next);
}

// One step of every ant. The draws never depend on the weights, and the ants
// draw in ant order, so the step's draws are read first: one for an ant that
// exploits, or that has one city left, two for an ant that explores. Then the
// exploiting ants move, then the exploring ones, with no branch on a random
// value. The order in which they move does not matter: each ant reads only its
// own row and the pheromone, which changes only between steps.
void MoveAnts(ColonyState& colony, int s, int antCount) {
    // Before step s every ant has visited its start and s - 1 other cities.
    const ExplorationRank rank(CityCount - s);
    const std::uint16_t* draw = PeekRandom(2 * antCount);
    // With one city left, exploiting and exploring both take it, after one draw.
    // Adding the last city to a set of one changes not its lowest city, and
    // shows the compiler a city index where it cannot see the set is not empty.
    if (!rank.Draws()) {
        SkipRandom(antCount);
        for (int k = 0; k < antCount; ++k) {
            Ant& ant = colony.Ants[k];
            MoveAnt(ant, s, std::countr_zero(ant.Visited.Unvisited() | CityBit(CityCount - 1)));
        }
        return;
    }
    int used = 0;
    CitySet exploring = 0;  // bit k set when ant k explores
    int explorerDraw[CityCount];
    const auto file = [&](int k, int place, int explores) {
        exploring |= CitySet(explores) << k;
        explorerDraw[k] = draw[place + 1];
        used = place + 1 + explores;
    };
    if (antCount < 8) {
        ForEachAntInTurn(antCount, file);
    } else {
        ForEachAntByMask(antCount, file);
    }
    SkipRandom(used);

    // Most steps of a fast-decaying run find no entry changing.
    const PheromoneTable& pheromone = colony.Pheromone;
    const CitySet exploiting = ~exploring & ((CitySet{1} << antCount) - 1);
    if (pheromone.AnyChanging()) {
        for (CitySet ants = exploiting; ants != 0; ants &= ants - 1) {
            Ant& ant = colony.Ants[std::countr_zero(ants)];
            MoveAnt(ant, s, HeaviestUnvisitedCity(ant.Visited, ant.City, pheromone));
        }
    } else {
        for (CitySet ants = exploiting; ants != 0; ants &= ants - 1) {
            Ant& ant = colony.Ants[std::countr_zero(ants)];
            MoveAnt(ant, s, pheromone.HeaviestCity(ant.City, ant.Visited.Bytes()));
        }
    }
    for (CitySet ants = exploring; ants != 0; ants &= ants - 1) {
        const int k = std::countr_zero(ants);
        Ant& ant = colony.Ants[k];
        MoveAnt(ant, s, UnvisitedCityOfRank(ant.Visited, rank(explorerDraw[k])));
    }
}

// All ants move one city per step and the pheromone decays after every step;
// ants with no city left close their tours, which ends the construction.
// Every ant has visited as many cities as the others, so all have a city left
// or none has.
void BuildTours(ColonyState& colony, const RunParameters& params) {
    bool done = false;
    for (int s = 1; !done; ++s) {
        if (HasUnvisitedCity(0, colony.Ants)) {
            MoveAnts(colony, s, params.AntCount);
        } else {
            for (int k = 0; k < params.AntCount; ++k) {
                Ant& ant = colony.Ants[k];
                MoveAnt(ant, s, ant.Tour[0]);
            }
            done = true;
        }
        colony.Pheromone.Decay(params.EvaporationRate);
    }
}

// The lengths are float sums, but every partial sum is a whole number below
// 2^24 (48 edges of at most 8416), where float addition is exact: the integer
// sum is the same number, without a chain of float additions. Summed move by
// move instead, each edge's load would wait on its move.
void MeasureTours(ColonyState& colony, int antCount) {
    for (int k = 0; k < antCount; ++k) {
        Ant& ant = colony.Ants[k];
        std::int32_t length = 0;
        for (int s = 0; s < CityCount; ++s) {
            length += colony.Distance[ant.Tour[s]][ant.Tour[s + 1]];
        }
        ant.Length = length;
    }
}

// Raises the directed edges of the best tour of the run so far.
void ReinforceBestTour(ColonyState& colony, float rho) {
    for (int p = 0; p < CityCount; ++p) {
        const int a = colony.BestTour[p];
        const int b = colony.BestTour[p + 1];
        const double entry = colony.Pheromone.Entry(a, b);
        colony.Pheromone.Set(
            a, b, static_cast<float>((1.0 / colony.BestLength) * rho + (1.0 - rho) * entry));
    }
}

}  // namespace

// Walking the ants in order and taking every one strictly shorter than the
// best so far ends at the first of the shortest, so that one is copied, once.
float KeepBestTour(float bestLength, const AntTable& ants, TourRow& bestTour, int antCount) {
    int best = 0;
    for (int k = 1; k < antCount; ++k) {
        best = ants[k].Length < ants[best].Length ? k : best;
    }
    const auto length = static_cast<float>(ants[best].Length);
    if (length < bestLength) {
        std::copy(ants[best].Tour.begin(), ants[best].Tour.end(), bestTour.begin());
        bestLength = length;
    }
    return bestLength;
}

void CheckRunParameters(const RunParameters& params) {
    if (params.IterationCount >= 1 &&
        (params.AntCount < MinRunAnts || params.AntCount > MaxRunAnts)) {
        throw RefusedParameter(RefusedParameter::AntCount,
                               "number of ants must be from " + std::to_string(MinRunAnts) +
                                   " to " + std::to_string(MaxRunAnts) + ", got " +
                                   std::to_string(params.AntCount));
    }
    // Written so that NaN fails too.
    if (!(params.EvaporationRate >= MinEvaporationRate &&
          params.EvaporationRate <= MaxEvaporationRate)) {
        throw RefusedParameter(RefusedParameter::EvaporationRate,
                               "evaporation rate must be from " + Shortest(MinEvaporationRate) +
                                   " to " + Shortest(MaxEvaporationRate) + ", got " +
                                   Shortest(params.EvaporationRate));
    }
}

void RunColony(RunParameters params, std::uint32_t seed, std::FILE* sink) {
    CheckRunParameters(params);
    ReportWriter report(sink);
    ColonyState& colony = Colony;
    SeedRandom(seed, ExploitCutoff(params.ExploitThreshold));
    colony.BestLength = InitialBestLength;
    const float naivedist = BuildDistanceTable(colony.Distance);
    colony.Tao0 = static_cast<float>(1.0 / (double{naivedist} * CityCount));
    report.StartLine(colony.Tao0, naivedist);
    colony.Pheromone.Fill(colony.Tao0, colony.Distance);

    for (int iteration = 0; iteration < params.IterationCount; ++iteration) {
        ResetAnts(colony, params.AntCount);
        PlaceAnts(colony, params.AntCount);
        BuildTours(colony, params);
        MeasureTours(colony, params.AntCount);
        colony.BestLength =
            KeepBestTour(colony.BestLength, colony.Ants, colony.BestTour, params.AntCount);
        report.IterationLine(colony.BestLength);
        ReinforceBestTour(colony, params.EvaporationRate);
    }
    report.Flush();
}

void RunColony(RunParameters params) {
    RunColony(params, static_cast<std::uint32_t>(std::time(nullptr)), stdout);
}
