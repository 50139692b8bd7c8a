#pragma once

#include <cstddef>
#include <cstdint>

namespace scorewell::fuzz {

// One input through the race final reader under each of the three layouts, with no league: the
// reading is judged on the bytes alone. Gives 0, as libFuzzer expects.
int RaceFinal(const std::uint8_t* data, std::size_t size);

// One input through the exported-standings parser, with a small track catalogue.
int ExportedStandings(const std::uint8_t* data, std::size_t size);

} // namespace scorewell::fuzz
