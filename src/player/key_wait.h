#pragma once
// Waiting for a key without spinning.
#include <string>

namespace quillon {

// The next non-empty key string. Sleeps while nothing is queued instead of
// polling in a loop, so a waiting player uses no processor time.
std::string waitForKey();

}  // namespace quillon
