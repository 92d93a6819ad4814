// The weights of a vehicle: gross weight = vehicle weight + 55 per seat +
// maximum load.
#pragma once

#include <optional>

struct Weights {
    long long seats = 0;
    long long load = 0;
    long long vehicle = 0;
    long long gross = 0;

    bool operator==(const Weights&) const = default;
};

inline constexpr long long kWeightPerSeat = 55;

// The weights with the one missing figure (zero) of seats, vehicle weight
// and gross weight worked out from the others; with none missing, the
// load is worked out when it is set, else the gross weight. Nothing when
// more than one is missing.
std::optional<Weights> completedWeights(Weights w);
