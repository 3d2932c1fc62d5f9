// Counts the GL calls that a renderer makes in a frame, by function, and can
// swallow them so that a benchmark times the renderer without the driver.
// While a counter is alive, the frame's calls (state, uniforms, binds, clears,
// draws) pass through it; others, object creation among them (GlObjectCount
// counts that), go straight to the driver, uncounted. One counter at a time.
// Swallowed calls also skip the set-up that code does on first use (the
// process's cached quads): draw one real frame before swallowing.
//
// Entry points loaded through GLEW are swapped for counting wrappers; those
// the GL library exports itself are wrapped by definitions in this file for
// the whole executable, so only executables that use the class link it.
#pragma once

#include <map>
#include <string>

namespace vorn::bench {

class GlCallCounter {
public:
    enum class Mode { Forward, Swallow };

    explicit GlCallCounter(Mode mode = Mode::Forward);
    ~GlCallCounter();
    GlCallCounter(const GlCallCounter&) = delete;
    GlCallCounter& operator=(const GlCallCounter&) = delete;

    // Swallowed calls return zero and write nothing.
    void setMode(Mode mode) { mode_ = mode; }
    Mode mode() const { return mode_; }

    int count(const std::string& function) const;
    int total() const;
    const std::map<std::string, int>& calls() const { return calls_; }
    void reset() { calls_.clear(); }

    // For the hooks.
    void tally(const char* function) { ++calls_[function]; }

private:
    Mode mode_;
    std::map<std::string, int> calls_;
};

}  // namespace vorn::bench
