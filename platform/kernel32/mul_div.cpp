#include <cstdint>
#include <limits>

#include "platform/kernel32/kernel32.h"

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0) return -1;
  // The product of two 32-bit values always fits in 64 bits.
  std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
  std::int64_t quotient = product / nDenominator;
  std::int64_t remainder = product % nDenominator;
  // Round half away from zero: a remainder of at least half the divisor moves the result
  // one step further from zero, in the direction of the exact quotient's sign.
  std::int64_t absRemainder = remainder < 0 ? -remainder : remainder;
  std::int64_t absDenominator = nDenominator < 0 ? -static_cast<std::int64_t>(nDenominator) : nDenominator;
  if (2 * absRemainder >= absDenominator) quotient += ((product < 0) != (nDenominator < 0)) ? -1 : 1;
  if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(quotient);
}
