// Allocation-failure walks: run an operation once with each of its
// allocations failing in turn, through the memory manager's test switch.
#ifndef EZU_TESTS_SUPPORT_ALLOC_WALK_H
#define EZU_TESTS_SUPPORT_ALLOC_WALK_H

#include <functional>

// Arms mem_fail_nth_allocation(n) for its lifetime and turns injection off
// again when it ends, also when an assertion leaves the test early.
class ArmedFailure {
  public:
    explicit ArmedFailure(long n);
    ~ArmedFailure();
    ArmedFailure(const ArmedFailure&) = delete;
    ArmedFailure& operator=(const ArmedFailure&) = delete;

    // Ends injection now; true when the armed allocation was reached (and
    // therefore failed).
    bool disarm();

  private:
    long n_;
    bool armed_ = true;
    bool reached_ = false;
};

// One attempt of a walk: sets up its own state, runs the operation inside an
// ArmedFailure(n), checks the result for a failure or a success as
// `disarm()` says, releases everything, and returns what `disarm()` said.
using WalkAttempt = std::function<bool(long n)>;

// Runs attempt(1), attempt(2), ... until an attempt completes without
// reaching its armed failure, checking after every attempt that the guarded
// block and byte counters are back where they started. Prints and returns
// the number of allocations that failed (the attempts that reached it); a
// walk that ends before failing anything, or never ends, fails the test.
long walk_allocation_failures(const char* name, const WalkAttempt& attempt);

#endif
