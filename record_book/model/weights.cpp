#include "record_book/model/weights.h"

std::optional<Weights> completedWeights(Weights w)
{
    const int zeros = (w.seats == 0) + (w.vehicle == 0) + (w.gross == 0);
    if (zeros > 1)
        return std::nullopt;
    const long long seated = kWeightPerSeat * w.seats;
    if (zeros == 0 && w.load != 0)
        w.load = w.gross - seated - w.vehicle;
    else if (zeros == 0 || w.gross == 0)
        w.gross = w.vehicle + seated + w.load;
    else if (w.vehicle == 0)
        w.vehicle = w.gross - seated - w.load;
    return w;
}
