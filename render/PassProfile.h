#pragma once
// Where a frame's GL time goes, for finding what to make faster. With CASTRELLE_PASS_PROFILE set,
// a PassTimer waits for the GL work issued before it, then for its own when it ends, and adds the
// wait to its name's total in the section the director is in; the totals are printed to stderr at
// exit, section by section. Without it a timer costs a branch. Waiting serialises the pipeline, so
// the figures add up to more than a frame takes unprofiled, and a timer inside another counts in
// both; they rank the passes, they do not time the frame.

class PassTimer {
  public:
    explicit PassTimer(const char* name);
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

  private:
    const char* name_;
    double start_ = 0.0;
};

// The section the following timers count towards (a name that lives for the whole run).
void setPassProfileSection(const char* section);
