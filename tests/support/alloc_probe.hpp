// The global allocation functions of a test program, replaced so that a test
// can count the blocks in use and refuse a chosen request: a routine's
// handling of failed work storage and its release of that storage are then
// observable.  Link alloc_probe.cpp into the test program.
#pragma once

namespace velk::test {

// Blocks obtained and not yet released, over the whole program.
long live_blocks();
// Requests since the last arm().
long requests();
// Counts requests from zero; the k-th one from now on (k >= 1) is refused
// (k = 0 refuses none).
void arm(long k);

}  // namespace velk::test
