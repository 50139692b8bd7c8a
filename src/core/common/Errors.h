#pragma once

#include <stdexcept>
#include <string>

namespace scorewell {

// A failure the user reads as it is: the message is complete, plain words, and names the file
// and what is wrong. Front ends show it without adding to it.
class ScorewellError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace scorewell
