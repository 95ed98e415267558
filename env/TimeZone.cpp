#include "env/TimeZone.h"

#include <limits>

int32_t TzosFromBias(int32_t biasMinutes) {
    // i686 keeps floats in x87 registers with extra precision; storing each
    // step rounds it to single precision, the same on every build.
    volatile float bias = static_cast<float>(biasMinutes);
    volatile float product = bias * 60.0f;
    const float seconds = -product;
    // Real biases are within a day; a wild one saturates instead of overflowing.
    if (seconds >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (seconds < -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(seconds); // truncates toward zero
}
