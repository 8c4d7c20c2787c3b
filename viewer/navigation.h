// The page commands and the auto view step. Each returns true when it changed the page, and the
// caller then runs MakePageFile and ShowPage; false means the command does nothing at all.
#pragma once

#include <cstdint>

#include "viewer/module1.h"

namespace viewer {

bool NextPage(Module1& m);
bool PreviousPage(Module1& m);
// The forward tab never lands on the last page; the back tab may land on page 1.
bool ForwardTab(Module1& m);
bool BackTab(Module1& m);
bool FirstPage(Module1& m);
bool LastPage(Module1& m);

// Timer interval in milliseconds for auto view: a tenth of `autoview` seconds; 0 (off) when
// `autoview` is 0 or negative.
std::int32_t AutoViewInterval(std::int16_t autoview);

// One timer tick: true on every tenth tick, when the page has turned (after the last page back to 1).
bool AutoViewTick(Module1& m);

}  // namespace viewer
