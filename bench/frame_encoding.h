#pragma once

// Turns the calls the recording doubles logged into the words of a
// RecordedFrame (bench/frame_calls.h).

#include <cstdint>
#include <string>
#include <vector>

#include "tests/doubles/call_log.h"

// Appends the words of `calls` to `words`. False, naming the first call it
// cannot keep in `error`, for a call the replay does not know, or with an
// argument that its word would not hold exactly.
bool encodeCalls(const Calls& calls, std::vector<uint32_t>& words, std::string& error);
